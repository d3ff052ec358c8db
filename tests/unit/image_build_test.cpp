#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "config/editing.h"
#include "image/deviceimage.h"
#include "image/processorfloat.h"
#include "image_fixtures.h"

using namespace kvr::core;
using kvr::test::imageConfiguration;

namespace {

constexpr double kFs = 48000.0;

// The image read by the offsets of its layout, independently of the decoder.
struct Parsed {
    Bytes image;
    size_t l1 = 0, l2 = 0;
    size_t be16(size_t at) const { return size_t{image.at(at)} << 8 | image.at(at + 1); }
    uint32_t be32(size_t at) const
    {
        return uint32_t{image.at(at)} << 24 | uint32_t{image.at(at + 1)} << 16 | uint32_t{image.at(at + 2)} << 8 |
               image.at(at + 3);
    }
    size_t block(int k) const { return k == 1 ? 51 : 53 + l1; }
    size_t record() const { return 56 + l1 + l2; }
    // Word i (0-based, 4 bytes each) of block k, counted from byte `from`.
    uint32_t word(int k, size_t from, size_t i) const { return be32(block(k) + from + 4 * i); }
    double value(int k, size_t from, size_t i) const { return FromProcessorFloat(word(k, from, i)); }
    int16_t h(int k, size_t at) const { return static_cast<int16_t>(be16(block(k) + at)); }
    int recS16(size_t at) const
    {
        return static_cast<int16_t>(image.at(record() + at) | image.at(record() + at + 1) << 8);
    }
    unsigned recU16(size_t at) const { return image.at(record() + at) | image.at(record() + at + 1) << 8; }
    unsigned rec(size_t at) const { return image.at(record() + at); }
};

Parsed build(const Configuration& c, bool blocked = false)
{
    auto image = BuildDeviceImage(c, blocked);
    EXPECT_TRUE(image.ok()) << (image.ok() ? "" : image.message());
    Parsed p;
    if (!image.ok()) return p;
    p.image = *image;
    p.l1 = p.be16(49) - 2;
    p.l2 = p.be16(51 + p.l1) - 2;
    return p;
}

// Stored coefficients (feedback terms negated) of textbook bilinear biquads.
struct Coefs {
    double b0, b1, b2, a1, a2;
};
Coefs peaking(double f, double gainDb, double q)
{
    const double a = std::pow(10.0, gainDb / 40.0), w = 2 * std::numbers::pi * f / kFs, alpha = std::sin(w) / (2 * q);
    const double a0 = 1 + alpha / a;
    return {(1 + alpha * a) / a0, -2 * std::cos(w) / a0, (1 - alpha * a) / a0, 2 * std::cos(w) / a0,
            -(1 - alpha / a) / a0};
}
Coefs lowPass(double f, double q)
{
    const double w = 2 * std::numbers::pi * f / kFs, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    const double n = (1 - std::cos(w)) / 2 / a0;
    return {n, 2 * n, n, 2 * std::cos(w) / a0, -(1 - alpha) / a0};
}
Coefs firstOrderLowPass(double f)
{
    const double k = std::tan(std::numbers::pi * f / kFs);
    return {k / (k + 1), k / (k + 1), 0, (1 - k) / (1 + k), 0};
}

// The five words of a section: A2, B2 + A2, A1, B1 + A1, B0 - 1, each within two single-precision
// steps of the reference (2.5e-7 absolute on values of order 1).
void expectSection(const Parsed& p, int k, size_t at, const Coefs& c)
{
    const double expected[5] = {c.a2, c.b2 + c.a2, c.a1, c.b1 + c.a1, c.b0 - 1};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_NEAR(p.value(k, at, i), expected[i], 2.5e-7) << "word " << i;
}

uint16_t low16Of(double v)
{
    return static_cast<uint16_t>(static_cast<uint64_t>(std::llrint(v)) & 0xFFFF);
}

size_t dynamicsWords(int points)
{
    return 23 + static_cast<size_t>(points);
}

} // namespace

