#include <gtest/gtest.h>

#include <cmath>

#include "config/configuration.h"
#include "config/editing.h"

using namespace kvr::core;

TEST(ConfigurationDefaults, LevelsRoutesAndNames)
{
    Configuration c;
    EXPECT_EQ(c.input(InputId::A).name, "In A");
    EXPECT_EQ(c.input(InputId::B).name, "In B");
    EXPECT_DOUBLE_EQ(c.input(InputId::A).levelDb(), 0.0);
    EXPECT_DOUBLE_EQ(c.input(InputId::M).levelDb(), -6.0);
    // A+B starts at -6 dB: 10^(-6/20), i.e. half the voltage within 0.25 %.
    EXPECT_NEAR(c.input(InputId::M).linearGain(), 0.5, 0.0012);
    EXPECT_FLOAT_EQ(c.input(InputId::M).linearGain(), static_cast<float>(std::pow(10.0, -6.0 / 20.0)));
    EXPECT_EQ(c.routingMode, 5);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(c.output(n).name, "Out" + std::to_string(n));
        EXPECT_EQ(c.output(n).route, RouteSource::A);
        EXPECT_DOUBLE_EQ(c.output(n).linearGain(), 1.0);
        EXPECT_EQ(c.output(n).peqxCount, 6);
    }
    EXPECT_EQ(c.input(InputId::A).peqBandCount, 2);
    EXPECT_EQ(c.input(InputId::A).peqSource, 0);
    EXPECT_EQ(c.input(InputId::B).peqSource, 2);
    EXPECT_EQ(c.input(InputId::M).peqSource, 1);
    EXPECT_EQ(c.system.name, "NoName");
}

TEST(ConfigurationDefaults, EditorsCreationState)
{
    Configuration c;
    for (int n = 1; n <= 4; ++n) {
        const TXOVER& x = c.output(n).xover;
        EXPECT_EQ(x.LowSide.Tipo, 0);
        EXPECT_EQ(x.LowSide.Orden, 4);
        EXPECT_DOUBLE_EQ(x.LowSide.Frec, 100.0);
        EXPECT_DOUBLE_EQ(x.HighSide.Frec, 5000.0);
        EXPECT_EQ(x.LowSide.NumSections, 1);
        EXPECT_DOUBLE_EQ(x.LowSide.Sections[0].Frec, 100.0);
        EXPECT_DOUBLE_EQ(x.HighSide.Sections[3].Frec, 5000.0);
        const TDYNAMIC& d = c.output(n).dynamics;
        // -6 passes through the threshold slider: shown 8.0 dBu, kept as -5.85.
        EXPECT_EQ(d.Umbral, -5.85f);
        EXPECT_EQ(dbuFromStoredThreshold(d.Umbral), 8.0f);
        EXPECT_EQ(d.Ratio, 2.0f);
        EXPECT_EQ(d.Knee, 4.0f);
        EXPECT_EQ(d.GateLevel, -82.85f);
        EXPECT_EQ(d.OverRange, 12.5f);
        EXPECT_EQ(d.DiezmadoF, 1);
    }
}

TEST(ConfigurationOperations, PolarityKeepsTheLevel)
{
    Configuration c;
    c.setPolarity(2, true);
    EXPECT_DOUBLE_EQ(c.output(2).linearGain(), -1.0);
    c.setPolarity(2, false);
    EXPECT_DOUBLE_EQ(c.output(2).linearGain(), 1.0);
    c.setOutputLevelDb(2, -3.0);
    c.setPolarity(2, true);
    EXPECT_DOUBLE_EQ(c.output(2).levelDb(), -3.0);
    EXPECT_NEAR(c.output(2).linearGain(), -0.70794578, 1e-8);
}

TEST(ConfigurationOperations, NamesAreCutToTheirCapacity)
{
    Configuration c;
    c.setSystemName("A very long system name");
    EXPECT_EQ(c.system.name, "A very long ");
    c.setOutputName(1, "Woofer");
    EXPECT_EQ(c.output(1).name, "Woof");
}

TEST(ConfigurationOperations, ResetRestoresStartupState)
{
    Configuration c;
    c.setRoutingMode(7);
    c.setOutputLevelDb(3, -12.5);
    c.output(2).delayPosition = 400;
    c.resetToDefaults();
    Configuration fresh;
    EXPECT_EQ(c.output(1).name, fresh.output(1).name);
    EXPECT_EQ(c.output(3).levelPosition, fresh.output(3).levelPosition);
    EXPECT_EQ(c.output(2).delayPosition, 0);
    EXPECT_EQ(c.routingMode, 5);
}

