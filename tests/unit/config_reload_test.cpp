#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "config/configfile.h"
#include "config/editing.h"
#include "util/bytes.h"

// A file reloads exactly as it was written: whatever the program's own operations build, save ->
// open -> save gives the same bytes.

using namespace kvr::core;

namespace {

constexpr const char* kPath = "/shows/hall.kv4";

// Offsets and sizes of the record, from the file layout.
constexpr size_t kCrossovers = 1964;
constexpr size_t kLowSectionFrequencies = 16;
constexpr size_t kHighSectionFrequencies = 0;
constexpr size_t kLowSectionQs = 48;
constexpr size_t kHighSectionQs = 32;
constexpr size_t kPeqBanks = 380;

std::string hexDiff(const Bytes& a, const Bytes& b)
{
    std::string out;
    int shown = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        int x = i < a.size() ? a[i] : -1;
        int y = i < b.size() ? b[i] : -1;
        if (x == y) continue;
        if (++shown > 24) {
            out += "...\n";
            break;
        }
        char line[64];
        std::snprintf(line, sizeof line, "offset %4zu (0x%04zx): %02x -> %02x\n", i, i, static_cast<unsigned>(x & 0xFF),
                      static_cast<unsigned>(y & 0xFF));
        out += line;
    }
    return out;
}

// Save, open, save: both saves must be the same bytes.
::testing::AssertionResult reloadsExactly(const Configuration& c)
{
    Bytes first = encodeConfigurationFile(c, kPath);
    auto loaded = decodeConfigurationFile(first, kPath);
    if (!loaded) return ::testing::AssertionFailure() << "not loaded: " << loaded.message();
    Bytes second = encodeConfigurationFile(loaded->config, kPath);
    if (first == second) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "open -> save changed the file:\n" << hexDiff(first, second);
}

template <typename T> Bytes withValue(Bytes record, size_t offset, T value)
{
    std::memcpy(record.data() + offset, &value, sizeof value);
    return record;
}

template <typename T> T valueAt(const Bytes& record, size_t offset)
{
    T value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

// The Custom page's fields of one section, then the side applied (as its order spin does).
void setCustomSection(Configuration& c, int output, CrossoverSide side, int k, double hz, double q)
{
    TSOS& s = crossoverSide(c, output, side).Sections[static_cast<size_t>(k)];
    const double highest = side == CrossoverSide::Low ? kCrossoverFrequencyMax : kCustomHighFrequencyMax;
    s.Frec = std::clamp(std::round(hz), double{kCrossoverFrequencyMin}, highest);
    s.Q = customQFromField(q);
    applyCrossoverSide(c, output, side);
}

// Link flags have no control: they arrive with a file, whose opening fills the crossover editor.
void openWithCrossoverLink(Configuration& c, int link, bool on)
{
    c.links.crossover[static_cast<size_t>(link)] = on;
    refillCrossovers(c);
}

constexpr CrossoverSide Lo = CrossoverSide::Low;
constexpr CrossoverSide Hi = CrossoverSide::High;

// One user action of a scenario.
using Step = std::function<void(Configuration&)>;

Step family(int output, CrossoverSide side, int item)
{
    return [=](Configuration& c) { setCrossoverFamily(c, output, side, item); };
}

Step order(int output, CrossoverSide side, int order)
{
    return [=](Configuration& c) { setCrossoverOrder(c, output, side, order); };
}

Step hz(int output, CrossoverSide side, double hz)
{
    return [=](Configuration& c) { setCrossoverFrequency(c, output, side, hz); };
}

Step custom(int output, CrossoverSide side, int k, double hz, double q)
{
    return [=](Configuration& c) { setCustomSection(c, output, side, k, hz, q); };
}

Step autoTimes(int output, bool on)
{
    return [=](Configuration& c) { setAutomaticTimes(c, output, on); };
}

Step link(int link)
{
    return [=](Configuration& c) { openWithCrossoverLink(c, link, true); };
}

Step copyCrossover(int from, int to)
{
    return [=](Configuration& c) {
        CopyOptions xover;
        xover.xover = true;
        copyOutput(c, from, to, xover);
    };
}

void run(Configuration& c, const std::vector<Step>& steps)
{
    for (const Step& step : steps)
        step(c);
}

double frequency(const Configuration& c, int output, CrossoverSide side)
{
    return crossoverSide(c, output, side).Frec;
}

} // namespace

