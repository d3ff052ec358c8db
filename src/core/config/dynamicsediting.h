#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"

// The dynamics editor's rules: its sliders' positions and labels, what a change of each control
// does to output n's `TDYNAMIC`, which controls are enabled, the transfer curve it plots and the
// readout over it. The automatic times are `setAutomaticTimes` (config/editing.h); the power
// information is `powerMemoLines` (tools/powercheck.h).

namespace kvr::core {

// Slider positions of a stage, filled from its stored values as the editor rounds them.
struct DynamicsPositions {
    int threshold = 0; // -40..36
    int ratio = 0;     // 2..20
    int gain = 0;      // -20..20
    int knee = 0;      // 0..20
    int attack = 0;    // 0..44, index into the attack times
    int release = 0;   // 0..38
    int gate = 0;      // 30..85
    int hold = 0;      // 0..33, index into the gate times
    int close = 0;     // 0..33
};
DynamicsPositions dynamicsPositions(const TDYNAMIC& dyn);

// Labels of the positions.
std::string thresholdText(int position);     // (-4 - p) / 2 dBu, one decimal: "8.0"
std::string ratioText(int position);         // (22 - p) / 2, one decimal ("10.0"); then ": 1"
std::string makeupGainText(int position);    // -p / 2 dB, one decimal
std::string kneeText(int position);          // (20 - p) / 2 dB, one decimal
std::string attackText(int position);        // "10 ms"
std::string releaseText(int position);       // "100 ms"
std::string gateThresholdText(int position); // "- 83 dBu"
std::string gateTimeText(int position);      // "300ms"
// The threshold's caption: "     Limit" for the limiter, "Threshold" for the compressor.
const char* thresholdCaption(const TDYNAMIC& dyn);

// Which controls the editor enables. A bypassed stage disables threshold, ratio, gain, knee,
// attack, release, the curve kind and the automatic-time check; the ratio is only for the
// compressor; automatic times hold attack and release; the gate has its own bypass.
struct DynamicsControlStates {
    bool threshold = true, ratio = true, gain = true, knee = true;
    bool attack = true, release = true, kind = true, autoTime = true;
    bool gateThreshold = true, hold = true, close = true;
};
DynamicsControlStates dynamicsControlStates(const TDYNAMIC& dyn);

// ---- The user's changes of output n's controls ----
// A change of a control the editor holds disabled does nothing. Each stage that changes is
// designed again (a bypassed one keeps the bypass knee values).
void setDynamicsThresholdPosition(Configuration& config, int output, int position);
void setDynamicsRatioPosition(Configuration& config, int output, int position);
void setDynamicsGainPosition(Configuration& config, int output, int position);
void setDynamicsKneePosition(Configuration& config, int output, int position);
// "Limiter" / "Compressor" (`CriKnee` 0 / 1).
void setDynamicsCompressor(Configuration& config, int output, bool compressor);
void setDynamicsAttackPosition(Configuration& config, int output, int position);
void setDynamicsReleasePosition(Configuration& config, int output, int position);
void setGateThresholdPosition(Configuration& config, int output, int position);
void setGateHoldPosition(Configuration& config, int output, int position);
void setGateClosePosition(Configuration& config, int output, int position);
// `DynBypassBoton`: bypassed, the stage keeps the bypass knee values; un-bypassed, it is designed.
void setDynamicsBypass(Configuration& config, int output, bool bypassed);
// `GateBypassBoton`: the gate alone.
void setGateBypass(Configuration& config, int output, bool bypassed);

// ---- The plot ----
struct CurvePoint {
    double inputDbu = 0.0;
    double outputDbu = 0.0;
};
// The transfer curve as plotted: each curve point in dBu, then (-40, gain - 40), kept in
// increasing input level (a later point at an input level already held replaces it).
std::vector<CurvePoint> dynamicsTransferCurve(const TDYNAMIC& dyn);
// The output level the readout shows for an input level x (dBu): below the knee start (the
// threshold in dBu less the knee) the curve is the straight line x + gain; above, the plotted
// curve's value at the nearest point.
double dynamicsReadoutDbu(const TDYNAMIC& dyn, double inputDbu);
// "Input  x dBu  :  Output  y dBu", one decimal each.
std::string dynamicsReadoutText(const TDYNAMIC& dyn, double inputDbu);

// Titles: "Dynamic " + the output button's caption; "Dynamic Ouput " + n; "Noise Gate Output " + n.
std::string dynamicsPlotTitle(const std::string& outputCaption);
std::string dynamicsPanelTitle(int output);
std::string gatePanelTitle(int output);
// `PowerMemoDyn`: the power information when `ViewPower` is checked, else empty.
std::vector<std::string> dynamicsPowerText(const TDYNAMIC& dyn, bool viewPower);

} // namespace kvr::core
