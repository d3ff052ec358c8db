#include <gtest/gtest.h>

#include <cmath>

#include "config/inputeqediting.h"
#include "config/outputeqediting.h"
#include "config/readouts.h"

using namespace kvr::core;

TEST(OutputEqRules, EnableRulesByType)
{
    struct Row {
        int from, to;
        bool gain, gainZero, q, analog;
    };
    const Row rows[] = {
        {0, 0, false, false, false, false},   {1, 1, true, false, true, false},    {2, 5, true, false, false, false},
        {6, 7, false, false, false, false},   {8, 8, true, false, true, false},    {9, 9, false, false, true, false},
        {10, 10, false, false, false, false}, {11, 11, false, false, true, false}, {15, 16, false, true, true, false},
        {17, 18, true, false, true, false},   {19, 20, false, false, false, true}, {21, 21, true, false, true, false},
    };
    for (const Row& r : rows) {
        for (int code = r.from; code <= r.to; ++code) {
            const BandControlRules rules = outputBandRules(static_cast<uint8_t>(code));
            EXPECT_EQ(rules.gainEnabled, r.gain) << code;
            EXPECT_EQ(rules.gainShownAsZero, r.gainZero) << code;
            EXPECT_EQ(rules.qEnabled, r.q) << code;
            EXPECT_EQ(rules.analogFields, r.analog) << code;
        }
    }
}

TEST(OutputEqRules, ControlsShowTheBandAndSelectionRaisesTheCount)
{
    TSOS s;
    s.Tipo = 1;
    s.Q = 0.707;
    s.Gain = 3.25;
    OutputBandControls c = outputBandControls(s);
    EXPECT_EQ(c.qText, "0.7");
    EXPECT_EQ(c.qBar, 7);
    EXPECT_EQ(c.qSlider, 195);
    EXPECT_EQ(c.gainText, "3.2"); // the field's one decimal
    s.Tipo = 16;
    EXPECT_EQ(outputBandControls(s).gainText, "0.0");
    EXPECT_EQ(outputBandControls(s).typeItem, -1); // not an item of the list
    s.Tipo = 19;
    s.Frec = 350;
    s.Q = 2.5;
    c = outputBandControls(s);
    EXPECT_FALSE(c.marksShown);
    EXPECT_EQ(c.lText + " " + c.hText + " " + c.bText, "3.50 0.0250 3.0");
    EXPECT_EQ(c.qMax, 101.0);

    Configuration config;
    config.output(2).peqxCount = 2;
    selectOutputBand(config, 2, 5);
    selectOutputBand(config, 2, 1);
    EXPECT_EQ(config.output(2).peqxCount, 5);
    selectOutputBand(config, 2, 9); // the spin offers 1..6
    EXPECT_EQ(config.output(2).peqxCount, 6);
}

TEST(OutputEqRules, FieldsClampAndRound)
{
    struct Row {
        const char* what;
        void (*edit)(Configuration&);
        double frequency, gain, q;
    };
    const Row rows[] = {
        {"frequency above the field", [](Configuration& c) { setOutputBandFrequency(c, 1, 1, 25000); }, 20000, 2, 1.2},
        {"frequency below the field", [](Configuration& c) { setOutputBandFrequency(c, 1, 1, 10); }, 20, 2, 1.2},
        {"gain above the field", [](Configuration& c) { setOutputBandGain(c, 1, 1, 13); }, 1000, 12, 1.2},
        {"Q to one decimal", [](Configuration& c) { setOutputBandQ(c, 1, 1, 3.34); }, 1000, 2, 3.3},
        {"Q bar at its bottom", [](Configuration& c) { setOutputBandQBar(c, 1, 1, 2); }, 1000, 2, 0.3},
        {"Q slider is the inverted bar", [](Configuration& c) { setOutputBandQSlider(c, 1, 1, 2); }, 1000, 2, 20},
        {"Q above the field", [](Configuration& c) { setOutputBandQ(c, 1, 1, 50); }, 1000, 2, 20},
    };
    for (const Row& r : rows) {
        Configuration c;
        setOutputBandType(c, 1, 1, 1);
        setOutputBandGain(c, 1, 1, 2);
        setOutputBandQ(c, 1, 1, 1.2);
        r.edit(c);
        const TSOS& s = c.output(1).peqx[0];
        EXPECT_DOUBLE_EQ(s.Frec, r.frequency) << r.what;
        EXPECT_DOUBLE_EQ(s.Gain, r.gain) << r.what;
        EXPECT_DOUBLE_EQ(s.Q, r.q) << r.what;
        EXPECT_NE(s.B0, 1.0) << r.what; // designed
    }
}

