#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "dsp/frequencygrid.h"
#include "dsp/txover.h"
#include "unit/dsp_reference.h"

using namespace kvr::core;
using dspref::Cplx;
using dspref::kPi;

namespace {

TXOVERPB makeSide(CrossoverType type, int order, double fcHz)
{
    TXOVERPB side;
    side.Tipo = static_cast<uint8_t>(type);
    side.Orden = order;
    side.Frec = fcHz;
    // As the editor does for every family but custom.
    for (int n = 0; n < 4; ++n)
        side.Sections[n].Frec = fcHz;
    return side;
}

ChainResponse sideResponse(const TXOVERPB& side)
{
    std::vector<const TSOS*> chain;
    for (int n = 0; n < side.NumSections; ++n)
        chain.push_back(&side.Sections[n]);
    ChainResponse out;
    AddChainResponse(chain, out);
    return out;
}

// Magnitude of the designed side at any frequency, evaluated directly.
double sideDbAt(const TXOVERPB& side, double fHz)
{
    double db = 0.0;
    for (int n = 0; n < side.NumSections; ++n)
        db += dspref::db(dspref::sectionAtHz(side.Sections[n], fHz));
    return db;
}

// Butterworth of order N through the bilinear transform pre-warped at fc: |H|^2 = 1/(1 + W^2N)
// with W the warped frequency (inverted for the high-pass).
double butterworthDb(int order, bool low, double omega, double fcHz)
{
    const double w = std::tan(omega / 2.0) / std::tan(kPi * fcHz / dspref::kFs);
    const double x = low ? w : 1.0 / w;
    return -10.0 * std::log10(1.0 + std::pow(x, 2.0 * order));
}

bool isUnity(const TSOS& s)
{
    return s.B0 == 1.0 && s.B1 == 0.0 && s.B2 == 0.0 && s.A1 == 0.0 && s.A2 == 0.0;
}

const double kMinus3dB = -10.0 * std::log10(2.0);

// Grid check against the textbook Butterworth magnitude, at the grid's stored float w. The
// response is a single-precision sum: tolerance 1e-4 dB or 1e-6 of the level, whichever is larger
// (deep stop-band values near Nyquist reach several hundred dB; observed errors are 30 times smaller).
void expectButterworthOverGrid(const TXOVERPB& side, int order, bool low, double fcHz, int cascades)
{
    const ChainResponse r = sideResponse(side);
    const FrequencyGrid& grid = frequencyGrid();
    for (int k = 0; k < kGridPoints; ++k) {
        const double ref = cascades * butterworthDb(order, low, grid.omega[k], fcHz);
        ASSERT_NEAR(r.magnitudeDb[k], ref, std::max(1e-4, 1e-6 * std::fabs(ref)))
            << "order " << order << (low ? " low" : " high") << " fc " << fcHz << " f " << grid.frequencyHz[k];
    }
}

// The Bessel prototype table (normalised to -3 dB at the cut-off): H(s) of the low-pass.
struct BesselProto {
    float r;
    std::vector<std::array<float, 2>> ab;
};
const std::array<BesselProto, 8> kBessel = {{
    {1.0f, {}},
    {0.0f, {{1.3617f, 0.618f}}},
    {1.323f, {{0.9996f, 0.4772f}}},
    {0.0f, {{1.3397f, 0.4889f}, {0.7743f, 0.389f}}},
    {1.502f, {{1.1402f, 0.4128f}, {0.6216f, 0.3245f}}},
    {0.0f, {{1.2217f, 0.3887f}, {0.9686f, 0.3505f}, {0.5131f, 0.2756f}}},
    {1.684f, {{1.0944f, 0.3395f}, {0.8304f, 0.3011f}, {0.4332f, 0.2381f}}},
    {0.0f, {{1.1112f, 0.3162f}, {0.9754f, 0.2979f}, {0.7202f, 0.2621f}, {0.3728f, 0.2087f}}},
}};

Cplx besselLowPass(int order, Cplx s)
{
    const BesselProto& p = kBessel[order - 1];
    Cplx h = 1.0;
    if (order % 2 == 1) h /= s / static_cast<double>(p.r) + 1.0;
    for (const auto& ab : p.ab)
        h /= static_cast<double>(ab[1]) * s * s + static_cast<double>(ab[0]) * s + 1.0;
    return h;
}

} // namespace

