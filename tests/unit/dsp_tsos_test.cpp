#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "dsp/frequencygrid.h"
#include "dsp/tsos.h"
#include "unit/dsp_reference.h"

using namespace kvr::core;
using dspref::Cplx;
using dspref::kFs;
using dspref::kPi;

namespace {

TSOS makeSection(SectionType type, double gainDb, double frecHz, double q)
{
    TSOS s;
    s.Tipo = static_cast<uint8_t>(type);
    s.Gain = gainDb;
    s.Frec = frecHz;
    s.Q = q;
    return s;
}

TSOS designed(SectionType type, double gainDb, double frecHz, double q, bool constantQ = false)
{
    TSOS s = makeSection(type, gainDb, frecHz, q);
    s.Design(constantQ);
    return s;
}

bool sameCoefficients(const TSOS& a, const TSOS& b)
{
    return a.B0 == b.B0 && a.B1 == b.B1 && a.B2 == b.B2 && a.A1 == b.A1 && a.A2 == b.A2;
}

bool isUnity(const TSOS& s)
{
    return s.B0 == 1.0 && s.B1 == 0.0 && s.B2 == 0.0 && s.A1 == 0.0 && s.A2 == 0.0;
}

// The section against an analogue prototype H(s), s normalised so that s = j at the pre-warp
// frequency f0, across the band. Tolerance: 1e-9 relative (double-precision design and evaluation;
// the worst conditioned case here is a low section at 20 Hz, still far inside this).
template <class Proto> void expectMatchesPrototype(const TSOS& s, double f0, Proto proto)
{
    for (double f : {20.0, 63.0, 250.0, 700.0, f0, 1.7 * f0, 3000.0, 9000.0, 15000.0, 21000.0, 23500.0}) {
        const Cplx hd = dspref::sectionAtHz(s, f);
        const Cplx ha = proto(dspref::warpedS(f, f0));
        EXPECT_LE(std::abs(hd - ha), 1e-9 * (1.0 + std::abs(ha))) << "f=" << f << " f0=" << f0;
    }
}

} // namespace

TEST(SectionTypes, CodesAreTheStoredValues)
{
    const std::array<std::pair<SectionType, int>, 22> codes = {{
        {SectionType::Bypass, 0},
        {SectionType::Parametric, 1},
        {SectionType::ShelvLow6, 2},
        {SectionType::ShelvLow12, 3},
        {SectionType::ShelvHigh6, 4},
        {SectionType::ShelvHigh12, 5},
        {SectionType::LowPass, 6},
        {SectionType::HiPass, 7},
        {SectionType::BandPass, 8},
        {SectionType::StopBand, 9},
        {SectionType::AllPass1, 10},
        {SectionType::AllPass2, 11},
        {SectionType::NoDesign, 12},
        {SectionType::FirstOrder, 13},
        {SectionType::ButterworthFirstHigh, 14},
        {SectionType::LowPassQ, 15},
        {SectionType::HighPassQ, 16},
        {SectionType::LowShelfSlope, 17},
        {SectionType::HighShelfSlope, 18},
        {SectionType::AnalogPlus, 19},
        {SectionType::AnalogMinus, 20},
        {SectionType::ParametricConstQ, 21},
    }};
    for (const auto& [type, code] : codes)
        EXPECT_EQ(static_cast<int>(type), code);
    EXPECT_EQ(kMaxSectionType, 21);
}

TEST(SectionBasics, BypassResetsCoefficientsOnly)
{
    TSOS s = designed(SectionType::Parametric, 4.0, 300.0, 2.0);
    s.SetBypass();
    EXPECT_TRUE(isUnity(s));
    EXPECT_EQ(s.Tipo, 1);
    EXPECT_EQ(s.Gain, 4.0);
    EXPECT_EQ(s.Frec, 300.0);
    EXPECT_EQ(s.Q, 2.0);

    TSOS t = designed(SectionType::Bypass, 5.0, 200.0, 3.0);
    EXPECT_TRUE(isUnity(t));
    EXPECT_EQ(t.Gain, 5.0);
}

