#include <gtest/gtest.h>

#include <cmath>

#include "config/configuration.h"
#include "config/editing.h"
#include "config/labels.h"
#include "config/readouts.h"

// Expected readouts, samples and positions come from leveldelay_reference.py beside this file.

using namespace kvr::core;

namespace {

std::array<int, 3> tracks(Configuration& c)
{
    InputDelayTracks t(c);
    return {t.position(InputId::A), t.position(InputId::B), t.position(InputId::M)};
}

} // namespace

TEST(LevelTracks, TextAndGainOfAPosition)
{
    struct Row {
        int position;
        const char* text;
        double linear; // 10^(dB/20)
    };
    const Row rows[] = {
        {-400, "10.0", 3.16227766}, {-300, "0.0", 1.0}, {-240, "-6.0", 0.50118723}, {100, "-40.0", 0.01}};
    for (const Row& r : rows) {
        Configuration c;
        c.setInputLevelPosition(InputId::A, r.position);
        c.setOutputLevelPosition(2, r.position);
        c.setPolarity(2, true);
        EXPECT_EQ(levelText(r.position), r.text);
        // Inputs keep single precision: within one part in 10^7.
        EXPECT_NEAR(c.input(InputId::A).linearGain(), r.linear, r.linear * 1e-7) << r.position;
        // The sign of an inverted output is there at once, and the level label ignores it. The
        // reference has eight decimals.
        EXPECT_NEAR(c.output(2).linearGain(), -r.linear, 5e-9) << r.position;
        EXPECT_EQ(gainLabel(c.output(2).levelDb()), std::string(r.text) + " dB");
    }
}

TEST(LevelTracks, FadersAreBoundToTheTracks)
{
    const std::pair<int, int> faderToPosition[] = {{0, -400},   {5, -400},  {105, -300},
                                                   {165, -240}, {505, 100}, {506, 100}};
    for (auto [fader, position] : faderToPosition)
        EXPECT_EQ(levelPositionFromFader(fader), position) << fader;
    const std::pair<int, int> positionToFader[] = {{-400, 5}, {-300, 105}, {-240, 165}, {100, 505}};
    for (auto [position, fader] : positionToFader)
        EXPECT_EQ(levelFaderFromPosition(position), fader) << position;
}

TEST(LevelTracks, MuteOutsKeepsTheSignedGains)
{
    Configuration c;
    c.setOutputLevelPosition(2, -270);
    c.setPolarity(2, true);
    const Configuration before = c;
    c.setOutputMutes(true);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_TRUE(c.output(n).mute) << n;
        EXPECT_EQ(c.output(n).linearGain(), before.output(n).linearGain()) << n;
    }
    c.setOutputMutes(false);
    EXPECT_EQ(c, before);
}

TEST(InputDelayTracks, ReadoutsAndSamplesOfADistance)
{
    struct Row {
        int cm, celsius;
        const char *metres, *feet, *ms;
        int samples;
        const char* mainLabel;
    };
    const Row rows[] = {
        {100, 25, "1.00", "3.28", "2.89", 139, "2.90 ms"},
        {10000, 0, "100.00", "328.08", "301.71", 14482, "301.71 ms"},
        {10000, 25, "100.00", "328.08", "288.78", 13861, "288.77 ms"},
        {10000, 50, "100.00", "328.08", "277.38", 13314, "277.38 ms"},
    };
    for (const Row& r : rows) {
        const InputDelayReadout out = inputDelayReadout(r.cm, r.celsius);
        EXPECT_EQ(out.metres, r.metres);
        EXPECT_EQ(out.feet, r.feet);
        EXPECT_EQ(out.ms, r.ms) << r.cm << " cm at " << r.celsius;
        Configuration c;
        c.temperatureC = r.celsius;
        InputDelayTracks(c).setPosition(InputId::A, r.cm);
        EXPECT_EQ(c.input(InputId::A).delaySamples, r.samples);
        EXPECT_EQ(delayLabel(c.input(InputId::A).delayMs()), r.mainLabel);
    }
}

TEST(InputDelayTracks, FadersAreBoundToTheTracks)
{
    const std::pair<int, int> faderToPosition[] = {{10101, 0}, {10100, 0}, {10000, 100}, {100, 10000}, {0, 10000}};
    for (auto [fader, position] : faderToPosition)
        EXPECT_EQ(inputDelayPositionFromFader(fader), position) << fader;
    EXPECT_EQ(inputDelayFaderFromPosition(0), 10100);
    EXPECT_EQ(inputDelayFaderFromPosition(10000), 100);
}

TEST(InputDelayTracks, WhatAMoveCarriesAlong)
{
    struct Row {
        bool aToB, all;
        InputId moved;
        std::array<int, 3> expected; // A, B, A+B
    };
    const Row rows[] = {
        {false, false, InputId::A, {500, 0, 0}},    {true, false, InputId::A, {500, 500, 0}},
        {true, false, InputId::B, {500, 500, 0}},   {true, false, InputId::M, {0, 0, 500}},
        {false, true, InputId::M, {500, 500, 500}}, {false, true, InputId::A, {500, 500, 500}},
    };
    for (const Row& r : rows) {
        Configuration c;
        c.links.inputDelayAB = r.aToB;
        c.links.inputDelayAll = r.all;
        InputDelayTracks(c).setPosition(r.moved, 500);
        EXPECT_EQ(tracks(c), r.expected) << r.aToB << r.all << static_cast<int>(r.moved);
    }
}

