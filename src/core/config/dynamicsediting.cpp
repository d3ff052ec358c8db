#include "config/dynamicsediting.h"

#include <algorithm>

#include "config/editing.h"
#include "tools/powercheck.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

// The plot's reference point below the curve: input -40 dBu, output gain - 40 dBu.
constexpr double kCurveFloorDbu = -40.0;
// Levels relative to full scale are plotted in dBu by adding the full scale in dBu, as a double
// (the single-precision constant would show full scale as 13.850000381).
constexpr double kPlotDbuOffset = 13.85;

template <size_t N> float timeAt(const std::array<float, N>& table, int position)
{
    return table[static_cast<size_t>(clampTo(position, 0, static_cast<int>(N) - 1))];
}

// Applies a change to output n's stage when the control is enabled, then designs it.
template <typename Enabled, typename Change>
void change(Configuration& config, int output, Enabled enabled, Change apply)
{
    TDYNAMIC& dyn = config.output(output).dynamics;
    if (!enabled(dynamicsControlStates(dyn))) return;
    apply(dyn);
    designDynamicsStage(dyn);
}

} // namespace

DynamicsPositions dynamicsPositions(const TDYNAMIC& dyn)
{
    DynamicsPositions p;
    p.threshold = thresholdPositionFromStored(dyn.Umbral);
    p.ratio = ratioPositionFromValue(dyn.Ratio);
    p.gain = makeupGainPositionFromValue(dyn.GaindB);
    p.knee = kneePositionFromValue(dyn.Knee);
    p.attack = attackIndexFromMs(dyn.TAttack);
    p.release = releaseIndexFromMs(dyn.TRelease);
    p.gate = gatePositionFromStored(dyn.GateLevel);
    p.hold = gateTimeIndexFromMs(dyn.TAttackGate);
    p.close = gateTimeIndexFromMs(dyn.TReleaseGate);
    return p;
}

std::string thresholdText(int position)
{
    return formatFixed((-4 - clampTo(position, kThresholdPositionMin, kThresholdPositionMax)) / 2.0, 1);
}

std::string ratioText(int position)
{
    return formatFixed(ratioFromPosition(clampTo(position, kRatioPositionMin, kRatioPositionMax)), 1);
}

std::string makeupGainText(int position)
{
    return formatFixed(makeupGainFromPosition(clampTo(position, kGainPositionMin, kGainPositionMax)), 1);
}

std::string kneeText(int position)
{
    return formatFixed(kneeFromPosition(clampTo(position, kKneePositionMin, kKneePositionMax)), 1);
}

std::string attackText(int position)
{
    return formatGeneral(timeAt(kAttackTimesMs, position), 4) + texts::kUnitMs;
}

std::string releaseText(int position)
{
    return formatGeneral(timeAt(kReleaseTimesMs, position), 5) + texts::kUnitMs;
}

std::string gateThresholdText(int position)
{
    return texts::kGateLevelPrefix + formatInteger(-gateDbuFromPosition(position)) + texts::kDbu;
}

std::string gateTimeText(int position)
{
    return formatInteger(roundHalfEven(timeAt(kGateTimesMs, position))) + texts::kGateTimeMs;
}

const char* thresholdCaption(const TDYNAMIC& dyn)
{
    return dyn.CriKnee != 0 ? texts::kThresholdCompressor : texts::kThresholdLimiter;
}

DynamicsControlStates dynamicsControlStates(const TDYNAMIC& dyn)
{
    DynamicsControlStates s;
    const bool active = dyn.BypassF == 0;
    s.threshold = s.gain = s.knee = s.kind = s.autoTime = active;
    s.ratio = active && dyn.CriKnee != 0;
    // Automatic times hold attack and release, also after an un-bypass.
    s.attack = s.release = active && dyn.AuxFlag == 0;
    s.gateThreshold = s.hold = s.close = dyn.GateBypassF == 0;
    return s;
}

void setDynamicsThresholdPosition(Configuration& config, int output, int position)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.threshold; },
        [&](TDYNAMIC& d) {
            d.Umbral = thresholdStoredFromPosition(clampTo(position, kThresholdPositionMin, kThresholdPositionMax));
        });
}

void setDynamicsRatioPosition(Configuration& config, int output, int position)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.ratio; },
        [&](TDYNAMIC& d) { d.Ratio = ratioFromPosition(clampTo(position, kRatioPositionMin, kRatioPositionMax)); });
}

void setDynamicsGainPosition(Configuration& config, int output, int position)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.gain; },
        [&](TDYNAMIC& d) { d.GaindB = makeupGainFromPosition(clampTo(position, kGainPositionMin, kGainPositionMax)); });
}

void setDynamicsKneePosition(Configuration& config, int output, int position)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.knee; },
        [&](TDYNAMIC& d) { d.Knee = kneeFromPosition(clampTo(position, kKneePositionMin, kKneePositionMax)); });
}