TEST(SectionBasics, CoefIndices)
{
    TSOS s;
    s.B0 = 1.5;
    s.B1 = -2.5;
    s.B2 = 3.5;
    s.A1 = -4.5;
    s.A2 = 5.5;
    EXPECT_EQ(s.Coef(0), 1.5);
    EXPECT_EQ(s.Coef(1), -2.5);
    EXPECT_EQ(s.Coef(2), 3.5);
    EXPECT_EQ(s.Coef(3), -4.5);
    EXPECT_EQ(s.Coef(4), 5.5);
    EXPECT_EQ(s.Coef(5), 0.0);
    EXPECT_EQ(s.Coef(127), 0.0);
    EXPECT_EQ(s.Coef(-1), 0.0);
    EXPECT_EQ(s.Coef(128), 1.5); // taken modulo 128
    EXPECT_EQ(s.Coef(132), 5.5);
}

TEST(SectionDesign, CodesWithoutAFormulaLeaveTheSectionAlone)
{
    for (int code : {12, 13, 14, 22, 100, 255}) {
        TSOS s;
        s.B0 = 0.1;
        s.B1 = 0.2;
        s.B2 = 0.3;
        s.A1 = 0.4;
        s.A2 = 0.5;
        s.Tipo = static_cast<uint8_t>(code);
        s.Gain = 3.0;
        s.Frec = 123.0;
        s.Q = 4.0;
        const TSOS before = s;
        s.Design();
        s.Design(true);
        EXPECT_TRUE(sameCoefficients(s, before)) << code;
        EXPECT_EQ(s.Tipo, code);
        EXPECT_EQ(s.Gain, 3.0);
        EXPECT_EQ(s.Frec, 123.0);
        EXPECT_EQ(s.Q, 4.0);
    }
}

TEST(SectionDesign, PeakingAdaptQMatchesTheBilinearPrototype)
{
    for (double gain : {6.0, -9.0, 15.0}) {
        for (double q : {0.5, 1.4, 8.0}) {
            const TSOS s = designed(SectionType::Parametric, gain, 1000.0, q);
            const double a = std::pow(10.0, gain / 40.0);
            expectMatchesPrototype(
                s, 1000.0, [&](Cplx p) { return (p * p + p * (a / q) + 1.0) / (p * p + p / (a * q) + 1.0); });
            EXPECT_EQ(s.Tipo, 1);
            EXPECT_EQ(s.Gain, gain);
        }
    }
}

TEST(SectionDesign, SixDbPeakingIsSixDbAtItsFrequency)
{
    for (bool constantQ : {false, true}) {
        const TSOS s = designed(SectionType::Parametric, 6.0, 1000.0, 1.0, constantQ);
        // Tolerance 1e-9 dB: the peak is exact up to rounding.
        EXPECT_NEAR(dspref::db(dspref::sectionAtHz(s, 1000.0)), 6.0, 1e-9) << constantQ;
        // Unity far away (DC and Nyquist are exact unity for a peaking section).
        EXPECT_NEAR(std::abs(dspref::sectionAtOmega(s, 0.0)), 1.0, 1e-12);
        EXPECT_NEAR(std::abs(dspref::sectionAtOmega(s, kPi)), 1.0, 1e-12);
    }
}