TEST(Reload, ProgramBuiltConfigurationsSaveOpenSaveByteIdentical)
{
    struct Scenario {
        const char* name;
        std::vector<Step> steps;
    };
    const Scenario scenarios[] = {
        {"first-order Butterworth high-pass, then order 4",
         {family(1, Lo, 1), order(1, Lo, 1), hz(1, Lo, 1000), order(1, Lo, 4)}},
        {"Linkwitz-Riley order 6 leaves a first-order section 3 behind at order 4",
         {family(3, Lo, 2), order(3, Lo, 6), order(3, Lo, 4), family(3, Hi, 2), order(3, Hi, 6), hz(3, Hi, 12001),
          order(3, Hi, 2)}},
        {"first-order Butterworth high-pass turned custom uses its negative Q",
         {family(4, Lo, 1), order(4, Lo, 1), hz(4, Lo, 1000), order(4, Lo, 2), order(4, Lo, 1), family(4, Lo, 4),
          order(4, Lo, 2)}},
        {"first-order Butterworth low-pass at 12 kHz turned custom",
         {family(1, Hi, 1), order(1, Hi, 1), hz(1, Hi, 12000), family(1, Hi, 4), order(1, Hi, 4)}},
        {"Bessel high-pass of order 8 at 20 Hz turned custom",
         {family(2, Lo, 3), order(2, Lo, 8), hz(2, Lo, 20), family(2, Lo, 4)}},
        {"Bessel low-pass of order 5 at its limit turned custom",
         {hz(3, Hi, 20000), family(3, Hi, 3), order(3, Hi, 5), hz(3, Hi, 13650), family(3, Hi, 4)}},
        {"Bessel high-pass of order 7 at 421 Hz turned custom: section 1 at 421 / 1.684 = 249.99999774 Hz",
         {autoTimes(1, true), family(1, Lo, 3), order(1, Lo, 7), hz(1, Lo, 421), family(1, Lo, 4)}},
        {"custom sections typed in on both sides, odd and even orders",
         {family(4, Lo, 4), order(4, Lo, 5), custom(4, Lo, 0, 45, 0.1), custom(4, Lo, 2, 20000, 20), family(4, Hi, 4),
          custom(4, Hi, 3, 23950, 0.707)}},
    };
    for (const Scenario& scenario : scenarios) {
        Configuration c;
        run(c, scenario.steps);
        EXPECT_TRUE(reloadsExactly(c)) << scenario.name;
    }
}

namespace {

// Q of a first-order Butterworth section as QFromHighPass/QFromLowPass give it, in closed form:
// high-pass a = 2K/(K + 1), K = 1/tan(w/2): Q = sqrt(a)/(1 - a); low-pass K = tan(w/2):
// Q = sqrt((1 + K)/(2K)) * 2K/(1 - K).
double firstOrderQ(CrossoverSide side, double hz)
{
    const double half = std::acos(-1.0) * hz / 48000.0;
    if (side == CrossoverSide::Low) {
        const double k = 1.0 / std::tan(half);
        const double a = 2.0 * k / (k + 1.0);
        return std::sqrt(a) / (1.0 - a);
    }
    const double k = std::tan(half);
    return std::sqrt((1.0 + k) / (2.0 * k)) * 2.0 * k / (1.0 - k);
}

} // namespace

TEST(ReloadValues, FirstOrderQStaysInItsUnusedSection)
{
    struct Row {
        CrossoverSide side;
        double hz;
    };
    // -1.5622 at 1 kHz; the others below the custom field's 0.1, beyond its 20, or negative.
    const Row rows[] = {{CrossoverSide::Low, 1000},   {CrossoverSide::Low, 20},     {CrossoverSide::High, 20},
                        {CrossoverSide::High, 11999}, {CrossoverSide::High, 16000}, {CrossoverSide::Low, 20000}};
    for (const Row& row : rows) {
        Configuration c;
        // Back to bypass at the end: the section is no longer used, but kept.
        run(c, {hz(1, Lo, 20), hz(1, Hi, 20000), family(1, row.side, 1), order(1, row.side, 1), hz(1, row.side, row.hz),
                family(1, row.side, 0)});
        const double q = crossoverSide(c, 1, row.side).Sections[0].Q;
        const double reference = firstOrderQ(row.side, row.hz);
        EXPECT_NEAR(q, reference, 1e-9 * std::max(1.0, std::fabs(reference))) << row.hz;
        auto loaded = decodeConfigurationFile(encodeConfigurationFile(c, kPath), kPath);
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(crossoverSide(loaded->config, 1, row.side).Sections[0].Q, static_cast<double>(static_cast<float>(q)))
            << row.hz;
        EXPECT_TRUE(reloadsExactly(c)) << row.hz;
    }
    EXPECT_NEAR(firstOrderQ(CrossoverSide::Low, 1000), -1.5622, 1e-4);
}

