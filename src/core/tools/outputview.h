#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/configuration.h"
#include "dsp/frequencygrid.h"

// The output equaliser window's views of a whole output: the individual view of one output
// (its own equaliser, the input equaliser in its path, crossover, level, delay, polarity and
// measured speaker response, each switched in by an influence), the Add view (the complex sum
// of several outputs, the acoustic sum of a loudspeaker's ways) and the group delay of either.

namespace kvr::core {

// Level (dB) and phase (radians) at each grid point.
struct ViewCurve {
    std::array<double, kGridPoints> levelDb{};
    // Individual view: summed section phases, never wrapped. Add view: the sum's argument.
    std::array<double, kGridPoints> phaseRad{};
    // The pure delay the phase holds (the output delay when "OUT DELAYS" is on). The group delay
    // unwraps the phase around it, so long delays do not alias between grid points.
    double includedDelayMs = 0.0;
};

// The influence boxes of the view, in their window order.
enum class ViewInfluence { Peq, Xover, Peqx, OutDelays, Gain, Speaker };
constexpr int kViewInfluenceCount = 6;

bool viewInfluence(const ViewFlags& flags, ViewInfluence which);
void setViewInfluence(ViewFlags& flags, ViewInfluence which, bool on);
// The command-line names: "peq", "xover", "peqx", "delay", "gain", "speaker".
std::string_view viewInfluenceName(ViewInfluence which);
// A comma-separated list of those names, or "none": the influences switched on, all others off.
// Unknown or empty names give nothing.
std::optional<ViewFlags> parseViewInfluences(std::string_view list);

// The GAIN term of output n: 20 log10 |a o|, o the output's linear level and a the level of the
// input channel its route takes (input A, twice input A+B, input B).
double outputGainTermDb(const Configuration& config, int output);

// The individual view of output n with the given influences (the window passes config.view).
// Polarity turns the phase by -pi whatever the influences. The SPEAKER influence adds an
// imported response in dB; an impedance response (ohms) is not a level and adds nothing.
void computeOutputView(const Configuration& config, int output, const ViewFlags& with, ViewCurve& out);
ViewCurve outputView(const Configuration& config, int output, const ViewFlags& with);

// The Add view: the complex sum of 10^(L/20) e^(j phi) over the given curves, as level and
// argument (Atan2). False, and `out` untouched, when there is no curve: nothing is drawn. A sum
// that cancels exactly is held at the magnitude floor rather than minus infinity.
bool computeAddView(std::span<const ViewCurve* const> curves, ViewCurve& out);

// Phase made continuous: every step between neighbouring points brought within [-pi, pi).
void unwrapPhase(std::span<double> phaseRad);
// The group delay -dphi/domega in ms at each grid point, from the curve's phase unwrapped around
// its included delay. The slope at a point is taken between its nearest neighbours of other
// frequencies (neighbouring low grid points share a frequency), one-sided at the ends.
void groupDelayMs(const ViewCurve& curve, std::array<double, kGridPoints>& out);

// What the window keeps: each output's total from its last individual view, and the Add sum.
class OutputViewState {
public:
    // The individual view of output n, kept as its total.
    const ViewCurve& computeOutput(const Configuration& config, int output, const ViewFlags& with);
    const ViewCurve& computeOutput(const Configuration& config, int output)
    {
        return computeOutput(config, output, config.view);
    }
    // A refresh: the individual view of every shown output and of the current one, then the Add
    // sum. Input banks shared by several outputs are evaluated once.
    void refresh(const Configuration& config, int current);
    // The Add sum of the kept totals of the shown outputs (`VerPEQX1`..`VerPEQX4`). False when no
    // output is shown: nothing to draw.
    bool computeAdd(const Configuration& config);

    const ViewCurve& total(int output) const { return m_totals[static_cast<size_t>(output - 1)]; }
    bool hasAdd() const { return m_hasAdd; }
    const ViewCurve& addSum() const { return m_add; }

private:
    std::array<ViewCurve, kOutputCount> m_totals{};
    ViewCurve m_add;
    bool m_hasAdd = false;
};

// Status texts of the view while the mouse moves without a drag: in the individual view the
// nearest point's frequency, " Hz , ", its value with two decimals, the unit and " "; in the Add
// view the same after " Add Response : ".
std::string outputViewStatusText(bool addView, int frequencyHz, double value, std::string_view unit);

} // namespace kvr::core
