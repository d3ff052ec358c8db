#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/settingkeys.h"

using namespace kvr::core;

namespace {

using Assignments = std::vector<std::string>;

Configuration after(const Assignments& assignments)
{
    Configuration c;
    const SettingOutcome outcome = applySettings(c, assignments);
    EXPECT_TRUE(outcome.ok()) << (outcome.error ? outcome.error->message : "");
    return c;
}

std::string get(const Configuration& c, const std::string& key)
{
    Result<std::string> value = getSetting(c, key);
    EXPECT_TRUE(value.ok()) << key;
    return value ? value.value() : std::string("?");
}

// One rule per row: the values typed, in order, and what `get` then shows for a key. The
// expectations are worked out by hand from the editors' rules, noted beside each row.
struct Row {
    Assignments set;
    const char* key;
    const char* shows;
};

void expectRows(const std::vector<Row>& rows)
{
    for (const Row& r : rows) {
        std::string typed;
        for (const std::string& a : r.set)
            typed += a + " ";
        EXPECT_EQ(get(after(r.set), r.key), r.shows) << typed << "-> " << r.key;
    }
}

} // namespace

TEST(SettingKeys, LevelsTakeTheTrackSteps)
{
    expectRows({
        {{"output.3.gain_db=+12"}, "output.3.gain_db", "10.0"},   // held at the track's top
        {{"input.A.gain_db=-55"}, "input.A.gain_db", "-40.0"},    // and at its bottom
        {{"output.1.gain_db=-2.25"}, "output.1.gain_db", "-2.2"}, // halfway: the even position, -278
        {{"output.1.gain_db=-2.27"}, "output.1.gain_db", "-2.3"},
        {{"output.2.polarity=inverted"}, "output.2.gain_linear", "-1"},
        // 10^(-6/20) = 0.50118723362727...; the sign follows the polarity
        {{"output.2.polarity=inverted", "output.2.gain_db=-6"}, "output.2.gain_linear", "-0.501187233627272"},
        {{"output.2.polarity=inverted", "output.2.polarity=normal"}, "output.2.polarity", "normal"},
        {{"input.AB.mute=on"}, "input.AB.mute", "on"},
    });
}

TEST(SettingKeys, DelaysAreWholeSamples)
{
    expectRows({
        // 1.00 m at 346.29 m/s (25 degrees) is 138.6 samples
        {{"input.A.delay_m=1.00"}, "input.A.delay_samples", "139"},
        {{"input.A.delay_m=1.00"}, "input.A.delay_m", "1.00"},
        {{"input.B.delay_m=250"}, "input.B.delay_samples", "13861"}, // held at 100 m
        {{"temperature_c=0", "input.B.delay_m=100"}, "input.B.delay_samples", "14482"},
        {{"temperature_c=50", "input.B.delay_m=100"}, "input.B.delay_samples", "13314"},
        // the delay keeps its time (28.9 ms); the distance follows the speed of sound
        {{"input.A.delay_m=10", "temperature_c=30"}, "input.A.delay_m", "10.08"},
        {{"temperature_c=61"}, "temperature_c", "50"},
        {{"temperature_c=22.5"}, "temperature_c", "22"}, // halfway: the even degree
        {{"output.2.delay_ms=30"}, "output.2.delay_samples", "1440"},
        {{"output.2.delay_ms=45"}, "output.2.delay_ms", "30.00"},
        {{"output.2.delay_ms=0.02"}, "output.2.delay_samples", "1"}, // 0.96 samples
        {{"output.2.delay_ms=0.02"}, "output.2.delay_ms", "0.02"},   // 1 / 48 ms
        {{"output.2.delay_ms=2.9"}, "output.2.delay_ms", "2.90"},    // 139.2 -> 139 samples = 2.8958 ms
        // 7.33 ms is 351.84 samples: 352, which the track holds at 367 (7.34 ms; 7.32 ms would be 351)
        {{"output.2.delay_ms=7.33"}, "output.2.delay_samples", "352"},
        {{"output.2.delay_ms=7.33"}, "output.2.delay_ms", "7.33"},
        {{"output.delay_link_12=on", "output.delay_link_23=on", "output.1.delay_ms=5"},
         "output.3.delay_samples",
         "240"},
        {{"output.delay_link_12=on", "output.delay_link_23=on", "output.1.delay_ms=5"}, "output.4.delay_samples", "0"},
        {{"input.delay_link_all=on", "input.AB.delay_m=2"}, "input.B.delay_m", "2.00"},
        {{"input.delay_link_ab=on", "input.AB.delay_m=2"}, "input.A.delay_m", "0.00"}, // A to B only
    });
}