TEST(SectionDesign, ConstQMatchesItsPrototypeAndKeepsType1)
{
    for (double gain : {6.0, -12.0}) {
        const double q = 2.0;
        const double e = gain >= 0 ? std::pow(10.0, gain / 20.0) : 1.0;
        const double d = gain >= 0 ? 1.0 : std::pow(10.0, -gain / 20.0);
        const TSOS type1 = designed(SectionType::Parametric, gain, 2500.0, q, true);
        expectMatchesPrototype(
            type1, 2500.0, [&](Cplx p) { return (p * p + p * (e / q) + 1.0) / (p * p + p * (d / q) + 1.0); });
        EXPECT_EQ(type1.Tipo, 1);

        const TSOS type21 = designed(SectionType::ParametricConstQ, gain, 2500.0, q);
        EXPECT_TRUE(sameCoefficients(type1, type21));
        EXPECT_EQ(type21.Tipo, 21);
        // Type 21 ignores the editor's switch.
        EXPECT_TRUE(
            sameCoefficients(designed(SectionType::ParametricConstQ, gain, 2500.0, q, false), type21));
    }
}

TEST(SectionDesign, ConstQAtExactlyFs4IsPrewarpedHalfAHertzHigher)
{
    const double q = 1.0;
    const double e = std::pow(10.0, 6.0 / 20.0);
    auto proto = [&](Cplx p) { return (p * p + p * (e / q) + 1.0) / (p * p + p / q + 1.0); };
    const TSOS at = designed(SectionType::ParametricConstQ, 6.0, 12000.0, q);
    expectMatchesPrototype(at, 12000.5, proto);
    // And measurably not at 12000 itself (the two differ by ~1e-4 in the response).
    const Cplx h = dspref::sectionAtHz(at, 15000.0);
    EXPECT_GT(std::abs(h - proto(dspref::warpedS(15000.0, 12000.0))), 1e-6);

    for (double f : {11999.0, 12001.0})
        expectMatchesPrototype(designed(SectionType::ParametricConstQ, 6.0, f, q), f, proto);
}

TEST(SectionDesign, FirstOrderShelvesMatchTheirPrototypes)
{
    for (double gain : {12.0, 2.0, -2.0, -12.0}) {
        const double a = std::pow(10.0, gain / 20.0);
        // The level reached at Frec: 3 dB inside large shelves, half the shelf (in dB) for small ones.
        const double b = a > std::sqrt(2.0) ? a / std::sqrt(2.0)
                                            : (a < 1.0 / std::sqrt(2.0) ? a * std::sqrt(2.0) : std::sqrt(a));
        const double r = std::sqrt((b * b - 1.0) / (a * a - b * b));

        const TSOS low = designed(SectionType::ShelvLow6, gain, 400.0, 0.707);
        expectMatchesPrototype(low, 400.0, [&](Cplx p) { return (p + a * r) / (p + r); });
        // Tolerances 1e-9 dB: DC and Nyquist are exact for a first-order bilinear section.
        EXPECT_NEAR(dspref::db(dspref::sectionAtOmega(low, 0.0)), gain, 1e-9);
        EXPECT_NEAR(dspref::db(dspref::sectionAtOmega(low, kPi)), 0.0, 1e-9);
        EXPECT_NEAR(std::abs(dspref::sectionAtHz(low, 400.0)), b, 1e-9);
        EXPECT_EQ(low.Tipo, 2);

        const TSOS high = designed(SectionType::ShelvHigh6, gain, 4000.0, 0.707);
        expectMatchesPrototype(high, 4000.0, [&](Cplx p) { return (a * r * p + 1.0) / (r * p + 1.0); });
        EXPECT_NEAR(dspref::db(dspref::sectionAtOmega(high, kPi)), gain, 1e-9);
        EXPECT_NEAR(dspref::db(dspref::sectionAtOmega(high, 0.0)), 0.0, 1e-9);
        EXPECT_NEAR(std::abs(dspref::sectionAtHz(high, 4000.0)), b, 1e-9);
        EXPECT_EQ(high.Tipo, 4);
    }
    // Large boost: 3 dB under the shelf at Frec (tolerance 0.001 dB for the rounded 3.0103).
    EXPECT_NEAR(dspref::db(dspref::sectionAtHz(designed(SectionType::ShelvLow6, 12.0, 400.0, 1.0), 400.0)),
                12.0 - 3.0103, 1e-3);
}