TEST(OutputEqRules, TypesAndTheirGain)
{
    Configuration c;
    setOutputBandType(c, 3, 2, 1);
    setOutputBandGain(c, 3, 2, 5);
    setOutputBandType(c, 3, 2, 9); // the stop band has no gain but keeps what is stored
    EXPECT_EQ(c.output(3).peqx[1].Gain, 5.0);
    setOutputBandType(c, 3, 2, 6); // the low-pass design sets its gain to 0
    EXPECT_EQ(c.output(3).peqx[1].Gain, 0.0);
    EXPECT_EQ(c.output(3).peqx[1].Tipo, 6);
    setOutputBandType(c, 3, 2, 12); // not an item
    EXPECT_EQ(c.output(3).peqx[1].Tipo, 6);
    // Types 19 and 20 take gain and frequency through their own fields: a ratio, never -1.
    c.output(3).peqx[1].Tipo = 19;
    setOutputBandGain(c, 3, 2, -5);
    EXPECT_EQ(c.output(3).peqx[1].Gain, 0.0);
    setOutputBandAnalog(c, 3, 2, 0.35, 0.025, 2.04);
    EXPECT_DOUBLE_EQ(c.output(3).peqx[1].Frec, 35.0);
    EXPECT_DOUBLE_EQ(c.output(3).peqx[1].Q, 2.5);
    EXPECT_DOUBLE_EQ(c.output(3).peqx[1].Gain, 2.0);
    setOutputBandFrequency(c, 3, 2, 5000); // L holds at most 20
    EXPECT_DOUBLE_EQ(c.output(3).peqx[1].Frec, 2000.0);
}

TEST(OutputEqRules, ConstantQRedesignsEveryBank)
{
    Configuration c;
    c.input(InputId::B).peq[0].Tipo = 1;
    c.input(InputId::B).peq[0].Gain = 6;
    setOutputBandType(c, 4, 1, 1);
    setOutputBandGain(c, 4, 1, 6);
    setConstantQ(c, true);
    for (const TSOS* s : {&c.input(InputId::B).peq[0], &c.output(4).peqx[0]}) {
        TSOS fresh = *s;
        fresh.Design(true);
        EXPECT_EQ(*s, fresh);
    }
}

TEST(OutputEqRules, MarkerPressTolerance)
{
    TSOS s;
    s.Tipo = 1;
    s.Frec = 1000;
    s.Gain = 3;
    struct Row {
        double hz, db;
        bool shiftLeft;
        uint8_t tipo;
        bool begins;
    };
    const double up = std::pow(10.0, 0.0699), out = std::pow(10.0, 0.0701);
    const Row rows[] = {
        {1000, 3, false, 1, true},        {1000 * up, 5, false, 1, true},   {1000 / up, 1, false, 1, true},
        {1000 * out, 3, false, 1, false}, {1000 / out, 3, false, 1, false}, {1000, 5.01, false, 1, false},
        {1000, 0.99, false, 1, false},    {1000, 3, true, 1, false},        {1000, 3, false, 19, false},
        {1000, 3, false, 20, false},      {1000, 0, false, 15, true}, // the field shows 0 for type 15
    };
    for (const Row& r : rows) {
        s.Tipo = r.tipo;
        EXPECT_EQ(outputBandDragBegins(s, r.hz, r.db, r.shiftLeft), r.begins) << r.hz << " " << r.db << " " << +r.tipo;
    }
}