TEST(DeviceImageLayout, HeaderLengthsAndTrailer)
{
    Parsed p = build(imageConfiguration(), true);
    const size_t m = p.be16(0);
    ASSERT_EQ(p.image.size(), m + 2);
    EXPECT_EQ(m, p.l1 + p.l2 + 708);
    EXPECT_EQ(p.image[2], 0x78);
    EXPECT_EQ(p.image[3], 0);
    EXPECT_EQ(p.image[4], 0); // routes: A, A+B, B, B
    EXPECT_EQ(p.image[5], 1);
    EXPECT_EQ(p.image[6], 2);
    EXPECT_EQ(p.image[7], 2);
    EXPECT_EQ(p.image[8], 0xFF);
    for (size_t i = 9; i <= 12; ++i)
        EXPECT_EQ(p.image[i], 0) << i;
    const size_t end = 53 + p.l1 + p.l2;
    EXPECT_EQ(p.image[end], 0);
    EXPECT_EQ(p.image[end + 1], 0x02);
    EXPECT_EQ(p.image[end + 2], 0x8C);
    EXPECT_EQ(p.image[706 + p.l1 + p.l2], 0x01);
    EXPECT_EQ(p.image[707 + p.l1 + p.l2], 0x00);
    EXPECT_EQ(p.image[708 + p.l1 + p.l2], 0xAA);
    EXPECT_EQ(p.image[709 + p.l1 + p.l2], 0x00);
    EXPECT_EQ(build(imageConfiguration(), false).image[8], 0x00);
}

TEST(DeviceImageLayout, NamesArePaddedWithSpacesNeverZeros)
{
    Configuration c;
    c.setSystemName("Hall");
    c.setInputName(InputId::A, "L");
    c.setOutputName(3, "");
    Parsed p = build(c);
    EXPECT_EQ(std::string(p.image.begin() + 13, p.image.begin() + 25), "Hall        ");
    EXPECT_EQ(std::string(p.image.begin() + 25, p.image.begin() + 29), "L   ");
    EXPECT_EQ(std::string(p.image.begin() + 29, p.image.begin() + 33), "In B");
    EXPECT_EQ(std::string(p.image.begin() + 33, p.image.begin() + 49), "Out1Out2    Out4");
    // A name longer than its field is cut to it.
    c.system.name = "A very long system name";
    p = build(c);
    EXPECT_EQ(std::string(p.image.begin() + 13, p.image.begin() + 25), "A very long ");
}

TEST(DeviceImageBlocks, InputPathLevelsFollowTheRoute)
{
    Configuration c;
    c.output(1).route = RouteSource::A;
    c.output(2).route = RouteSource::AB;
    c.output(3).route = RouteSource::B;
    c.output(4).route = RouteSource::AB;
    c.setInputLevelDb(InputId::A, -2.5); // position -275: word 376
    c.setInputLevelDb(InputId::B, 4.0);  // position -340: word 441
    c.setInputLevelDb(InputId::M, -9.0); // position -210: word 311
    c.setOutputLevelDb(2, -3.0);         // word 371
    c.setOutputMute(3, true);
    c.input(InputId::M).mute = false;
    Parsed p = build(c);
    // Block 1: first path words, second path words, output words.
    EXPECT_EQ(p.h(1, 0), 376);
    EXPECT_EQ(p.h(1, 2), 311); // the mix feeds both paths
    EXPECT_EQ(p.h(1, 4), 0);   // route A has no second path
    EXPECT_EQ(p.h(1, 6), 311);
    EXPECT_EQ(p.h(1, 8), 401);
    EXPECT_EQ(p.h(1, 10), 371);
    // Block 2: route B has no first path.
    EXPECT_EQ(p.h(2, 0), 0);
    EXPECT_EQ(p.h(2, 4), 441);
    EXPECT_EQ(p.h(2, 8), 0); // muted output
    // A muted input gives 0 in every path it feeds.
    c.setInputMute(InputId::M, true);
    p = build(c);
    EXPECT_EQ(p.h(1, 2), 0);
    EXPECT_EQ(p.h(1, 6), 0);
    EXPECT_EQ(p.h(1, 0), 376);
}