TEST(CrossoverTypes, CodesAreTheStoredValues)
{
    EXPECT_EQ(static_cast<int>(CrossoverType::Bypass), 0);
    EXPECT_EQ(static_cast<int>(CrossoverType::ButterworthLowPass), 1);
    EXPECT_EQ(static_cast<int>(CrossoverType::ButterworthHighPass), 2);
    EXPECT_EQ(static_cast<int>(CrossoverType::LinkwitzRileyLowPass), 3);
    EXPECT_EQ(static_cast<int>(CrossoverType::LinkwitzRileyHighPass), 4);
    EXPECT_EQ(static_cast<int>(CrossoverType::BesselLowPass), 5);
    EXPECT_EQ(static_cast<int>(CrossoverType::BesselHighPass), 6);
    EXPECT_EQ(static_cast<int>(CrossoverType::CustomLowPass), 7);
    EXPECT_EQ(static_cast<int>(CrossoverType::CustomHighPass), 8);
    EXPECT_EQ(kMaxCrossoverType, 8);
}

TEST(CrossoverButterworth, EveryOrderMatchesTheTextbookDesign)
{
    for (double fc : {100.0, 1000.0, 5000.0, 15000.0}) {
        for (int order = 1; order <= 8; ++order) {
            for (bool low : {true, false}) {
                TXOVERPB side =
                    makeSide(low ? CrossoverType::ButterworthLowPass : CrossoverType::ButterworthHighPass, order, fc);
                const SideDesignResult res = DesignSide(side);
                EXPECT_FALSE(res.besselLimitMessage.has_value());
                ASSERT_EQ(side.NumSections, (order + 1) / 2);
                EXPECT_EQ(side.Orden, order);
                expectButterworthOverGrid(side, order, low, fc, 1);
                // -3.0103 dB at fc, 1e-9 dB: exact up to rounding.
                EXPECT_NEAR(sideDbAt(side, fc), kMinus3dB, 1e-9) << order << " " << fc;

                int n = 0;
                if (order % 2 == 1) {
                    EXPECT_EQ(side.Sections[0].Tipo, low ? 13 : 14);
                    n = 1;
                }
                // Second-order sections from the highest Q down: Q_k = 1/(2 sin((2k-1) pi / 2N)).
                for (int k = 1; k <= order / 2; ++k, ++n) {
                    const TSOS& s = side.Sections[n];
                    EXPECT_EQ(s.Tipo, low ? 15 : 16);
                    EXPECT_EQ(s.Frec, fc);
                    EXPECT_NEAR(s.Q, 1.0 / (2.0 * std::sin((2 * k - 1) * kPi / (2.0 * order))), 1e-9);
                }
                for (int m = side.NumSections; m < 8; ++m)
                    EXPECT_TRUE(isUnity(side.Sections[m]));
            }
        }
    }
}

TEST(CrossoverButterworth, OrderFourQsAndFirstOrderQValues)
{
    TXOVERPB side = makeSide(CrossoverType::ButterworthLowPass, 4, 1000.0);
    DesignSide(side);
    EXPECT_NEAR(side.Sections[0].Q, 1.3066, 1e-4); // four-digit values
    EXPECT_NEAR(side.Sections[1].Q, 0.5412, 1e-4);

    // First-order sections carry a Q without filter meaning, stored all the same.
    TXOVERPB low = makeSide(CrossoverType::ButterworthLowPass, 1, 1000.0);
    DesignSide(low);
    EXPECT_NEAR(low.Sections[0].Q, 0.4, 1e-3); // quoted to one digit
    TXOVERPB high = makeSide(CrossoverType::ButterworthHighPass, 1, 1000.0);
    DesignSide(high);
    EXPECT_NEAR(high.Sections[0].Q, -1.5622, 1e-4);

    // Near fs/4 the low-pass value is huge but must stay a finite number.
    TXOVERPB quarter = makeSide(CrossoverType::ButterworthLowPass, 3, 12000.0);
    DesignSide(quarter);
    EXPECT_TRUE(std::isfinite(quarter.Sections[0].Q));
    EXPECT_NEAR(sideDbAt(quarter, 12000.0), kMinus3dB, 1e-9);
}