TEST(RoutingModes, ModeSevenSetsRoutesAndCaptions)
{
    Configuration c;
    c.setRoutingMode(7);
    EXPECT_EQ(c.output(1).route, RouteSource::A);
    EXPECT_EQ(c.output(2).route, RouteSource::B);
    EXPECT_EQ(c.output(3).route, RouteSource::AB);
    EXPECT_EQ(c.output(4).route, RouteSource::AB);
    EXPECT_EQ(c.output(1).name, "Hi A");
    EXPECT_EQ(c.output(2).name, "Hi B");
    EXPECT_EQ(c.output(3).name, "Su M");
    EXPECT_EQ(c.output(4).name, "Fu M");
}

TEST(RoutingModes, EveryModeMatchesItsTable)
{
    using R = RouteSource;
    const std::array<std::array<R, 4>, 8> expected = {{{R::A, R::A, R::A, R::A},
                                                       {R::A, R::A, R::A, R::B},
                                                       {R::A, R::A, R::A, R::AB},
                                                       {R::A, R::A, R::B, R::B},
                                                       {R::A, R::B, R::B, R::A},
                                                       {R::A, R::A, R::A, R::A},
                                                       {R::A, R::A, R::B, R::B},
                                                       {R::A, R::B, R::AB, R::AB}}};
    for (int m = 0; m < 8; ++m) {
        Configuration c;
        c.setRoutingMode(m);
        for (int n = 1; n <= 4; ++n) EXPECT_EQ(c.output(n).route, expected[m][n - 1]) << "mode " << m;
    }
    EXPECT_EQ(routingModeInfo(6).item, "2 way Stereo - Copy AB");
}

TEST(RoutingModes, RouteButtonCycles)
{
    Configuration c;
    const RouteSource expected[] = {RouteSource::AB, RouteSource::B, RouteSource::A, RouteSource::AB};
    for (RouteSource r : expected) {
        c.advanceRoute(1);
        EXPECT_EQ(c.output(1).route, r);
    }
}

TEST(RoutingModes, BankOfAnOutputFollowsItsRouteSelector)
{
    Configuration c;
    c.output(1).route = RouteSource::AB;
    EXPECT_EQ(c.bankForRoute(RouteSource::AB), InputId::M);
    c.input(InputId::M).peqSource = 0; // the A+B route now passes through PEQA
    EXPECT_EQ(c.bankForRoute(RouteSource::AB), InputId::A);
    EXPECT_EQ(&c.bankOfOutput(1), &c.input(InputId::A));
}

TEST(InputDelays, LinksCarryPositions)
{
    Configuration c;
    c.links.inputDelayAll = true;
    InputDelayTracks tracks(c);
    tracks.setPosition(InputId::M, 500);
    EXPECT_EQ(tracks.position(InputId::A), 500);
    EXPECT_EQ(tracks.position(InputId::B), 500);
    EXPECT_EQ(c.input(InputId::A).delaySamples, c.input(InputId::M).delaySamples);

    Configuration d;
    d.links.inputDelayAB = true;
    InputDelayTracks other(d);
    other.setPosition(InputId::M, 500);
    EXPECT_EQ(other.position(InputId::A), 0);
    EXPECT_EQ(other.position(InputId::B), 0);
    other.setPosition(InputId::B, 250);
    EXPECT_EQ(other.position(InputId::A), 250);
    EXPECT_EQ(d.input(InputId::M).delaySamples, inputDelaySamplesFromCm(500, 25));
}

TEST(InputDelays, TemperatureKeepsTimeAndMovesDistance)
{
    Configuration c;
    InputDelayTracks tracks(c);
    tracks.setPosition(InputId::A, 1000); // 10.00 m
    double before = c.input(InputId::A).delayMs();
    EXPECT_NEAR(before, 28.9, 0.05);
    tracks.setTemperature(30);
    EXPECT_EQ(tracks.position(InputId::A), 1008); // 10.08 m
    EXPECT_NEAR(c.input(InputId::A).delayMs(), 28.9, 0.05);
}

TEST(OutputDelays, ChainOfLinks)
{
    Configuration c;
    c.links.outputDelay = {true, true, false};
    setOutputDelayPosition(c, 1, 250);
    EXPECT_EQ(c.output(2).delayPosition, 250);
    EXPECT_EQ(c.output(3).delayPosition, 250);
    EXPECT_EQ(c.output(4).delayPosition, 0);
    EXPECT_EQ(c.output(3).delaySamples(), 240); // 5 ms
    setOutputDelayPosition(c, 3, 1500);
    EXPECT_EQ(c.output(1).delaySamples(), 1440);
    EXPECT_EQ(c.output(4).delaySamples(), 0);
}