TEST(SectionDesign, SecondOrderShelvesMatchZoelzersPrototypes)
{
    const double r2 = std::sqrt(2.0);
    for (double gain : {9.0, -9.0}) {
        const double v = std::pow(10.0, std::fabs(gain) / 20.0);
        const double rv = std::sqrt(2.0 * v);
        const TSOS low = designed(SectionType::ShelvLow12, gain, 150.0, 0.707);
        const TSOS high = designed(SectionType::ShelvHigh12, gain, 6000.0, 0.707);
        if (gain > 0) {
            expectMatchesPrototype(low, 150.0,
                                   [&](Cplx p) { return (p * p + rv * p + v) / (p * p + r2 * p + 1.0); });
            expectMatchesPrototype(
                high, 6000.0, [&](Cplx p) { return (v * p * p + rv * p + 1.0) / (p * p + r2 * p + 1.0); });
        } else {
            expectMatchesPrototype(low, 150.0,
                                   [&](Cplx p) { return (p * p + r2 * p + 1.0) / (p * p + rv * p + v); });
            expectMatchesPrototype(
                high, 6000.0, [&](Cplx p) { return (p * p + r2 * p + 1.0) / (v * p * p + rv * p + 1.0); });
        }
        // Shelf levels, exact at DC and Nyquist (1e-9 dB).
        EXPECT_NEAR(dspref::db(dspref::sectionAtOmega(low, 0.0)), gain, 1e-9);
        EXPECT_NEAR(dspref::db(dspref::sectionAtOmega(high, kPi)), gain, 1e-9);
        EXPECT_EQ(low.Tipo, 3);
        EXPECT_EQ(high.Tipo, 5);
    }
}

TEST(SectionDesign, ShelvesWithZeroGainAreUnityAndKeepTheirType)
{
    for (SectionType t : {SectionType::ShelvLow6, SectionType::ShelvLow12, SectionType::ShelvHigh6,
                          SectionType::ShelvHigh12}) {
        TSOS s = makeSection(t, 0.0, 1000.0, 0.707);
        s.B0 = 0.3;
        s.A1 = 0.7;
        s.Design();
        EXPECT_TRUE(isUnity(s)) << static_cast<int>(t);
        EXPECT_EQ(s.Tipo, static_cast<uint8_t>(t));
    }
}

TEST(SectionDesign, ButterworthPairsMatchThePrototypeAndClearGain)
{
    const double r2 = std::sqrt(2.0);
    const TSOS lp = designed(SectionType::LowPass, 5.0, 2000.0, 3.0);
    expectMatchesPrototype(lp, 2000.0, [&](Cplx p) { return 1.0 / (p * p + r2 * p + 1.0); });
    const TSOS hp = designed(SectionType::HiPass, 5.0, 80.0, 3.0);
    expectMatchesPrototype(hp, 80.0, [&](Cplx p) { return p * p / (p * p + r2 * p + 1.0); });
    for (const TSOS& s : {lp, hp}) {
        EXPECT_EQ(s.Gain, 0.0);
        EXPECT_EQ(s.Q, 3.0); // the fixed Q of the formula does not overwrite the field
        // -3.0103 dB at the corner (1e-9 dB: exact up to rounding).
        EXPECT_NEAR(dspref::db(dspref::sectionAtHz(s, s.Frec)), -10.0 * std::log10(2.0), 1e-9);
    }
    EXPECT_EQ(lp.Tipo, 6);
    EXPECT_EQ(hp.Tipo, 7);
}