TEST(CrossoverLinkwitzRiley, EveryOrderIsTwoButterworthHalves)
{
    for (double fc : {100.0, 2000.0, 12000.0}) {
        for (int order = 1; order <= 8; ++order) {
            for (bool low : {true, false}) {
                TXOVERPB side = makeSide(
                    low ? CrossoverType::LinkwitzRileyLowPass : CrossoverType::LinkwitzRileyHighPass, order, fc);
                DesignSide(side);
                const int even = order + order % 2; // odd orders move up by one
                EXPECT_EQ(side.Orden, even);
                ASSERT_EQ(side.NumSections, even <= 4 ? 2 : 4);
                expectButterworthOverGrid(side, even / 2, low, fc, 2);
                // -6.0206 dB at fc, 1e-9 dB.
                EXPECT_NEAR(sideDbAt(side, fc), 2 * kMinus3dB, 1e-9) << order << " " << fc;
            }
        }
    }
}

TEST(CrossoverLinkwitzRiley, SectionLayout)
{
    TXOVERPB four = makeSide(CrossoverType::LinkwitzRileyHighPass, 4, 500.0);
    DesignSide(four);
    for (int n = 0; n < 2; ++n) {
        EXPECT_NEAR(four.Sections[n].Q, 1.0 / std::sqrt(2.0), 1e-9);
        EXPECT_EQ(four.Sections[n].Tipo, 16);
    }
    TXOVERPB eight = makeSide(CrossoverType::LinkwitzRileyLowPass, 8, 500.0);
    DesignSide(eight);
    const double q[] = {1.3066, 0.5412, 1.3066, 0.5412};
    for (int n = 0; n < 4; ++n)
        EXPECT_NEAR(eight.Sections[n].Q, q[n], 1e-4) << n; // four-digit values

    TXOVERPB three = makeSide(CrossoverType::LinkwitzRileyLowPass, 3, 500.0);
    DesignSide(three);
    EXPECT_EQ(three.Orden, 4);
    EXPECT_EQ(three.NumSections, 2);

    // Order 6: two third-order halves, each a first-order section then a second-order one.
    TXOVERPB six = makeSide(CrossoverType::LinkwitzRileyLowPass, 5, 500.0);
    DesignSide(six);
    EXPECT_EQ(six.Orden, 6);
    const int types[] = {13, 15, 13, 15};
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(six.Sections[n].Tipo, types[n]) << n;
}

TEST(CrossoverBessel, LowCutoffsMatchTheAnaloguePrototype)
{
    // Around 100 Hz each section's bilinear warping is negligible up to five times the cut-off:
    // tan(pi f/fs) exceeds pi f/fs by (pi f/fs)^2/3, 0.06 % at 625 Hz. Tolerance 0.01 dB plus
    // 0.1 % of the level (an eighth-order slope at -100 dB moves by about 0.05 dB).
    const FrequencyGrid& grid = frequencyGrid();
    for (double fc : {80.0, 100.0, 125.0}) {
        for (int order = 1; order <= 8; ++order) {
            for (bool low : {true, false}) {
                TXOVERPB side = makeSide(low ? CrossoverType::BesselLowPass : CrossoverType::BesselHighPass, order, fc);
                const SideDesignResult res = DesignSide(side);
                ASSERT_FALSE(res.besselLimitMessage.has_value());
                ASSERT_EQ(side.NumSections, (order + 1) / 2);
                const ChainResponse r = sideResponse(side);
                for (int k = 0; k < kGridPoints && grid.frequencyHz[k] <= 5.0 * fc; ++k) {
                    const Cplx s(0.0, grid.frequencyHz[k] / fc);
                    const double ref = dspref::db(besselLowPass(order, low ? s : 1.0 / s));
                    EXPECT_NEAR(r.magnitudeDb[k], ref, 0.01 + 1e-3 * std::fabs(ref))
                        << "order " << order << (low ? " low" : " high") << " fc " << fc << " f "
                        << grid.frequencyHz[k];
                }
            }
        }
    }
}