TEST(SettingKeys, RoutesAndNames)
{
    expectRows({
        {{"routing.mode=7"}, "output.3.route", "AB"},
        {{"routing.mode=7"}, "output.3.name", "Su M"},
        // a route outside Free Route: the question answered Yes
        {{"routing.mode=3", "output.2.route=AB"}, "routing.mode", "5"},
        {{"routing.mode=3", "output.2.route=AB"}, "output.2.route", "AB"},
        {{"routing.mode=3", "output.2.route=AB"}, "output.3.route", "B"},
        {{"routing.mode=3", "output.1.route=A"}, "routing.mode", "3"}, // already A: no click
        {{"output.4.route=B"}, "output.4.route", "B"},
        {{"system.name=ABCDEFGHIJKLMNOP"}, "system.name", "ABCDEFGHIJKL"},
        {{"output.1.name=Woofer"}, "output.1.name", "Woof"},
        {{"system.comment=" + std::string(50, 'x')}, "system.comment", std::string(40, 'x').c_str()},
        {{"system.project=Hall", "system.engineer=Ana"}, "system.project", "Hall"},
        {{"input.B.name=Right"}, "input.B.name", "Righ"},
    });
}

TEST(SettingKeys, EqualiserFieldsAndBandCounts)
{
    expectRows({
        {{"input.B.peq.band.5.freq=500"}, "input.B.peq.count", "5"}, // editing band 5 selects it
        {{"input.B.peq.band.5.freq=500"}, "input.B.peq.band.5.freq", "500"},
        {{"input.A.peq.count=4"}, "input.A.peq.count", "4"},
        {{"input.A.peq.count=9"}, "input.A.peq.count", "6"},
        {{"input.A.peq.band.1.freq=25000"}, "input.A.peq.band.1.freq", "20000"},
        {{"input.A.peq.band.1.freq=999.5"}, "input.A.peq.band.1.freq", "1000"}, // halfway: even
        {{"input.A.peq.band.1.type=1", "input.A.peq.band.1.gain=13"}, "input.A.peq.band.1.gain", "12.0"},
        {{"input.A.peq.band.1.type=1", "input.A.peq.band.1.q=0.75"}, "input.A.peq.band.1.q", "0.8"},
        {{"input.A.peq.band.1.type=1", "input.A.peq.band.1.q=0.25"}, "input.A.peq.band.1.q", "0.3"},
        // choosing "LowPass" in the input editor sets the gain to 0
        {{"input.A.peq.band.2.type=1", "input.A.peq.band.2.gain=6", "input.A.peq.band.2.type=6"},
         "input.A.peq.band.2.gain",
         "0.0"},
        {{"input.B.peq.source=PEQM"}, "input.B.peq.source", "PEQM"},
        {{"output.1.peqx.band.3.type=8", "output.1.peqx.band.3.gain=-16"}, "output.1.peqx.band.3.gain", "-15.0"},
        {{"output.1.peqx.band.3.type=1", "output.1.peqx.band.3.q=25"}, "output.1.peqx.band.3.q", "20.0"},
        {{"output.1.peqx.band.3.type=9", "output.1.peqx.band.3.freq=63.4"}, "output.1.peqx.band.3.freq", "63"},
        {{"output.4.peqx.band.2.type=11"}, "output.4.peqx.band.2.type", "11"},
    });
}

