#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "config/configfile.h"
#include "config/editing.h"
#include "support/tempdir.h"
#include "util/bytes.h"

using namespace kvr::core;
using kvr::test::TempDir;

namespace {

// A Configuration that touches every part of the record.
Configuration richConfiguration()
{
    Configuration c;
    c.links.crossover[2] = true;
    c.links.outputDelay[0] = true;
    c.system = {"Main Hall", "Project X", "Theatre", "J. Doe", "Front of house"};
    c.setRoutingMode(7);
    c.temperatureC = 30;
    c.setInputLevelDb(InputId::A, -2.5);
    c.setInputLevelDb(InputId::B, 4.0);
    c.setInputMute(InputId::B, true);
    InputDelayTracks(c).setPosition(InputId::A, 345);
    c.input(InputId::A).peqBandCount = 4;
    c.input(InputId::A).peq[0] = TSOS{};
    c.input(InputId::A).peq[0].Tipo = 1;
    c.input(InputId::A).peq[0].Gain = -4.5;
    c.input(InputId::A).peq[0].Frec = 250;
    c.input(InputId::A).peq[0].Q = 2.5;
    c.input(InputId::B).peq[1].Tipo = 5;
    c.input(InputId::B).peq[1].Gain = 6;
    c.input(InputId::B).peq[1].Frec = 8000;
    c.input(InputId::M).peqBypass = 1;
    c.input(InputId::M).peqSource = 0;
    c.setOutputLevelDb(2, -3.0);
    c.setPolarity(2, true);
    c.setOutputMute(4, true);
    setOutputDelayPosition(c, 3, 321);
    c.output(1).peqxCount = 3;
    c.output(1).peqx[2].Tipo = 8;
    c.output(1).peqx[2].Gain = 2.5;
    c.output(1).peqx[2].Frec = 1500;
    c.output(1).peqx[2].Q = 4;
    setCrossoverFamily(c, 1, CrossoverSide::High, 1);
    setCrossoverOrder(c, 1, CrossoverSide::High, 3);
    setCrossoverFrequency(c, 1, CrossoverSide::High, 1800);
    setCrossoverFamily(c, 2, CrossoverSide::Low, 2);
    setCrossoverFrequency(c, 2, CrossoverSide::Low, 1800);
    setCrossoverFamily(c, 3, CrossoverSide::Low, 2);
    setCrossoverOrder(c, 3, CrossoverSide::Low, 5);
    setCrossoverFamily(c, 4, CrossoverSide::Low, 4);
    c.output(4).xover.LowSide.Sections[0].Frec = 70;
    c.output(4).xover.LowSide.Sections[0].Q = 0.9;
    applyCrossoverSide(c, 4, CrossoverSide::Low);
    TDYNAMIC& d = c.output(2).dynamics;
    d.CriKnee = 1;
    d.Ratio = 4;
    d.Umbral = -10;
    d.TAttack = 25;
    d.GateBypassF = 1;
    d.Balanced = 0;
    selectDynamicsOutput(c, 2);
    c.output(3).dynamics.BypassF = 1;
    selectDynamicsOutput(c, 3);
    c.view.speaker = true;
    c.view.gain = false;
    c.measurement.fileNames[1] = "/data/woofer.txt";
    c.measurement.fileKind = 3;
    c.measurement.dBspl = 90.5f;
    return c;
}

std::string hexDiff(const Bytes& a, const Bytes& b)
{
    std::string out;
    for (size_t i = 0; i < std::max(a.size(), b.size()) && out.size() < 400; ++i) {
        int x = i < a.size() ? a[i] : -1;
        int y = i < b.size() ? b[i] : -1;
        if (x != y) out += "offset " + std::to_string(i) + ": " + std::to_string(x) + " vs " + std::to_string(y) + "\n";
    }
    return out;
}

Bytes patched(Bytes record, size_t offset, std::initializer_list<uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), record.begin() + static_cast<long>(offset));
    return record;
}