TEST(CrossoverBessel, OrderThreeHighPassSections)
{
    TXOVERPB side = makeSide(CrossoverType::BesselHighPass, 3, 1000.0);
    DesignSide(side);
    ASSERT_EQ(side.NumSections, 2);
    const TSOS& first = side.Sections[0];
    const TSOS& second = side.Sections[1];
    // Table values are single precision: 1e-3 Hz and 1e-6 on Q cover that.
    EXPECT_NEAR(first.Frec, 1000.0 / 1.323, 1e-3);
    EXPECT_EQ(first.Tipo, 13);
    // It is the high-pass first-order formula: zero at DC, unity at Nyquist (1e-12).
    EXPECT_NEAR(std::abs(dspref::sectionAtOmega(first, 0.0)), 0.0, 1e-12);
    EXPECT_NEAR(std::abs(dspref::sectionAtOmega(first, kPi)), 1.0, 1e-12);
    EXPECT_NEAR(second.Frec, 1000.0 * std::sqrt(0.4772), 1e-3);
    EXPECT_NEAR(second.Q, std::sqrt(0.4772) / 0.9996, 1e-6);
    EXPECT_EQ(second.Tipo, 16);
}

TEST(CrossoverBessel, LowPassAboveTheLimitIsHeldAtTheLimit)
{
    const double limits[] = {20000, 18800, 16500, 14900, 13650, 12550, 11650, 10900};
    for (int order = 1; order <= 8; ++order)
        EXPECT_EQ(BesselLowPassLimitHz(order), limits[order - 1]);

    TXOVERPB side = makeSide(CrossoverType::BesselLowPass, 8, 12000.0);
    const SideDesignResult res = DesignSide(side);
    ASSERT_TRUE(res.besselLimitMessage.has_value());
    EXPECT_EQ(*res.besselLimitMessage, "Cutoff Frequency of Bessel LowPass filter of order 8 is limited to 10900");
    EXPECT_EQ(res.limitHz, 10900.0);
    EXPECT_EQ(side.Frec, 10900.0);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(side.Sections[n].Frec, 10900.0);
        EXPECT_TRUE(isUnity(side.Sections[n])); // nothing designed in this call
    }
    // The caller applies the side again at the limit.
    const SideDesignResult again = DesignSide(side);
    EXPECT_FALSE(again.besselLimitMessage.has_value());
    EXPECT_EQ(side.Sections[0].Tipo, 15);

    // At the limit itself there is no message; high-passes have no limit.
    TXOVERPB atLimit = makeSide(CrossoverType::BesselLowPass, 5, 13650.0);
    EXPECT_FALSE(DesignSide(atLimit).besselLimitMessage.has_value());
    TXOVERPB high = makeSide(CrossoverType::BesselHighPass, 8, 15000.0);
    EXPECT_FALSE(DesignSide(high).besselLimitMessage.has_value());
}

TEST(CrossoverBessel, RedesignDoesNotDrift)
{
    for (int order : {3, 8}) {
        TXOVERPB side = makeSide(CrossoverType::BesselLowPass, order, 2000.0);
        DesignSide(side);
        const TXOVERPB first = side;
        DesignSide(side);
        DesignSide(side);
        for (int n = 0; n < 8; ++n) {
            EXPECT_EQ(side.Sections[n].Frec, first.Sections[n].Frec) << n;
            EXPECT_EQ(side.Sections[n].B0, first.Sections[n].B0) << n;
            EXPECT_EQ(side.Sections[n].A2, first.Sections[n].A2) << n;
        }
    }
}