TEST(SettingKeys, CrossoverSidesNeverCross)
{
    expectRows({
        {{"output.1.xover.low.freq=6000"}, "output.1.xover.low.freq", "5000"}, // under the 5000 Hz high side
        {{"output.1.xover.low.freq=10"}, "output.1.xover.low.freq", "20"},
        {{"output.1.xover.high.freq=25000"}, "output.1.xover.high.freq", "20000"},
        {{"output.1.xover.low.freq=300", "output.1.xover.high.freq=200"}, "output.1.xover.high.freq", "300"},
        {{"xover.link_23=on", "output.3.xover.low.freq=800"}, "output.2.xover.high.freq", "800"},
        {{"output.2.xover.low.family=linkwitz-riley"}, "output.2.xover.low.family", "linkwitz-riley"},
        {{"output.2.xover.low.order=12"}, "output.2.xover.low.order", "8"},
        {{"output.2.xover.low.family=custom", "output.2.xover.low.section.2.freq=300.4"},
         "output.2.xover.low.section.2.freq",
         "300"},
        {{"output.2.xover.low.family=custom", "output.2.xover.low.section.1.q=0.70712"},
         "output.2.xover.low.section.1.q",
         "0.707"},
        {{"output.2.xover.high.family=custom", "output.2.xover.high.section.1.freq=23999"},
         "output.2.xover.high.section.1.freq",
         "23950"},
        // a Butterworth fourth order is two sections of Q 1/(2 cos 22.5) and 1/(2 cos 67.5)
        {{"output.2.xover.low.family=butterworth"}, "output.2.xover.low.section.1.q", "1.307"},
        {{"output.2.xover.low.family=butterworth"}, "output.2.xover.low.section.2.q", "0.541"},
    });
}

TEST(SettingKeys, DynamicsTakeTheSliderSteps)
{
    expectRows({
        {{"output.1.dynamics.threshold_dbu=8.3"}, "output.1.dynamics.threshold_dbu", "8.5"},  // 0.5 dB grid
        {{"output.1.dynamics.threshold_dbu=8.25"}, "output.1.dynamics.threshold_dbu", "8.0"}, // halfway: position -20
        {{"output.1.dynamics.threshold_dbu=30"}, "output.1.dynamics.threshold_dbu", "18.0"},
        {{"output.1.dynamics.threshold_dbu=-25"}, "output.1.dynamics.threshold_dbu", "-20.0"},
        {{"output.1.dynamics.kind=compressor", "output.1.dynamics.ratio=3.3"}, "output.1.dynamics.ratio", "3.5"},
        {{"output.1.dynamics.kind=compressor", "output.1.dynamics.ratio=11"}, "output.1.dynamics.ratio", "10.0"},
        {{"output.1.dynamics.gain_db=-12"}, "output.1.dynamics.gain_db", "-10.0"},
        {{"output.1.dynamics.knee_db=4.74"}, "output.1.dynamics.knee_db", "4.5"},
        {{"output.1.dynamics.attack_ms=11.5"}, "output.1.dynamics.attack_ms", "12"}, // between 10 and 12
        {{"output.1.dynamics.attack_ms=0"}, "output.1.dynamics.attack_ms", "0.1"},
        {{"output.1.dynamics.release_ms=110"}, "output.1.dynamics.release_ms", "100"}, // between 100 and 125
        {{"output.1.dynamics.gate.threshold_dbu=-40.4"}, "output.1.dynamics.gate.threshold_dbu", "-40"},
        {{"output.1.dynamics.gate.threshold_dbu=-10"}, "output.1.dynamics.gate.threshold_dbu", "-30"},
        {{"output.1.dynamics.gate.hold_ms=12"}, "output.1.dynamics.gate.hold_ms", "10"},
        {{"output.1.dynamics.gate.close_ms=9000"}, "output.1.dynamics.gate.close_ms", "10000"},
        // automatic times from the low side: a 100 Hz high-pass gives 12 / 150 ms, none 12 / 200 ms,
        // and a later move of the low side to 300 Hz carries them to 5 / 80 ms
        {{"output.2.xover.low.family=butterworth", "output.2.dynamics.auto_times=on"},
         "output.2.dynamics.release_ms",
         "150"},
        {{"output.2.dynamics.auto_times=on"}, "output.2.dynamics.release_ms", "200"},
        {{"output.2.dynamics.auto_times=on", "output.2.xover.low.family=butterworth", "output.2.xover.low.freq=300"},
         "output.2.dynamics.attack_ms",
         "5"},
    });
}

