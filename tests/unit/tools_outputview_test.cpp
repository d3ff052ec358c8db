#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "config/editing.h"
#include "config/outputeqediting.h"
#include "dsp_reference.h"
#include "tools/outputview.h"

using namespace kvr::core;

namespace {

constexpr double kPi = std::numbers::pi;
const ViewFlags kNone{false, false, false, false, false, false};

ViewFlags only(ViewInfluence which)
{
    ViewFlags f = kNone;
    setViewInfluence(f, which, true);
    return f;
}

// Angle difference folded into (-pi, pi].
double angleBetween(double a, double b)
{
    return std::remainder(a - b, 2.0 * kPi);
}

// Output 2 with something in every block: two PEQX bands, a route through A+B whose bank has a
// band, a crossover, a delay and a level.
Configuration busySetup()
{
    Configuration c;
    selectOutputBand(c, 2, 2);
    setOutputBandType(c, 2, 1, 1);
    setOutputBandGain(c, 2, 1, 6.0);
    setOutputBandFrequency(c, 2, 1, 300);
    setOutputBandType(c, 2, 2, 4);
    setOutputBandGain(c, 2, 2, -4.5);
    setOutputBandFrequency(c, 2, 2, 4000);
    c.output(2).route = RouteSource::AB;
    TSOS& m = c.input(InputId::M).peq[0];
    m.Tipo = 1;
    m.Gain = -8.0;
    m.Frec = 120.0;
    m.Design();
    setCrossoverFamily(c, 2, CrossoverSide::Low, 2);
    setCrossoverFrequency(c, 2, CrossoverSide::Low, 200);
    setOutputDelayPosition(c, 2, 100);
    c.setOutputLevelPosition(2, -250);
    return c;
}

} // namespace

TEST(OutputView, OnlyPeqxIsTheOutputEqualiserAlone)
{
    const Configuration c = busySetup();
    const ViewCurve v = outputView(c, 2, only(ViewInfluence::Peqx));
    const FrequencyGrid& grid = frequencyGrid();
    for (size_t i = 0; i < kGridPoints; i += 7) {
        double db = 0.0;
        double arg = 0.0;
        for (int k = 0; k < 2; ++k) {
            const auto h = dspref::sectionAtHz(c.output(2).peqx[static_cast<size_t>(k)], grid.frequencyHz[i]);
            db += dspref::db(h);
            arg += std::arg(h);
        }
        EXPECT_NEAR(v.levelDb[i], db, 1e-4) << grid.frequencyHz[i]; // single-precision chain sums
        EXPECT_NEAR(angleBetween(v.phaseRad[i], arg), 0.0, 1e-5) << grid.frequencyHz[i];
    }
    EXPECT_NEAR(v.levelDb[0], 0.0, 0.2); // the bands leave 20 Hz alone: not an empty curve by chance
    EXPECT_GT(*std::max_element(v.levelDb.begin(), v.levelDb.end()), 5.0);
}

TEST(OutputView, GainTermFollowsTheRoute)
{
    struct Row {
        const char* what;
        RouteSource route;
        int selectorOfRoute; // the bank the route's equaliser selector names
        double aDb, bDb, mDb, outDb;
        double expectedDb; // hand-worked: 20 log10 |a o|
    };
    const double twice = 20.0 * std::log10(2.0);
    const Row rows[] = {
        {"A, its default bank, all 0 dB", RouteSource::A, 0, 0, 0, 0, 0, 0.0},
        {"A+B at 0 dB, its default bank", RouteSource::AB, 1, 0, 0, 0, 0, twice},
        {"A+B at its start level -6 dB", RouteSource::AB, 1, 0, 0, -6, 0, twice - 6.0},
        {"A whose selector names PEQB: still input A", RouteSource::A, 2, -3, -12, 0, 0, -3.0},
        {"A+B whose selector names PEQA: still twice A+B", RouteSource::AB, 0, -20, 0, -2, 1, twice - 1.0},
        {"B at +4 dB whose selector names PEQM, output -40 dB", RouteSource::B, 1, 0, 4, -10, -40, -36.0},
    };
    for (const Row& r : rows) {
        Configuration c;
        c.output(3).route = r.route;
        c.input(inputForRoute(r.route)).peqSource = r.selectorOfRoute;
        c.setInputLevelDb(InputId::A, r.aDb);
        c.setInputLevelDb(InputId::B, r.bDb);
        c.setInputLevelDb(InputId::M, r.mDb);
        c.setOutputLevelDb(3, r.outDb);
        c.setPolarity(3, true);                                            // the sign never reaches the level
        EXPECT_NEAR(outputGainTermDb(c, 3), r.expectedDb, 1e-6) << r.what; // inputs are single precision
        const ViewCurve v = outputView(c, 3, only(ViewInfluence::Gain));
        EXPECT_NEAR(v.levelDb[0], r.expectedDb, 1e-6) << r.what;
        EXPECT_NEAR(v.levelDb[400], r.expectedDb, 1e-6) << r.what;
    }
}

