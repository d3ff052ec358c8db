#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "dsp/tdynamic.h"
#include "tools/powercheck.h"

using namespace kvr::core;

namespace {

// The limiter of the worked example: threshold -0.01 dB, knee 4 dB, no gain, 41x into 8 ohms.
TDYNAMIC exampleLimiter()
{
    TDYNAMIC d;
    d.CriKnee = 0;
    d.Umbral = -0.01f;
    d.Knee = 4.0f;
    d.GaindB = 0.0f;
    d.AmpGain = 41.0f;
    d.Impedance = 8.0f;
    d.BoxPower = 400.0f;
    d.AmpPower = 600.0f;
    d.Balanced = 1;
    DesignDynamics(d);
    return d;
}

// Soft-knee output at full scale, in dBu: y = 0 - (0 - T + W)^2 / (4W) + 13.85.
double referenceLevelDbu(double t, double w)
{
    return -std::pow(-t + w, 2) / (4 * w) + 13.85;
}

std::string fixed(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

} // namespace

TEST(PowerCheck, WorkedExampleBalanced)
{
    const TDYNAMIC d = exampleLimiter();
    const double level = referenceLevelDbu(-0.01, 4.0);
    EXPECT_NEAR(level, 12.845, 1e-3);
    const double volts = std::pow(10.0, level / 20.0) * 0.775;
    const double watts = std::pow(volts * 41.0, 2) / 8.0;
    const PowerCheck check = checkPower(d);
    EXPECT_NEAR(check.maxLevelDbu, level, 1e-5); // single-precision curve
    EXPECT_NEAR(check.voltageRms, volts, 1e-5);
    EXPECT_NEAR(check.powerW, watts, 0.01);
    EXPECT_NEAR(watts, 2430, 2.0); // the example's round figure
    const auto lines = powerMemoLines(d);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "1 - Maximum RMS output Power : " + fixed(watts, 0) + " Watts");
    EXPECT_EQ(lines[1], "    KVR 610  maximum Output Voltage : 3.40 vrms");
    EXPECT_EQ(lines[2], "2 - WARNING!! Your Box RMS Power capacity is lower than your output RMS Power");
    EXPECT_EQ(lines[3], "3 - WARNING!! Your Power Amplifier RMS Power is lower than your total RMS Power needs.");
}

TEST(PowerCheck, UnbalancedQuartersThePowerAndHalvesTheVoltage)
{
    TDYNAMIC d = exampleLimiter();
    const PowerCheck balanced = checkPower(d);
    d.Balanced = 0;
    const PowerCheck unbalanced = checkPower(d);
    EXPECT_NEAR(unbalanced.powerW, balanced.powerW / 4, 1e-9);
    EXPECT_NEAR(unbalanced.voltageRms, balanced.voltageRms / 2, 1e-12);
    const auto lines = powerMemoLines(d);
    EXPECT_EQ(lines[0], "1 - Maximum RMS output Power : 607 Watts");
    EXPECT_EQ(lines[1], "    KVR 610  maximum Output Voltage : 1.70 vrms");
    EXPECT_FALSE(lines[2].empty());
    EXPECT_EQ(lines[3].substr(0, 4), "3 - ");
}

TEST(PowerCheck, WarningsAreNumberedByWhatIsShown)
{
    TDYNAMIC d = exampleLimiter();
    d.BoxPower = 3200.0f; // only the amplifier is too small
    auto lines = powerMemoLines(d);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "2 - WARNING!! Your Power Amplifier RMS Power is lower than your total RMS Power needs.");
    d.AmpPower = 3200.0f;
    lines = powerMemoLines(d);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "");
    d.BoxPower = 1000.0f; // only the box
    lines = powerMemoLines(d);
    EXPECT_FALSE(lines[2].empty());
    EXPECT_EQ(lines[3], "");
}