TEST(SettingKeys, SpeakerData)
{
    expectRows({
        {{"output.3.speaker.impedance=2.67"}, "output.3.speaker.impedance", "2.67"},
        {{"output.3.speaker.impedance=4.0"}, "output.3.speaker.impedance", "4"},
        {{"output.3.speaker.box_power_w=430.4"}, "output.3.speaker.box_power_w", "430"},
        {{"output.3.speaker.box_power_w=5000"}, "output.3.speaker.box_power_w", "3200"},
        {{"output.3.speaker.amp_gain=5"}, "output.3.speaker.amp_gain", "10"},
        {{"output.3.speaker.amp_power_w=99"}, "output.3.speaker.amp_power_w", "100"},
        {{"output.3.speaker.balanced=off"}, "output.3.speaker.balanced", "off"},
    });
}

TEST(SettingKeys, RefusesWhatTheEditorsDoNotAllow)
{
    struct Refused {
        Assignments before;
        const char* assignment;
        SettingRefusal refusal;
    };
    const Refused rows[] = {
        {{}, "output.1.dynamics.ratio=3", SettingRefusal::Disabled}, // a limiter
        {{"output.1.dynamics.auto_times=on"}, "output.1.dynamics.attack_ms=3", SettingRefusal::Disabled},
        {{"output.1.dynamics.auto_times=on"}, "output.1.dynamics.release_ms=30", SettingRefusal::Disabled},
        {{"output.1.dynamics.bypass=on"}, "output.1.dynamics.threshold_dbu=3", SettingRefusal::Disabled},
        {{"output.1.dynamics.bypass=on"}, "output.1.dynamics.kind=compressor", SettingRefusal::Disabled},
        {{"output.1.dynamics.bypass=on"}, "output.1.dynamics.auto_times=on", SettingRefusal::Disabled},
        {{"output.1.dynamics.gate.bypass=on"}, "output.1.dynamics.gate.hold_ms=50", SettingRefusal::Disabled},
        {{}, "input.A.peq.band.1.gain=3", SettingRefusal::Disabled},                         // Bypass
        {{"input.A.peq.band.1.type=2"}, "input.A.peq.band.1.q=2", SettingRefusal::Disabled}, // a shelf
        {{"output.2.peqx.band.1.type=7"}, "output.2.peqx.band.1.gain=2", SettingRefusal::Disabled},
        {{"output.2.peqx.band.1.type=4"}, "output.2.peqx.band.1.q=2", SettingRefusal::Disabled},
        {{"input.A.peq.count=5"}, "input.A.peq.count=3", SettingRefusal::LowerCount},
        {{}, "output.1.peqx.count=5", SettingRefusal::LowerCount}, // six from the start
        {{}, "output.1.delay_samples=3", SettingRefusal::ReadOnly},
        {{}, "input.AB.delay_samples=3", SettingRefusal::ReadOnly},
        {{}, "output.1.gain_linear=1", SettingRefusal::ReadOnly},
        {{"output.1.xover.low.family=bessel"}, "output.1.xover.low.section.1.freq=90", SettingRefusal::ReadOnly},
        {{}, "output.1.xover.high.section.1.q=1", SettingRefusal::ReadOnly}, // bypassed
        {{"output.1.xover.low.family=custom"}, "output.1.xover.low.section.3.freq=90", SettingRefusal::Disabled},
        {{"output.1.xover.low.family=custom", "output.1.xover.low.order=3"},
         "output.1.xover.low.section.1.q=1",
         SettingRefusal::Disabled},
        {{}, "output.5.gain_db=1", SettingRefusal::UnknownKey},
        {{}, "output.01.gain_db=1", SettingRefusal::UnknownKey},
        {{}, "input.C.mute=on", SettingRefusal::UnknownKey},
        {{}, "input.AB.name=Mix", SettingRefusal::UnknownKey},
        {{}, "output.1.peqx.band.7.freq=100", SettingRefusal::UnknownKey},
        {{}, "output.1.xover.low.section.5.freq=100", SettingRefusal::UnknownKey},
        {{}, "output.delay_link_13=on", SettingRefusal::UnknownKey},
        {{}, "output.1.gain_db.x=1", SettingRefusal::UnknownKey},
        {{}, "output.1.gain_db=abc", SettingRefusal::BadValue},
        {{}, "output.1.gain_db=", SettingRefusal::BadValue},
        {{}, "output.1.gain_db=nan", SettingRefusal::BadValue},
        {{}, "output.1.gain_db=inf", SettingRefusal::BadValue},
        {{}, "output.1.gain_db=1,5", SettingRefusal::BadValue},
        {{}, "output.1.mute=yes", SettingRefusal::BadValue},
        {{}, "output.1.route=C", SettingRefusal::BadValue},
        {{}, "routing.mode=8", SettingRefusal::BadValue},
        {{}, "routing.mode=2.5", SettingRefusal::BadValue},
        {{}, "input.A.peq.band.1.type=12", SettingRefusal::BadValue},
        {{}, "output.1.xover.low.family=linkwitz", SettingRefusal::BadValue},
        {{}, "output.1.speaker.impedance=3", SettingRefusal::BadValue},
        {{}, "output.1.gain_db", SettingRefusal::BadValue}, // no "="
    };
    for (const Refused& r : rows) {
        Configuration c = after(r.before);
        const Configuration before = c;
        const SettingOutcome outcome = applySettings(c, {r.assignment});
        ASSERT_FALSE(outcome.ok()) << r.assignment;
        EXPECT_EQ(outcome.error->refusal, r.refusal) << r.assignment << ": " << outcome.error->message;
        // The message names the assignment.
        EXPECT_EQ(outcome.error->message.rfind(std::string(r.assignment) + ": ", 0), 0u) << outcome.error->message;
        EXPECT_EQ(c, before) << r.assignment;
    }
}