template <typename T> Bytes withValue(Bytes record, size_t offset, T value)
{
    std::memcpy(record.data() + offset, &value, sizeof value);
    return record;
}

} // namespace

TEST(ConfigFileFormat, RecordStartsWithMagicAndVersion)
{
    Bytes b = encodeConfigurationFile(Configuration(), "/tmp/x.kv4");
    ASSERT_EQ(b.size(), 3220u);
    const uint8_t head[] = {9, 'K', 'V', 'R', '-', '6', '1', '0', '-', 'F', 4, '4', '.', '7', '0'};
    EXPECT_EQ(0, std::memcmp(b.data(), head, sizeof head));
    ByteReader r(b);
    EXPECT_EQ(r.shortString(15, 100), "Orvanetix S.A4.70/tmp/x.kv4");
    EXPECT_EQ(r.s32le(340), 48000);
    EXPECT_EQ(r.shortString(2758, 12), "NoName");
}

TEST(ConfigFileFormat, InvertedOutputStoresNegativeGain)
{
    Configuration c;
    c.setOutputLevelDb(2, -3.0);
    c.setPolarity(2, true);
    Bytes b = encodeConfigurationFile(c, "x");
    ByteReader r(b);
    EXPECT_NEAR(r.f64le(2696 + 8), -0.70794578, 1e-8);
    EXPECT_EQ(r.u8(2659 + 1), 1);
    auto loaded = decodeConfigurationFile(b, "x");
    ASSERT_TRUE(loaded.ok());
    EXPECT_DOUBLE_EQ(loaded->config.output(2).levelDb(), -3.0);
    EXPECT_TRUE(loaded->config.output(2).inverted());
}

TEST(ConfigFileRoundTrip, WriteReadWriteIsByteIdentical)
{
    for (const Configuration& original : {Configuration(), richConfiguration()}) {
        Bytes first = encodeConfigurationFile(original, "/music/hall.kv4");
        auto loaded = decodeConfigurationFile(first, "/music/hall.kv4");
        ASSERT_TRUE(loaded.ok()) << loaded.message();
        EXPECT_TRUE(loaded->notices.empty());
        Bytes second = encodeConfigurationFile(loaded->config, "/music/hall.kv4");
        EXPECT_TRUE(first == second) << hexDiff(first, second);
    }
}

TEST(ConfigFileRoundTrip, LoadedValuesMatchTheOriginal)
{
    Configuration original = richConfiguration();
    auto loaded = decodeConfigurationFile(encodeConfigurationFile(original, "p"), "p");
    ASSERT_TRUE(loaded.ok());
    const Configuration& c = loaded->config;
    EXPECT_EQ(c.system.engineer, "J. Doe");
    EXPECT_EQ(c.routingMode, 7);
    EXPECT_EQ(c.output(3).name, "Su M");
    EXPECT_EQ(c.output(3).route, RouteSource::AB);
    EXPECT_EQ(c.input(InputId::A).delaySamples, original.input(InputId::A).delaySamples);
    EXPECT_EQ(c.output(3).delaySamples(), original.output(3).delaySamples());
    EXPECT_EQ(c.input(InputId::B).levelPosition, original.input(InputId::B).levelPosition);
    EXPECT_EQ(c.output(1).xover.HighSide.NumSections, 2);
    EXPECT_EQ(c.output(3).xover.LowSide.Orden, 6); // L-Riley order 5 became 6
    EXPECT_EQ(c.output(2).dynamics.Umbral, original.output(2).dynamics.Umbral);
    EXPECT_EQ(c.output(2).dynamics.CurveGain, original.output(2).dynamics.CurveGain);
    // Custom section values are kept in single precision by the file.
    EXPECT_EQ(c.output(4).xover.LowSide.Sections[0].Q, static_cast<double>(0.9f));
    EXPECT_NEAR(c.output(4).xover.LowSide.Sections[0].B0, original.output(4).xover.LowSide.Sections[0].B0, 1e-7);
    EXPECT_EQ(c.measurement.fileNames[1], "/data/woofer.txt");
}

