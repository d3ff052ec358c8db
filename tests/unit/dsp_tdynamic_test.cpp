#include <gtest/gtest.h>

#include <cmath>

#include "dsp/tdynamic.h"

using namespace kvr::core;

namespace {

double cubicAt(const TDYNAMIC& d, double x)
{
    return d.OverC0 + d.OverC1 * x + d.OverC2 * x * x + d.OverC3 * x * x * x;
}

} // namespace

TEST(Dynamics, NewObjectIsDesignedWithItsDefaults)
{
    const TDYNAMIC d;
    EXPECT_EQ(d.Umbral, -13.85f); // 0 dBu
    EXPECT_EQ(d.NPuntos, 60);
    // Designed by the constructor: 10 ms at 24 kHz (decimated) is 240 samples to reach 1 - Tau = 0.1.
    // Tolerance 2e-7: single-precision storage of a value near 1 (Tau itself is the float 0.9f).
    EXPECT_NEAR(d.AttackCoef, std::pow(0.1, 1.0 / 240.0), 2e-7);
    EXPECT_NEAR(d.AttackHalf, (1.0 - std::pow(0.1, 1.0 / 240.0)) / 2.0, 1e-7);
    EXPECT_NEAR(d.InputDb[1], -13.85 - 4.0, 1e-5); // knee start, float table
}

TEST(Dynamics, BallisticsFollowTheSampleRate)
{
    TDYNAMIC d;
    d.DiezmadoF = 0;
    d.TAttack = 10.0f;
    DesignDynamics(d);
    EXPECT_NEAR(d.AttackCoef, std::pow(0.1, 1.0 / 480.0), 2e-7); // full rate: 480 samples
    d.DiezmadoF = 1;
    d.TRelease = 100.0f;
    EXPECT_NEAR(ReleaseCoefficient(d), std::pow(0.1, 1.0 / 2400.0), 2e-7);
    d.TAttack = 0.1f;
    EXPECT_NEAR(AttackCoefficient(d), std::pow(0.1, 1.0 / 2.4), 2e-6); // 0.1f is not exactly 0.1
}

TEST(Dynamics, ThresholdOfExactlyZeroBecomesMinusOneHundredth)
{
    TDYNAMIC d;
    d.Umbral = 0.0f;
    DesignDynamics(d);
    EXPECT_EQ(d.Umbral, -0.01f);
    DesignDynamics(d);
    EXPECT_EQ(d.Umbral, -0.01f);
}

TEST(Dynamics, HardKneeCompressorIsAStraightLine)
{
    TDYNAMIC d;
    d.Ratio = 4.0f;
    d.CriKnee = 1;
    d.Knee = 0.0f;
    d.Umbral = -20.0f;
    DesignDynamics(d);
    const int n = d.NPuntos;
    // First point at the threshold, last at full scale, linear spacing in between (float tables: 1e-5).
    EXPECT_NEAR(d.InputDb[1], -20.0, 1e-5);
    EXPECT_NEAR(d.InputDb[n], 0.0, 1e-5);
    EXPECT_NEAR(d.InputLinear[2] - d.InputLinear[1], (1.0 - 0.1) / (n - 1), 1e-6);
    for (int i = 1; i <= n; ++i) {
        const double xDb = 20.0 * std::log10(static_cast<double>(d.InputLinear[i]));
        const double y = -20.0 + (xDb + 20.0) / 4.0;
        EXPECT_NEAR(d.OutputDb[i], y, 1e-4) << i; // dB, float
        EXPECT_NEAR(d.CurveGain[i], std::pow(10.0, y / 20.0) / d.InputLinear[i], 1e-5) << i;
    }
    EXPECT_NEAR(d.KneeBottom, 0.1, 1e-7);
    EXPECT_EQ(d.KneeTop, 0.8414f);
}

TEST(Dynamics, LimiterIsFlatAboveTheKnee)
{
    TDYNAMIC d;
    d.CriKnee = 0;
    d.Ratio = 4.0f; // ignored by a limiter
    d.Umbral = -20.0f;
    d.Knee = 4.0f;
    d.GaindB = 3.0f;
    DesignDynamics(d);
    int above = 0;
    for (int i = 1; i <= d.NPuntos; ++i) {
        if (d.InputDb[i] > -16.0f) {
            EXPECT_NEAR(d.OutputDb[i], -17.0, 1e-5) << i; // T + make-up, float
            ++above;
        }
    }
    EXPECT_GT(above, 50);
    // At the start of the knee the output is still the input plus make-up.
    EXPECT_NEAR(d.OutputDb[1], -24.0 + 3.0, 1e-5);
}