TEST(SettingKeys, AllOrNothing)
{
    Configuration c;
    const Configuration before = c;
    const SettingOutcome outcome =
        applySettings(c, {"output.3.gain_db=-2", "output.1.xover.low.freq=90", "output.1.dynamics.ratio=4"});
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error->message, "output.1.dynamics.ratio=4: disabled: a limiter has no ratio");
    EXPECT_EQ(c, before);

    // Applied in order: the ratio is enabled once the kind has changed.
    ASSERT_TRUE(applySettings(c, {"output.1.dynamics.kind=compressor", "output.1.dynamics.ratio=4"}).ok());
    EXPECT_EQ(get(c, "output.1.dynamics.ratio"), "4.0");
}

TEST(SettingKeys, BesselLimitIsAMessage)
{
    Configuration c;
    const SettingOutcome outcome = applySettings(
        c, {"output.4.xover.high.family=bessel", "output.4.xover.high.order=8", "output.4.xover.high.freq=20000"});
    ASSERT_TRUE(outcome.ok());
    ASSERT_FALSE(outcome.notices.empty());
    EXPECT_EQ(outcome.notices.back().rfind("Cutoff Frequency of Bessel LowPass filter of order 8 is limited to ", 0),
              0u)
        << outcome.notices.back();
    // The side holds the limit it names.
    const std::string limit = outcome.notices.back().substr(outcome.notices.back().rfind(' ') + 1);
    EXPECT_EQ(get(c, "output.4.xover.high.freq"), limit);
}

