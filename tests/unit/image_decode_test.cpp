#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/editing.h"
#include "image/deviceimage.h"
#include "image/generatext.h"
#include "image_fixtures.h"

using namespace kvr::core;
using kvr::test::hexDiff;
using kvr::test::imageConfiguration;

namespace {

const std::string kOlder = "Memory Stored with older Software version. Unable to read the Configuration.You must "
                           "store the configuration with Software version 4.7 or newer.";
const std::string kIncomplete = "The memory image is incomplete or damaged. Unable to read the Configuration.";

Bytes imageOf(const Configuration& c)
{
    auto image = BuildDeviceImage(c, false);
    EXPECT_TRUE(image.ok());
    return image.ok() ? *image : Bytes{};
}

size_t be16(const Bytes& b, size_t at)
{
    return size_t{b.at(at)} << 8 | b.at(at + 1);
}

void setBe16(Bytes& b, size_t at, size_t v)
{
    b.at(at) = static_cast<uint8_t>(v >> 8);
    b.at(at + 1) = static_cast<uint8_t>(v);
}

struct Parts {
    Bytes head, block1, block2, record;
};

Parts split(const Bytes& image)
{
    const size_t l1 = be16(image, 49) - 2, l2 = be16(image, 51 + l1) - 2;
    auto part = [&](size_t from, size_t n) {
        return Bytes(image.begin() + static_cast<long>(from), image.begin() + static_cast<long>(from + n));
    };
    return {part(0, 49), part(51, l1), part(53 + l1, l2), part(56 + l1 + l2, 650)};
}

} // namespace

// The over-range of the dynamics cubic is not kept in a memory: the decoder sets 10 dB, the
// editors create their stages with 12.5 dB.
Configuration withDecoderOverRange(Configuration c)
{
    for (OutputChannelSettings& out : c.outputs)
        out.dynamics.OverRange = 10.0f;
    return c;
}

TEST(DeviceImageRoundTrip, HeaderAndRecordSurviveDecodeAndBuild)
{
    for (const Configuration& original : {Configuration(), imageConfiguration(), imageConfiguration(40)}) {
        const Bytes first = imageOf(original);
        auto decoded = DecodeDeviceImage(first, 1);
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        const Parts a = split(first), b = split(imageOf(*decoded));
        EXPECT_TRUE(a.head == b.head) << hexDiff(a.head, b.head);
        EXPECT_TRUE(a.record == b.record) << hexDiff(a.record, b.record);
        EXPECT_EQ(a.block1.size(), b.block1.size());
        EXPECT_EQ(a.block2.size(), b.block2.size());
    }
}

TEST(DeviceImageRoundTrip, WholeImageIsTheSameAfterReadBack)
{
    for (const Configuration& original :
         {Configuration(), imageConfiguration(), imageConfiguration(30), withDecoderOverRange(imageConfiguration())}) {
        const Bytes first = imageOf(withDecoderOverRange(original));
        auto decoded = DecodeDeviceImage(first, 1);
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        const Bytes second = imageOf(*decoded);
        EXPECT_TRUE(first == second) << hexDiff(first, second);
    }
}

TEST(DeviceImageRoundTrip, AnOverRangeNotFoundAgainOnlyChangesTheCubicWords)
{
    // Neither the editors' 12.5 dB nor 10 dB: the read-back keeps 10 dB.
    Configuration original;
    for (OutputChannelSettings& out : original.outputs)
        out.dynamics.OverRange = 6.0f;
    const Bytes first = imageOf(original);
    const Bytes second = imageOf(*DecodeDeviceImage(first, 1));
    const Parts a = split(first), b = split(second);
    // Block 1 of the defaults: 48 head bytes, 20 sections of 20 bytes, then per output the
    // dynamics words, of which words 20..23 (1-based) are the cubic.
    const size_t dynamics = 48 + 400, stage = 4 * (23 + 60);
    for (size_t i = 0; i < a.block1.size(); ++i) {
        const size_t inStage = i >= dynamics ? (i - dynamics) % stage : 0;
        const bool cubic = i >= dynamics && inStage >= 76 && inStage < 92;
        if (!cubic) {
            EXPECT_EQ(a.block1[i], b.block1[i]) << "block 1 offset " << i;
        }
    }
    EXPECT_FALSE(a.block1 == b.block1);
}