TEST(DeviceImageBlocks, PolarityDelaysAndCounts)
{
    Configuration c = imageConfiguration();
    Parsed p = build(c);
    EXPECT_EQ(p.image[p.block(1) + 12], 0x01);
    EXPECT_EQ(p.image[p.block(1) + 13], 0xFF); // output 2 inverted
    EXPECT_EQ(p.image[p.block(1) + 14], 0);
    EXPECT_EQ(p.image[p.block(1) + 15], 0);
    EXPECT_EQ(p.h(2, 16), 308); // 321 steps of 0.02 ms = 6.42 ms = 308.16 samples
    EXPECT_EQ(p.h(1, 16), 0);
    // Input delay of the route: A for output 1, the mix for output 2.
    const double c25 = 20.06f * std::sqrt(298.0f);
    EXPECT_EQ(p.h(1, 20), std::lrint(3.45 / c25 * kFs));
    EXPECT_EQ(p.h(1, 22), std::lrint(1.20 / c25 * kFs));
    EXPECT_EQ(p.word(1, 0, 8), 0u); // k - 1
    EXPECT_EQ(p.word(2, 0, 8), 1u);
    for (size_t i = 9; i < 12; ++i)
        EXPECT_EQ(p.word(2, 0, i), 0u);
}

TEST(DeviceImageBlocks, InputDelayAboveTheLimitIsWrittenAs14390)
{
    Configuration c;
    c.input(InputId::A).delaySamples = 14401;
    c.input(InputId::B).delaySamples = 14400;
    c.output(3).route = RouteSource::B;
    Parsed p = build(c);
    EXPECT_EQ(p.h(1, 20), 14390);
    EXPECT_EQ(p.h(2, 20), 14400);
}

TEST(DeviceImageBlocks, SectionCountsAndBlockLength)
{
    // Defaults: PEQA 2 sections, both crossover sides bypassed (one unity section each), 6
    // output equaliser sections.
    Configuration c;
    Parsed p = build(c);
    EXPECT_EQ(p.word(1, 0, 6), 10u);
    EXPECT_EQ(p.word(1, 0, 7), 10u);
    EXPECT_EQ(p.l1, 48 + 20 * 20 + 4 * 2 * dynamicsWords(60));

    // A single bypass section in the output equaliser adds nothing...
    c.output(2).peqxCount = 1;
    p = build(c);
    EXPECT_EQ(p.word(1, 0, 7), 4u);
    EXPECT_EQ(p.l1, 48 + 20 * 14 + 4 * 2 * dynamicsWords(60));
    // ...but a single active one does.
    c.output(2).peqx[0].Tipo = 1;
    EXPECT_EQ(build(c).word(1, 0, 7), 5u);
}

TEST(DeviceImageBlocks, SectionWordsAreTheDesignedCoefficients)
{
    Configuration c = imageConfiguration();
    Parsed p = build(c);
    // Output 1: PEQA (3 sections: peaking, bypass, first-order low shelf), then the crossover's
    // high side (Butterworth low-pass of order 3 at 1 kHz), then its bypassed low side.
    expectSection(p, 1, 48, peaking(250, -4.5, 2.5));
    expectSection(p, 1, 68, {1, 0, 0, 0, 0});
    expectSection(p, 1, 108, firstOrderLowPass(1000));
    expectSection(p, 1, 128, lowPass(1000, 1.0)); // the pole pair of order 3 has Q 1
    expectSection(p, 1, 148, {1, 0, 0, 0, 0});
    // A unity section is A2 = 0, B2 + A2 = 0, A1 = 0, B1 + A1 = 0, B0 - 1 = 0: all zero words.
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(p.word(1, 68, i), 0x80000000u);
}

TEST(DeviceImageBlocks, ParametersChangedWithoutADesignAreDesignedFirst)
{
    Configuration c = imageConfiguration();
    // The editor's design has not run on these yet: the image must not carry the old coefficients.
    c.input(InputId::A).peq[0].Gain = 6.0;
    c.input(InputId::A).peq[0].Frec = 3000;
    Parsed p = build(c);
    expectSection(p, 1, 48, peaking(3000, 6.0, 2.5));
}