TEST(SectionDesign, SecondOrderWithQMatchesThePrototypeAndClearsGain)
{
    for (double q : {0.5, 0.7071, 3.0}) {
        const TSOS lp = designed(SectionType::LowPassQ, 2.0, 700.0, q);
        expectMatchesPrototype(lp, 700.0, [&](Cplx p) { return 1.0 / (p * p + p / q + 1.0); });
        const TSOS hp = designed(SectionType::HighPassQ, 2.0, 700.0, q);
        expectMatchesPrototype(hp, 700.0, [&](Cplx p) { return p * p / (p * p + p / q + 1.0); });
        EXPECT_EQ(lp.Tipo, 15);
        EXPECT_EQ(hp.Tipo, 16);
        EXPECT_EQ(lp.Gain, 0.0);
        EXPECT_EQ(hp.Gain, 0.0);
    }
}

TEST(SectionDesign, FirstOrderCrossoverSectionMatchesThePrototypeAndClearsGain)
{
    for (bool high : {false, true}) {
        TSOS s = makeSection(SectionType::Parametric, 4.0, 1200.0, 1.0);
        s.DesignFirstOrder(high);
        if (high)
            expectMatchesPrototype(s, 1200.0, [](Cplx p) { return p / (p + 1.0); });
        else
            expectMatchesPrototype(s, 1200.0, [](Cplx p) { return 1.0 / (p + 1.0); });
        EXPECT_EQ(s.Tipo, 13);
        EXPECT_EQ(s.Gain, 0.0);
        EXPECT_EQ(s.B2, 0.0);
        EXPECT_EQ(s.A2, 0.0);
    }
}

TEST(SectionDesign, BandPassAndNotchMatchTheTextbookDesign)
{
    // Second-order band-pass/notch with a -3 dB bandwidth of w0/Q (Mitra): a = (1 - tan(bw/2))/(1 +
    // tan(bw/2)).
    for (double q : {0.7, 2.0, 10.0}) {
        const double f0 = 1500.0;
        const double w0 = 2.0 * kPi * f0 / kFs;
        const double t = std::tan(w0 / q / 2.0);
        const double a = (1.0 - t) / (1.0 + t);
        const double gain = 6.0;
        const double g = std::pow(10.0, gain / 20.0);
        const TSOS bpRef =
            dspref::fromTextbook(g * (1 - a) / 2, 0.0, -g * (1 - a) / 2, 1.0, -(1 + a) * std::cos(w0), a);
        const TSOS bsRef = dspref::fromTextbook((1 + a) / 2, -(1 + a) * std::cos(w0), (1 + a) / 2, 1.0,
                                                -(1 + a) * std::cos(w0), a);
        const TSOS bp = designed(SectionType::BandPass, gain, f0, q);
        const TSOS bs = designed(SectionType::StopBand, gain, f0, q);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(bp.Coef(i), bpRef.Coef(i), 1e-12) << i; // 1e-12 absolute, coefficients are O(1)
            EXPECT_NEAR(bs.Coef(i), bsRef.Coef(i), 1e-12) << i;
        }
        // Band-pass peak at f0 equals the gain; the notch is zero there (1e-9 relative).
        EXPECT_NEAR(std::abs(dspref::sectionAtHz(bp, f0)), g, 1e-9 * g);
        EXPECT_NEAR(std::abs(dspref::sectionAtHz(bs, f0)), 0.0, 1e-9);
        EXPECT_EQ(bp.Tipo, 8);
        EXPECT_EQ(bs.Tipo, 9);
        EXPECT_EQ(bp.Gain, gain); // uses its gain, does not clear it
    }
}

TEST(SectionDesign, BandQIsFlooredAt2fOverFsButNotStored)
{
    for (SectionType t : {SectionType::BandPass, SectionType::StopBand}) {
        const double f0 = 3000.0;
        const double floorQ = 2.0 * f0 / kFs;
        const TSOS low = designed(t, 0.0, f0, 0.01);
        const TSOS atFloor = designed(t, 0.0, f0, floorQ);
        EXPECT_TRUE(sameCoefficients(low, atFloor));
        EXPECT_EQ(low.Q, 0.01);
        // Just above the floor the design differs (the floor is not applied there).
        EXPECT_FALSE(sameCoefficients(designed(t, 0.0, f0, floorQ * 1.5), atFloor));
    }
}