TEST(DeviceImageRoundTrip, InputDelaysReadBackAtTheirTemperature)
{
    // The memory keeps input delays as distance tracks and as samples, not the temperature; the
    // read-back finds 30 °C again (image_readback_reference.py), so the delays stay as they were.
    const Configuration original = withDecoderOverRange(imageConfiguration(30));
    const Bytes first = imageOf(original);
    auto decoded = DecodeDeviceImage(first, 1);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->temperatureC, 30);
    const Bytes second = imageOf(*decoded);
    const Parts a = split(first), b = split(second);
    EXPECT_TRUE(a.block1 == b.block1) << hexDiff(a.block1, b.block1);
    EXPECT_TRUE(a.block2 == b.block2) << hexDiff(a.block2, b.block2);
    EXPECT_EQ(be16(b.block1, 20), 474u);
    EXPECT_EQ(be16(b.block1, 22), 165u);
}

TEST(DeviceImageDecode, RestoresTheConfiguration)
{
    const Configuration original = imageConfiguration();
    auto decoded = DecodeDeviceImage(imageOf(original), 3);
    ASSERT_TRUE(decoded.ok());
    const Configuration& c = *decoded;
    EXPECT_EQ(c.system.name, "Hall");
    EXPECT_EQ(c.input(InputId::A).name, "L");
    EXPECT_EQ(c.input(InputId::B).name, "In B");
    EXPECT_EQ(c.output(4).name, "Out4");
    EXPECT_EQ(c.routingMode, 3);
    EXPECT_EQ(c.output(2).route, RouteSource::AB);
    EXPECT_EQ(c.output(3).route, RouteSource::B);
    EXPECT_EQ(c.input(InputId::A).levelPosition, original.input(InputId::A).levelPosition);
    EXPECT_EQ(c.input(InputId::A).delaySamples, original.input(InputId::A).delaySamples);
    EXPECT_EQ(c.input(InputId::M).delaySamples, original.input(InputId::M).delaySamples);
    EXPECT_TRUE(c.input(InputId::B).mute);
    EXPECT_TRUE(c.output(4).mute);
    EXPECT_TRUE(c.output(2).inverted());
    EXPECT_EQ(c.output(3).delayPosition, 321);
    EXPECT_EQ(c.input(InputId::A).peqBandCount, 3);
    EXPECT_EQ(c.input(InputId::A).peq[0].Gain, -4.5);
    EXPECT_EQ(c.input(InputId::A).peq[0].Q, 2.5);
    EXPECT_EQ(c.output(1).peqx[1].Tipo, 8);
    EXPECT_EQ(c.output(3).xover.LowSide.Orden, 8);
    EXPECT_EQ(c.output(3).xover.HighSide.NumSections, 3);
    EXPECT_EQ(c.output(4).xover.LowSide.Sections[1].Q, 0.9);
    // Designs ran again: the coefficients are those of the original.
    EXPECT_NEAR(c.output(1).xover.HighSide.Sections[1].B0, original.output(1).xover.HighSide.Sections[1].B0, 1e-12);
    Configuration designed = original;
    redesignAll(designed);
    EXPECT_NEAR(c.input(InputId::A).peq[0].A1, designed.input(InputId::A).peq[0].A1, 1e-12);
    const TDYNAMIC& d = c.output(2).dynamics;
    EXPECT_EQ(d.Umbral, original.output(2).dynamics.Umbral);
    EXPECT_EQ(d.Ratio, 4.0f);
    EXPECT_EQ(d.TAttack, 25.0f);
    EXPECT_EQ(d.Impedance, 2.67f);
    EXPECT_EQ(d.BoxPower, 1200.0f);
    EXPECT_EQ(d.Balanced, 0);
    EXPECT_EQ(d.CurveGain, original.output(2).dynamics.CurveGain);
    EXPECT_EQ(c.output(3).dynamics.BypassF, 1);
    EXPECT_EQ(c.output(3).dynamics.KneeTop, 0.99f);
}