// Values the program writes into crossover sections load bit-exact; only values that no design
// or field produces and that would break a custom design are replaced.
TEST(ReloadValues, CrossoverSectionValues)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        const char* what;
        CrossoverSide side;
        float frequency; // written
        float q;         // written
        double loadedFrequency;
        double loadedQ;
    };
    const Row rows[] = {
        {"first-order high-pass Q at 1 kHz", CrossoverSide::Low, 1000, -1.56221747f, 1000, -1.56221747f},
        {"first-order high-pass Q at 20 Hz", CrossoverSide::Low, 20, -1.41699374f, 20, -1.41699374f},
        {"first-order low-pass Q at 12 kHz", CrossoverSide::High, 12000, 2.25179981e15f, 12000, 2.25179981e15f},
        {"first-order low-pass Q at 20 Hz", CrossoverSide::High, 20, 0.0512669347f, 20, 0.0512669347f},
        {"Q -0.5 at 12 kHz: 1 + sin(w)/(2Q) is 0", CrossoverSide::High, 12000, -0.5f, 12000, 1.0},
        {"zero Q", CrossoverSide::Low, 1000, 0.0f, 1000, 1.0},
        {"Q below any design's", CrossoverSide::Low, 1000, 0.04f, 1000, 1.0},
        {"negative Q above any design's", CrossoverSide::High, 1000, -0.999f, 1000, 1.0},
        {"NaN Q", CrossoverSide::Low, 1000, nan, 1000, 1.0},
        {"infinite Q", CrossoverSide::High, 1000, -inf, 1000, 1.0},
        {"Bessel high-pass section at 9.1 Hz", CrossoverSide::Low, 9.13674f, 1, 9.13674f, 1},
        {"Bessel low-pass section at 23962 Hz", CrossoverSide::High, 23962.1f, 1, 23962.1f, 1},
        {"frequency 0", CrossoverSide::Low, 0.0f, 1, 1, 1},
        {"frequency above half the sample rate", CrossoverSide::High, 30000.0f, 1, 23999, 1},
        {"NaN frequency", CrossoverSide::High, nan, 1, 1000, 1},
    };
    Configuration c;
    // Custom sides keep their sections as read; section 2 of output 1 is a second-order section.
    run(c, {hz(1, Hi, 20000), family(1, Lo, 4), family(1, Hi, 4)});
    const Bytes base = encodeConfigurationFile(c, kPath);
    for (const Row& row : rows) {
        const bool low = row.side == CrossoverSide::Low;
        const size_t frequencyAt = kCrossovers + (low ? kLowSectionFrequencies : kHighSectionFrequencies) + 4;
        const size_t qAt = kCrossovers + (low ? kLowSectionQs : kHighSectionQs) + 4;
        auto loaded =
            decodeConfigurationFile(withValue(withValue(base, frequencyAt, row.frequency), qAt, row.q), kPath);
        ASSERT_TRUE(loaded.ok()) << row.what;
        const TSOS& s = crossoverSide(loaded->config, 1, row.side).Sections[1];
        EXPECT_EQ(s.Frec, static_cast<double>(static_cast<float>(row.loadedFrequency))) << row.what;
        EXPECT_EQ(s.Q, static_cast<double>(static_cast<float>(row.loadedQ))) << row.what;
        EXPECT_TRUE(std::isfinite(s.B0) && std::isfinite(s.B1) && std::isfinite(s.A1) && std::isfinite(s.A2))
            << row.what;
        // What was kept is written back bit for bit.
        const Bytes again = encodeConfigurationFile(loaded->config, kPath);
        const float keptQ = static_cast<float>(row.loadedQ);
        if (std::memcmp(&keptQ, &row.q, sizeof keptQ) == 0) {
            const float rewritten = valueAt<float>(again, qAt);
            EXPECT_EQ(std::memcmp(&rewritten, &row.q, sizeof rewritten), 0) << row.what;
        }
    }
}