void setDynamicsCompressor(Configuration& config, int output, bool compressor)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.kind; },
        [&](TDYNAMIC& d) { d.CriKnee = compressor ? 1 : 0; });
}

void setDynamicsAttackPosition(Configuration& config, int output, int position)
{
    // The times do not change the curve; designing keeps the attack coefficient with its time.
    change(
        config, output, [](const DynamicsControlStates& s) { return s.attack; },
        [&](TDYNAMIC& d) { d.TAttack = timeAt(kAttackTimesMs, position); });
}

void setDynamicsReleasePosition(Configuration& config, int output, int position)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.release; },
        [&](TDYNAMIC& d) { d.TRelease = timeAt(kReleaseTimesMs, position); });
}

void setGateThresholdPosition(Configuration& config, int output, int position)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.gateThreshold; },
        [&](TDYNAMIC& d) {
            d.GateLevel = gateStoredFromPosition(clampTo(position, kGatePositionMin, kGatePositionMax));
        });
}

void setGateHoldPosition(Configuration& config, int output, int position)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.hold; },
        [&](TDYNAMIC& d) { d.TAttackGate = timeAt(kGateTimesMs, position); });
}

void setGateClosePosition(Configuration& config, int output, int position)
{
    change(
        config, output, [](const DynamicsControlStates& s) { return s.close; },
        [&](TDYNAMIC& d) { d.TReleaseGate = timeAt(kGateTimesMs, position); });
}

void setDynamicsBypass(Configuration& config, int output, bool bypassed)
{
    TDYNAMIC& dyn = config.output(output).dynamics;
    dyn.BypassF = bypassed ? 1 : 0;
    designDynamicsStage(dyn);
}

void setGateBypass(Configuration& config, int output, bool bypassed)
{
    config.output(output).dynamics.GateBypassF = bypassed ? 1 : 0;
}

std::vector<CurvePoint> dynamicsTransferCurve(const TDYNAMIC& dyn)
{
    std::vector<CurvePoint> curve;
    const int points = clampTo<int32_t>(dyn.NPuntos, 1, kMaxCurvePoints);
    curve.reserve(static_cast<size_t>(points) + 1);
    auto add = [&curve](CurvePoint p) {
        // As the plot's series keeps its points: ascending input, a repeated input replaced.
        auto at = std::lower_bound(curve.begin(), curve.end(), p.inputDbu,
                                   [](const CurvePoint& c, double x) { return c.inputDbu < x; });
        if (at != curve.end() && at->inputDbu == p.inputDbu)
            *at = p;
        else
            curve.insert(at, p);
    };
    const double fullScale = kPlotDbuOffset;
    for (int i = 1; i <= points; ++i) {
        const auto k = static_cast<size_t>(i);
        add({static_cast<double>(dyn.InputDb[k]) + fullScale, static_cast<double>(dyn.OutputDb[k]) + fullScale});
    }
    add({kCurveFloorDbu, static_cast<double>(dyn.GaindB) + kCurveFloorDbu});
    return curve;
}

double dynamicsReadoutDbu(const TDYNAMIC& dyn, double inputDbu)
{
    const double kneeStart = static_cast<double>(dyn.Umbral) + kPlotDbuOffset - static_cast<double>(dyn.Knee);
    if (inputDbu < kneeStart) return inputDbu + static_cast<double>(dyn.GaindB);
    const std::vector<CurvePoint> curve = dynamicsTransferCurve(dyn);
    // The nearest point as the plot finds it: the first point not below x, or the one before it
    // when x lies at or below their midpoint; past the last point, the last.
    auto at = std::lower_bound(curve.begin(), curve.end(), inputDbu,
                               [](const CurvePoint& c, double x) { return c.inputDbu < x; });
    if (at == curve.end()) return curve.back().outputDbu;
    if (at != curve.begin() && at->inputDbu != inputDbu) {
        auto before = at - 1;
        if (inputDbu <= (before->inputDbu + at->inputDbu) / 2.0) return before->outputDbu;
    }
    return at->outputDbu;
}

std::string dynamicsReadoutText(const TDYNAMIC& dyn, double inputDbu)
{
    return texts::kReadoutInput + formatFixed(inputDbu, 1) + texts::kReadoutMiddle + texts::kReadoutOutput +
           formatFixed(dynamicsReadoutDbu(dyn, inputDbu), 1) + texts::kDbu;
}

std::string dynamicsPlotTitle(const std::string& outputCaption)
{
    return texts::kDynamicsPlotTitle + outputCaption;
}

std::string dynamicsPanelTitle(int output)
{
    return texts::kDynamicsPanel + std::to_string(output);
}

std::string gatePanelTitle(int output)
{
    return texts::kGatePanel + std::to_string(output);
}

std::vector<std::string> dynamicsPowerText(const TDYNAMIC& dyn, bool viewPower)
{
    if (!viewPower) return {};
    return powerMemoLines(dyn);
}

} // namespace kvr::core