// Names and texts are stored one byte per character (Latin-1); the configuration holds UTF-8.
// Every byte from 0x80 to 0xFF, in each text field, must come back from open -> save unchanged.
TEST(ConfigFileText, StoredCharactersSaveBackByteForByte)
{
    struct Field {
        const char* what;
        size_t offset; // the length byte
        size_t capacity;
    };
    const Field fields[] = {
        {"project", 116, 40},  {"installation", 157, 40}, {"engineer", 198, 40},
        {"comment", 239, 100}, {"input A", 2728, 4},      {"input B", 2733, 4},
        {"output 1", 2738, 4}, {"output 4", 2753, 4},     {"system name", 2758, 12},
    };
    const Bytes base = encodeConfigurationFile(richConfiguration(), "p");
    for (const Field& field : fields) {
        for (int first = 0x80; first <= 0xFF; first += static_cast<int>(field.capacity)) {
            Bytes b = base;
            const size_t n = std::min<size_t>(field.capacity, static_cast<size_t>(0x100 - first));
            b[field.offset] = static_cast<uint8_t>(n);
            for (size_t i = 0; i < field.capacity; ++i)
                b[field.offset + 1 + i] = i < n ? static_cast<uint8_t>(first + static_cast<int>(i)) : 0;
            auto loaded = decodeConfigurationFile(b, "p");
            ASSERT_TRUE(loaded.ok()) << field.what;
            const Bytes saved = encodeConfigurationFile(loaded->config, "p");
            EXPECT_TRUE(b == saved) << field.what << " from 0x" << std::hex << first << "\n" << hexDiff(b, saved);
        }
    }
}

TEST(ConfigFileText, NamesAreReadAndStoredAsLatin1)
{
    struct Row {
        const char* what;
        std::string typed; // UTF-8, as a window or the command line gives it
        std::string shown; // UTF-8 after open
        Bytes stored;      // length byte and characters
    };
    const Row rows[] = {
        {"four characters in seven UTF-8 bytes fit",
         "A\xC3\x91\xC3\x91\xC3\x91",
         "A\xC3\x91\xC3\x91\xC3\x91",
         {4, 'A', 0xD1, 0xD1, 0xD1}},
        {"o with acute", "Sal\xC3\xB3", "Sal\xC3\xB3", {4, 'S', 'a', 'l', 0xF3}},
        {"beyond Latin-1 stores '?'",
         "\xE2\x82\xAC"
         "1",
         "?1",
         {2, '?', '1', 0, 0}},
        {"a fifth character is cut whole",
         "\xC3\x91\xC3\x91\xC3\x91\xC3\x91\xC3\x91",
         "\xC3\x91\xC3\x91\xC3\x91\xC3\x91",
         {4, 0xD1, 0xD1, 0xD1, 0xD1}},
    };
    constexpr size_t kOutput2Name = 2743;
    for (const Row& row : rows) {
        Configuration c;
        c.setOutputName(2, row.typed);
        const Bytes b = encodeConfigurationFile(c, "p");
        EXPECT_TRUE(Bytes(b.begin() + kOutput2Name, b.begin() + kOutput2Name + 5) == row.stored) << row.what;
        auto loaded = decodeConfigurationFile(b, "p");
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(loaded->config.output(2).name, row.shown) << row.what;
    }
}

TEST(ConfigFileSizes, LongerFileLoadsSilently)
{
    Bytes b = encodeConfigurationFile(richConfiguration(), "p");
    b.resize(3224, 0xAB);
    auto loaded = decodeConfigurationFile(b, "p");
    ASSERT_TRUE(loaded.ok());
    EXPECT_TRUE(loaded->notices.empty());
    EXPECT_EQ(loaded->config.system.name, "Main Hall");
}