TEST(ReloadValues, RatioGainOfAnalogueBands)
{
    struct Row {
        uint8_t tipo;
        double written;
        double loaded;
    };
    // Types 19 and 20 divide by 1 + gain: a gain within 0.05 of -1 is replaced; the 0.1 grid the
    // program writes (-0.9, -1.1) is kept, as are the edges 0.05 away.
    const Row rows[] = {{19, -1.0, 0.0},   {20, -1.0, 0.0},  {19, -0.999, 0.0}, {20, -1.0001, 0.0}, {19, -0.96, 0.0},
                        {20, -1.04, 0.0},  {19, -0.9, -0.9}, {20, -1.1, -1.1},  {19, -0.95, -0.95}, {20, -1.05, -1.05},
                        {19, 0.0, 0.0},    {20, 3.0, 3.0},   {19, -5.0, -5.0},  {20, 12.0, 12.0},   {1, -1.0, -1.0},
                        {1, -60.0, -60.0}, {1, -0.99, -0.99}};
    const Bytes base = encodeConfigurationFile(Configuration(), kPath);
    for (const Row& row : rows) {
        Bytes b = withValue<double>(base, kPeqBanks, row.written);
        b = withValue<uint8_t>(b, kPeqBanks + 24, row.tipo);
        auto loaded = decodeConfigurationFile(b, kPath);
        ASSERT_TRUE(loaded.ok());
        const TSOS& band = loaded->config.input(InputId::A).peq[0];
        EXPECT_EQ(band.Gain, row.loaded) << int{row.tipo} << " " << row.written;
        EXPECT_TRUE(std::isfinite(band.B0) && std::isfinite(band.A1)) << int{row.tipo} << " " << row.written;
        if (row.loaded == row.written) {
            const Bytes saved = encodeConfigurationFile(loaded->config, kPath);
            EXPECT_TRUE(saved == b) << int{row.tipo} << " " << row.written << "\n" << hexDiff(b, saved);
        }
    }
}

// With automatic times on, every path that changes a low side leaves attack and release as the
// dynamics editor derives them (its table: below 63 Hz 16/200 ms, 63.. 12/150, 125.. 7/100,
// 250.. 5/80, 500.. 4/60, 1000.. 3/40, from 2000 3/30; a bypassed low side 12/200).
// With automatic times on, every path that changes a low side leaves attack and release as the
// dynamics editor derives them (its table: below 63 Hz 16/200 ms, 63.. 12/150, 125.. 7/100,
// 250.. 5/80, 500.. 4/60, 1000.. 3/40, from 2000 3/30; a bypassed low side 12/200).
TEST(AutomaticTimes, FollowEveryLowSideChangeAtOnce)
{
    struct Row {
        const char* path;
        int output;
        std::vector<Step> steps;
        float attack;
        float release;
    };
    const Row rows[] = {
        {"turned on over a bypassed low side", 1, {autoTimes(1, true)}, 12, 200},
        {"family", 1, {autoTimes(1, true), family(1, Lo, 1)}, 12, 150}, // 100 Hz
        {"frequency", 2, {family(2, Lo, 2), autoTimes(2, true), hz(2, Lo, 1500)}, 3, 40},
        {"order: Bessel order 2 starts at 1000 * sqrt(0.618) = 786 Hz",
         3,
         {autoTimes(3, true), hz(3, Lo, 1000), family(3, Lo, 3), order(3, Lo, 2)},
         4,
         60},
        {"order: Bessel order 1 starts at 1000 Hz",
         3,
         {autoTimes(3, true), hz(3, Lo, 1000), family(3, Lo, 3), order(3, Lo, 2), order(3, Lo, 1)},
         3,
         40},
        {"link 1-2 from output 1's high side",
         2,
         {link(0), family(2, Lo, 1), autoTimes(2, true), hz(1, Hi, 300)},
         5,
         80},
        {"link 3-4 from output 4's low side moves output 3's high side only",
         3,
         {family(3, Lo, 1), hz(3, Lo, 60), link(2), autoTimes(3, true), hz(4, Lo, 3000)},
         16,
         200},
        {"copy of a crossover", 4, {family(1, Lo, 1), hz(1, Lo, 60), autoTimes(4, true), copyCrossover(1, 4)}, 16, 200},
        {"custom section 1", 1, {family(1, Lo, 4), autoTimes(1, true), custom(1, Lo, 0, 250, 1.0)}, 5, 80},
        {"turned off: the times stay",
         1,
         {family(1, Lo, 1), autoTimes(1, true), autoTimes(1, false), hz(1, Lo, 2500)},
         12,
         150},
    };
    for (const Row& row : rows) {
        Configuration c;
        run(c, row.steps);
        const TDYNAMIC& d = c.output(row.output).dynamics;
        EXPECT_EQ(d.TAttack, row.attack) << row.path;
        EXPECT_EQ(d.TRelease, row.release) << row.path;
        // The designed coefficient follows the time, as a selection of the output would leave it.
        TDYNAMIC designed = d;
        DesignDynamics(designed);
        EXPECT_EQ(d.AttackCoef, designed.AttackCoef) << row.path;
        EXPECT_TRUE(reloadsExactly(c)) << row.path;
    }
}