TEST(OutputView, InfluencesAddTheirTermsAndAnImpedanceIsNoLevel)
{
    Configuration c = busySetup();
    MeasuredResponse& measured = c.measurement.responses[1];
    measured.present = true;
    measured.level.fill(2.5f);
    measured.phaseRad.fill(-0.25f);
    const ViewCurve whole = outputView(c, 2, ViewFlags{true, true, true, true, true, true});
    std::array<ViewCurve, kViewInfluenceCount> one;
    for (int k = 0; k < kViewInfluenceCount; ++k)
        one[static_cast<size_t>(k)] = outputView(c, 2, only(ViewInfluence(k)));
    for (size_t i = 0; i < kGridPoints; i += 10) {
        double level = 0.0, phase = 0.0;
        for (const ViewCurve& v : one)
            level += v.levelDb[i], phase += v.phaseRad[i];
        EXPECT_NEAR(whole.levelDb[i], level, 1e-9);
        EXPECT_NEAR(whole.phaseRad[i], phase, 1e-9);
    }
    EXPECT_EQ(one[static_cast<size_t>(ViewInfluence::Speaker)].levelDb[7], 2.5);
    measured.impedance = true; // ohms, not dB: adds nothing, as a response never imported
    EXPECT_EQ(outputView(c, 2, only(ViewInfluence::Speaker)).levelDb, outputView(c, 2, kNone).levelDb);
}

TEST(OutputView, PolarityTurnsOnlyThePhaseByHalfATurn)
{
    Configuration c = busySetup();
    const ViewFlags all{true, true, true, true, true, false};
    for (const ViewFlags& flags : {all, kNone}) {
        const ViewCurve normal = outputView(c, 2, flags);
        c.setPolarity(2, true);
        const ViewCurve inverted = outputView(c, 2, flags);
        c.setPolarity(2, false);
        for (size_t i = 0; i < kGridPoints; ++i) {
            EXPECT_EQ(inverted.levelDb[i], normal.levelDb[i]);
            EXPECT_NEAR(inverted.phaseRad[i], normal.phaseRad[i] - kPi, 1e-12);
        }
    }
}

TEST(OutputView, FortyEightSamplesTurnOneKilohertzByAWholeTurn)
{
    Configuration c;
    setOutputDelayPosition(c, 1, 50); // 1 ms
    ASSERT_EQ(c.output(1).delaySamples(), 48);
    const ViewCurve v = outputView(c, 1, only(ViewInfluence::OutDelays));
    const FrequencyGrid& grid = frequencyGrid();
    // The grid has no 1000 Hz point: its neighbours lie on the line -2 pi f / 1000.
    for (size_t i = 0; i < kGridPoints; ++i)
        EXPECT_NEAR(v.phaseRad[i], -2.0 * kPi * grid.frequencyHz[i] / 1000.0, 1e-9);
    EXPECT_NEAR(wrapPhaseDegrees(-2.0 * kPi * 1000.0 / 1000.0), 0.0, 1e-9); // -360 degrees shows as 0
    EXPECT_NEAR(v.includedDelayMs, 1.0, 1e-12);
}

TEST(OutputView, AddSumsTheShownOutputsAsComplexValues)
{
    Configuration c = busySetup();
    c.output(1) = c.output(2);
    const ViewFlags flags{true, true, true, true, true, false};
    ViewCurve one = outputView(c, 1, flags);
    ViewCurve two = outputView(c, 2, flags);
    ViewCurve sum;
    const ViewCurve* pair[] = {&one, &two};
    ASSERT_TRUE(computeAddView(pair, sum));
    for (size_t i = 0; i < kGridPoints; ++i) {
        EXPECT_NEAR(sum.levelDb[i], one.levelDb[i] + 20.0 * std::log10(2.0), 1e-9);
        EXPECT_NEAR(angleBetween(sum.phaseRad[i], one.phaseRad[i]), 0.0, 1e-9);
    }
    // Opposite ways cancel; no output at all draws nothing.
    one.levelDb.fill(0.0);
    one.phaseRad.fill(0.0);
    two.levelDb.fill(0.0);
    two.phaseRad.fill(kPi);
    ASSERT_TRUE(computeAddView(pair, sum));
    EXPECT_LE(sum.levelDb[0], -250.0);
    EXPECT_TRUE(std::isfinite(sum.levelDb[0]));
    ViewCurve untouched;
    untouched.levelDb.fill(7.0);
    EXPECT_FALSE(computeAddView({}, untouched));
    EXPECT_EQ(untouched.levelDb[0], 7.0);
}