TEST(CrossoverCustom, SectionsKeepTheirOwnFrequencyAndQ)
{
    TXOVERPB side;
    side.Tipo = static_cast<uint8_t>(CrossoverType::CustomLowPass);
    side.Orden = 3;
    side.Frec = 1000.0;
    side.Sections[0].Frec = 3000.0;
    side.Sections[0].Q = 9.0;
    side.Sections[1].Frec = 2500.0;
    side.Sections[1].Q = 1.8;
    DesignSide(side);
    ASSERT_EQ(side.NumSections, 2);
    // Section 1 is the first-order low-pass at its own frequency: 1/(s + 1) pre-warped there.
    for (double f : {100.0, 3000.0, 20000.0}) {
        const Cplx ref = 1.0 / (dspref::warpedS(f, 3000.0) + 1.0);
        EXPECT_LE(std::abs(dspref::sectionAtHz(side.Sections[0], f) - ref), 1e-12); // 1e-12 absolute
    }
    EXPECT_EQ(side.Sections[0].Tipo, 13);
    EXPECT_EQ(side.Sections[0].Q, 9.0);
    EXPECT_EQ(side.Sections[1].Tipo, 15);
    EXPECT_EQ(side.Sections[1].Frec, 2500.0);
    EXPECT_EQ(side.Sections[1].Q, 1.8);
    // Resonant peak of the Q 1.8 section shows at its own frequency (|H| = Q there, 1e-9).
    EXPECT_NEAR(std::abs(dspref::sectionAtHz(side.Sections[1], 2500.0)), 1.8, 1e-9);

    TXOVERPB high;
    high.Tipo = static_cast<uint8_t>(CrossoverType::CustomHighPass);
    high.Orden = 5;
    for (int n = 0; n < 3; ++n) {
        high.Sections[n].Frec = 100.0 * (n + 1);
        high.Sections[n].Q = 0.5 + n;
    }
    DesignSide(high);
    ASSERT_EQ(high.NumSections, 3);
    EXPECT_EQ(high.Sections[0].Tipo, 13);
    EXPECT_NEAR(std::abs(dspref::sectionAtOmega(high.Sections[0], 0.0)), 0.0, 1e-12); // high-pass
    EXPECT_EQ(high.Sections[1].Tipo, 16);
    EXPECT_EQ(high.Sections[2].Tipo, 16);
    EXPECT_EQ(high.Sections[2].Frec, 300.0);

    high.Orden = 4;
    DesignSide(high);
    EXPECT_EQ(high.NumSections, 2);
    EXPECT_EQ(high.Sections[0].Tipo, 16);
}

TEST(CrossoverSide, BypassIsOneUnitySection)
{
    TXOVERPB side = makeSide(CrossoverType::ButterworthLowPass, 8, 1000.0);
    DesignSide(side);
    side.Tipo = 0;
    DesignSide(side);
    EXPECT_EQ(side.NumSections, 1);
    for (const TSOS& s : side.Sections)
        EXPECT_TRUE(isUnity(s));
    EXPECT_EQ(side.Sections[0].Tipo, 15); // parameters are not touched by the reset

    TXOVER xover;
    DesignSide(xover.LowSide);
    DesignSide(xover.HighSide);
    const auto chain = crossoverChain(xover);
    ChainResponse r;
    AddChainResponse(chain, r);
    for (int k = 0; k < kGridPoints; ++k) {
        EXPECT_EQ(r.magnitudeDb[k], 0.0f);
        EXPECT_EQ(r.phaseRad[k], 0.0f);
    }
}

TEST(CrossoverSide, OrdersAndCodesFromFilesAreContained)
{
    TXOVERPB big = makeSide(CrossoverType::ButterworthHighPass, 12, 1000.0);
    DesignSide(big);
    EXPECT_EQ(big.Orden, 8);
    EXPECT_EQ(big.NumSections, 4);

    TXOVERPB zero = makeSide(CrossoverType::BesselHighPass, 0, 1000.0);
    DesignSide(zero);
    EXPECT_EQ(zero.Orden, 1);
    EXPECT_EQ(zero.NumSections, 1);

    TXOVERPB unknown = makeSide(CrossoverType::ButterworthLowPass, 4, 1000.0);
    DesignSide(unknown);
    unknown.Tipo = 9;
    DesignSide(unknown);
    EXPECT_EQ(unknown.NumSections, 1);
    for (const TSOS& s : unknown.Sections)
        EXPECT_TRUE(isUnity(s));
}

TEST(CrossoverChain, HighSideThenLowSide)
{
    TXOVER xover;
    xover.HighSide = makeSide(CrossoverType::ButterworthLowPass, 5, 4000.0);
    xover.LowSide = makeSide(CrossoverType::LinkwitzRileyHighPass, 8, 200.0);
    DesignSide(xover.HighSide);
    DesignSide(xover.LowSide);
    const auto chain = crossoverChain(xover);
    ASSERT_EQ(chain.size(), 7u);
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(chain[n], &xover.HighSide.Sections[n]);
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(chain[3 + n], &xover.LowSide.Sections[n]);

    xover.HighSide.NumSections = 0;
    xover.LowSide.NumSections = 40;
    EXPECT_EQ(crossoverChain(xover).size(), 1u + 8u);
}