TEST(AutomaticTimes, OpeningAFileDerivesStaleTimes)
{
    Configuration c;
    setCrossoverFamily(c, 4, CrossoverSide::Low, 1);
    setAutomaticTimes(c, 4, true);
    Bytes b = encodeConfigurationFile(c, kPath);
    const size_t dynamics4 = 2336 + 3 * 72;
    b = withValue<float>(b, dynamics4 + 12, 10.0f);
    b = withValue<float>(b, dynamics4 + 16, 100.0f);
    auto loaded = decodeConfigurationFile(b, kPath);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->config.output(4).dynamics.TAttack, 12.0f);
    EXPECT_EQ(loaded->config.output(4).dynamics.TRelease, 150.0f);
}

// A person's change leaves linked values as the links tie them: when a clamp holds the other side,
// the held value comes back to the side changed (as its control's change event would apply it),
// so that opening, which runs the links again, finds nothing to change. Values worked out by hand
// from the never-cross rule, the Bessel limits and the link table.
TEST(LinkedEdits, LeaveLinkedValuesAsTheLinksTieThem)
{
    struct Side {
        int output;
        CrossoverSide side;
        double hz;
    };
    struct Row {
        const char* what;
        std::vector<Step> steps;
        std::vector<Side> expected;
    };
    const Row rows[] = {
        {"link 2-3: output 3's low side typed to 33 Hz; output 2's high side stops at its low side, 100 Hz",
         {link(1), family(3, Lo, 1), hz(3, Lo, 33)}, // output 3's low side takes output 2's 5000 Hz
         {{2, Hi, 100}, {3, Lo, 100}}},
        {"link 2-3: output 2's high side typed to 9000 Hz; output 3's low side stops at its high side, 8000 Hz",
         {link(1), hz(3, Hi, 8000), hz(2, Hi, 9000)},
         {{2, Hi, 8000}, {3, Lo, 8000}}},
        {"every link: output 3's low side typed to 1999 Hz under output 2's sides, both at 5000 Hz",
         {link(0), link(1), link(2), hz(3, Lo, 1999)},
         {{2, Lo, 5000}, {3, Lo, 5000}}},
        {"link 2-3: Bessel low-pass of order 5 typed to 14900 Hz, limited to 13650, output 3 free",
         {link(1), hz(3, Hi, 20000), family(2, Hi, 3), order(2, Hi, 5), hz(2, Hi, 14900)},
         {{2, Hi, 13650}, {3, Lo, 13650}}},
        {"link 2-3: the same limited Bessel low-pass, output 3's low side stops at its high side, 12000 Hz",
         {link(1), hz(3, Hi, 12000), family(2, Hi, 3), order(2, Hi, 5), hz(2, Hi, 14900)},
         {{2, Hi, 12000}, {3, Lo, 12000}}},
        {"link 1-2: Bessel low-pass of order 8 typed to 16000 Hz, limited to 10900; output 2's low side "
         "stops at its high side, 5000 Hz",
         {link(0), family(1, Hi, 3), order(1, Hi, 8), hz(1, Hi, 16000)},
         {{1, Hi, 5000}, {2, Lo, 5000}}},
    };
    for (const Row& row : rows) {
        Configuration c;
        run(c, row.steps);
        for (const Side& s : row.expected)
            EXPECT_EQ(frequency(c, s.output, s.side), s.hz) << row.what << ", output " << s.output;
        for (int k = 1; k < kOutputCount; ++k) {
            if (c.links.crossover[static_cast<size_t>(k - 1)]) {
                EXPECT_EQ(frequency(c, k, Hi), frequency(c, k + 1, Lo)) << row.what << ", link " << k;
            }
        }
        // The never-cross rule holds on every output.
        for (int n = 1; n <= kOutputCount; ++n)
            EXPECT_LE(frequency(c, n, Lo), frequency(c, n, Hi)) << row.what;
        EXPECT_TRUE(reloadsExactly(c)) << row.what;
    }

    // The limit is announced once, even when a link brings the side below it again.
    Configuration c;
    run(c, {link(1), hz(3, Hi, 12000), family(2, Hi, 3), order(2, Hi, 5)});
    const Notices notices = setCrossoverFrequency(c, 2, Hi, 14900);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Cutoff Frequency of Bessel LowPass filter of order 5 is limited to 13650");
}