TEST(ConfigFileSizes, ShorterFilesWarnAndKeepDefaultsBeyondTheirEnd)
{
    Bytes full = encodeConfigurationFile(richConfiguration(), "p");
    for (size_t size : {size_t(3160), size_t(2728)}) {
        Bytes b(full.begin(), full.begin() + static_cast<long>(size));
        auto loaded = decodeConfigurationFile(b, "/x/old.kv4");
        ASSERT_TRUE(loaded.ok()) << size;
        ASSERT_EQ(loaded->notices.size(), 1u);
        EXPECT_EQ(loaded->notices[0].text, "/x/old.kv4 is not a KVR 610 File or is an older version (then re-save the "
                                           "file to translate it to VERSION 4.70");
        EXPECT_EQ(loaded->notices[0].kind, MessageKind::Error);
        EXPECT_EQ(loaded->config.system.engineer, "J. Doe");
        if (size == 2728) {
            // Names and everything after them are missing: the defaults stand.
            EXPECT_EQ(loaded->config.output(1).name, "Out1");
            EXPECT_EQ(loaded->config.system.name, "NoName");
            EXPECT_EQ(loaded->config.routingMode, 5);
            EXPECT_EQ(loaded->config.input(InputId::B).peqSource, 2);
        } else {
            EXPECT_EQ(loaded->config.output(3).name, "Su M");
            EXPECT_EQ(loaded->config.measurement.dBspl, 96.0f);
        }
    }
}

TEST(ConfigFileRejections, WrongSizeAndWrongMagic)
{
    Bytes good = encodeConfigurationFile(Configuration(), "p");
    for (size_t size : {size_t(0), size_t(1), size_t(2727), size_t(3219), size_t(3221), size_t(5000)}) {
        Bytes b = good;
        b.resize(size);
        auto r = decodeConfigurationFile(b, "/d/f.kv4");
        ASSERT_FALSE(r.ok()) << size;
        EXPECT_EQ(r.message(), "/d/f.kv4 is not a KVR 610 File");
    }
    auto badLength = decodeConfigurationFile(patched(good, 0, {8}), "f");
    EXPECT_EQ(badLength.message(), "f is not a KVR 610 File");
    auto badChar = decodeConfigurationFile(patched(good, 5, {'7'}), "f");
    EXPECT_FALSE(badChar.ok());
    Bytes shortBad = patched(good, 1, {'X'});
    shortBad.resize(3160);
    EXPECT_EQ(decodeConfigurationFile(shortBad, "f").message(), "f is not a KVR 610 File");
}

TEST(ConfigFileVersions, OldThresholdsAreRaisedByFourDecibels)
{
    Configuration c;
    c.output(1).dynamics.Umbral = -20.0f; // shown -6.15 dBu: position 8 -> stored -19.85
    selectDynamicsOutput(c, 1);
    Bytes b = encodeConfigurationFile(c, "p");
    auto withVersion = [&](const char* v) {
        Bytes copy = b;
        copy[10] = 4;
        std::memcpy(copy.data() + 11, v, 4);
        return decodeConfigurationFile(copy, "p");
    };
    auto current = withVersion("4.70");
    auto threshold441 = withVersion("4.41");
    auto old = withVersion("3.90");
    ASSERT_TRUE(current.ok() && threshold441.ok() && old.ok());
    const float stored = c.output(1).dynamics.Umbral;
    EXPECT_EQ(current->config.output(1).dynamics.Umbral, stored);
    EXPECT_EQ(threshold441->config.output(1).dynamics.Umbral, stored);
    EXPECT_NEAR(old->config.output(1).dynamics.Umbral, stored + 4.0f, 1e-5);
    // A version that is not a number reads as the current one.
    EXPECT_EQ(withVersion("x.yz")->config.output(1).dynamics.Umbral, stored);
}