TEST(DeviceImageBlocks, DynamicsWordsOfAnActiveStage)
{
    Configuration c;
    Parsed p = build(c);
    const TDYNAMIC& d = c.output(1).dynamics; // limiter, threshold -5.85, knee 4, gate -82.85
    const size_t at = 48 + 20 * 20;
    const double attack = std::pow(0.1, 1.0 / 240.0);   // 10 ms at 24000 Hz
    const double release = std::pow(0.1, 1.0 / 2400.0); // 100 ms
    const double t = std::pow(10.0, (-5.85 - 4.0) / 20.0);
    // Single-precision words: relative tolerance 2e-7.
    auto near = [&](size_t i, double expected) {
        EXPECT_NEAR(p.value(1, at, i), expected, std::fabs(expected) * 2e-7 + 1e-30) << "word " << i + 1;
    };
    // Half of what the stored single coefficient leaves below one (tests/unit/data/dynamics_words.py,
    // 10 ms row): the double coefficient would give a word 21 units lower in its last place.
    EXPECT_EQ(p.word(1, at, 0), 0xF81C7040u);
    near(1, attack);
    // A knee wider than 3 dB: the top is the knee's end, the bottom the first curve point whose
    // soft-knee output reaches 3 dB below the threshold.
    EXPECT_NEAR(p.value(1, at, 2), std::pow(10.0, (-5.85 + 4.0) / 20.0), 1e-6);
    double bottom = 0;
    for (int i = 1; i <= 60; ++i) {
        const double x = t + (1 - t) * (i - 1) / 59.0, xdb = 20 * std::log10(x);
        const double y = xdb <= -1.85 ? xdb - std::pow(xdb + 5.85 + 4.0, 2) / 16.0 : -5.85;
        if (y >= -8.85) {
            bottom = x;
            break;
        }
    }
    EXPECT_NEAR(p.value(1, at, 3), bottom, 1e-6);
    EXPECT_NEAR(p.value(1, at, 4), t, 1e-6);
    EXPECT_EQ(p.word(1, at, 5), 0u);
    EXPECT_NEAR(p.value(1, at, 6), 59.0 / (1.0 - t), 1e-4);
    near(7, 1.0);
    EXPECT_NEAR(p.value(1, at, 8), std::pow(10.0, -82.85 / 20.0), 1e-10);
    EXPECT_EQ(p.word(1, at, 9), 0u);
    EXPECT_EQ(p.word(1, at, 10), 0u);
    EXPECT_EQ(p.word(1, at, 11), 14400u); // 300 ms
    near(12, 1.0);
    near(13, 1.0 / 16800.0); // 350 ms
    EXPECT_EQ(p.word(1, at, 14), 0u);
    EXPECT_NEAR(p.value(1, at, 15), release, 2e-7);
    EXPECT_EQ(p.word(1, at, 16), 1u); // decimation
    EXPECT_EQ(p.word(1, at, 17), 0u);
    EXPECT_EQ(p.word(1, at, 18), 0u);
    // The over-range cubic meets the last curve gain at full scale.
    const double cubicAtOne = p.value(1, at, 19) + p.value(1, at, 20) + p.value(1, at, 21) + p.value(1, at, 22);
    const double lastGain = std::pow(10.0, -5.85 / 20.0); // limiter: flat at the threshold
    EXPECT_NEAR(cubicAtOne, lastGain, 1e-4);
    EXPECT_NEAR(p.value(1, at, 23), 1.0, 1e-6); // the curve starts at unity gain
    EXPECT_NEAR(p.value(1, at, 23 + 59), lastGain, 1e-6);
    EXPECT_EQ(d.NPuntos, 60);
}

TEST(DeviceImageBlocks, DynamicsWordsOfABypassedStage)
{
    Configuration c = imageConfiguration(); // output 3 bypassed, first of block 2
    Parsed p = build(c);
    const size_t at = 48 + 20 * (15 + 11);
    ASSERT_EQ(p.word(2, 0, 6), 15u);
    ASSERT_EQ(p.word(2, 0, 7), 11u);
    EXPECT_NEAR(p.value(2, at, 2), 0.99, 1e-7);
    EXPECT_NEAR(p.value(2, at, 3), 0.707, 1e-7);
    EXPECT_EQ(p.value(2, at, 4), 4.0);
    EXPECT_EQ(p.value(2, at, 7), 1.0);
    EXPECT_EQ(p.value(2, at, 12), 1.0);
    EXPECT_EQ(p.word(2, at, 17), 0u);
    EXPECT_EQ(p.value(2, at, 19), 4.0);
    for (size_t i = 20; i < 23; ++i)
        EXPECT_EQ(p.word(2, at, i), 0x80000000u);
    for (size_t i = 23; i < 23 + 60; ++i)
        EXPECT_EQ(p.value(2, at, i), 1.0) << i;
}