TEST(SettingKeys, EveryKeyReadsBackWhatItShows)
{
    // A configuration away from the defaults: set(key, get(key)) keeps what get shows, or is refused
    // as disabled or read-only. Whatever a key prints is a value it takes.
    Configuration c =
        after({"output.1.xover.low.family=custom", "output.1.xover.low.order=3", "output.2.xover.high.family=bessel",
               "output.2.dynamics.kind=compressor", "output.3.dynamics.auto_times=on", "output.4.dynamics.bypass=on",
               "input.B.peq.band.3.type=1", "output.2.peqx.band.1.type=3", "routing.mode=6", "output.2.delay_ms=7.34",
               "input.AB.delay_m=3.33", "output.3.polarity=inverted"});
    const std::vector<std::string> keys = allSettingKeys();
    const std::set<std::string> distinct(keys.begin(), keys.end());
    EXPECT_EQ(distinct.size(), keys.size());
    int settable = 0;
    for (const std::string& key : keys) {
        const std::string shown = get(c, key);
        const SettingOutcome outcome = setSetting(c, key, shown);
        if (!outcome.ok()) {
            EXPECT_TRUE(outcome.error->refusal == SettingRefusal::ReadOnly ||
                        outcome.error->refusal == SettingRefusal::Disabled)
                << key << "=" << shown << ": " << outcome.error->message;
            continue;
        }
        ++settable;
        EXPECT_EQ(get(c, key), shown) << key;
    }
    EXPECT_GT(settable, 200); // most keys: the disabled band fields and designed sections aside
}

TEST(SettingKeys, TableNamesEveryPattern)
{
    // The help text's table: patterns resolve, read-only rows say so.
    const Configuration c;
    int readOnly = 0;
    for (const SettingKeyInfo& row : settingKeyTable()) {
        EXPECT_FALSE(row.values.empty()) << row.pattern;
        readOnly += row.readOnly ? 1 : 0;
    }
    EXPECT_EQ(readOnly, 3); // samples of inputs and outputs, linear gain
    for (const char* key : {"input.AB.peq.band.6.q", "output.delay_link_34", "xover.link_12", "temperature_c",
                            "output.4.xover.high.section.4.q", "output.4.dynamics.gate.close_ms"})
        EXPECT_TRUE(getSetting(c, key).ok()) << key;
    EXPECT_EQ(getSetting(c, "output.0.gain_db").message(), "output.0.gain_db: unknown key");
}

TEST(SettingKeys, AnalogBandsTakeTheirLHAndBFields)
{
    // Types 19 and 20 (only a file brings them) show L = f / 100 (0.01..20), H = Q / 100
    // (0.0001..1) and B = gain (0..3) in place of the frequency, Q and gain fields.
    Configuration c;
    for (TSOS* s : {&c.input(InputId::A).peq[0], &c.output(2).peqx[0]}) {
        s->Tipo = 19;
        s->Frec = 1234.0;
        s->Q = 0.5;
        s->Gain = 1.2;
    }
    struct Case {
        const char* key;
        const char* value; // nullptr: only read
        const char* shows;
    };
    const Case cases[] = {
        {"input.A.peq.band.1.freq", nullptr, "1234"},   {"input.A.peq.band.1.q", nullptr, "0.50"},
        {"input.A.peq.band.1.gain", nullptr, "1.2"},    {"input.A.peq.band.1.freq", "2345.6", "2000"},
        {"input.A.peq.band.1.q", "150", "100.00"},      {"input.A.peq.band.1.gain", "4", "3.0"},
        {"output.2.peqx.band.1.freq", nullptr, "1234"}, {"output.2.peqx.band.1.freq", "2345.6", "2000"},
        {"output.2.peqx.band.1.q", "0.004", "0.01"},    {"output.2.peqx.band.1.gain", "-1", "0.0"},
    };
    for (const Case& k : cases) {
        if (k.value) {
            const SettingOutcome outcome = setSetting(c, k.key, k.value);
            EXPECT_TRUE(outcome.ok()) << k.key << (outcome.error ? ": " + outcome.error->message : "");
        }
        EXPECT_EQ(get(c, k.key), k.shows) << k.key << "=" << (k.value ? k.value : "");
    }
    EXPECT_EQ(c.input(InputId::A).peq[0].Tipo, 19); // the fields keep the type
}