TEST(ConfigFileVersions, Version120TurnsTheViewsOn)
{
    Configuration c;
    c.view = ViewFlags{false, false, false, true, false, true};
    c.output(2).peqxView = false;
    c.input(InputId::B).peqView = false;
    c.measurement.fileNames[0] = "meas.txt";
    Bytes b = encodeConfigurationFile(c, "p");
    std::memcpy(b.data() + 11, "1.20", 4);
    auto loaded = decodeConfigurationFile(b, "p");
    ASSERT_TRUE(loaded.ok());
    const ViewFlags& v = loaded->config.view;
    EXPECT_TRUE(v.peq && v.xover && v.peqx && v.gain);
    EXPECT_FALSE(v.outDelays || v.speaker);
    EXPECT_TRUE(loaded->config.output(2).peqxView);
    EXPECT_TRUE(loaded->config.input(InputId::B).peqView);
    EXPECT_TRUE(loaded->config.measurement.fileNames[0].empty());
    // Older than 4.41 too: thresholds are raised.
    EXPECT_NEAR(loaded->config.output(1).dynamics.Umbral, -5.85f + 4.0f, 0.3);
}

TEST(ConfigFileHostileValues, OutOfRangeFieldsAreClamped)
{
    Bytes b = encodeConfigurationFile(Configuration(), "p");
    b = withValue<int32_t>(b, 364, 7);             // route of output 1
    b = withValue<int32_t>(b, 368, -1);            // route of output 2
    b = withValue<int32_t>(b, 348, 0);             // PEQA band count
    b = withValue<int32_t>(b, 352, 99);            // PEQB band count
    b = withValue<int32_t>(b, 1052, -5);           // PEQX count of output 1
    b = withValue<uint8_t>(b, 1964 + 88, 200);     // crossover 1 high side code
    b = withValue<int32_t>(b, 1964 + 72, 0);       // its order
    b = withValue<int32_t>(b, 1964 + 92 + 76, 99); // crossover 2 low order
    b = withValue<uint8_t>(b, 1964 + 92 + 89, 2);
    b = withValue<float>(b, 1964 + 92 + 64, 0.0f); // crossover 2 low frequency 0
    b = withValue<double>(b, 380 + 8, 0.0);        // PEQA band 1 Frec
    b = withValue<double>(b, 380 + 16, 0.0);       // PEQA band 1 Q
    b = withValue<uint8_t>(b, 380 + 24, 1);
    b = withValue<double>(b, 2672, 0.0);          // input A gain 0
    b = withValue<double>(b, 2680, -1.0);         // input B gain negative
    b = withValue<double>(b, 2696, std::nan("")); // output 1 gain NaN
    b = withValue<int32_t>(b, 2624, -500);        // input A delay negative
    b = withValue<int32_t>(b, 2640 + 4, 1000000); // output 2 delay huge
    b = withValue<uint8_t>(b, 2728, 255);         // input A name length
    b = withValue<uint8_t>(b, 2758, 200);         // system name length
    b = withValue<int32_t>(b, 2772, 42);          // routing mode
    b = withValue<int32_t>(b, 2776, 9);           // PEQA source
    b = withValue<int32_t>(b, 344, -40);          // temperature
    b = withValue<float>(b, 2336, INFINITY);      // dynamics 1 threshold
    b = withValue<float>(b, 2336 + 4, 0.0f);      // ratio 0
    b = withValue<float>(b, 2336 + 12, 12345.0f); // attack not in the table
    b = withValue<float>(b, 2336 + 44, 0.0f);     // over-range 0
    b = withValue<float>(b, 2336 + 52, -8.0f);    // impedance
    b = withValue<int32_t>(b, 3212, 77);          // measurement kind
    b = withValue<float>(b, 3216, std::nanf("")); // reference level
    std::memcpy(b.data() + 11, "zz!!", 4);        // version text not a number

    auto loaded = decodeConfigurationFile(b, "p");
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    const Configuration& c = loaded->config;
    EXPECT_EQ(c.output(1).route, RouteSource::A);
    EXPECT_EQ(c.output(2).route, RouteSource::A);
    EXPECT_EQ(c.input(InputId::A).peqBandCount, 1);
    EXPECT_EQ(c.input(InputId::B).peqBandCount, 6);
    EXPECT_EQ(c.output(1).peqxCount, 1);
    EXPECT_EQ(c.output(1).xover.HighSide.Tipo, 0);
    EXPECT_EQ(c.output(1).xover.HighSide.Orden, 1);
    EXPECT_EQ(c.output(2).xover.LowSide.Orden, 8);
    EXPECT_DOUBLE_EQ(c.output(2).xover.LowSide.Frec, 20.0);
    const TSOS& band = c.input(InputId::A).peq[0];
    EXPECT_GT(band.Frec, 0.0);
    EXPECT_GT(band.Q, 0.0);
    EXPECT_TRUE(std::isfinite(band.B0) && std::isfinite(band.A1));
    EXPECT_EQ(c.input(InputId::A).levelPosition, 100);
    EXPECT_DOUBLE_EQ(c.input(InputId::B).levelDb(), 0.0);
    EXPECT_DOUBLE_EQ(c.output(1).levelDb(), 0.0);
    EXPECT_EQ(c.input(InputId::A).delaySamples, 0);
    EXPECT_EQ(c.output(2).delaySamples(), 1440);
    EXPECT_EQ(c.input(InputId::A).name.size(), 4u);
    EXPECT_EQ(c.system.name.size(), 12u);
    EXPECT_EQ(c.routingMode, 5);
    EXPECT_EQ(c.input(InputId::A).peqSource, 0);
    EXPECT_EQ(c.temperatureC, 0);
    const TDYNAMIC& d = c.output(1).dynamics;
    EXPECT_TRUE(std::isfinite(d.Umbral));
    EXPECT_GE(d.Ratio, 1.0f);
    EXPECT_EQ(d.TAttack, 1000.0f);
    for (int i = 1; i <= d.NPuntos; ++i)
        EXPECT_TRUE(std::isfinite(d.CurveGain[i])) << i;
    EXPECT_TRUE(std::isfinite(d.OverC0) && std::isfinite(d.OverC3));
    EXPECT_GT(d.Impedance, 0.0f);
    EXPECT_EQ(c.measurement.fileKind, 0);
    EXPECT_EQ(c.measurement.dBspl, 96.0f);
}