TEST(DeviceImageBlocks, ThresholdAtTheKneeStartGivesTheLargestFloat)
{
    Configuration c;
    c.output(1).dynamics.Umbral = 4.0f;
    c.output(1).dynamics.Knee = 4.0f;
    Parsed p = build(c);
    EXPECT_EQ(p.word(1, 48 + 20 * 20, 6), ToProcessorFloat(std::numeric_limits<float>::max()));
}

TEST(DeviceImageBlocks, OversizedBlockIsAnError)
{
    Configuration c;
    for (InputChannelSettings& in : c.inputs)
        in.peqBandCount = 8;
    for (int n = 1; n <= 2; ++n) {
        c.output(n).peqxCount = 8;
        c.output(n).dynamics.NPuntos = 126;
        for (TXOVERPB* side : {&c.output(n).xover.LowSide, &c.output(n).xover.HighSide})
            side->Orden = 8;
        c.output(n).xover.LowSide.Tipo = 4;
        c.output(n).xover.HighSide.Tipo = 3;
    }
    auto image = BuildDeviceImage(c, false);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.message(), "The data of DSP 1 do not fit into its 2048 bytes. Reduce the number of sections.");
    // One output less on that chip and it fits.
    c.output(2).peqxCount = 6;
    c.output(2).dynamics.NPuntos = 60;
    EXPECT_TRUE(BuildDeviceImage(c, false).ok());
}

TEST(DeviceImageRecord, ValuesAndPositions)
{
    Configuration c = imageConfiguration();
    Parsed p = build(c);
    EXPECT_EQ(p.rec(0), 0xAA);
    EXPECT_EQ(p.rec(1), 1);
    for (size_t i = 2; i <= 25; ++i)
        EXPECT_EQ(p.rec(i), 0) << i;
    EXPECT_EQ(p.rec(26), 3);
    EXPECT_EQ(p.rec(27), 0);
    EXPECT_EQ(p.rec(28), 2);
    EXPECT_EQ(p.rec(29), 1);
    EXPECT_EQ(p.recS16(30), -275);
    EXPECT_EQ(p.recS16(32), -340);
    EXPECT_EQ(p.recS16(34), -210);
    EXPECT_EQ(p.recS16(36), 345);
    EXPECT_EQ(p.recS16(38), 0);
    EXPECT_EQ(p.recS16(40), 120);
    EXPECT_EQ(p.recS16(44), -270);
    EXPECT_EQ(p.recS16(54), 321);
    EXPECT_EQ(p.rec(59), 1); // input B muted
    EXPECT_EQ(p.rec(64), 1); // output 4 muted
    EXPECT_EQ(p.rec(66), 1); // output 2 inverted
    EXPECT_EQ(p.rec(69), 3);
    // PEQA section 1: type, 0, frequency, gain x 10, Q x 100.
    EXPECT_EQ(p.rec(70), 1);
    EXPECT_EQ(p.rec(71), 0);
    EXPECT_EQ(p.recU16(72), 250u);
    EXPECT_EQ(p.recS16(74), -45);
    EXPECT_EQ(p.recU16(76), 250u);
    EXPECT_EQ(p.rec(119), 0);
    EXPECT_EQ(p.rec(169), 0);
    // PEQM band 2 (stop band) sits in the third bank.
    EXPECT_EQ(p.rec(170 + 8), 9);
    EXPECT_EQ(p.recU16(170 + 8 + 6), 500u);
    // Output 1 equaliser: count, an unused byte, section 2 a band-pass.
    EXPECT_EQ(p.rec(218), 2);
    EXPECT_EQ(p.rec(219), 0);
    EXPECT_EQ(p.rec(220 + 8), 8);
    EXPECT_EQ(p.recU16(220 + 10), 1500u);
    EXPECT_EQ(p.recS16(220 + 12), 25);
    EXPECT_EQ(p.recU16(220 + 14), 400u);
    EXPECT_EQ(p.rec(268), 1); // output 2: one section
}

