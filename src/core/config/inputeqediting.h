#pragma once

#include <array>
#include <string>

#include "config/configuration.h"
#include "config/conversions.h"
#include "dsp/tsos.h"

// The input equaliser editor's rules: the banks PEQA (input A), PEQB (input B) and PEQM (A+B),
// their bands, the fields that hold a band's values, and the band marker drag. Each operation
// is "the user changed control X of bank b, band n to v", so a command line applies an edit
// exactly as the window does. Bands are numbered 1..6 as the band spin shows them.

namespace kvr::core {

// Which of a band's controls its section type enables.
struct BandControls {
    bool gain = false;     // the gain field, its spin buttons and label
    bool q = false;        // the Q field, its spin buttons, slider, track bar and label
    bool analog = false;   // types 19 and 20: the L, H and B fields instead; marks hidden
    bool zeroGain = false; // choosing the type sets the gain to 0

    bool operator==(const BandControls&) const = default;
};
BandControls bandControls(int tipo);

// A band as its fields show it: each value clamped to its field's range and rounded to its
// format, with the field's text.
struct BandFields {
    double frequencyHz = 0;  // FrecEdit, whole Hz
    double gainDb = 0;       // GainEdit, one decimal
    double q = 0;            // QEdit, one decimal
    int qBar = kQBarDefault; // QBar position, round(Q x 10)
    double l = 0;            // LEdit: frequency / 100
    double h = 0;            // HEdit: Q / 100
    double b = 0;            // BEdit: the gain as a plain ratio
    std::string frequencyText, gainText, qText, lText, hText, bText;
};
BandFields bandFields(const TSOS& band);

// The section behind band n (1..6) of a bank.
TSOS& inputBand(Configuration& config, InputId bank, int band);
const TSOS& inputBand(const Configuration& config, InputId bank, int band);
int clampBand(int band);
// Designs an equaliser section again with the configuration's constant-Q choice.
void redesignBand(const Configuration& config, TSOS& section);

// ---- The user's changes (each designs the band again) ----
// Selecting band n raises the bank's band count to n when it is smaller; it never lowers it.
void selectInputBand(Configuration& config, InputId bank, int band);
// The type list: item index = type code (0..11).
void setInputBandType(Configuration& config, InputId bank, int band, int typeItem);
// The fields, through their clamps and formats. A field that the band's type disables or hides
// changes nothing.
void setInputBandFrequency(Configuration& config, InputId bank, int band, double hz);
void setInputBandGain(Configuration& config, InputId bank, int band, double db);
void setInputBandQ(Configuration& config, InputId bank, int band, double q);
// The Q track bar: Q = position / 10, through the Q field (position 2 gives 0.3).
void setInputBandQBar(Configuration& config, InputId bank, int band, int position);
// Enter in L, H or B (types 19 and 20): frequency = L x 100, Q = H x 100, gain = B.
void setInputBandAnalog(Configuration& config, InputId bank, int band, double l, double h, double b);
// Q up or down by `steps` field steps from what the Q field shows (the mouse wheel).
void stepInputBandQ(Configuration& config, InputId bank, int band, int steps);

// ---- Band marker drag (magnitude view) ----
// Whether a press at (f, y) takes hold of the band's marker: within 0.07 decades of the
// frequency field and 2 dB of the gain field; never for types 19 and 20.
bool bandDragStarts(const TSOS& band, double f, double y);
// The gain a drag at level y gives: y to one decimal, or 0 for the types without a gain.
double bandDragGain(int tipo, double y);
// A press or move of a drag: frequency and gain fields from the mouse position.
void dragInputBand(Configuration& config, InputId bank, int band, double f, double y);

// ---- The bank selectors and view checks ----
// PEQAGroup / PEQBGroup / PEQMGroup: which bank input `input` passes through (0 PEQA, 1 PEQM, 2 PEQB).
void setInputBankSource(Configuration& config, InputId input, int source);
void setInputBankView(Configuration& config, InputId bank, bool on);

// ---- Responses and readouts ----
// The bank's response: its first (band count) sections over the FrequencyGrid.
void inputBankResponse(const Configuration& config, InputId bank, ChainResponse& out);
// A response as plotted: magnitudes in dB, or phases in degrees wrapped to -180..+180.
void responseCurve(const ChainResponse& response, bool phase, std::array<double, kGridPoints>& out);
// Status texts: "1000 Hz , 3.456 dBs" at a press (four significant digits), "1000 Hz , 3.46 dBs"
// while dragging, and the curve readout "1000 Hz , 3.46 dBs" / "... degrees".
std::string bandPressStatus(double f, double y);
std::string dragStatus(double f, double y);
std::string curveReadout(double hz, double value, bool phase);

} // namespace kvr::core
