#include <gtest/gtest.h>

#include <array>
#include <string>

#include "config/editing.h"
#include "image/deviceimage.h"
#include "image_fixtures.h"

// A memory read back and stored again must program the processor the same way. The expected
// temperatures and sample counts come from image_readback_reference.py beside this file.

using namespace kvr::core;
using kvr::test::hexDiff;
using kvr::test::imageConfiguration;

namespace {

constexpr float kEditorsOverRangeDb = 12.5f;
constexpr size_t kCurvePoints = 60; // the editors' stages

Bytes imageOf(const Configuration& c)
{
    auto image = BuildDeviceImage(c, false);
    EXPECT_TRUE(image.ok());
    return image.ok() ? *image : Bytes{};
}

uint32_t be(const Bytes& b, size_t at, size_t bytes)
{
    uint32_t v = 0;
    for (size_t i = 0; i < bytes; ++i)
        v = v << 8 | b.at(at + i);
    return v;
}

void setBe16(Bytes& b, size_t at, uint32_t v)
{
    b.at(at) = static_cast<uint8_t>(v >> 8);
    b.at(at + 1) = static_cast<uint8_t>(v);
}

size_t block1At()
{
    return 51;
}

size_t block2At(const Bytes& image)
{
    return 53 + be(image, 49, 2) - 2;
}

// What the processor runs of one output, read by the block layout: the delay word of its routed
// input (head offset 20 + 2j) and the four over-range cubic words (words 20..23 of its stage).
struct OutputWords {
    uint32_t inputDelay = 0;
    std::array<uint32_t, 4> cubic{};
    bool operator==(const OutputWords&) const = default;
};

std::array<OutputWords, kOutputCount> processorWords(const Bytes& image)
{
    std::array<OutputWords, kOutputCount> words;
    for (size_t k = 0; k < 2; ++k) {
        const size_t at = k == 0 ? block1At() : block2At(image);
        const size_t length = be(image, at - 2, 2) - 2;
        const size_t sections = be(image, at + 24, 4) + be(image, at + 28, 4);
        const size_t stage = 4 * (23 + kCurvePoints);
        EXPECT_EQ(length, 48 + 20 * sections + 2 * stage) << "block " << k + 1;
        for (size_t j = 0; j < 2; ++j) {
            OutputWords& w = words[2 * k + j];
            w.inputDelay = be(image, at + 20 + 2 * j, 2);
            for (size_t i = 0; i < 4; ++i)
                w.cubic[i] = be(image, at + 48 + 20 * sections + stage * j + 76 + 4 * i, 4);
        }
    }
    return words;
}

struct ReadBackRow {
    const char* what;
    int celsius;
    std::array<int, 3> cm; // input delay tracks of A, B and A+B
    std::array<RouteSource, kOutputCount> routes;
    std::array<float, kOutputCount> overRangeDb;
    std::array<bool, kOutputCount> bypassed;
    int foundCelsius;
};

Configuration readBackConfiguration(const ReadBackRow& row)
{
    Configuration c = imageConfiguration(row.celsius);
    InputDelayTracks tracks(c);
    tracks.setPosition(InputId::A, row.cm[0]);
    tracks.setPosition(InputId::B, row.cm[1]);
    tracks.setPosition(InputId::M, row.cm[2]);
    for (int n = 1; n <= kOutputCount; ++n) {
        const size_t o = static_cast<size_t>(n - 1);
        c.output(n).route = row.routes[o];
        c.output(n).dynamics.OverRange = row.overRangeDb[o];
        c.output(n).dynamics.BypassF = row.bypassed[o] ? 1 : 0;
        selectDynamicsOutput(c, n);
    }
    return c;
}

constexpr RouteSource A = RouteSource::A, B = RouteSource::B, M = RouteSource::AB;

const ReadBackRow kReadBackRows[] = {
    {"6 C, a long delay", 6, {7969, 3000, 0}, {A, A, M, A}, {12.5f, 12.5f, 12.5f, 12.5f}, {0, 0, 1, 0}, 6},
    {"0 C, beyond the processor's limit", 0, {10000, 2500, 0}, {A, A, A, M}, {10, 12.5f, 12.5f, 10}, {0, 0, 0, 1}, 3},
    {"0 C, pinned by a second input", 0, {10000, 2500, 5000}, {A, M, M, A}, {12.5f, 10, 12.5f, 12.5f}, {0, 0, 0, 0}, 0},
    {"25 C", 25, {345, 120, 800}, {A, B, B, A}, {12.5f, 12.5f, 10, 12.5f}, {1, 0, 0, 0}, 25},
    {"50 C", 50, {7000, 0, 4000}, {A, A, A, A}, {12.5f, 12.5f, 12.5f, 12.5f}, {0, 1, 0, 1}, 50},
    {"50 C, the full 100 m", 50, {10000, 0, 0}, {A, A, A, A}, {10, 10, 10, 10}, {0, 0, 0, 0}, 50},
    {"6 C, a delay that fits several temperatures",
     6,
     {20, 0, 0},
     {A, A, A, A},
     {12.5f, 12.5f, 12.5f, 12.5f},
     {0, 0, 0, 0},
     8},
    {"6 C, delay on an unrouted input only",
     6,
     {0, 3000, 0},
     {A, A, A, A},
     {12.5f, 12.5f, 12.5f, 12.5f},
     {0, 0, 0, 0},
     25},
};

} // namespace

