// The input equaliser editor's rules, as operations on a Configuration: band selection, the type
// list's enable rules, the fields' clamps and formats, the marker drag and the plotted curves.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "config/inputeqediting.h"

using namespace kvr::core;

namespace {

TEST(InputEqBands, SelectingABandRaisesTheCountNeverLowersIt)
{
    struct Row {
        int count;
        int band;
        int expected;
    };
    const Row rows[] = {{2, 5, 5}, {5, 1, 5}, {2, 2, 2}, {2, 6, 6}, {3, 9, 6}, {3, 0, 3}};
    for (const Row& r : rows) {
        Configuration c;
        c.input(InputId::B).peqBandCount = r.count;
        selectInputBand(c, InputId::B, r.band);
        EXPECT_EQ(c.input(InputId::B).peqBandCount, r.expected) << r.count << " " << r.band;
        EXPECT_EQ(c.input(InputId::A).peqBandCount, 2); // other banks untouched
    }
}

TEST(InputEqBands, TypeEnablesItsControls)
{
    struct Row {
        int tipo;
        BandControls controls; // gain, q, analog, zeroGain
    };
    const Row rows[] = {
        {0, {false, false, false, false}},  {1, {true, true, false, false}},    {2, {true, false, false, false}},
        {3, {true, false, false, false}},   {4, {true, false, false, false}},   {5, {true, false, false, false}},
        {6, {false, false, false, true}},   {7, {false, false, false, true}},   {8, {true, true, false, false}},
        {9, {false, true, false, false}},   {10, {false, false, false, false}}, {11, {false, true, false, false}},
        {12, {false, false, false, false}}, {15, {false, true, false, true}},   {16, {false, true, false, true}},
        {17, {true, true, false, false}},   {18, {true, true, false, false}},   {19, {false, false, true, false}},
        {20, {false, false, true, false}},  {21, {true, true, false, false}},   {99, {false, false, false, false}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(bandControls(r.tipo), r.controls) << r.tipo;
}

TEST(InputEqBands, LowPassSetsTheGainToZeroAndDisabledFieldsChangeNothing)
{
    Configuration c;
    setInputBandType(c, InputId::A, 1, 1);
    setInputBandGain(c, InputId::A, 1, 6.0);
    setInputBandQ(c, InputId::A, 1, 2.0);
    ASSERT_EQ(inputBand(c, InputId::A, 1).Gain, 6.0);
    setInputBandType(c, InputId::A, 1, 6); // "LowPass"
    const TSOS lowPass = inputBand(c, InputId::A, 1);
    EXPECT_EQ(lowPass.Gain, 0.0);
    setInputBandGain(c, InputId::A, 1, 3.0);
    setInputBandQ(c, InputId::A, 1, 5.0);
    setInputBandAnalog(c, InputId::A, 1, 1.0, 0.5, 1.0);
    EXPECT_EQ(inputBand(c, InputId::A, 1), lowPass);
    setInputBandFrequency(c, InputId::A, 1, 3000); // the frequency field is always enabled
    EXPECT_EQ(inputBand(c, InputId::A, 1).Frec, 3000.0);
}

TEST(InputEqFields, ValuesPassThroughTheFieldsClampAndFormat)
{
    // What a typed value stores, through each field.
    struct Row {
        const char* field;
        double typed;
        double stored;
    };
    const Row rows[] = {
        {"freq", 25000, 20000}, {"freq", 10, 20},   {"freq", 1234.6, 1235}, {"freq", 20000, 20000},
        {"gain", 11.34, 11.3},  {"gain", -20, -15}, {"gain", 13, 12},       {"q", 0.707, 0.7},
        {"q", 0.25, 0.3},       {"q", 25, 20},      {"q", 1.46, 1.5},
    };
    for (const Row& r : rows) {
        Configuration c;
        setInputBandType(c, InputId::M, 3, 1);
        const std::string field = r.field;
        const TSOS& s = inputBand(c, InputId::M, 3);
        if (field == "freq") {
            setInputBandFrequency(c, InputId::M, 3, r.typed);
            EXPECT_DOUBLE_EQ(s.Frec, r.stored) << r.typed;
        } else if (field == "gain") {
            setInputBandGain(c, InputId::M, 3, r.typed);
            EXPECT_DOUBLE_EQ(s.Gain, r.stored) << r.typed;
        } else {
            setInputBandQ(c, InputId::M, 3, r.typed);
            EXPECT_DOUBLE_EQ(s.Q, r.stored) << r.typed;
        }
    }
}

TEST(InputEqFields, ShownValuesAndTheQTrackBar)
{
    TSOS s; // 1000 Hz, 0 dB, Q 0.707
    BandFields f = bandFields(s);
    EXPECT_EQ(f.frequencyText, "1000");
    EXPECT_EQ(f.gainText, "0.0");
    EXPECT_EQ(f.qText, "0.7");
    EXPECT_EQ(f.qBar, 7);
    EXPECT_EQ(f.lText, "10.00");
    EXPECT_EQ(f.hText, "0.0071");

    // The track bar stores Q = position / 10 through the Q field: position 2 gives 0.3.
    struct Row {
        int position;
        double q;
    };
    for (const Row& r : {Row{2, 0.3}, Row{3, 0.3}, Row{14, 1.4}, Row{200, 20.0}, Row{250, 20.0}}) {
        Configuration c;
        setInputBandType(c, InputId::A, 2, 1);
        setInputBandQBar(c, InputId::A, 2, r.position);
        EXPECT_DOUBLE_EQ(inputBand(c, InputId::A, 2).Q, r.q) << r.position;
    }
}

TEST(InputEqFields, WheelStepsTheShownQ)
{
    struct Row {
        double q;
        int steps;
        double expected;
    };
    // From what the field shows: 0.707 shows as 0.7.
    const Row rows[] = {{0.707, 1, 0.8}, {0.707, -1, 0.6}, {20, 1, 20}, {0.3, -2, 0.3}, {1.0, 3, 1.3}};
    for (const Row& r : rows) {
        Configuration c;
        TSOS& s = inputBand(c, InputId::A, 1);
        s.Tipo = 1;
        s.Q = r.q;
        stepInputBandQ(c, InputId::A, 1, r.steps);
        EXPECT_NEAR(s.Q, r.expected, 1e-12) << r.q << " " << r.steps;
    }
}

TEST(InputEqFields, AnalogTypesTakeLHAndB)
{
    Configuration c;
    TSOS& s = inputBand(c, InputId::A, 1);
    s.Tipo = 19;
    setInputBandAnalog(c, InputId::A, 1, 2.5, 0.5, 5.0); // B clamps to 3
    EXPECT_DOUBLE_EQ(s.Frec, 250.0);
    EXPECT_DOUBLE_EQ(s.Q, 50.0);
    EXPECT_DOUBLE_EQ(s.Gain, 3.0);
    setInputBandAnalog(c, InputId::A, 1, 30.0, 0.00001, 0.0); // L to 20, H to 0.0001
    EXPECT_DOUBLE_EQ(s.Frec, 2000.0);
    EXPECT_DOUBLE_EQ(s.Q, 0.01);
    // Their frequency and Q fields are hidden.
    setInputBandFrequency(c, InputId::A, 1, 100);
    EXPECT_DOUBLE_EQ(s.Frec, 2000.0);
}

TEST(InputEqDrag, PressTakesHoldNearTheMarkerOnly)
{
    TSOS s;
    s.Tipo = 1;
    s.Frec = 1000;
    s.Gain = 3.0;
    struct Row {
        double decades; // from the marker's frequency
        double db;      // from the marker's level
        bool starts;
    };
    const Row rows[] = {{0, 0, true},       {0.069, 0, true},  {-0.069, 0, true}, {0.071, 0, false},
                        {-0.071, 0, false}, {0, 1.99, true},   {0, -1.99, true},  {0, 2.01, false},
                        {0, 3.0, false},    {0.05, 1.5, true}, {1.0, 0, false}};
    for (const Row& r : rows)
        EXPECT_EQ(bandDragStarts(s, 1000 * std::pow(10.0, r.decades), 3.0 + r.db), r.starts)
            << r.decades << " " << r.db;
    // The marker sits at the fields' values: 999.6 Hz and 3.04 dB show as 1000 and 3.0.
    s.Frec = 999.6;
    s.Gain = 3.04;
    EXPECT_TRUE(bandDragStarts(s, 1000 * std::pow(10.0, 0.0699), 5.0));
    s.Tipo = 20;
    EXPECT_FALSE(bandDragStarts(s, 1000, 3.0));
}

TEST(InputEqDrag, DraggedGainByType)
{
    // A drag at 4.26 dB stores 4.3 dB, except for the types that have no gain.
    struct Row {
        int tipo;
        double y;
        double gain;
    };
    const Row rows[] = {{0, 4.26, 4.3}, {1, 4.26, 4.3}, {2, 4.26, 4.3},  {5, -4.26, -4.3}, {6, 4.26, 0},
                        {7, 4.26, 0},   {8, 4.26, 4.3}, {9, 4.26, 0},    {10, 4.26, 0},    {11, 4.26, 0},
                        {15, 4.26, 0},  {16, 4.26, 0},  {17, 4.26, 4.3}, {1, 30, 12},      {1, -30, -15}};
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(bandDragGain(r.tipo, r.y), r.gain) << r.tipo << " " << r.y;

    Configuration c;
    setInputBandType(c, InputId::A, 1, 6);
    dragInputBand(c, InputId::A, 1, 2345.4, 7.0);
    EXPECT_DOUBLE_EQ(inputBand(c, InputId::A, 1).Frec, 2345.0);
    EXPECT_DOUBLE_EQ(inputBand(c, InputId::A, 1).Gain, 0.0);
}

TEST(InputEqResponse, BankSumsItsBandCountOnly)
{
    // A +6 dB peak in band 3: outside the bank while the count is 2.
    Configuration c;
    setInputBandType(c, InputId::A, 3, 1);
    setInputBandGain(c, InputId::A, 3, 6.0);
    ChainResponse r;
    inputBankResponse(c, InputId::A, r);
    EXPECT_EQ(*std::max_element(r.magnitudeDb.begin(), r.magnitudeDb.end()), 0.0f);
    selectInputBand(c, InputId::A, 3);
    inputBankResponse(c, InputId::A, r);
    // The peak is +6 dB at 1000 Hz; the grid's nearest points lie within 1 % of it, where a
    // Q of 0.7 has lost less than 0.01 dB.
    EXPECT_NEAR(*std::max_element(r.magnitudeDb.begin(), r.magnitudeDb.end()), 6.0f, 0.01f);
}

TEST(InputEqResponse, PhaseCurveStaysWithin180Degrees)
{
    // Six second-order all-passes close together: below them each adds up to -pi, so the
    // summed phase leaves -pi .. pi by far.
    Configuration c;
    for (int band = 1; band <= 6; ++band) {
        selectInputBand(c, InputId::A, band);
        setInputBandType(c, InputId::A, band, 11);
        setInputBandFrequency(c, InputId::A, band, 1000.0 + 100.0 * band);
        setInputBandQ(c, InputId::A, band, 0.5);
    }
    ChainResponse r;
    inputBankResponse(c, InputId::A, r);
    EXPECT_LT(*std::min_element(r.phaseRad.begin(), r.phaseRad.end()), -2 * std::numbers::pi);
    std::array<double, kGridPoints> curve{};
    responseCurve(r, true, curve);
    for (size_t k = 0; k < curve.size(); ++k) {
        EXPECT_GE(curve[k], -180.0) << k;
        EXPECT_LE(curve[k], 180.0) << k;
        // The same angle: the difference is a whole number of turns.
        const double turns = (r.phaseRad[k] * 180.0 / std::numbers::pi - curve[k]) / 360.0;
        EXPECT_NEAR(turns, std::round(turns), 1e-6) << k;
    }
    responseCurve(r, false, curve);
    EXPECT_EQ(curve[200], static_cast<double>(r.magnitudeDb[200]));
}

TEST(InputEqTexts, StatusAndReadout)
{
    EXPECT_EQ(bandPressStatus(999.6, 3.45678), "1000 Hz , 3.457 dBs");
    EXPECT_EQ(bandPressStatus(20.4, -12.0), "20 Hz , -12 dBs");
    EXPECT_EQ(dragStatus(999.6, 3.45678), "1000 Hz , 3.46 dBs");
    EXPECT_EQ(curveReadout(1500.5, -179.994, true), "1500 Hz , -179.99 degrees");
    EXPECT_EQ(curveReadout(1501.5, 0.5, false), "1502 Hz , 0.50 dBs");
}

} // namespace