TEST(ConfigFileHostileValues, RandomRecordsNeverCrash)
{
    std::mt19937 rng(610);
    Bytes base = encodeConfigurationFile(Configuration(), "p");
    for (int round = 0; round < 200; ++round) {
        Bytes b = base;
        const size_t sizes[] = {3220, 3224, 3160, 2728};
        b.resize(sizes[round % 4]);
        for (size_t i = 10; i < b.size(); ++i)
            if (rng() % 3 == 0) b[i] = static_cast<uint8_t>(rng());
        auto loaded = decodeConfigurationFile(b, "p");
        ASSERT_TRUE(loaded.ok());
        const Configuration& c = loaded->config;
        for (const auto& out : c.outputs) {
            EXPECT_GE(out.peqxCount, 1);
            EXPECT_LE(out.peqxCount, 6);
            EXPECT_LE(out.xover.LowSide.Frec, out.xover.HighSide.Frec);
            EXPECT_LE(out.delaySamples(), 1440);
        }
        // Whatever was read saves and reloads to the same record.
        Bytes once = encodeConfigurationFile(c, "p");
        auto again = decodeConfigurationFile(once, "p");
        ASSERT_TRUE(again.ok());
        Bytes twice = encodeConfigurationFile(again->config, "p");
        EXPECT_TRUE(once == twice) << hexDiff(once, twice);
    }
}

