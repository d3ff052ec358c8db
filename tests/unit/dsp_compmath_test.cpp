#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "dsp/compmath.h"
#include "dsp/frequencygrid.h"
#include "dsp/tsos.h"

using namespace kvr::core;

namespace {

constexpr double kPi = std::numbers::pi;

std::complex<double> toStd(const TComplex& c) { return {c.Re, c.Im}; }

} // namespace

TEST(CompMath, Atan2AxesFollowTheProgramsRules)
{
    // Exact: these are the rule's own constants.
    EXPECT_EQ(Atan2(-1.0, 0.0), -kPi); // never +pi
    EXPECT_EQ(Atan2(0.0, 0.0), 0.0);
    EXPECT_EQ(Atan2(0.0, -2.0), -kPi / 2);
    EXPECT_EQ(Atan2(0.0, 2.0), kPi / 2);
    EXPECT_EQ(Atan2(3.0, 0.0), 0.0);
}

TEST(CompMath, Atan2QuadrantsMatchTheLibrary)
{
    const double pts[][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {-3, 0.25}, {-3, -0.25}, {0.2, -7}};
    for (const auto& p : pts) {
        // Tolerance 1e-15 rad: one rounding in atan and one in the pi correction.
        EXPECT_NEAR(Atan2(p[0], p[1]), std::atan2(p[1], p[0]), 1e-15) << p[0] << "," << p[1];
    }
}

TEST(CompMath, RealFunctionsMatchTheLibrary)
{
    // The constant used for ln(10) is the library's own value, bit for bit.
    EXPECT_EQ(Log10(10.0), 1.0);
    EXPECT_EQ(std::log(10.0), std::numbers::ln10);
    for (double x : {0.001, 0.5, 2.0, 20.0, 23999.0}) {
        // Tolerance 1e-15 relative: ln(x)/ln(10) and exp(x ln 10) differ from log10/pow by an ulp or two.
        EXPECT_NEAR(Log10(x), std::log10(x), 1e-15 * std::max(1.0, std::fabs(std::log10(x))));
    }
    for (double x : {-2.5, 0.0, 1.0, 3.3})
        EXPECT_NEAR(Pow10(x), std::pow(10.0, x), 1e-14 * std::pow(10.0, x));
    for (double x : {-1.0, 0.1, 0.7853981})
        EXPECT_NEAR(Tan(x), std::tan(x), 1e-15); // 1e-15 absolute
}

TEST(CompMath, DivisionTakesBothBranchesAndMatchesStdComplex)
{
    // |a| > |b| (first branch), |a| <= |b| (second branch), pure real and pure imaginary denominators.
    const TComplex dens[] = {{4.0, 1.0}, {0.5, -3.0}, {-2.0, 0.0}, {0.0, 5.0}, {1.0, 1.0}};
    const TComplex num{1.5, -2.25};
    for (const TComplex& den : dens) {
        TComplex out;
        ComplexDiv(num, den, out);
        const auto ref = toStd(num) / toStd(den);
        // Tolerance 1e-15 relative to |ref|.
        EXPECT_NEAR(out.Re, ref.real(), 1e-15 * std::abs(ref)) << den.Re << "," << den.Im;
        EXPECT_NEAR(out.Im, ref.imag(), 1e-15 * std::abs(ref)) << den.Re << "," << den.Im;
    }
}

TEST(CompMath, DivisionByZeroGivesZero)
{
    TComplex out{7.0, 7.0};
    ComplexDiv(TComplex{1.0, 2.0}, TComplex{0.0, 0.0}, out);
    EXPECT_EQ(out.Re, 0.0);
    EXPECT_EQ(out.Im, 0.0);
}

TEST(CompMath, AddAndMulMayWriteIntoAnOperand)
{
    const TComplex a{2.0, -1.0};
    TComplex b{0.5, 3.0};
    ComplexMul(a, b, b); // output is the second operand, as the response evaluation does
    EXPECT_EQ(b.Re, 2.0 * 0.5 - (-1.0) * 3.0);
    EXPECT_EQ(b.Im, 2.0 * 3.0 + 0.5 * (-1.0));

    TComplex c{1.0, 2.0};
    ComplexMul(c, c, c); // (1 + 2j)^2 = -3 + 4j
    EXPECT_EQ(c.Re, -3.0);
    EXPECT_EQ(c.Im, 4.0);

    TComplex d{0.25, -0.5};
    ComplexAdd(a, d, d);
    EXPECT_EQ(d.Re, 2.25);
    EXPECT_EQ(d.Im, -1.5);
    ComplexAdd(d, d, d);
    EXPECT_EQ(d.Re, 4.5);
    EXPECT_EQ(d.Im, -3.0);
}

