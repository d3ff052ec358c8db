#pragma once

#include <array>
#include <string>

#include "config/editing.h"
#include "dsp/tsos.h"

// The crossover editor's rules beyond the Normal page's chains of editing.h: the Custom page
// (per-section frequency and Q, which sections show and which can be edited), the link check
// boxes, dragging a side's frequency on the plot, copying a crossover, and the per-output
// response the editor plots and the output view sums. Every change goes through
// applyCrossoverSide, so the never-cross rule, the links and the automatic dynamics times
// follow as they do for the Normal page's controls.

namespace kvr::core {

constexpr int kCustomSections = 4;
constexpr double kCustomFrequencyStep = 1.0; // Hz, arrow keys and spin buttons
constexpr double kCustomQKeyStep = 0.1;      // arrow keys
constexpr double kCustomQSpinStep = 0.05;    // spin buttons
// A press takes hold of a side's frequency within this distance of it.
constexpr double kCrossoverDragDecades = 0.07;

bool isCustomSide(const TXOVERPB& side, CrossoverSide which);
// The Normal page's frequency field: the side's frequency as a whole number in 20..20000.
std::string crossoverFrequencyText(const TXOVERPB& side);

// ---- Custom page ----
struct CustomSectionView {
    bool visible = false;
    bool editable = false; // a custom side's sections in use
    bool qVisible = false; // section 1 of an odd order is first order: no Q
    double frequencyHz = 0;
    double q = 0;
    std::string frequencyText;
    std::string qText;
};
struct CustomSideView {
    bool orderEnabled = false; // the order spin of a custom side
    int order = 4;
    std::array<CustomSectionView, kCustomSections> sections;
};
// A custom side shows its first ceil(order/2) sections editable; a side of another family shows
// them read-only; a bypassed side shows none.
CustomSideView customSideView(const TXOVERPB& side, CrossoverSide which);

// The user's changes of the Custom page (section 1..4). A field that is hidden or read-only
// changes nothing.
Notices setCustomSectionFrequency(Configuration& config, int output, CrossoverSide side, int section, double hz);
Notices setCustomSectionQ(Configuration& config, int output, CrossoverSide side, int section, double q);
// LowOrderCSpin / HighOrderCSpin: enabled for a custom side only; sets the side's order.
Notices setCustomOrder(Configuration& config, int output, CrossoverSide side, int order);

// ---- Links 1-2, 2-3, 3-4 (link 1..3) ----
// Checking a link stores it; the tied values follow the next time a person changes one of them.
void setCrossoverLink(Configuration& config, int link, bool on);

// ---- Copy ----
// Output `to` takes output `from`'s crossover as a person's change of both its sides: the
// never-cross rule holds, and the links carry its new low frequency to the previous output's
// high side and its new high frequency to the next output's low side. Other outputs stay.
Notices copyCrossover(Configuration& config, int from, int to);

// ---- Dragging a side's frequency on the plot (magnitude view) ----
// The left button takes the low side, the right button the high side. A press takes hold
// within 0.07 decades of the side's frequency, of a side that has one (not bypassed, not custom).
bool crossoverSideDraggable(const TXOVERPB& side, CrossoverSide which);
bool crossoverDragStarts(const Configuration& config, int output, CrossoverSide side, double f);
// A move of the drag: the side's frequency control takes the mouse frequency, rounded.
Notices dragCrossoverSide(Configuration& config, int output, CrossoverSide side, double f);

// ---- Response ----
// Output n's crossover over the FrequencyGrid: the high side's sections, then the low side's.
void crossoverResponse(const Configuration& config, int output, ChainResponse& out);

} // namespace kvr::core