TEST(OutputView, StateKeepsShownOutputsAndTheirSum)
{
    Configuration c = busySetup();
    c.output(1) = c.output(2);
    c.output(3).peqxView = false;
    c.output(4).peqxView = false;
    OutputViewState state;
    state.refresh(c, 3); // output 3 is current though hidden: computed, not summed
    ASSERT_TRUE(state.hasAdd());
    EXPECT_EQ(state.total(3).levelDb, outputView(c, 3, c.view).levelDb);
    EXPECT_EQ(state.total(4).levelDb, ViewCurve{}.levelDb); // hidden, never computed
    for (size_t i = 0; i < kGridPoints; i += 50)
        EXPECT_NEAR(state.addSum().levelDb[i], state.total(2).levelDb[i] + 20.0 * std::log10(2.0), 1e-9);
    for (int n = 1; n <= 4; ++n)
        c.output(n).peqxView = false;
    EXPECT_FALSE(state.computeAdd(c));
    EXPECT_FALSE(state.hasAdd());
}

TEST(GroupDelay, PureDelaysAndAFirstOrderAllPass)
{
    // Pure delays, up to the longest the output allows, read back at every point: the phase is
    // unwrapped around the delay it holds, so 30 ms does not alias between grid points.
    for (int position : {0, 1, 50, 777, 1500}) {
        Configuration c;
        setOutputDelayPosition(c, 1, position);
        const double ms = c.output(1).delaySamples() / 48.0;
        std::array<double, kGridPoints> delay{};
        groupDelayMs(outputView(c, 1, only(ViewInfluence::OutDelays)), delay);
        for (double d : delay)
            ASSERT_NEAR(d, ms, 1e-9) << position;
        // The Add sum of the same delay twice.
        const ViewCurve a = outputView(c, 1, only(ViewInfluence::OutDelays));
        const ViewCurve* twice[] = {&a, &a};
        ViewCurve sum;
        ASSERT_TRUE(computeAddView(twice, sum));
        groupDelayMs(sum, delay);
        for (size_t i = 0; i < kGridPoints; ++i)
            ASSERT_NEAR(delay[i], ms, 1e-6) << position << " " << i;
    }

    // H = (c + z^-1) / (1 + c z^-1) delays by (1 - c^2) / (1 + 2c cos w + c^2) samples.
    Configuration c;
    setOutputBandType(c, 1, 1, 10);
    setOutputBandFrequency(c, 1, 1, 2000);
    const double coef = c.output(1).peqx[0].B0;
    std::array<double, kGridPoints> delay{};
    groupDelayMs(outputView(c, 1, only(ViewInfluence::Peqx)), delay);
    const FrequencyGrid& grid = frequencyGrid();
    for (size_t i = 0; i < kGridPoints; ++i) {
        const double w = 2.0 * kPi * grid.frequencyHz[i] / 48000.0;
        const double samples = (1 - coef * coef) / (1 + 2 * coef * std::cos(w) + coef * coef);
        // The slope is a secant over neighbouring points 1.8 % apart in frequency.
        ASSERT_NEAR(delay[i], samples / 48.0, 0.01 * samples / 48.0 + 1e-6) << grid.frequencyHz[i];
        ASSERT_TRUE(std::isfinite(delay[i]));
        if (i > 0 && grid.frequencyHz[i] == grid.frequencyHz[i - 1]) {
            ASSERT_EQ(delay[i], delay[i - 1]);
        }
    }
}

TEST(OutputView, InfluenceListsAndStatusTexts)
{
    struct Row {
        const char* list;
        std::optional<ViewFlags> expected;
    };
    const Row rows[] = {
        {"none", kNone},
        {"peqx,gain", ViewFlags{}},
        {"speaker,delay,xover,peq,gain,peqx", ViewFlags{true, true, true, true, true, true}},
        {"", std::nullopt},
        {"peq,,gain", std::nullopt},
        {"peq,none", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(parseViewInfluences(r.list), r.expected) << r.list;
    EXPECT_EQ(outputViewStatusText(false, 1005, -3.456, " dBs"), "1005 Hz , -3.46 dBs ");
    EXPECT_EQ(outputViewStatusText(true, 20, 120.0, " degrees"), " Add Response : 20 Hz , 120.00 degrees ");
}