TEST(ConfigFileLoading, ReportsItsStagesInOrder)
{
    std::vector<LoadProgress> stages;
    auto loaded = decodeConfigurationFile(encodeConfigurationFile(Configuration(), "p"), "/a/b.kv4",
                                          [&](const LoadProgress& p) { stages.push_back(p); });
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(stages.size(), 7u);
    const std::pair<int, const char*> expected[] = {{0, "Reading VERSION and HEADER..."},
                                                    {10, "Reading Gains, Delays and Polarity..."},
                                                    {20, "Reading and Designing PEQ Equalization..."},
                                                    {40, "Reading and Designing PEQX Equalization..."},
                                                    {60, "Reading and Designing XOVER... "},
                                                    {85, "Reading and Designing Dynamics..."},
                                                    {100, "DONE"}};
    for (size_t i = 0; i < stages.size(); ++i) {
        EXPECT_EQ(stages[i].text, "Opening /a/b.kv4");
        EXPECT_EQ(stages[i].position, expected[i].first);
        EXPECT_EQ(stages[i].status, expected[i].second);
    }
}

TEST(ConfigFileLoading, DelaysAreRederivedThroughTheirEditors)
{
    Configuration c;
    c.input(InputId::B).delaySamples = 140; // not on the 1 cm grid at 25 C
    c.output(1).delayPosition = 1500;
    c.output(2).delayPosition = 13; // between two samples: the file keeps samples, the track snaps
    c.links.inputDelayAB = true;
    auto loaded = decodeConfigurationFile(encodeConfigurationFile(c, "p"), "p");
    ASSERT_TRUE(loaded.ok());
    int cm = inputDelayCmFromSamples(140, 25);
    // B's track moves and, linked, carries A with it.
    EXPECT_EQ(loaded->config.input(InputId::B).delaySamples, inputDelaySamplesFromCm(cm, 25));
    EXPECT_EQ(loaded->config.input(InputId::A).delaySamples, inputDelaySamplesFromCm(cm, 25));
    EXPECT_EQ(loaded->config.output(1).delaySamples(), 1440);
    EXPECT_EQ(loaded->config.output(2).delayPosition, 12);
    EXPECT_EQ(loaded->config.output(2).delaySamples(), 12);
}

TEST(ConfigFileDisk, SaveAndLoad)
{
    TempDir dir;
    std::string path = dir.file("hall.kv4");
    ASSERT_TRUE(saveConfigurationFile(path, richConfiguration()).ok());
    EXPECT_EQ(std::filesystem::file_size(path), 3220u);
    auto loaded = loadConfigurationFile(path);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->config.system.name, "Main Hall");
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path())->path().filename(), "hall.kv4"); // no temp left
}

TEST(ConfigFileDisk, FailedSaveKeepsThePreviousFile)
{
    TempDir dir;
    std::string path = dir.file("keep.kv4");
    ASSERT_TRUE(saveConfigurationFile(path, Configuration()).ok());
    Bytes before = *readWholeFile(path, 10000);
    // The temporary file cannot be created (a folder stands in its place), even for root.
    std::filesystem::create_directory(path + ".tmp" + std::to_string(::getpid()));
    Status failed = saveConfigurationFile(path, richConfiguration());
    EXPECT_FALSE(failed.ok());
    EXPECT_NE(failed.message().find(path), std::string::npos);
    EXPECT_EQ(*readWholeFile(path, 10000), before);
}

TEST(ConfigFileDisk, SaveIntoMissingFolderFails)
{
    Status failed = saveConfigurationFile("/nonexistent-folder-kvr/x.kv4", Configuration());
    EXPECT_FALSE(failed.ok());
    EXPECT_NE(failed.message().find("No such file or directory"), std::string::npos);
}

TEST(ConfigFileDisk, UnreadableFileGivesAClearMessage)
{
    auto r = loadConfigurationFile("/nonexistent-folder-kvr/x.kv4");
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.message().find("/nonexistent-folder-kvr/x.kv4"), std::string::npos);
    TempDir dir;
    auto folder = loadConfigurationFile(dir.path());
    EXPECT_FALSE(folder.ok());
}