TEST(Crossovers, SidesMayMeetButNeverCross)
{
    Configuration c;
    setCrossoverFamily(c, 1, CrossoverSide::Low, 1);
    setCrossoverFamily(c, 1, CrossoverSide::High, 1);
    setCrossoverFrequency(c, 1, CrossoverSide::Low, 6000);
    EXPECT_DOUBLE_EQ(c.output(1).xover.LowSide.Frec, 5000.0);
    setCrossoverFrequency(c, 1, CrossoverSide::High, 3000);
    EXPECT_DOUBLE_EQ(c.output(1).xover.HighSide.Frec, 5000.0);
    setCrossoverFrequency(c, 1, CrossoverSide::Low, 10);
    EXPECT_DOUBLE_EQ(c.output(1).xover.LowSide.Frec, 20.0);
    setCrossoverFrequency(c, 1, CrossoverSide::High, 25000);
    EXPECT_DOUBLE_EQ(c.output(1).xover.HighSide.Frec, 20000.0);
    setCrossoverFrequency(c, 1, CrossoverSide::Low, 123.4);
    EXPECT_DOUBLE_EQ(c.output(1).xover.LowSide.Frec, 123.0);
}

TEST(Crossovers, FamilyCodesPerSide)
{
    EXPECT_EQ(crossoverCodeFromFamily(CrossoverSide::Low, 1), 2);
    EXPECT_EQ(crossoverCodeFromFamily(CrossoverSide::High, 1), 1);
    EXPECT_EQ(crossoverCodeFromFamily(CrossoverSide::Low, 4), 8);
    EXPECT_EQ(crossoverCodeFromFamily(CrossoverSide::High, 4), 7);
    EXPECT_EQ(crossoverCodeFromFamily(CrossoverSide::High, 0), 0);
    for (int item = 0; item < 5; ++item) {
        EXPECT_EQ(crossoverFamilyFromCode(CrossoverSide::Low, crossoverCodeFromFamily(CrossoverSide::Low, item)), item);
        EXPECT_EQ(crossoverFamilyFromCode(CrossoverSide::High, crossoverCodeFromFamily(CrossoverSide::High, item)), item);
    }
}

TEST(Crossovers, CustomKeepsSectionFrequenciesAndButterworthOverwritesThem)
{
    Configuration c;
    TXOVERPB& low = c.output(2).xover.LowSide;
    low.Sections[0].Frec = 80;
    low.Sections[1].Frec = 90;
    setCrossoverFamily(c, 2, CrossoverSide::Low, 4);
    EXPECT_EQ(low.Tipo, 8);
    EXPECT_DOUBLE_EQ(low.Sections[0].Frec, 80.0);
    EXPECT_DOUBLE_EQ(low.Sections[1].Frec, 90.0);
    setCrossoverFamily(c, 2, CrossoverSide::Low, 1);
    EXPECT_DOUBLE_EQ(low.Sections[0].Frec, 100.0);
    EXPECT_DOUBLE_EQ(low.Sections[1].Frec, 100.0);
}

TEST(Crossovers, LinkTiesHighSideToNextLowSide)
{
    Configuration c;
    c.links.crossover = {false, true, false};
    setCrossoverFamily(c, 2, CrossoverSide::High, 2);
    setCrossoverFamily(c, 3, CrossoverSide::Low, 2);
    setCrossoverFrequency(c, 3, CrossoverSide::Low, 800);
    EXPECT_DOUBLE_EQ(c.output(2).xover.HighSide.Frec, 800.0);
    setCrossoverFrequency(c, 2, CrossoverSide::High, 1200);
    EXPECT_DOUBLE_EQ(c.output(3).xover.LowSide.Frec, 1200.0);
    EXPECT_DOUBLE_EQ(c.output(1).xover.HighSide.Frec, 5000.0);
}

TEST(Crossovers, BesselLimitAppliesAndStaysStable)
{
    Configuration c;
    setCrossoverFamily(c, 1, CrossoverSide::High, 3);
    setCrossoverOrder(c, 1, CrossoverSide::High, 8);
    Notices notices = setCrossoverFrequency(c, 1, CrossoverSide::High, 12000);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Cutoff Frequency of Bessel LowPass filter of order 8 is limited to 10900");
    EXPECT_DOUBLE_EQ(c.output(1).xover.HighSide.Frec, 10900.0);

    // Low side above the limit: the limit and the "never cross" rule must settle in one pass.
    Configuration d;
    setCrossoverFamily(d, 1, CrossoverSide::Low, 1);
    setCrossoverFrequency(d, 1, CrossoverSide::High, 20000);
    setCrossoverFrequency(d, 1, CrossoverSide::Low, 15000);
    setCrossoverOrder(d, 1, CrossoverSide::High, 8);
    Notices more = setCrossoverFamily(d, 1, CrossoverSide::High, 3);
    EXPECT_FALSE(more.empty());
    EXPECT_LE(more.size(), 2u);
    EXPECT_DOUBLE_EQ(d.output(1).xover.HighSide.Frec, 10900.0);
    EXPECT_DOUBLE_EQ(d.output(1).xover.LowSide.Frec, 10900.0);
    EXPECT_TRUE(applyCrossoverSide(d, 1, CrossoverSide::High).empty());
}