// Names travel as Latin-1 bytes padded with spaces; the configuration holds them as UTF-8.
TEST(DeviceImageNames, StoredAsLatin1AndReadBackAsUtf8)
{
    struct Row {
        const char* what;
        std::string typed;
        std::string readBack;
        Bytes stored; // the 4 header bytes of output 3
    };
    const Row rows[] = {
        {"four Latin-1 characters", "A\xC3\x91\xC3\x91\xC3\x91", "A\xC3\x91\xC3\x91\xC3\x91", {'A', 0xD1, 0xD1, 0xD1}},
        {"o with acute", "S\xC3\xB3", "S\xC3\xB3", {'S', 0xF3, ' ', ' '}},
        {"highest byte", "\xC3\xBF\xC3\x80", "\xC3\xBF\xC3\x80", {0xFF, 0xC0, ' ', ' '}},
        {"beyond Latin-1", "\xE2\x82\xAC", "?", {'?', ' ', ' ', ' '}},
    };
    for (const Row& row : rows) {
        Configuration c;
        c.setOutputName(3, row.typed);
        const Bytes image = imageOf(c);
        const size_t at = kImageOutputNames + 2 * kChannelNameCapacity;
        EXPECT_TRUE(Bytes(image.begin() + static_cast<long>(at), image.begin() + static_cast<long>(at + 4)) ==
                    row.stored)
            << row.what;
        auto decoded = DecodeDeviceImage(image, 1);
        ASSERT_TRUE(decoded.ok()) << row.what;
        EXPECT_EQ(decoded->output(3).name, row.readBack) << row.what;
        EXPECT_TRUE(imageOf(*decoded) == image) << row.what;
    }
}

TEST(DeviceImageDecode, ValuesAMemoryDoesNotKeep)
{
    Configuration original = imageConfiguration();
    original.system.project = "Project";
    original.system.comment = "Comment";
    original.output(1).dynamics.DiezmadoF = 0;
    original.output(1).dynamics.NumSpeakers = 3;
    original.measurement.fileKind = 4;
    original.measurement.fileNames[0] = "/m/woofer.txt";
    original.measurement.dBspl = 90.0f;
    original.input(InputId::B).peqView = true;
    original.input(InputId::A).peqView = false;
    auto decoded = DecodeDeviceImage(imageOf(original), 1);
    ASSERT_TRUE(decoded.ok());
    const Configuration& c = *decoded;
    EXPECT_EQ(c.system.project, "");
    EXPECT_EQ(c.system.comment, "");
    for (const OutputChannelSettings& out : c.outputs) {
        EXPECT_EQ(out.dynamics.DiezmadoF, 1);
        EXPECT_EQ(out.dynamics.NumSpeakers, 1);
    }
    EXPECT_EQ(c.measurement.fileKind, 0);
    for (const std::string& name : c.measurement.fileNames)
        EXPECT_EQ(name, "");
    EXPECT_EQ(c.measurement.dBspl, 100.0f);
    EXPECT_TRUE(c.input(InputId::A).peqView);
    EXPECT_FALSE(c.input(InputId::B).peqView);
    EXPECT_FALSE(c.input(InputId::M).peqView);
}

TEST(DeviceImageDecode, ReportsItsStages)
{
    std::vector<LoadProgress> stages;
    auto decoded = DecodeDeviceImage(imageOf(Configuration()), 7, [&](const LoadProgress& p) { stages.push_back(p); });
    ASSERT_TRUE(decoded.ok());
    const std::vector<std::string> expected = {"Designing NAMES and HEADER...",
                                               "Designing DELAYS, GAINS and ROUTES...",
                                               "Designing PEQ Equalization...",
                                               "Designing PEQX Equalization...",
                                               "Designing XOVER ...",
                                               "Designing DYNAMICS ...",
                                               "DONE"};
    ASSERT_EQ(stages.size(), expected.size());
    for (size_t i = 0; i < stages.size(); ++i) {
        EXPECT_EQ(stages[i].status, expected[i]);
        EXPECT_EQ(stages[i].text, "Designing Configuration 7");
        if (i > 0) {
            EXPECT_GT(stages[i].position, stages[i - 1].position);
        }
    }
    EXPECT_EQ(stages.back().position, 100);
}