TEST(SectionDesign, AllPassSectionsMatchTheirPrototypes)
{
    const TSOS ap1 = designed(SectionType::AllPass1, 3.0, 800.0, 1.0);
    expectMatchesPrototype(ap1, 800.0, [](Cplx p) { return (1.0 - p) / (1.0 + p); });
    // -90 degrees at Frec (1e-9 rad).
    EXPECT_NEAR(std::arg(dspref::sectionAtHz(ap1, 800.0)), -kPi / 2, 1e-9);
    EXPECT_EQ(ap1.Tipo, 10);

    const double q = 0.9;
    const TSOS ap2 = designed(SectionType::AllPass2, 3.0, 800.0, q);
    expectMatchesPrototype(ap2, 800.0, [&](Cplx p) { return (p * p - p / q + 1.0) / (p * p + p / q + 1.0); });
    for (double f : {50.0, 800.0, 20000.0})
        EXPECT_NEAR(std::abs(dspref::sectionAtHz(ap2, f)), 1.0, 1e-12);
    EXPECT_EQ(ap2.Tipo, 11);
}

TEST(SectionDesign, SlopeShelvesMatchTheCookbookPrototypes)
{
    for (double gain : {8.0, -8.0}) {
        for (double slope : {0.5, 1.0}) {
            const double a = std::pow(10.0, gain / 40.0);
            // Cookbook: 2*sqrt(A)*alpha = sin(w0) * sqrt((A^2 + 1)(1/S - 1) + 2A).
            const double beta = std::sqrt((a * a + 1.0) * (1.0 / slope - 1.0) + 2.0 * a);
            const TSOS low = designed(SectionType::LowShelfSlope, gain, 250.0, slope);
            expectMatchesPrototype(low, 250.0, [&](Cplx p) {
                return a * (p * p + beta * p + a) / (a * p * p + beta * p + 1.0);
            });
            const TSOS high = designed(SectionType::HighShelfSlope, gain, 5000.0, slope);
            expectMatchesPrototype(high, 5000.0, [&](Cplx p) {
                return a * (a * p * p + beta * p + 1.0) / (p * p + beta * p + a);
            });
            EXPECT_EQ(low.Tipo, 17);
            EXPECT_EQ(high.Tipo, 18);
        }
    }
}

TEST(SectionDesign, SlopeShelvesClampBetaToOneTenth)
{
    // 20 dB with slope 2.5: (A^2 + 1)/S - (A - 1)^2 = 4.4 - 4.675 < 0.1.
    const double a = std::sqrt(10.0);
    const double beta = 0.1;
    const TSOS low = designed(SectionType::LowShelfSlope, 20.0, 300.0, 2.5);
    expectMatchesPrototype(low, 300.0,
                           [&](Cplx p) { return a * (p * p + beta * p + a) / (a * p * p + beta * p + 1.0); });
    const TSOS high = designed(SectionType::HighShelfSlope, 20.0, 300.0, 2.5);
    expectMatchesPrototype(high, 300.0,
                           [&](Cplx p) { return a * (a * p * p + beta * p + 1.0) / (p * p + beta * p + a); });
}

TEST(SectionDesign, AnalogueFirstOrderSectionsFollowTheirFormula)
{
    // Gain is a plain ratio for these two codes.
    for (bool minus : {false, true}) {
        const double ratio = 1.5;
        const double q = 20.0;
        const double f = 500.0;
        const TSOS s = designed(minus ? SectionType::AnalogMinus : SectionType::AnalogPlus, ratio, f, q);
        const double d = 2.0 * kPi / std::tan(kPi / kFs);
        const double ff = 1.0 / (ratio + 1.0);
        const double h = (minus ? -1.0 : 1.0) * ff * ratio * 686.0 / (f / 100.0);
        const double g = (q / 100.0) * 686.0 / (f / 100.0);
        const double den = d + g;
        // 1e-15 absolute: the same arithmetic in another order.
        EXPECT_NEAR(s.B0, (ff * d + h) / den, 1e-15);
        EXPECT_NEAR(s.B1, 2.0 * h / den, 1e-15);
        EXPECT_NEAR(s.B2, (h - ff * d) / den, 1e-15);
        EXPECT_NEAR(s.A1, -2.0 * g / den, 1e-15);
        EXPECT_NEAR(s.A2, (d - g) / den, 1e-15);
        EXPECT_EQ(s.Tipo, minus ? 20 : 19);
    }
}