// Output delays 2-3 linked: copying output 1's delay to output 2 moves output 3 too.
TEST(LinkedEdits, CopiedDelayMovesTheLinkedOutput)
{
    Configuration c;
    c.links.outputDelay[1] = true;
    setOutputDelayPosition(c, 1, 250);
    CopyOptions delay;
    delay.outputDelay = true;
    copyOutput(c, 1, 2, delay);
    EXPECT_EQ(c.output(2).delayPosition, 250);
    EXPECT_EQ(c.output(3).delayPosition, 250);
    EXPECT_EQ(c.output(4).delayPosition, 0);
    for (int n = 1; n <= kOutputCount; ++n)
        EXPECT_LE(frequency(c, n, Lo), frequency(c, n, Hi));
    EXPECT_TRUE(reloadsExactly(c));
}

TEST(LinkedEdits, ClampsThatDisagreeLeaveEachSideAtItsClamp)
{
    Configuration c;
    run(c, {link(1), hz(2, Lo, 3000), hz(1, Hi, 2000), copyCrossover(1, 3)});
    // Output 2's high side may not go below its low side (3000 Hz), output 3's low side not above
    // its high side (2000 Hz, copied from output 1).
    EXPECT_EQ(frequency(c, 2, CrossoverSide::High), 3000.0);
    EXPECT_EQ(frequency(c, 3, CrossoverSide::Low), 2000.0);
    EXPECT_EQ(frequency(c, 3, CrossoverSide::High), 2000.0);
    EXPECT_TRUE(reloadsExactly(c));
}

// Opening runs the crossover links as a person's change would: a file whose linked sides differ (a
// link set after them) opens with them tied, the never-cross rule holding.
TEST(Opening, CrossoverLinksTieSidesThatDiffer)
{
    struct Row {
        const char* what;
        double output3High; // before the link
        double output2High; // opened
        double output3Low;  // opened
    };
    const Row rows[] = {
        {"output 3 free: its low side takes output 2's high side", 8000, 5000, 5000},
        {"output 3's high side at 2000 Hz holds its low side, which output 2's high side then takes", 2000, 2000, 2000},
    };
    for (const Row& row : rows) {
        Configuration c;
        setCrossoverFrequency(c, 3, CrossoverSide::High, row.output3High);
        setCrossoverFrequency(c, 3, CrossoverSide::Low, 300);
        c.links.crossover[1] = true; // output 2's high side is 5000 Hz
        auto loaded = decodeConfigurationFile(encodeConfigurationFile(c, kPath), kPath);
        ASSERT_TRUE(loaded.ok()) << row.what;
        EXPECT_EQ(frequency(loaded->config, 2, CrossoverSide::High), row.output2High) << row.what;
        EXPECT_EQ(frequency(loaded->config, 3, CrossoverSide::Low), row.output3Low) << row.what;
        EXPECT_TRUE(reloadsExactly(loaded->config)) << row.what;
    }
}