TEST(Crossovers, MainWindowLabels)
{
    Configuration c;
    EXPECT_EQ(crossoverFrequencyLabel(c.output(1).xover.LowSide, CrossoverSide::Low), "  -- ");
    setCrossoverFamily(c, 1, CrossoverSide::Low, 4);
    EXPECT_EQ(crossoverFrequencyLabel(c.output(1).xover.LowSide, CrossoverSide::Low), "   C ");
    setCrossoverFamily(c, 1, CrossoverSide::High, 2);
    EXPECT_EQ(crossoverFrequencyLabel(c.output(1).xover.HighSide, CrossoverSide::High), "5000");
}

TEST(DynamicsEditor, AutomaticTimesFollowTheLowSide)
{
    Configuration c;
    c.output(1).dynamics.AuxFlag = 1;
    selectDynamicsOutput(c, 1);
    EXPECT_EQ(c.output(1).dynamics.TAttack, 12.0f);
    EXPECT_EQ(c.output(1).dynamics.TRelease, 200.0f);
    setCrossoverFamily(c, 1, CrossoverSide::Low, 1); // 100 Hz high-pass
    selectDynamicsOutput(c, 1);
    EXPECT_EQ(c.output(1).dynamics.TAttack, 12.0f);
    EXPECT_EQ(c.output(1).dynamics.TRelease, 150.0f);
}

TEST(DynamicsEditor, BypassedStageCarriesTransparentKnee)
{
    Configuration c;
    c.output(3).dynamics.BypassF = 1;
    selectDynamicsOutput(c, 3);
    EXPECT_EQ(c.output(3).dynamics.KneeTop, 0.99f);
    EXPECT_EQ(c.output(3).dynamics.KneeBottom, 0.707f);
}

TEST(DynamicsEditor, TimesSnapToTheirTables)
{
    Configuration c;
    TDYNAMIC& d = c.output(1).dynamics;
    d.TAttack = 11.0f;       // between 10 and 12: nearest is either; must be a table value
    d.TRelease = 99999.0f;   // beyond the table: the largest entry
    d.TAttackGate = -5.0f;
    selectDynamicsOutput(c, 1);
    EXPECT_TRUE(d.TAttack == 10.0f || d.TAttack == 12.0f);
    EXPECT_EQ(d.TRelease, 10000.0f);
    EXPECT_EQ(d.TAttackGate, 10.0f);
}

TEST(CopyOutputs, GainOnlyCopiesLevelSignMuteAndPolarity)
{
    Configuration c;
    c.setOutputLevelDb(1, -4.5);
    c.setPolarity(1, true);
    c.setOutputMute(1, true);
    c.output(1).route = RouteSource::B;
    c.output(1).delayPosition = 100;
    CopyOptions gain;
    gain.outputGain = true;
    copyOutput(c, 1, 3, gain);
    EXPECT_DOUBLE_EQ(c.output(3).levelDb(), -4.5);
    EXPECT_TRUE(c.output(3).inverted());
    EXPECT_TRUE(c.output(3).mute);
    EXPECT_EQ(c.output(3).route, RouteSource::A);
    EXPECT_EQ(c.output(3).delayPosition, 0);
}

TEST(CopyOutputs, SameSourceAndDestinationDoesNothing)
{
    Configuration c;
    c.setOutputName(2, "Sub");
    Configuration before = c;
    copyOutput(c, 2, 2, CopyOptions::all());
    EXPECT_EQ(c.output(2).name, before.output(2).name);
}

TEST(CopyOutputs, AllCopiesEveryBlock)
{
    Configuration c;
    c.setOutputName(1, "Sub");
    c.output(1).peqx[2].Tipo = 1;
    c.output(1).peqx[2].Gain = 3.5;
    c.output(1).dynamics.Ratio = 4.0f;
    c.output(1).dynamics.CriKnee = 1;
    setCrossoverFamily(c, 1, CrossoverSide::High, 2);
    copyOutput(c, 1, 4, CopyOptions::all());
    EXPECT_EQ(c.output(4).name, "Sub");
    EXPECT_EQ(c.output(4).peqx[2].Tipo, 1);
    EXPECT_DOUBLE_EQ(c.output(4).peqx[2].Gain, 3.5);
    EXPECT_EQ(c.output(4).dynamics.Ratio, 4.0f);
    EXPECT_EQ(c.output(4).xover.HighSide.Tipo, 3);
    EXPECT_EQ(c.output(4).xover.HighSide.NumSections, 2);
}