TEST(InputDelayTracks, TemperatureKeepsEveryChannelsOwnDelay)
{
    // A at 10.00 m and B at 5.00 m, linked afterwards: a warmer room moves each to its own new
    // distance; no link hands A's distance to B.
    struct Row {
        bool aToB, all;
    };
    for (const Row& r : {Row{false, false}, Row{true, false}, Row{false, true}, Row{true, true}}) {
        Configuration c;
        InputDelayTracks(c).setPosition(InputId::A, 1000);
        InputDelayTracks(c).setPosition(InputId::B, 500);
        c.links.inputDelayAB = r.aToB;
        c.links.inputDelayAll = r.all;
        InputDelayTracks(c).setTemperature(30);
        EXPECT_EQ(tracks(c), (std::array<int, 3>{1008, 504, 0})) << r.aToB << r.all;
        EXPECT_EQ(c.input(InputId::A).delaySamples, 1386);
        EXPECT_EQ(c.input(InputId::B).delaySamples, 693);
        EXPECT_NEAR(c.input(InputId::A).delayMs(), 28.875, 1e-9);
    }
}

TEST(OutputDelayTracks, ReadoutsAndSamplesOfAPosition)
{
    struct Row {
        int position, celsius;
        const char *ms, *cm, *feet;
        int samples;
        const char* mainLabel;
    };
    const Row rows[] = {
        {1, 25, "0.02", "0.7", "0.0", 1, "0.02 ms"},
        {250, 25, "5.00", "173.1", "5.7", 240, "5.00 ms"},
        {1500, 25, "30.00", "1038.9", "34.1", 1440, "30.00 ms"},
        {250, 0, "5.00", "165.7", "5.4", 240, "5.00 ms"},
    };
    for (const Row& r : rows) {
        const OutputDelayReadout out = outputDelayReadout(r.position, r.celsius);
        EXPECT_EQ(out.ms, r.ms);
        EXPECT_EQ(out.cm, r.cm) << r.position << " at " << r.celsius;
        EXPECT_EQ(out.feet, r.feet);
        Configuration c;
        setOutputDelayPosition(c, 1, r.position);
        EXPECT_EQ(c.output(1).delaySamples(), r.samples);
        EXPECT_EQ(delayLabel(c.output(1).delayMs()), r.mainLabel);
    }
}

TEST(OutputDelayTracks, FadersAreBoundToTheTracks)
{
    const std::pair<int, int> faderToPosition[] = {{1512, 0}, {1511, 0}, {1261, 250}, {11, 1500}, {0, 1500}};
    for (auto [fader, position] : faderToPosition)
        EXPECT_EQ(outputDelayPositionFromFader(fader), position) << fader;
    EXPECT_EQ(outputDelayFaderFromPosition(0), 1511);
    EXPECT_EQ(outputDelayFaderFromPosition(1500), 11);
}

TEST(OutputDelayTracks, LinkChainsCarryThePosition)
{
    struct Row {
        std::array<bool, 3> links; // 1-2, 2-3, 3-4
        int moved;
        std::array<int, 4> expected;
    };
    const Row rows[] = {
        {{false, false, false}, 2, {0, 250, 0, 0}},    {{true, false, false}, 2, {250, 250, 0, 0}},
        {{true, true, false}, 1, {250, 250, 250, 0}},  {{false, false, true}, 4, {0, 0, 250, 250}},
        {{true, true, true}, 3, {250, 250, 250, 250}},
    };
    for (const Row& r : rows) {
        Configuration c;
        c.links.outputDelay = r.links;
        setOutputDelayPosition(c, r.moved, 250);
        std::array<int, 4> got{};
        for (int n = 1; n <= 4; ++n)
            got[static_cast<size_t>(n - 1)] = c.output(n).delayPosition;
        EXPECT_EQ(got, r.expected) << "moved " << r.moved;
    }
}

TEST(NamesAndCopies, TextsAndTheCopyQuestion)
{
    Configuration c;
    SystemInfo info{"A system name too long", std::string(50, 'p'), std::string(41, 'i'), "Ann", std::string(120, 'c')};
    c.setSystemInfo(info);
    EXPECT_EQ(c.system.name, "A system nam");
    EXPECT_EQ(c.system.project.size(), 40u);
    EXPECT_EQ(c.system.installation.size(), 40u);
    EXPECT_EQ(c.system.engineer, "Ann");
    EXPECT_EQ(c.system.comment.size(), 100u); // what the file keeps
    EXPECT_EQ(copyOutputQuestion(1, 3), "Do you want to copy data from Output 1 to Output 3 ?");
}

TEST(NamesAndCopies, CopiedGainCarriesItsSign)
{
    Configuration c;
    c.setOutputLevelPosition(1, -270);
    c.setPolarity(1, true);
    CopyOptions gain;
    gain.outputGain = true;
    copyOutput(c, 1, 3, gain);
    EXPECT_NEAR(c.output(3).linearGain(), -0.70794578, 1e-8); // -10^(-3/20)
}

TEST(NamesAndCopies, CopiedEqualiserTakesItsMeasurementAlong)
{
    Configuration c;
    c.measurement.fileNames[1] = "woofer.frd";
    c.measurement.responses[1].present = true;
    c.measurement.responses[1].level[200] = -3.5f;
    CopyOptions peqx;
    peqx.peqx = true;
    copyOutput(c, 2, 4, peqx);
    EXPECT_EQ(c.measurement.fileNames[3], "woofer.frd");
    EXPECT_EQ(c.measurement.responses[3], c.measurement.responses[1]);
}
