#pragma once

#include <cstdint>
#include <string>

#include "config/configuration.h"
#include "config/conversions.h"

// The output equaliser editor's rules: what a change of one of its band controls does to output
// n's bank PEQXn, what the controls show for a band, and the band marker's drag. Bands are 1..6.

namespace kvr::core {

// Which of a band's controls a type enables.
struct BandControlRules {
    bool gainEnabled = false;
    bool gainShownAsZero = false; // types 15 and 16: the gain field reads 0
    bool qEnabled = false;
    bool analogFields = false; // types 19 and 20: `LEdit`, `HEdit`, `BEdit` instead of frequency, gain, Q
};
BandControlRules outputBandRules(uint8_t tipo);

// What the band's controls show, filled from its section.
struct OutputBandControls {
    int typeItem = 0; // item of `TipoFiltroCombo`; -1 for a code the list does not hold
    BandControlRules rules;
    double frequencyHz = 1000.0; // `FrecEdit`, whole Hz
    double gainDb = 0.0;         // `GainEdit`
    double q = 0.7;              // `QEdit`
    std::string frequencyText, gainText, qText;
    int qBar = 7;                   // `QBar`
    int qSlider = 195;              // `QSlider`
    double qMin = 0.3, qMax = 20.0; // the Q field's range (0.0001..101 for types 19 and 20)
    bool marksShown = true;
    std::string lText, hText, bText; // `LEdit` (frequency / 100), `HEdit` (Q / 100), `BEdit` (gain)
};
OutputBandControls outputBandControls(const TSOS& section);

TSOS& outputBand(Configuration& config, int output, int band);
const TSOS& outputBand(const Configuration& config, int output, int band);

// ---- The user's changes of the band controls of output n (each designs the section) ----
// `SpinFiltro`: selecting band n raises the bank's band count to n (never lowers it).
void selectOutputBand(Configuration& config, int output, int band);
// `TipoFiltroCombo`: the type code of the item (0..11). The design of "LowPass" and "HiPass"
// sets their gain to 0, as every design of those types does.
void setOutputBandType(Configuration& config, int output, int band, int typeItem);
// Field values pass through their field (clamp, format). Types 19 and 20 have these fields
// hidden and take their values through `LEdit` and `BEdit` instead.
void setOutputBandFrequency(Configuration& config, int output, int band, double hz);
void setOutputBandGain(Configuration& config, int output, int band, double db);
// `QEdit`: the track bar moves to round(Q x 10) and, being the master, stores Q from there.
void setOutputBandQ(Configuration& config, int output, int band, double q);
void setOutputBandQBar(Configuration& config, int output, int band, int position);
void setOutputBandQSlider(Configuration& config, int output, int band, int value);
// `LEdit`, `HEdit`, `BEdit` together: frequency = L x 100, Q = H x 100, gain = B.
void setOutputBandAnalog(Configuration& config, int output, int band, double l, double h, double b);
// "Const Q" / "Adapt Q": the type-1 design of every bank, input and output, follows at once.
void setConstantQ(Configuration& config, bool constantQ);

// ---- The band marker (magnitude view) ----
// The marker sits at the band's frequency and stored gain; the press test compares the mouse with
// the frequency and gain fields. Types 19 and 20 have no marker to take.
bool outputBandMarkerHit(const TSOS& section, double mouseHz, double mouseDb);
// A press begins a drag on a hit, unless the shift state is exactly Shift with the left button.
bool outputBandDragBegins(const TSOS& section, double mouseHz, double mouseDb, bool shiftWithLeftOnly);
// The press and every move of a drag: gain := round(y x 10) / 10, then frequency := f, both
// through their fields. Types 6, 7, 9, 10, 11, 15 and 16 keep their stored gain.
void dragOutputBand(Configuration& config, int output, int band, double mouseHz, double mouseDb);
bool dragKeepsGain(uint8_t tipo);
// Status text of a drag: the frequency rounded, " Hz , ", the level (at the press in general
// format with four significant digits, while moving with two decimals) and " dBs".
std::string bandDragStatusText(double mouseHz, double mouseDb, bool press);

// ---- The output's own controls on this window ----
// `OutGainTrack` (the level track's scale, -400..100): its `OutGaindBL` text, one decimal.

// `msecL`: the delay of a delay track position in ms, outputDelayReadout(...).ms.
// Graph title: the output button's caption + " Equalization".
std::string outputEqTitle(const std::string& outputCaption);

} // namespace kvr::core