TEST(OutputEqRules, DragStoresGainThenFrequency)
{
    struct Row {
        int type;
        double storedGain;
        double hz, db;
        double gain, frequency;
    };
    const Row rows[] = {
        {1, 0, 1234.4, 3.46, 3.5, 1234}, {1, 0, 30000, 20, 12, 20000}, {8, 0, 5, -30, -15, 20},
        {7, 0, 500, 4, 0, 500},          {9, 5, 800, 1, 5, 800},       {10, 4, 800, 1, 4, 800},
        {11, -2, 800, 1, -2, 800},       {0, 1, 640, 2.44, 2.4, 640},
    };
    for (const Row& r : rows) {
        Configuration c;
        setOutputBandType(c, 2, 3, r.type);
        c.output(2).peqx[2].Gain = r.storedGain;
        dragOutputBand(c, 2, 3, r.hz, r.db);
        EXPECT_DOUBLE_EQ(c.output(2).peqx[2].Gain, r.gain) << r.type;
        EXPECT_DOUBLE_EQ(c.output(2).peqx[2].Frec, r.frequency) << r.type;
    }
    EXPECT_EQ(bandDragStatusText(1234.5, 3.14159, true), "1234 Hz , 3.142 dBs");
    EXPECT_EQ(bandDragStatusText(1235.5, 3.14159, false), "1236 Hz , 3.14 dBs");
}

TEST(OutputEqRules, OutputControlTexts)
{
    EXPECT_EQ(levelText(-400), "10.0");
    EXPECT_EQ(levelText(100), "-40.0");
    EXPECT_EQ(levelText(-300), "0.0");
    // The delay text is the delay window's ms readout, whatever the temperature.
    EXPECT_EQ(outputDelayReadout(1500, 20).ms, "30.00");
    EXPECT_EQ(outputDelayReadout(1, -10).ms, "0.02");
    EXPECT_EQ(outputDelayReadout(1501, 20).ms, "30.00");
    EXPECT_EQ(outputDelayReadout(-3, 20).ms, "0.00");
    EXPECT_EQ(outputEqTitle("Out2"), "Out2 Equalization");
}

// Both editors store L, H and B of types 19 and 20 through the same field texts: L two decimals
// (frequency = L x 100, whole Hz), H four (Q = H x 100, two decimals), B one. Expected values
// worked out by hand from those rules and the field ranges.
TEST(AnalogFields, BothEditorsStoreTheSameValues)
{
    struct Row {
        double l, h, b;
        double frec, q, gain;
    };
    const Row rows[] = {
        {0.07, 0.0123, 1.0, 7.0, 1.23, 1.0},  // 0.07 x 100 is 7.000000000000001 in binary
        {0.29, 0.0007, 0.3, 29.0, 0.07, 0.3}, // 0.29 x 100 is 28.999999999999996
        {12.346, 0.12346, 2.26, 1235.0, 12.35, 2.3},
        {0.001, 0.00001, -1.0, 1.0, 0.01, 0.0}, // below the ranges: L 0.01, H 0.0001, B 0
        {25.0, 3.0, 5.0, 2000.0, 100.0, 3.0},   // above: L 20, H 1, B 3
    };
    for (const Row& row : rows) {
        Configuration c;
        TSOS& in = inputBand(c, InputId::A, 1);
        TSOS& out = outputBand(c, 2, 1);
        in.Tipo = out.Tipo = 19;
        setInputBandAnalog(c, InputId::A, 1, row.l, row.h, row.b);
        setOutputBandAnalog(c, 2, 1, row.l, row.h, row.b);
        for (const TSOS* s : {&in, &out}) {
            EXPECT_EQ(s->Frec, row.frec) << row.l;
            EXPECT_EQ(s->Q, row.q) << row.h;
            EXPECT_EQ(s->Gain, row.gain) << row.b;
        }
    }
}