// A temperature change re-derives every channel's samples from its track, moved or not, so the
// delays stay on the 1 cm grid a file is opened on.
TEST(Opening, TemperatureChangeKeepsSamplesOnTheTrackGrid)
{
    struct Row {
        int cm;
        int celsius;
    };
    // 1.00 m at 25 C is 139 samples; at 26 C the track stays at 100 cm (139 samples are 100.45 cm).
    const Row rows[] = {{100, 26}, {100, 24}, {1000, 30}, {9999, 0}, {1, 50}};
    for (const Row& row : rows) {
        Configuration c;
        InputDelayTracks tracks(c);
        tracks.setPosition(InputId::B, row.cm);
        tracks.setTemperature(row.celsius);
        // Independent reference: c = 20.06 sqrt(T + 273) in single precision; samples = round(d / c * fs)
        // at 25 C; the track at the new temperature = round(samples * c * 100 / fs); its samples.
        auto speed = [](int celsius) { return 20.06f * std::sqrt(static_cast<float>(celsius + 273)); };
        const double before = std::nearbyint(row.cm / 100.0 / speed(25) * 48000.0);
        const double track = std::nearbyint(before * 100.0 * speed(row.celsius) / 48000.0);
        EXPECT_EQ(tracks.position(InputId::B), track) << row.cm << " cm at " << row.celsius;
        EXPECT_EQ(c.input(InputId::B).delaySamples, std::nearbyint(track / 100.0 / speed(row.celsius) * 48000.0))
            << row.cm << " cm at " << row.celsius;
        EXPECT_TRUE(reloadsExactly(c)) << row.cm << " cm at " << row.celsius;
    }
    Configuration c;
    InputDelayTracks tracks(c);
    tracks.setPosition(InputId::A, 100);
    EXPECT_EQ(c.input(InputId::A).delaySamples, 139);
    tracks.setTemperature(26);
    EXPECT_EQ(tracks.position(InputId::A), 100);
    EXPECT_EQ(c.input(InputId::A).delaySamples, 138);
}

