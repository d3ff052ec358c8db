#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "config/dynamicsediting.h"
#include "config/editing.h"
#include "config/speakerediting.h"
#include "tools/powercheck.h"

using namespace kvr::core;

TEST(DynamicsEditorRules, DefaultThresholdShowsEightDbu)
{
    TDYNAMIC d;
    d.Umbral = -6.0f; // the editor's default before the output is selected
    EXPECT_EQ(dynamicsPositions(d).threshold, -20);
    EXPECT_EQ(thresholdText(dynamicsPositions(d).threshold), "8.0");
    const Configuration c; // every output selected once at start
    EXPECT_EQ(c.output(1).dynamics.Umbral, -5.85f);
    EXPECT_EQ(thresholdText(dynamicsPositions(c.output(1).dynamics).threshold), "8.0");
}

TEST(DynamicsEditorRules, Labels)
{
    struct Row {
        std::string (*text)(int);
        int position;
        const char* expected;
    };
    const Row rows[] = {
        {ratioText, 2, "10.0"},       {ratioText, 20, "1.0"},        {thresholdText, -40, "18.0"},
        {thresholdText, 36, "-20.0"}, {makeupGainText, -20, "10.0"}, {kneeText, 0, "10.0"},
        {attackText, 0, "0.1 ms"},    {releaseText, 38, "10000 ms"}, {gateThresholdText, 83, "- 83 dBu"},
        {gateTimeText, 0, "10ms"},    {gateTimeText, 33, "10000ms"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.text(r.position), r.expected) << r.expected;
    TDYNAMIC d;
    d.CriKnee = 0;
    EXPECT_STREQ(thresholdCaption(d), "     Limit");
    d.CriKnee = 1;
    EXPECT_STREQ(thresholdCaption(d), "Threshold");
    EXPECT_EQ(dynamicsPanelTitle(3), "Dynamic Ouput 3");
    EXPECT_TRUE(dynamicsPowerText(d, false).empty());
}

TEST(DynamicsEditorRules, EnabledControls)
{
    Configuration c;
    const auto states = [&c] { return dynamicsControlStates(c.output(2).dynamics); };
    EXPECT_FALSE(states().ratio); // limiter
    setDynamicsRatioPosition(c, 2, 4);
    EXPECT_EQ(c.output(2).dynamics.Ratio, 2.0f); // a disabled control changes nothing
    setDynamicsCompressor(c, 2, true);
    EXPECT_TRUE(states().ratio);
    setDynamicsRatioPosition(c, 2, 4);
    EXPECT_EQ(c.output(2).dynamics.Ratio, 9.0f);

    setGateBypass(c, 2, true);
    setDynamicsBypass(c, 2, true);
    DynamicsControlStates s = states();
    EXPECT_FALSE(s.threshold || s.ratio || s.gain || s.knee || s.attack || s.release || s.kind || s.autoTime);
    EXPECT_FALSE(s.gateThreshold || s.hold || s.close);
    setGateBypass(c, 2, false); // the gate alone
    s = states();
    EXPECT_TRUE(s.gateThreshold && s.hold && s.close);
    EXPECT_FALSE(s.threshold);
    setDynamicsBypass(c, 2, false);
    s = states();
    EXPECT_TRUE(s.threshold && s.ratio && s.attack && s.release && s.kind && s.autoTime);
    setAutomaticTimes(c, 2, true);
    s = states();
    EXPECT_FALSE(s.attack || s.release);
    setDynamicsBypass(c, 2, true);
    setDynamicsBypass(c, 2, false); // un-bypassing leaves automatic times in charge
    EXPECT_FALSE(states().attack);
}

TEST(DynamicsEditorRules, AutomaticTimesFromTheLowSide)
{
    Configuration c;
    setAutomaticTimes(c, 1, true); // bypassed low side
    EXPECT_EQ(c.output(1).dynamics.TAttack + c.output(1).dynamics.TRelease, 12.0f + 200.0f);
    setCrossoverFamily(c, 1, CrossoverSide::Low, 1); // Butterworth high-pass at its 100 Hz
    setDynamicsAttackPosition(c, 1, 0);              // held by the automatic times
    EXPECT_EQ(c.output(1).dynamics.TAttack + c.output(1).dynamics.TRelease, 12.0f + 150.0f);
}

TEST(DynamicsEditorRules, BypassKeepsTheGateAndTransparentKnees)
{
    Configuration c;
    setGateThresholdPosition(c, 3, 60);
    setGateHoldPosition(c, 3, 2);
    const TDYNAMIC before = c.output(3).dynamics;
    setDynamicsBypass(c, 3, true);
    const TDYNAMIC& d = c.output(3).dynamics;
    EXPECT_EQ(d.KneeTop, 0.99f);
    EXPECT_EQ(d.KneeBottom, 0.707f);
    EXPECT_EQ(d.GateLevel, before.GateLevel);
    EXPECT_EQ(d.TAttackGate, 20.0f);
    EXPECT_EQ(d.GateBypassF, 0);
    setDynamicsBypass(c, 3, false);
    EXPECT_EQ(c.output(3).dynamics, before);
}

TEST(DynamicsEditorRules, TransferCurveAsPlotted)
{
    // Ratio 4, compressor, hard knee, threshold -20 dB: y = -20 + (x + 20) / 4 relative to full
    // scale, i.e. in dBu out = -20 + 13.85 + (in - 13.85 + 20) / 4.
    Configuration c;
    setDynamicsCompressor(c, 4, true);
    setDynamicsRatioPosition(c, 4, 14);    // 4 : 1
    setDynamicsKneePosition(c, 4, 20);     // 0 dB
    setDynamicsThresholdPosition(c, 4, 8); // -6 dBu, stored -19.85
    setDynamicsGainPosition(c, 4, -6);     // +3 dB
    const TDYNAMIC& d = c.output(4).dynamics;
    const double t = -6.0 - 13.85;
    const auto curve = dynamicsTransferCurve(d);
    ASSERT_EQ(curve.size(), 61u);
    EXPECT_EQ(curve[0].inputDbu, -40.0);
    EXPECT_EQ(curve[0].outputDbu, 3.0 - 40.0);
    EXPECT_NEAR(curve[1].inputDbu, -6.0, 1e-5);
    EXPECT_NEAR(curve.back().inputDbu, 13.85, 1e-12);
    for (size_t i = 1; i < curve.size(); ++i) {
        EXPECT_LT(curve[i - 1].inputDbu, curve[i].inputDbu);
        const double x = curve[i].inputDbu - 13.85;
        EXPECT_NEAR(curve[i].outputDbu, t + 3.0 + (x - t) / 4.0 + 13.85, 1e-4); // single-precision tables
    }
    // Readout: the straight line below the threshold, the curve above it (a hard knee at -6 dBu
    // bends there, not 4.15 dB higher).
    EXPECT_NEAR(dynamicsReadoutDbu(d, -10.0), -7.0, 1e-12);
    EXPECT_NEAR(dynamicsReadoutDbu(d, -2.0), -6.0 + 3.0 + 1.0, 0.1); // the nearest point, ~0.8 dB away in input
    EXPECT_NEAR(dynamicsReadoutDbu(d, 19.0), curve.back().outputDbu, 1e-12);
    EXPECT_EQ(dynamicsReadoutText(d, -10.0), "Input  -10.0 dBu  :  Output  -7.0 dBu");
}

TEST(SpeakerCalculator, ControlsRangesAndSteps)
{
    struct Item {
        float ohms;
        int item;
    };
    for (const Item& r : {Item{2, 0}, Item{2.67f, 1}, Item{4, 2}, Item{8, 3}, Item{16, 4}, Item{6, 2}, Item{100, 4}})
        EXPECT_EQ(impedanceItemFromValue(r.ohms), r.item) << r.ohms;
    struct Step {
        int from, direction, min, to;
    };
    for (const Step& r :
         {Step{975, +1, 25, 1000}, Step{1000, +1, 25, 1100}, Step{1000, -1, 25, 900}, Step{900, -1, 25, 875},
          Step{25, -1, 25, 25}, Step{3200, +1, 25, 3200}, Step{100, -1, 100, 100}})
        EXPECT_EQ(powerSpinStep(r.from, r.direction, r.min, 3200), r.to) << r.from << " " << r.direction;
    EXPECT_EQ(amplifierGainDbText(41), "32.3 dB");
    EXPECT_EQ(speakerCaption(2), "Output 2  Parameters");

    Configuration c;
    setSpeakerBoxPower(c, 1, 5000);
    setAmplifierGain(c, 1, 5);
    setAmplifierPower(c, 1, 50);
    const TDYNAMIC& d = c.output(1).dynamics;
    EXPECT_EQ(d.BoxPower + d.AmpGain + d.AmpPower, 3200.0f + 10.0f + 100.0f);
}

TEST(SpeakerCalculator, PowerOfTheWorkedExample)
{
    // Limiter at -0.01 dB with a 4 dB knee reaches -(0.01 + 4)^2 / 16 dB at full scale.
    Configuration c;
    TDYNAMIC& d = c.output(2).dynamics;
    d.Umbral = -0.01f;
    designDynamicsStage(d);
    setSpeakerImpedance(c, 2, 3);
    setAmplifierGain(c, 2, 41);
    setSpeakerBoxPower(c, 2, 400);
    setAmplifierPower(c, 2, 600);
    const double volts = std::pow(10.0, (13.85 - std::pow(4.01, 2) / 16.0) / 20.0) * 0.775;
    const double watts = std::pow(volts * 41.0, 2) / 8.0;
    ASSERT_NEAR(watts, 2430, 1.0);
    char expected[80];
    std::snprintf(expected, sizeof expected, "1 - Maximum RMS output Power : %.0f Watts", watts);
    auto lines = powerMemoLines(d);
    EXPECT_EQ(lines[0], expected);
    EXPECT_EQ(lines[3].substr(0, 4), "3 - ");
    setBalancedInput(c, 2, false);
    EXPECT_NEAR(checkPower(d).powerW, watts / 4.0, 0.01);
    EXPECT_NEAR(checkPower(d).voltageRms, volts / 2.0, 1e-5);
    setSpeakerBoxPower(c, 2, 1000); // only the amplifier is short now: its warning becomes 2
    lines = powerMemoLines(d);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3].substr(0, 4), "2 - ");
}
