#include <gtest/gtest.h>

#include <cmath>

#include "config/conversions.h"

using namespace kvr::core;

TEST(LevelConversions, TrackEnds)
{
    EXPECT_DOUBLE_EQ(levelDbFromPosition(-400), 10.0);
    EXPECT_DOUBLE_EQ(levelDbFromPosition(-300), 0.0);
    EXPECT_DOUBLE_EQ(levelDbFromPosition(-240), -6.0);
    EXPECT_DOUBLE_EQ(levelDbFromPosition(100), -40.0);
    EXPECT_NEAR(inputLinearGainFromDb(levelDbFromPosition(-400)), 3.1623, 5e-5);
    EXPECT_NEAR(inputLinearGainFromDb(levelDbFromPosition(100)), 0.01, 1e-7);
    // Faders are bound to the tracks: value = position + 405, clamped by the track.
    EXPECT_EQ(clampLevelPosition(0 - kLevelFaderOffset), -400);
    EXPECT_EQ(clampLevelPosition(506 - kLevelFaderOffset), 100);
}

TEST(LevelConversions, StoredGainsRoundToTenthsOfADecibel)
{
    EXPECT_EQ(levelPositionFromLinear(1.0), -300);
    EXPECT_EQ(levelPositionFromLinear(-0.70794578), -270); // -3.0 dB, sign ignored
    EXPECT_EQ(levelPositionFromLinear(0.5), -240);         // -6.02 dB shows -6.0
    EXPECT_EQ(levelPositionFromLinear(100.0), -400);       // clamped to +10 dB
    EXPECT_EQ(levelPositionFromLinear(0.0), 100);          // silence is the quietest position
    EXPECT_EQ(levelPositionFromLinear(std::nan("")), -300);
    EXPECT_EQ(levelPositionFromDb(-6.04), -240);
    EXPECT_EQ(processorLevelWord(-300), 401);
}

TEST(OutputDelayConversions, StepsAndLimits)
{
    EXPECT_EQ(outputDelaySamplesFromPosition(1500), 1440);
    EXPECT_DOUBLE_EQ(delayMsFromSamples(1440), 30.0);
    EXPECT_EQ(outputDelaySamplesFromPosition(1), 1);
    EXPECT_NEAR(delayMsFromSamples(1), 0.0208, 1e-4);
    EXPECT_EQ(outputDelayPositionFromSamples(1441), 1500);
    EXPECT_EQ(outputDelayPositionFromSamples(-3), 0);
    EXPECT_EQ(outputDelayPositionFromSamples(12), 12); // 12.5 rounds half to even
    // The track is finer than a sample: positions 12 and 13 are both 12 samples, and a delay
    // in samples comes back to a position that gives the same samples.
    EXPECT_EQ(outputDelaySamplesFromPosition(13), 12);
    for (int s = 0; s <= 1440; ++s)
        EXPECT_EQ(outputDelaySamplesFromPosition(outputDelayPositionFromSamples(s)), s) << s;
}

TEST(InputDelayConversions, SpeedOfSoundAndResolution)
{
    EXPECT_NEAR(speedOfSound(25), 346.29, 0.01);
    EXPECT_EQ(inputDelaySamplesFromCm(100, 25), 139);
    EXPECT_NEAR(delayMsFromSamples(139), 2.90, 0.005);
    EXPECT_EQ(inputDelaySamplesFromCm(10000, 25), 13861);
    EXPECT_EQ(inputDelaySamplesFromCm(10000, 0), 14482);
    EXPECT_EQ(inputDelaySamplesFromCm(10000, 50), 13314);
    // 1 cm steps survive the trip through samples at every temperature.
    for (int t : {0, 25, 50})
        for (int cm = 0; cm <= 10000; cm += 7)
            EXPECT_EQ(inputDelayCmFromSamples(inputDelaySamplesFromCm(cm, t), t), cm);
    EXPECT_EQ(inputDelayCmFromSamples(1 << 30, 25), 10000);
    EXPECT_EQ(fahrenheitFromCelsius(25), 77);
    EXPECT_EQ(celsiusFromFahrenheit(122), 50);
    EXPECT_EQ(clampTemperatureC(80), 50);
}

TEST(DynamicsPositions, ThresholdsPassThroughTheSlider)
{
    EXPECT_EQ(thresholdPositionFromStored(-6.0f), -20);
    EXPECT_EQ(thresholdStoredFromPosition(-20), -5.85f);
    EXPECT_EQ(thresholdPositionFromStored(100.0f), -40); // +18 dBu at most
    EXPECT_EQ(thresholdPositionFromStored(-100.0f), 36); // -20 dBu at least
    EXPECT_EQ(ratioFromPosition(2), 10.0f);
    EXPECT_EQ(ratioFromPosition(20), 1.0f);
    EXPECT_EQ(ratioPositionFromValue(2.0f), 18);
    EXPECT_EQ(makeupGainFromPosition(-20), 10.0f);
    EXPECT_EQ(kneeFromPosition(0), 10.0f);
    EXPECT_EQ(gatePositionFromStored(-83.0f), 69);
    EXPECT_EQ(gateStoredFromPosition(69), -82.85f);
    EXPECT_EQ(attackIndexFromMs(0.1f), 0);
    EXPECT_EQ(releaseIndexFromMs(10000.0f), 38);
    EXPECT_EQ(gateTimeIndexFromMs(350.0f), 20);
}

TEST(EqualiserFields, ClampAndRoundToFormat)
{
    EXPECT_DOUBLE_EQ(eqFrequencyFromField(25000), 20000.0);
    EXPECT_DOUBLE_EQ(eqFrequencyFromField(999.6), 1000.0);
    EXPECT_DOUBLE_EQ(eqFrequencyFromField(3), 20.0);
    EXPECT_DOUBLE_EQ(eqGainFromField(12.34), 12.0);
    EXPECT_DOUBLE_EQ(eqGainFromField(-3.46), -3.5);
    EXPECT_DOUBLE_EQ(eqQFromField(0.707), 0.7);
    EXPECT_DOUBLE_EQ(eqQFromField(2 / 10.0), 0.3); // Q bar at position 2 gives 0.3
    EXPECT_EQ(eqQBarPositionFromQ(0.707), 7);
    EXPECT_DOUBLE_EQ(eqLFromFrequency(1234), 12.34);
    EXPECT_DOUBLE_EQ(eqHFromQ(0.5), 0.005);
    EXPECT_DOUBLE_EQ(eqBFromGain(7), 3.0);
    EXPECT_EQ(crossoverSpinFromFrequency(10), 20);
    EXPECT_EQ(crossoverSpinFromFrequency(25000), 20000);
    EXPECT_DOUBLE_EQ(customQFromField(0.70711), 0.707);
}

// The gate slider runs over positions 30..85, shown as -30..-85 dBu.
TEST(Conversions, GateThresholdDbuOfAPosition)
{
    struct Row {
        int position;
        int dbu;
    };
    const Row rows[] = {{30, -30}, {69, -69}, {85, -85}, {29, -30}, {86, -85}, {-5, -30}};
    for (const Row& row : rows) {
        EXPECT_EQ(gateDbuFromPosition(row.position), row.dbu) << row.position;
        EXPECT_EQ(gatePositionFromDbu(gateDbuFromPosition(row.position)), -row.dbu) << row.position;
    }
}
