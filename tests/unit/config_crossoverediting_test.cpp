// The crossover editor's rules beyond the Normal page: the Custom page, the links as a person
// meets them, copying, the plot drag and the per-output response.

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "config/crossoverediting.h"

using namespace kvr::core;

namespace {

constexpr int kButtW = 1, kLRiley = 2, kBessel = 3, kCustom = 4;

void setSide(Configuration& c, int output, CrossoverSide side, int family, int order, double hz)
{
    setCrossoverFamily(c, output, side, family);
    setCrossoverOrder(c, output, side, order);
    setCrossoverFrequency(c, output, side, hz);
}

TEST(CrossoverCustomPage, SectionsShownByFamilyAndOrder)
{
    struct Row {
        CrossoverSide side;
        int family;
        int order;
        bool orderEnabled;
        const char* visible;  // per section: 1 shown
        const char* editable; // 1 editable
        const char* q;        // 1 Q shown
    };
    const Row rows[] = {
        {CrossoverSide::Low, kCustom, 3, true, "1100", "1100", "0100"},
        {CrossoverSide::Low, kCustom, 1, true, "1000", "1000", "0000"},
        {CrossoverSide::High, kCustom, 4, true, "1100", "1100", "1100"},
        {CrossoverSide::High, kCustom, 8, true, "1111", "1111", "1111"},
        {CrossoverSide::Low, kButtW, 5, false, "1110", "0000", "0110"},
        {CrossoverSide::High, kBessel, 6, false, "1110", "0000", "1110"},
        {CrossoverSide::Low, kLRiley, 8, false, "1111", "0000", "1111"},
        {CrossoverSide::High, 0, 3, false, "0000", "0000", "0000"},
    };
    for (const Row& r : rows) {
        Configuration c;
        setSide(c, 1, r.side, r.family, r.order, r.side == CrossoverSide::Low ? 100 : 5000);
        const CustomSideView view = customSideView(crossoverSide(c, 1, r.side), r.side);
        EXPECT_EQ(view.orderEnabled, r.orderEnabled) << r.family << "/" << r.order;
        for (size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(view.sections[k].visible, r.visible[k] == '1') << r.family << "/" << r.order << " s" << k + 1;
            EXPECT_EQ(view.sections[k].editable, r.editable[k] == '1') << r.family << "/" << r.order << " s" << k + 1;
            EXPECT_EQ(view.sections[k].qVisible, r.q[k] == '1') << r.family << "/" << r.order << " s" << k + 1;
        }
    }
}

TEST(CrossoverCustomPage, OnlyEditableFieldsChangeAndTheSideIsDesigned)
{
    Configuration c;
    setSide(c, 1, CrossoverSide::Low, kCustom, 3, 100);
    setSide(c, 1, CrossoverSide::High, kBessel, 3, 5000);
    // The Bessel sections hold frequencies scaled from the side's: a custom edit of the other
    // side must not feed them back into a design that scales them again.
    const TXOVERPB bessel = c.output(1).xover.HighSide;
    const TXOVERPB& low = c.output(1).xover.LowSide;
    ASSERT_EQ(low.NumSections, 2);
    EXPECT_TRUE(setCustomSectionFrequency(c, 1, CrossoverSide::Low, 2, 250.4).empty());
    EXPECT_DOUBLE_EQ(low.Sections[1].Frec, 250.0);
    EXPECT_EQ(low.Sections[0].Tipo, 13); // first order for the odd order
    EXPECT_EQ(low.Sections[1].Tipo, 16); // second-order high-pass with its own Q
    setCustomSectionQ(c, 1, CrossoverSide::Low, 2, 1.8);
    EXPECT_DOUBLE_EQ(low.Sections[1].Q, 1.8);

    EXPECT_EQ(c.output(1).xover.HighSide, bessel);

    const Configuration before = c;
    setCustomSectionQ(c, 1, CrossoverSide::Low, 1, 2.0);          // first order: no Q
    setCustomSectionFrequency(c, 1, CrossoverSide::Low, 3, 500);  // beyond the order
    setCustomSectionFrequency(c, 1, CrossoverSide::High, 1, 500); // a Bessel side: read-only
    setCustomOrder(c, 1, CrossoverSide::High, 2);                 // its order spin is disabled
    EXPECT_EQ(c, before);
    setCustomOrder(c, 1, CrossoverSide::Low, 4);
    EXPECT_EQ(low.Orden, 4);
    EXPECT_EQ(low.NumSections, 2);
}

TEST(CrossoverCustomPage, FieldsClampAndRound)
{
    struct Row {
        CrossoverSide side;
        bool q;
        double typed;
        double stored;
    };
    const Row rows[] = {
        {CrossoverSide::Low, false, 24000, 20000}, {CrossoverSide::High, false, 24000, 23950},
        {CrossoverSide::Low, false, 10, 20},       {CrossoverSide::High, false, 1234.4, 1234},
        {CrossoverSide::Low, true, 0.05, 0.1},     {CrossoverSide::Low, true, 1.23456, 1.235},
        {CrossoverSide::High, true, 25, 20},
    };
    for (const Row& r : rows) {
        Configuration c;
        setSide(c, 2, r.side, kCustom, 4, r.side == CrossoverSide::Low ? 100 : 5000);
        if (r.q)
            setCustomSectionQ(c, 2, r.side, 2, r.typed);
        else
            setCustomSectionFrequency(c, 2, r.side, 2, r.typed);
        const TSOS& s = crossoverSide(c, 2, r.side).Sections[1];
        EXPECT_DOUBLE_EQ(r.q ? s.Q : s.Frec, r.stored) << r.typed;
    }
}

TEST(CrossoverCustomPage, AutomaticTimesFollowTheCustomLowSide)
{
    // The dynamics editor's table: below 500 Hz 5 / 80 ms, below 2000 Hz 3 / 40 ms.
    Configuration c;
    setSide(c, 2, CrossoverSide::Low, kCustom, 2, 100);
    setAutomaticTimes(c, 2, true);
    setCustomSectionFrequency(c, 2, CrossoverSide::Low, 1, 300);
    EXPECT_EQ(c.output(2).dynamics.TAttack, 5.0f);
    EXPECT_EQ(c.output(2).dynamics.TRelease, 80.0f);
    setCustomSectionFrequency(c, 2, CrossoverSide::Low, 1, 1500);
    EXPECT_EQ(c.output(2).dynamics.TAttack, 3.0f);
    EXPECT_EQ(c.output(2).dynamics.TRelease, 40.0f);
}

TEST(CrossoverLinks, CheckingMovesNothingAPersonsChangeDoes)
{
    Configuration c;
    setSide(c, 2, CrossoverSide::High, kButtW, 4, 1000);
    setSide(c, 3, CrossoverSide::Low, kButtW, 4, 700);
    const Configuration before = c;
    setCrossoverLink(c, 2, true);
    EXPECT_TRUE(c.links.crossover[1]);
    Configuration unlinked = c;
    unlinked.links = before.links;
    EXPECT_EQ(unlinked, before); // the link alone moved no side

    setCrossoverFrequency(c, 3, CrossoverSide::Low, 800);
    EXPECT_DOUBLE_EQ(c.output(2).xover.HighSide.Frec, 800.0);
    setCrossoverFrequency(c, 2, CrossoverSide::High, 900);
    EXPECT_DOUBLE_EQ(c.output(3).xover.LowSide.Frec, 900.0);
    EXPECT_EQ(c.output(1).xover, before.output(1).xover);
    EXPECT_EQ(c.output(4).xover, before.output(4).xover);
}

TEST(CrossoverCopy, LinksCarryTheCopiedSidesToTheNeighbours)
{
    struct Row {
        bool link23;
        double output3Low; // after copying output 1 to output 2
    };
    for (const Row& r : {Row{false, 4000}, Row{true, 2000}}) {
        Configuration c;
        setSide(c, 1, CrossoverSide::Low, kLRiley, 4, 100);
        setSide(c, 1, CrossoverSide::High, kLRiley, 4, 2000);
        setSide(c, 2, CrossoverSide::Low, kButtW, 2, 300);
        setSide(c, 2, CrossoverSide::High, kButtW, 2, 4000);
        setSide(c, 3, CrossoverSide::High, kButtW, 2, 10000);
        setSide(c, 3, CrossoverSide::Low, kButtW, 2, 4000);
        c.links.crossover[1] = r.link23;
        const Configuration before = c;
        EXPECT_TRUE(copyCrossover(c, 1, 2).empty());
        EXPECT_EQ(c.output(2).xover, before.output(1).xover);
        EXPECT_DOUBLE_EQ(c.output(3).xover.LowSide.Frec, r.output3Low) << r.link23;
        EXPECT_EQ(c.output(1).xover, before.output(1).xover);
        EXPECT_EQ(c.output(4).xover, before.output(4).xover);
    }
    Configuration c;
    const Configuration before = c;
    copyCrossover(c, 3, 3);
    copyCrossover(c, 0, 3);
    EXPECT_EQ(c, before);
}

TEST(CrossoverDrag, PressTakesHoldNearADraggableSide)
{
    Configuration c;
    setSide(c, 1, CrossoverSide::Low, kButtW, 4, 100);
    setSide(c, 1, CrossoverSide::High, kCustom, 4, 5000);
    struct Row {
        CrossoverSide side;
        double f;
        bool starts;
    };
    const Row rows[] = {
        {CrossoverSide::Low, 100, true},
        {CrossoverSide::Low, 100 * std::pow(10.0, 0.069), true},
        {CrossoverSide::Low, 100 * std::pow(10.0, -0.069), true},
        {CrossoverSide::Low, 100 * std::pow(10.0, 0.071), false},
        {CrossoverSide::High, 5000, false}, // custom: its frequency is not what it plays
    };
    for (const Row& r : rows)
        EXPECT_EQ(crossoverDragStarts(c, 1, r.side, r.f), r.starts) << r.f;
    EXPECT_FALSE(crossoverDragStarts(c, 2, CrossoverSide::Low, 100)); // bypassed

    struct Move {
        double f;
        double stored;
    };
    for (const Move& m : {Move{123.5, 124}, Move{122.5, 122}, Move{10, 20}, Move{6000, 5000}}) {
        dragCrossoverSide(c, 1, CrossoverSide::Low, m.f);
        EXPECT_DOUBLE_EQ(c.output(1).xover.LowSide.Frec, m.stored) << m.f;
    }
}

TEST(CrossoverResponse, HighSideThenLowSideOverTheGrid)
{
    // A Butterworth side is 3.01 dB down at its cut-off, whatever its order: 10 log10(2).
    const double halfPowerDb = -10.0 * std::log10(2.0);
    const auto& grid = frequencyGrid();
    Configuration c;
    setSide(c, 4, CrossoverSide::High, kButtW, 4, grid.frequencyHz[300]);
    ChainResponse r;
    crossoverResponse(c, 4, r);
    EXPECT_NEAR(r.magnitudeDb[300], halfPowerDb, 1e-3);
    EXPECT_NEAR(r.magnitudeDb[60], 0.0, 1e-3);
    setSide(c, 4, CrossoverSide::Low, kButtW, 3, grid.frequencyHz[60]);
    crossoverResponse(c, 4, r);
    EXPECT_NEAR(r.magnitudeDb[60], halfPowerDb, 1e-3);
    EXPECT_NEAR(r.magnitudeDb[300], halfPowerDb, 1e-3);
    EXPECT_NEAR(r.magnitudeDb[180], 0.0, 0.01); // between the two, the pass band
}

} // namespace