TEST(DeviceImageRecord, CrossoverEntries)
{
    Configuration c = imageConfiguration();
    Parsed p = build(c);
    // Output 1, high side: Butterworth low-pass order 3 at 1000 Hz.
    EXPECT_EQ(p.rec(418), 1);
    EXPECT_EQ(p.rec(419), 3);
    EXPECT_EQ(p.recU16(420), 1000u);
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ(p.recU16(422 + 2 * k), 1000u) << k;
    // First-order section: Q = 2K·sqrt((1+K)/(2K))/(1-K) with K = tan(pi f/fs), 0.4 at 1 kHz.
    const double k = std::tan(std::numbers::pi * 1000 / kFs);
    const double q1 = 2 * k * std::sqrt((1 + k) / (2 * k)) / (1 - k);
    EXPECT_NEAR(q1, 0.4, 5e-4);
    EXPECT_EQ(p.recU16(430), static_cast<unsigned>(std::lrint(q1 * 100)));
    EXPECT_EQ(p.recU16(432), 100u); // the pole pair's Q 1.0
    // Output 2, low side: Butterworth high-pass order 3 at 1000 Hz. Its first-order section's
    // Q of -1.5622 is kept as the 16-bit two's complement of -156.
    const size_t low2 = 418 + 40 + 20;
    EXPECT_EQ(p.rec(low2), 2);
    EXPECT_EQ(p.rec(low2 + 1), 3);
    EXPECT_EQ(p.recU16(low2 + 12), 0xFF64u);
    // Output 4, low side: custom high-pass of order 3 with its own frequencies and Q.
    const size_t low4 = 418 + 120 + 20;
    EXPECT_EQ(p.rec(low4), 8);
    EXPECT_EQ(p.recU16(low4 + 4), 70u);
    EXPECT_EQ(p.recU16(low4 + 6), 90u);
    EXPECT_EQ(p.recU16(low4 + 14), 90u);
    // Output 3: L-Riley order 8 on the low side, Bessel order 5 on the high side.
    EXPECT_EQ(p.rec(418 + 80), 5);
    EXPECT_EQ(p.rec(418 + 81), 5);
    EXPECT_EQ(p.rec(418 + 100), 4);
    EXPECT_EQ(p.rec(418 + 101), 8);
}

TEST(DeviceImageRecord, HugeFirstOrderQKeepsItsLowBits)
{
    Configuration c;
    setCrossoverFamily(c, 1, CrossoverSide::High, 1);
    setCrossoverOrder(c, 1, CrossoverSide::High, 1);
    setCrossoverFrequency(c, 1, CrossoverSide::High, 12000); // K = tan(pi/4): 1 - K is rounding noise
    Configuration designed = c;
    redesignAll(designed);
    const double q = designed.output(1).xover.HighSide.Sections[0].Q;
    ASSERT_GT(std::fabs(q), 1e12);
    Parsed p = build(c);
    EXPECT_EQ(p.recU16(418 + 12), low16Of(q * 100));
}

TEST(DeviceImageRecord, DynamicsEntries)
{
    Configuration c = imageConfiguration();
    Parsed p = build(c);
    const size_t d2 = 578 + 18;
    const int expected[18] = {1, 0, -20, 8, 0, 8, 0, 18, 14, 1, -83, 19, 20, 3, 48, 24, 41, 0};
    for (size_t i = 0; i < 18; ++i)
        EXPECT_EQ(static_cast<int8_t>(p.rec(d2 + i)), static_cast<int8_t>(expected[i])) << i;
    EXPECT_EQ(p.rec(578 + 36 + 1), 1); // output 3 bypassed
    EXPECT_EQ(p.rec(578 + 54 + 6), 1); // output 4 automatic times
    // Default limiter: threshold -5.85 -> -12, attack 10 ms index 12, release 100 ms index 14,
    // 8 ohms, 400 W, 600 W, gain 41, balanced.
    const int first[18] = {0, 0, -12, 4, 0, 8, 0, 12, 14, 0, -83, 19, 20, 8, 16, 24, 41, 1};
    for (size_t i = 0; i < 18; ++i)
        EXPECT_EQ(static_cast<int8_t>(p.rec(578 + i)), static_cast<int8_t>(first[i])) << i;
}