TEST(CompMath, ExpAndAbsMatchStdComplex)
{
    TComplex out;
    ComplexExp(TComplex{0.3, -2.0}, out);
    const auto ref = std::exp(std::complex<double>(0.3, -2.0));
    EXPECT_NEAR(out.Re, ref.real(), 1e-15); // 1e-15 absolute, |ref| ~ 1.35
    EXPECT_NEAR(out.Im, ref.imag(), 1e-15);
    EXPECT_NEAR(ComplexAbs(TComplex{3.0, -4.0}), 5.0, 1e-15);
}

TEST(FrequencyGridTest, EndsAreWholeHertzAndPointsRise)
{
    const FrequencyGrid& g = frequencyGrid();
    EXPECT_EQ(g.frequencyHz[0], 20);
    EXPECT_EQ(g.frequencyHz[kGridCount], 23999);
    for (int e = 1; e < kGridPoints; ++e)
        EXPECT_GE(g.frequencyHz[e], g.frequencyHz[e - 1]) << e;
    // Logarithmic spacing: 20 * (23999/20)^(e/400) rounded; 0.5 Hz plus a hair for the last digit.
    for (int e = 0; e < kGridPoints; e += 37) {
        const double ref = 20.0 * std::pow(23999.0 / 20.0, e / 400.0);
        EXPECT_NEAR(g.frequencyHz[e], ref, 0.5 + 1e-9 * ref) << e;
    }
}

TEST(FrequencyGridTest, OmegaIsSinglePrecisionAndPhasorsFollowIt)
{
    const FrequencyGrid& g = frequencyGrid();
    const float wTop = g.omega[kGridCount];
    EXPECT_LT(wTop, kPi);
    EXPECT_GT(wTop, kPi - 2.0 * kPi / 48000.0 - 1e-6); // one hertz below fs/2, within float rounding
    for (int e = 0; e < kGridPoints; e += 50) {
        const double w = 2.0 * kPi * g.frequencyHz[e] / 48000.0;
        EXPECT_EQ(g.omega[e], static_cast<float>(w));
        // z^-1 from the stored float: exact up to cos/sin rounding (1e-15).
        EXPECT_NEAR(g.zInverse[e].Re, std::cos(static_cast<double>(g.omega[e])), 1e-15);
        EXPECT_NEAR(g.zInverse[e].Im, -std::sin(static_cast<double>(g.omega[e])), 1e-15);
    }
}

TEST(FrequencyGridTest, ShorterBuildIsAPrefixOfTheFullGrid)
{
    const FrequencyGrid part = BuildFrequencyGrid(100, kGridLowHz, kGridHighHz);
    const FrequencyGrid& full = frequencyGrid();
    for (int e = 0; e <= 100; ++e)
        EXPECT_EQ(part.frequencyHz[e], full.frequencyHz[e]);
    EXPECT_EQ(part.frequencyHz[101], 0); // not built
}

TEST(PhaseWrap, FoldsToPlusMinus180)
{
    // Tolerances 1e-12 degrees: a couple of roundings of p * 180 / pi.
    EXPECT_NEAR(wrapPhaseDegrees(0.0), 0.0, 1e-12);
    EXPECT_NEAR(wrapPhaseDegrees(kPi / 2), 90.0, 1e-12);
    EXPECT_NEAR(wrapPhaseDegrees(1.5 * kPi), -90.0, 1e-12);
    EXPECT_NEAR(wrapPhaseDegrees(-1.5 * kPi), 90.0, 1e-12);
    EXPECT_NEAR(wrapPhaseDegrees(-0.75 * kPi), -135.0, 1e-12);
    EXPECT_NEAR(wrapPhaseDegrees(4.25 * kPi), 45.0, 1e-12);
    EXPECT_NEAR(wrapPhaseDegrees(kPi), -180.0, 1e-12); // +pi lands on the lower edge
}