namespace {

const char* sideName(CrossoverSide side)
{
    return side == CrossoverSide::Low ? "low" : "high";
}

// One random step through the program's operations (and sometimes a save and an open); returns
// what it did, for the failure message.
std::string randomStep(Configuration& c, std::mt19937& rng)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto chance = [&](int percent) { return pick(1, 100) <= percent; };
    auto logUniform = [&](double lo, double hi) {
        return std::pow(10.0, std::uniform_real_distribution<double>(std::log10(lo), std::log10(hi))(rng));
    };
    const int n = pick(1, kOutputCount);
    const CrossoverSide side = chance(50) ? CrossoverSide::Low : CrossoverSide::High;
    const std::string where = " output " + std::to_string(n) + " " + sideName(side);
    static const double kFrequencies[] = {10,    20,    21,    60,    63,    99.6,  100,   250,   1000,  1999, 2000,
                                          10900, 11999, 12000, 12001, 13650, 14900, 16000, 18800, 20000, 25000};
    switch (pick(0, 15)) {
    case 0:
    case 1: {
        const double hz = chance(50) ? kFrequencies[pick(0, std::size(kFrequencies) - 1)] : logUniform(10, 25000);
        setCrossoverFrequency(c, n, side, hz);
        return "frequency" + where + " " + std::to_string(hz);
    }
    case 2:
    case 3: {
        const int order = pick(1, 8);
        setCrossoverOrder(c, n, side, order);
        return "order" + where + " " + std::to_string(order);
    }
    case 4:
    case 5: {
        const int family = pick(0, kCrossoverFamilyCount - 1);
        setCrossoverFamily(c, n, side, family);
        return "family" + where + " " + std::to_string(family);
    }
    case 6: {
        const int k = pick(0, 3);
        const double hz = logUniform(15, 25000);
        const double q = std::uniform_real_distribution<double>(0.0, 21.0)(rng);
        setCustomSection(c, n, side, k, hz, q);
        return "custom section " + std::to_string(k + 1) + where + " " + std::to_string(hz) + " Hz Q " +
               std::to_string(q);
    }
    case 7: {
        // Levels again, in place of the links: those are set before anything else (below).
        c.setOutputLevelPosition(n, pick(kLevelPositionMin, kLevelPositionMax));
        return "output level";
    }
    case 8: {
        const bool on = chance(70);
        setAutomaticTimes(c, n, on);
        return "automatic times output " + std::to_string(n) + (on ? " on" : " off");
    }
    case 9: {
        CopyOptions what;
        what.route = chance(50);
        what.xover = chance(70);
        what.peqx = chance(50);
        what.outputDelay = chance(50);
        what.outputGain = chance(50);
        what.dynamics = chance(50);
        what.name = chance(50);
        const int to = pick(1, kOutputCount);
        copyOutput(c, n, to, what);
        return "copy output " + std::to_string(n) + " to " + std::to_string(to) +
               (what.xover ? " with crossover" : "") + (what.dynamics ? " with dynamics" : "");
    }
    case 10: {
        TDYNAMIC& d = c.output(n).dynamics;
        d.Umbral = thresholdStoredFromPosition(pick(kThresholdPositionMin, kThresholdPositionMax));
        d.Ratio = ratioFromPosition(pick(kRatioPositionMin, kRatioPositionMax));
        d.Knee = kneeFromPosition(pick(kKneePositionMin, kKneePositionMax));
        d.CriKnee = static_cast<uint8_t>(pick(0, 1));
        d.BypassF = static_cast<uint8_t>(chance(20));
        if (d.AuxFlag == 0) d.TAttack = kAttackTimesMs[static_cast<size_t>(pick(0, 44))];
        selectDynamicsOutput(c, n);
        return "dynamics output " + std::to_string(n);
    }
    case 11: {
        InputDelayTracks tracks(c);
        if (chance(30)) {
            const int celsius = pick(kTemperatureMinC, kTemperatureMaxC);
            tracks.setTemperature(celsius);
            return "temperature " + std::to_string(celsius);
        }
        const int id = pick(0, 2);
        const int cm = pick(0, kInputDelayPositionMax);
        tracks.setPosition(static_cast<InputId>(id), cm);
        return "input delay " + std::to_string(id) + " " + std::to_string(cm) + " cm";
    }
    case 12: {
        const int position = pick(0, kOutputDelayPositionMax);
        setOutputDelayPosition(c, n, position);
        return "output delay output " + std::to_string(n) + " " + std::to_string(position);
    }
    case 13:
        c.setOutputLevelPosition(n, pick(kLevelPositionMin, kLevelPositionMax));
        c.setPolarity(n, chance(50));
        c.setInputLevelPosition(static_cast<InputId>(pick(0, 2)), pick(kLevelPositionMin, kLevelPositionMax));
        if (chance(50))
            c.setRoutingMode(pick(0, kRoutingModeCount - 1));
        else
            c.advanceRoute(n);
        return "levels and routes";
    case 14: {
        TSOS& band = chance(50) ? c.output(n).peqx[static_cast<size_t>(pick(0, 5))]
                                : c.inputs[static_cast<size_t>(pick(0, 2))].peq[static_cast<size_t>(pick(0, 5))];
        band.Tipo = static_cast<uint8_t>(pick(0, 11));
        band.Frec = eqFrequencyFromField(logUniform(10, 30000));
        band.Gain = eqGainFromField(std::uniform_real_distribution<double>(-20.0, 20.0)(rng));
        band.Q = eqQFromField(std::uniform_real_distribution<double>(0.0, 25.0)(rng));
        band.Design(c.constantQ);
        return "equaliser band";
    }
    default: {
        // Save and open: what the program holds afterwards is what it opened.
        auto loaded = decodeConfigurationFile(encodeConfigurationFile(c, kPath), kPath);
        if (loaded) c = loaded->config;
        return loaded ? "save and open" : "save and open failed: " + loaded.message();
    }
    }
}

} // namespace

TEST(ReloadRandom, OperationSequencesReloadExactly)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(seed);
        Configuration c;
        // Links before any value: a link checked afterwards ties values that differ, and opening
        // then applies it in the order Open fills the editors, as a person's change would.
        std::uniform_int_distribution<int> coin(0, 1);
        c.links.inputDelayAB = coin(rng) != 0;
        c.links.inputDelayAll = coin(rng) != 0;
        for (size_t k = 0; k < 3; ++k) {
            c.links.outputDelay[k] = coin(rng) != 0;
            openWithCrossoverLink(c, int(k), coin(rng) != 0);
        }
        std::string steps;
        for (int step = 1; step <= 50; ++step) {
            steps += std::to_string(step) + ": " + randomStep(c, rng) + "\n";
            const auto exact = reloadsExactly(c);
            if (!exact) {
                ADD_FAILURE() << exact.message() << "seed " << seed << ", steps:\n" << steps;
                break;
            }
        }
    }
}
