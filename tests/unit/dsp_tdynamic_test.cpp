#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "dsp/tdynamic.h"
#include "image/processorfloat.h"

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
    for (const auto& [asked, kept] : {std::pair{3, 10}, std::pair{1000, kMaxCurvePoints}}) {
        d.NPuntos = asked;
        DesignDynamics(d);
        EXPECT_EQ(d.NPuntos, kept) << asked;
        EXPECT_NEAR(d.InputLinear[kept], 1.0, 1e-7) << asked;
    }
}

// Expected words from tests/unit/data/dynamics_words.py, which follows the design step by step in
// single-precision storage (each step reads the single the previous one stored). Words are the
// processor's format of each stored single, so every row is exact: no tolerance.
namespace {

struct Settings {
    float umbral, ratio, gainDb, knee;
    uint8_t criKnee;
    float tAttack, tRelease, overRange;
};

struct StoredDesign {
    const char* name;
    Settings in;
    // AttackHalf, AttackCoef, release coefficient, KneeTop, KneeBottom, OverC0..OverC3.
    std::array<uint32_t, 9> words;
    // Per point: input linear, input dB, output dB, output linear, CurveGain.
    std::array<std::array<uint32_t, 5>, 12> curve;
};

const StoredDesign kStoredDesigns[] = {
    {"wide-knee limiter",
     {-13.85f, 1.0f, 1.5f, 6.0f, 0, 400.0f, 250.0f, 10.0f},
     {0xF27B8000, 0xFF7FF048, 0xFF7FE6DB, 0xFE4F61A8, 0xFD3BCDAC, 0xFF1E3A68, 0xFFF97B6D, 0xFD2A2734, 0xFAF083A7},
     {{{0xFC505E13, 0x04E13333, 0x04ED3333, 0xFC77A52D, 0x001820D8},
       {0xFD3BCDAC, 0x03944A04, 0x039AD376, 0xFD44D91E, 0x00062A20},
       {0xFE07B627, 0x03C77892, 0x03B15B50, 0xFD677E72, 0xFF5A56FA},
       {0xFE318578, 0x03ECCB37, 0x03B92F2E, 0xFD74E825, 0xFF30966D},
       {0xFE5B54C9, 0x02945F19, 0x03BA6666, 0xFD770EFF, 0xFF102E76},
       {0xFF02920D, 0x02C4DE07, 0x03BA6666, 0xFD770EFF, 0xFE7231DE},
       {0xFF1779B5, 0x02EE2539, 0x03BA6666, 0xFD770EFF, 0xFE50C514},
       {0xFF2C615E, 0x01A4283B, 0x03BA6666, 0xFD770EFF, 0xFE3773AF},
       {0xFF414906, 0x01E3C985, 0x03BA6666, 0xFD770EFF, 0xFE239C4A},
       {0xFF5630AF, 0x00B9C0A4, 0x03BA6666, 0xFD770EFF, 0xFE13A464},
       {0xFF6B1857, 0xFFC2940A, 0x03BA6666, 0xFD770EFF, 0xFE06837F},
       {0x00000000, 0x80000000, 0x03BA6666, 0xFD770EFF, 0xFD770EFF}}}},
    {"soft-knee compressor",
     {-20.0f, 3.0f, 2.0f, 4.0f, 1, 10.0f, 100.0f, 6.0f},
     {0xF81C7040, 0xFF7D8E3F, 0xFF7FC127, 0xFF5765FE, 0xFC4CCCCD, 0x00362F73, 0x0082DA9F, 0xFF7DBF41, 0xFDD66F00},
     {{{0xFC013856, 0x04C00000, 0x04D00000, 0xFC22ADAD, 0x00212478},
       {0xFD17D3CA, 0x04FB5E34, 0x04F902CB, 0xFD12C377, 0xFF77763C},
       {0xFD6F0B69, 0x03B5D138, 0x038745BD, 0xFD2B030A, 0xFF372449},
       {0xFE232184, 0x03E10B94, 0x0395AE87, 0xFD3DB1DE, 0xFF14D7DE},
       {0xFE4EBD54, 0x0283F036, 0x03A0A809, 0xFD4D483A, 0xFE7E3200},
       {0xFE7A5923, 0x02B922BC, 0x03A985CA, 0xFD5ACE32, 0xFE5FBEC3},
       {0xFF12FA79, 0x02E5C4C9, 0x03B0F622, 0xFD66D626, 0xFE4907B0},
       {0xFF28C861, 0x01986EC5, 0x03B75E90, 0xFD71BAB3, 0xFE375212},
       {0xFF3E9649, 0x01DBF8EE, 0x03BCFF69, 0xFD7BB853, 0xFE290EB5},
       {0xFF546431, 0x00B06047, 0x03C20403, 0xFE027CCD, 0xFE1D478B},
       {0xFF6A3218, 0xFFBA0E24, 0x03C68AF6, 0xFE06CEE5, 0xFE135BF6},
       {0x00000000, 0x80000000, 0x03CAAAAB, 0xFE0ADE4D, 0xFE0ADE4D}}}},
};

} // namespace

TEST(Dynamics, EveryStepReadsTheStoredSingle)
{
    for (const StoredDesign& row : kStoredDesigns) {
        SCOPED_TRACE(row.name);
        TDYNAMIC d;
        d.Umbral = row.in.umbral;
        d.Ratio = row.in.ratio;
        d.GaindB = row.in.gainDb;
        d.Knee = row.in.knee;
        d.CriKnee = row.in.criKnee;
        d.TAttack = row.in.tAttack;
        d.TRelease = row.in.tRelease;
        d.OverRange = row.in.overRange;
        d.NPuntos = 12;
        DesignDynamics(d);
        const std::array<float, 9> got = {d.AttackHalf, d.AttackCoef, ReleaseCoefficient(d),
                                          d.KneeTop,    d.KneeBottom, d.OverC0,
                                          d.OverC1,     d.OverC2,     d.OverC3};
        for (size_t k = 0; k < got.size(); ++k)
            EXPECT_EQ(ToProcessorFloat(got[k]), row.words[k]) << "word " << k;
        for (size_t i = 1; i <= row.curve.size(); ++i) {
            const std::array<float, 5> point = {d.InputLinear[i], d.InputDb[i], d.OutputDb[i], d.OutputLinear[i],
                                                d.CurveGain[i]};
            for (size_t k = 0; k < point.size(); ++k)
                EXPECT_EQ(ToProcessorFloat(point[k]), row.curve[i - 1][k]) << "point " << i << " table " << k;
        }
    }
}

TEST(Dynamics, AttackHalfComesFromTheStoredCoefficient)
{
    // Decimated ballistics, Tau 0.9: {attack ms, AttackCoef word, AttackHalf word}.
    struct Row {
        float ms;
        uint32_t coef, half;
    };
    const Row rows[] = {{0.1f, 0xFE442823, 0xFE1DEBEE},
                        {10.0f, 0xFF7D8E3F, 0xF81C7040},
                        {400.0f, 0xFF7FF048, 0xF27B8000},
                        {1000.0f, 0xFF7FF9B6, 0xF1494000}};
    for (const Row& row : rows) {
        TDYNAMIC d;
        d.TAttack = row.ms;
        DesignDynamics(d);
        EXPECT_EQ(ToProcessorFloat(d.AttackCoef), row.coef) << row.ms;
        EXPECT_EQ(ToProcessorFloat(d.AttackHalf), row.half) << row.ms;
        // Exactly half of what the stored coefficient leaves below one.
        EXPECT_EQ(d.AttackHalf, (1.0f - d.AttackCoef) / 2.0f) << row.ms;
    }
}