TEST(DeviceImageDecode, OlderLayoutIsRefusedWithItsMessage)
{
    Bytes image = imageOf(Configuration());
    const size_t l1 = be16(image, 49) - 2, l2 = be16(image, 51 + l1) - 2;
    // Older versions ended the image three bytes after the blocks.
    image.resize(l1 + l2 + 55);
    setBe16(image, 0, l1 + l2 + 53);
    auto decoded = DecodeDeviceImage(image, 1);
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.message(), kOlder);
}

TEST(DeviceImageDecode, RecordWithoutItsMarkerIsRefused)
{
    Bytes image = imageOf(Configuration());
    const size_t l1 = be16(image, 49) - 2, l2 = be16(image, 51 + l1) - 2;
    image[56 + l1 + l2] = 0xAB;
    auto decoded = DecodeDeviceImage(image, 1);
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.message(), kOlder);
}

TEST(DeviceImageDecode, LengthsAreCheckedAgainstTheBytesReceived)
{
    const Bytes image = imageOf(imageConfiguration());
    // Every shorter piece of an image is refused before anything is applied.
    for (size_t n = 0; n < image.size(); ++n) {
        auto decoded = DecodeDeviceImage(std::span<const uint8_t>(image.data(), n), 1);
        ASSERT_FALSE(decoded.ok()) << n;
    }
    // Bytes after the image (a larger receive buffer) are not part of it.
    Bytes longer = image;
    longer.resize(image.size() + 100, 0xEE);
    EXPECT_TRUE(DecodeDeviceImage(longer, 1).ok());

    const size_t l1 = be16(image, 49) - 2, l2 = be16(image, 51 + l1) - 2;
    Bytes bad = image;
    setBe16(bad, 0, image.size()); // M one past the bytes
    EXPECT_EQ(DecodeDeviceImage(bad, 1).message(), kIncomplete);
    bad = image;
    setBe16(bad, 49, image.size()); // block 1 beyond the image
    EXPECT_EQ(DecodeDeviceImage(bad, 1).message(), kIncomplete);
    bad = image;
    setBe16(bad, 49, 1); // a length field below its own 2 bytes
    EXPECT_EQ(DecodeDeviceImage(bad, 1).message(), kIncomplete);
    bad = image;
    setBe16(bad, 51 + l1, 0xFFFF);
    EXPECT_EQ(DecodeDeviceImage(bad, 1).message(), kIncomplete);
    // A record cut short: M leaves 100 bytes after the blocks.
    bad = image;
    setBe16(bad, 0, l1 + l2 + 100);
    EXPECT_EQ(DecodeDeviceImage(bad, 1).message(), kIncomplete);
}

TEST(GeneraText, LinesOfFourUpperCaseBytes)
{
    const Bytes block = {0x00, 0x1A, 0xff, 0x80, 0x12, 0x34, 0xab, 0xcd};
    const std::vector<std::string> lines = blockHexLines(block);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "00 1A FF 80");
    EXPECT_EQ(lines[1], "12 34 AB CD");
    EXPECT_EQ(numberedLines(lines)[1], "12 34 AB CD : 2");
    // Round(L/4) lines, half to even: 6 bytes give 2 lines, 10 bytes give 2.
    EXPECT_EQ(blockHexLines(Bytes(6, 1)).size(), 2u);
    EXPECT_EQ(blockHexLines(Bytes(6, 1))[1], "01 01");
    EXPECT_EQ(blockHexLines(Bytes(10, 1)).size(), 2u);
}

TEST(GeneraText, ShowsBothBlocksOfAnImage)
{
    const Bytes image = imageOf(imageConfiguration());
    const size_t l1 = be16(image, 49) - 2, l2 = be16(image, 51 + l1) - 2;
    auto text = generaText(image);
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text->block1.size(), l1 / 4);
    EXPECT_EQ(text->block2.size(), l2 / 4);
    EXPECT_EQ(text->numbered.size(), l1 / 4);
    // Block 1 starts with the level words of outputs 1 and 2.
    EXPECT_EQ(text->block1[0], "01 78 01 37");
    EXPECT_EQ(text->numbered[0], "01 78 01 37 : 1");
}