TEST(ChainResponse, NoSectionsGivesZeroArrays)
{
    std::array<float, kGridPoints> mag;
    std::array<float, kGridPoints> ph;
    mag.fill(7.0f);
    ph.fill(-7.0f);
    AddChainResponse(nullptr, 0, mag.data(), ph.data());
    for (int k = 0; k < kGridPoints; ++k) {
        EXPECT_EQ(mag[k], 0.0f);
        EXPECT_EQ(ph[k], 0.0f);
    }
}

TEST(ChainResponse, SumsSectionsOverTheGridWithoutWrapping)
{
    const std::vector<TSOS> secs = {
        designed(SectionType::Parametric, 9.0, 200.0, 2.0), designed(SectionType::AllPass2, 0.0, 3000.0, 0.6),
        designed(SectionType::AllPass2, 0.0, 3000.0, 0.6), designed(SectionType::LowPassQ, 0.0, 8000.0, 1.2)};
    std::vector<const TSOS*> chain;
    for (const TSOS& s : secs)
        chain.push_back(&s);
    ChainResponse out;
    AddChainResponse(chain, out);

    const FrequencyGrid& grid = frequencyGrid();
    double maxAbsPhase = 0.0;
    for (int k = 0; k < kGridPoints; ++k) {
        const double w = grid.omega[k];
        double magDb = 0.0;
        double phase = 0.0;
        for (const TSOS& s : secs) {
            const Cplx h = dspref::sectionAtOmega(s, w);
            magDb += dspref::db(h);
            phase += std::arg(h);
        }
        // Single-precision sums of four terms: 1e-4 dB and 1e-5 rad.
        EXPECT_NEAR(out.magnitudeDb[k], magDb, 1e-4) << k;
        EXPECT_NEAR(out.phaseRad[k], phase, 1e-5) << k;
        maxAbsPhase = std::max(maxAbsPhase, std::fabs(static_cast<double>(out.phaseRad[k])));
    }
    // Two all-pass sections alone reach past -pi: the sum is not wrapped.
    EXPECT_GT(maxAbsPhase, kPi);
}

TEST(ChainResponse, NotchOnAGridFrequencyStaysFinite)
{
    const FrequencyGrid& grid = frequencyGrid();
    const int k = 250;
    const TSOS notch = designed(SectionType::StopBand, 0.0, grid.frequencyHz[k], 5.0);
    const TSOS* chain[] = {&notch};
    ChainResponse out;
    AddChainResponse(chain, out);
    for (int i = 0; i < kGridPoints; ++i) {
        ASSERT_TRUE(std::isfinite(out.magnitudeDb[i])) << i;
        ASSERT_TRUE(std::isfinite(out.phaseRad[i])) << i;
    }
    EXPECT_LT(out.magnitudeDb[k], -100.0f);

    // A response that is exactly zero everywhere hits the floor.
    TSOS zero;
    zero.B0 = 0.0;
    const TSOS* zeros[] = {&zero, &zero};
    AddChainResponse(zeros, out);
    for (int i = 0; i < kGridPoints; ++i) {
        EXPECT_EQ(out.magnitudeDb[i], static_cast<float>(2 * kMagnitudeFloorDb));
        EXPECT_EQ(out.phaseRad[i], 0.0f);
    }
}