TEST(DeviceImageReadBack, ProgramsTheProcessorTheSameWay)
{
    for (const ReadBackRow& row : kReadBackRows) {
        SCOPED_TRACE(row.what);
        const Bytes first = imageOf(readBackConfiguration(row));
        auto decoded = DecodeDeviceImage(first, 1);
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        EXPECT_EQ(decoded->temperatureC, row.foundCelsius);
        for (int n = 1; n <= kOutputCount; ++n) {
            const size_t o = static_cast<size_t>(n - 1);
            // A bypassed stage's words say nothing of its over-range: it gets the editors' one.
            EXPECT_EQ(decoded->output(n).dynamics.OverRange, row.bypassed[o] ? kEditorsOverRangeDb : row.overRangeDb[o])
                << "output " << n;
        }
        const Bytes second = imageOf(*decoded);
        const auto before = processorWords(first), after = processorWords(second);
        for (size_t o = 0; o < kOutputCount; ++o) {
            EXPECT_EQ(before[o].inputDelay, after[o].inputDelay) << "output " << o + 1;
            EXPECT_EQ(before[o].cubic, after[o].cubic) << "output " << o + 1;
        }
        EXPECT_TRUE(first == second) << hexDiff(first, second);
    }
}

TEST(DeviceImageReadBack, TheReportedSetUpKeepsItsDelays)
{
    // 79.69 m at 6 °C is 11416 samples; read back at 25 °C it was 11046.
    const Configuration original = readBackConfiguration(kReadBackRows[0]);
    ASSERT_EQ(original.input(InputId::A).delaySamples, 11416);
    Bytes image = imageOf(original);
    EXPECT_EQ(processorWords(image)[0].inputDelay, 11416u);
    auto decoded = DecodeDeviceImage(image, 1);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->input(InputId::A).delaySamples, 11416);
    EXPECT_EQ(decoded->input(InputId::B).delaySamples, 4298); // 30 m at 6 °C, unrouted

    // A block word no temperature gives: 25 °C and the record's distances.
    setBe16(image, block1At() + 20, 11417);
    decoded = DecodeDeviceImage(image, 1);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->temperatureC, 25);
    EXPECT_EQ(decoded->input(InputId::A).delaySamples, 11046);
}

TEST(DeviceImageReadBack, UnroutedDelaysFollowTheTemperatureFound)
{
    // Nothing routed has a delay, so the blocks fit every temperature and 25 °C is kept: the
    // unrouted B's 30 m become 4158 samples instead of 4298. The processor does not see B.
    auto decoded = DecodeDeviceImage(imageOf(readBackConfiguration(kReadBackRows[7])), 1);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->input(InputId::B).delaySamples, 4158);
}

TEST(DeviceImageReadBack, OverRangeIsTheOneWhoseCubicTheBlockHolds)
{
    struct Row {
        float designedDb;
        float readBackDb;
    };
    const Row rows[] = {{12.5f, 12.5f}, {10.0f, 10.0f}, {6.0f, 10.0f}, {20.0f, 10.0f}};
    std::array<OutputWords, kOutputCount> editorWords{}, plainWords{};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.designedDb);
        Configuration original = imageConfiguration();
        for (int n = 1; n <= kOutputCount; ++n) {
            original.output(n).dynamics.BypassF = 0;
            original.output(n).dynamics.OverRange = row.designedDb;
            selectDynamicsOutput(original, n);
        }
        const Bytes image = imageOf(original);
        if (row.designedDb == 12.5f) editorWords = processorWords(image);
        if (row.designedDb == 10.0f) plainWords = processorWords(image);
        auto decoded = DecodeDeviceImage(image, 1);
        ASSERT_TRUE(decoded.ok());
        for (int n = 1; n <= kOutputCount; ++n)
            EXPECT_EQ(decoded->output(n).dynamics.OverRange, row.readBackDb) << "output " << n;
    }
    // The two over-ranges are told apart by every active stage's words.
    for (size_t o = 0; o < kOutputCount; ++o)
        for (size_t i = 0; i < 4; ++i)
            EXPECT_NE(editorWords[o].cubic[i], plainWords[o].cubic[i]) << "output " << o + 1 << " word " << i;
}

TEST(DeviceImageReadBack, ABlockThatDoesNotHoldTogetherKeepsTenDecibels)
{
    // One section more than block 1 holds: its stages cannot be found, block 2's still can.
    Bytes image = imageOf(Configuration());
    const size_t count = block1At() + 24;
    image.at(count + 3) = static_cast<uint8_t>(image.at(count + 3) + 1);
    auto decoded = DecodeDeviceImage(image, 1);
    ASSERT_TRUE(decoded.ok());
    const float expected[kOutputCount] = {10.0f, 10.0f, kEditorsOverRangeDb, kEditorsOverRangeDb};
    for (int n = 1; n <= kOutputCount; ++n)
        EXPECT_EQ(decoded->output(n).dynamics.OverRange, expected[n - 1]) << "output " << n;
}