TEST(Dynamics, SoftKneeStartsKneeWidthBelowTheThreshold)
{
    TDYNAMIC d;
    d.Knee = 4.0f;
    d.Umbral = -10.0f;
    DesignDynamics(d);
    EXPECT_NEAR(d.InputDb[1], -14.0, 1e-5);
    EXPECT_NEAR(d.InputLinear[1], std::pow(10.0, -14.0 / 20.0), 1e-7);
    EXPECT_NEAR(d.InputLinear[d.NPuntos], 1.0, 1e-7);
}

TEST(Dynamics, WideKneeLevelsComeFromTheCurve)
{
    TDYNAMIC d;
    d.CriKnee = 0;
    d.Umbral = -20.0f;
    d.Knee = 6.0f;
    d.GaindB = 2.0f;
    DesignDynamics(d);
    EXPECT_NEAR(d.KneeTop, std::pow(10.0, -14.0 / 20.0), 1e-7);
    // KneeBottom is the input level of the first point whose output reaches T - 3 + make-up.
    const float target = -20.0f - 3.0f + 2.0f;
    int j = 1;
    while (d.OutputDb[j] < target)
        ++j;
    ASSERT_GT(j, 1);
    EXPECT_NEAR(d.KneeBottom, d.InputLinear[j], 1e-6);
    EXPECT_GT(d.KneeBottom, d.InputLinear[j - 1]);

    d.CriKnee = 1;
    d.Ratio = 2.0f;
    DesignDynamics(d);
    EXPECT_NEAR(d.KneeBottom, 0.1, 1e-7);
    EXPECT_EQ(d.KneeTop, 0.8414f);
}

TEST(Dynamics, KneeSearchWithoutAQualifyingPointUsesTheLastPoint)
{
    // A limiter at full scale with a 20 dB knee: the curve ends (0 dB in, about -5 dB out) before
    // reaching T - 3 dB, so no point qualifies.
    TDYNAMIC d;
    d.CriKnee = 0;
    d.Umbral = 0.0f;
    d.Knee = 20.0f;
    d.GaindB = 6.0f;
    d.NPuntos = 126;
    DesignDynamics(d);
    for (int i = 1; i <= d.NPuntos; ++i)
        ASSERT_LT(d.OutputDb[i], -0.01f - 3.0f + 6.0f) << i;
    EXPECT_NEAR(d.KneeBottom, 1.0, 1e-6); // the last point, full scale
    EXPECT_TRUE(std::isfinite(d.KneeBottom));
}

TEST(Dynamics, OverRangeCubicJoinsTheCurveAndTheOverRangeGain)
{
    for (uint8_t crit : {uint8_t{0}, uint8_t{1}}) {
        for (float range : {10.0f, 6.0f}) {
            TDYNAMIC d;
            d.CriKnee = crit;
            d.Ratio = 3.0f;
            d.Umbral = -12.0f;
            d.OverRange = range;
            DesignDynamics(d);
            const double slope = crit == 1 ? 1.0 / 3.0 : 0.0;
            const double m = std::pow(10.0, range / 20.0);
            const double gm = std::pow(10.0, (1.0 - slope) * -12.0 / 20.0) / m;
            // Single-precision coefficients of size ~m^3|u|: 1e-5 absolute.
            EXPECT_NEAR(cubicAt(d, 1.0), d.CurveGain[d.NPuntos], 1e-5);
            EXPECT_NEAR(cubicAt(d, m), gm, 1e-5);
        }
    }
    TDYNAMIC flat;
    flat.OverRange = 0.0f; // no over-range: nothing to bridge, but nothing infinite either
    DesignDynamics(flat);
    EXPECT_TRUE(std::isfinite(flat.OverC0) && std::isfinite(flat.OverC1) && std::isfinite(flat.OverC3));
}

TEST(Dynamics, PointCountIsClamped)
{
    TDYNAMIC d;
    d.NPuntos = 3;
    DesignDynamics(d);
    EXPECT_EQ(d.NPuntos, 10);
    EXPECT_NEAR(d.InputLinear[10], 1.0, 1e-7);
    d.NPuntos = 1000;
    DesignDynamics(d);
    EXPECT_EQ(d.NPuntos, kMaxCurvePoints);
    EXPECT_NEAR(d.InputLinear[kMaxCurvePoints], 1.0, 1e-7);
}
