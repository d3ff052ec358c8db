#include "tools/outputview.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "config/inputeqediting.h"
#include "dsp/compmath.h"
#include "dsp/tsos.h"
#include "dsp/txover.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

constexpr std::array<std::string_view, kViewInfluenceCount> kInfluenceNames = {"peq",   "xover", "peqx",
                                                                               "delay", "gain",  "speaker"};

void addTerm(std::array<double, kGridPoints>& sum, const std::array<float, kGridPoints>& term)
{
    for (size_t i = 0; i < kGridPoints; ++i)
        sum[i] += static_cast<double>(term[i]);
}

// `inputBank`, when given, is the response of the input bank in the output's path.
void computeView(const Configuration& config, int output, const ViewFlags& with, const ChainResponse* inputBank,
                 ViewCurve& out)
{
    const OutputChannelSettings& o = config.output(output);
    const double gain = with.gain ? outputGainTermDb(config, output) : 0.0;
    out.levelDb.fill(gain);
    out.phaseRad.fill(0.0);

    ChainResponse chain;
    if (with.peqx) {
        AddBankResponse(o.peqx, o.peqxCount, chain);
        addTerm(out.levelDb, chain.magnitudeDb);
        addTerm(out.phaseRad, chain.phaseRad);
    }
    if (with.peq) {
        if (inputBank == nullptr) {
            inputBankResponse(config, config.bankForRoute(o.route), chain);
            inputBank = &chain;
        }
        addTerm(out.levelDb, inputBank->magnitudeDb);
        addTerm(out.phaseRad, inputBank->phaseRad);
    }
    if (with.xover) {
        AddChainResponse(crossoverChain(o.xover), chain);
        addTerm(out.levelDb, chain.magnitudeDb);
        addTerm(out.phaseRad, chain.phaseRad);
    }
    const MeasuredResponse& measured = config.measurement.responses[static_cast<size_t>(output - 1)];
    if (with.speaker && measured.present && !measured.impedance) {
        addTerm(out.levelDb, measured.level);
        addTerm(out.phaseRad, measured.phaseRad);
    }
    out.includedDelayMs = 0.0;
    if (with.outDelays) {
        const int32_t n = o.delaySamples();
        const FrequencyGrid& grid = frequencyGrid();
        for (size_t i = 0; i < kGridPoints; ++i)
            out.phaseRad[i] -= kTwoPi * grid.frequencyHz[i] * n / kSampleRate;
        out.includedDelayMs = delayMsFromSamples(n);
    }
    if (o.inverted())
        for (double& p : out.phaseRad)
            p -= std::numbers::pi;
}

} // namespace

bool viewInfluence(const ViewFlags& flags, ViewInfluence which)
{
    switch (which) {
    case ViewInfluence::Peq:
        return flags.peq;
    case ViewInfluence::Xover:
        return flags.xover;
    case ViewInfluence::Peqx:
        return flags.peqx;
    case ViewInfluence::OutDelays:
        return flags.outDelays;
    case ViewInfluence::Gain:
        return flags.gain;
    case ViewInfluence::Speaker:
        return flags.speaker;
    }
    return false;
}

void setViewInfluence(ViewFlags& flags, ViewInfluence which, bool on)
{
    switch (which) {
    case ViewInfluence::Peq:
        flags.peq = on;
        break;
    case ViewInfluence::Xover:
        flags.xover = on;
        break;
    case ViewInfluence::Peqx:
        flags.peqx = on;
        break;
    case ViewInfluence::OutDelays:
        flags.outDelays = on;
        break;
    case ViewInfluence::Gain:
        flags.gain = on;
        break;
    case ViewInfluence::Speaker:
        flags.speaker = on;
        break;
    }
}

std::string_view viewInfluenceName(ViewInfluence which)
{
    return kInfluenceNames[static_cast<size_t>(which)];
}

std::optional<ViewFlags> parseViewInfluences(std::string_view list)
{
    ViewFlags flags{false, false, false, false, false, false};
    if (list == "none") return flags;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view name = list.substr(start, comma - start);
        const auto* found = std::find(kInfluenceNames.begin(), kInfluenceNames.end(), name);
        if (found == kInfluenceNames.end()) return std::nullopt;
        setViewInfluence(flags, static_cast<ViewInfluence>(found - kInfluenceNames.begin()), true);
        start = comma + 1;
    }
    return flags;
}

double outputGainTermDb(const Configuration& config, int output)
{
    const OutputChannelSettings& o = config.output(output);
    // The processor scales an output by the level of the channel its route takes, whatever bank
    // the route's equaliser selector names; the A+B mix is the sum of both inputs, hence twice.
    double a = 1.0;
    switch (o.route) {
    case RouteSource::A:
        a = config.input(InputId::A).linearGain();
        break;
    case RouteSource::AB:
        a = 2.0 * static_cast<double>(config.input(InputId::M).linearGain());
        break;
    case RouteSource::B:
        a = config.input(InputId::B).linearGain();
        break;
    }
    return 20.0 * std::log10(std::fabs(a * o.linearGain()));
}

void computeOutputView(const Configuration& config, int output, const ViewFlags& with, ViewCurve& out)
{
    computeView(config, output, with, nullptr, out);
}

ViewCurve outputView(const Configuration& config, int output, const ViewFlags& with)
{
    ViewCurve curve;
    computeOutputView(config, output, with, curve);
    return curve;
}

bool computeAddView(std::span<const ViewCurve* const> curves, ViewCurve& out)
{
    if (curves.empty()) return false;
    std::array<double, kGridPoints> re{};
    std::array<double, kGridPoints> im{};
    double delayMs = curves[0]->includedDelayMs;
    for (const ViewCurve* c : curves) {
        delayMs = std::min(delayMs, c->includedDelayMs);
        for (size_t i = 0; i < kGridPoints; ++i) {
            const double m = std::pow(10.0, c->levelDb[i] / 20.0);
            re[i] += m * std::cos(c->phaseRad[i]);
            im[i] += m * std::sin(c->phaseRad[i]);
        }
    }
    for (size_t i = 0; i < kGridPoints; ++i) {
        const double m = std::hypot(re[i], im[i]);
        out.levelDb[i] = m > 0.0 ? 20.0 * std::log10(m) : kMagnitudeFloorDb;
        out.phaseRad[i] = Atan2(re[i], im[i]);
    }
    // The smallest delay of the sum's parts: what they all share at least.
    out.includedDelayMs = delayMs;
    return true;
}

void unwrapPhase(std::span<double> phaseRad)
{
    if (phaseRad.empty()) return;
    double offset = 0.0;
    double previous = phaseRad[0];
    for (size_t i = 1; i < phaseRad.size(); ++i) {
        const double raw = phaseRad[i];
        const double step = raw - previous;
        offset -= kTwoPi * std::floor((step + std::numbers::pi) / kTwoPi);
        previous = raw;
        phaseRad[i] = raw + offset;
    }
}

void groupDelayMs(const ViewCurve& curve, std::array<double, kGridPoints>& out)
{
    const FrequencyGrid& grid = frequencyGrid();
    const double referenceS = curve.includedDelayMs / 1000.0;
    // Without the included delay the phase changes slowly enough between points to unwrap.
    std::array<double, kGridPoints> rest{};
    for (size_t i = 0; i < kGridPoints; ++i)
        rest[i] = curve.phaseRad[i] + kTwoPi * grid.frequencyHz[i] * referenceS;
    unwrapPhase(rest);
    const auto& f = grid.frequencyHz;
    for (size_t i = 0; i < kGridPoints; ++i) {
        size_t lo = i;
        while (lo > 0 && f[lo] == f[i])
            --lo;
        if (f[lo] == f[i]) lo = i;
        size_t hi = i;
        while (hi + 1 < kGridPoints && f[hi] == f[i])
            ++hi;
        if (f[hi] == f[i]) hi = i;
        const double df = static_cast<double>(f[hi] - f[lo]);
        const double slope = df > 0.0 ? (rest[hi] - rest[lo]) / (kTwoPi * df) : 0.0;
        out[i] = (referenceS - slope) * 1000.0;
    }
}

const ViewCurve& OutputViewState::computeOutput(const Configuration& config, int output, const ViewFlags& with)
{
    ViewCurve& total = m_totals[static_cast<size_t>(output - 1)];
    computeView(config, output, with, nullptr, total);
    return total;
}

void OutputViewState::refresh(const Configuration& config, int current)
{
    std::array<ChainResponse, kInputCount> banks;
    std::array<bool, kInputCount> evaluated{};
    for (int n = 1; n <= kOutputCount; ++n) {
        if (n != current && !config.output(n).peqxView) continue;
        const ChainResponse* bank = nullptr;
        if (config.view.peq) {
            const auto id = static_cast<size_t>(config.bankForRoute(config.output(n).route));
            if (!evaluated[id]) inputBankResponse(config, static_cast<InputId>(id), banks[id]);
            evaluated[id] = true;
            bank = &banks[id];
        }
        computeView(config, n, config.view, bank, m_totals[static_cast<size_t>(n - 1)]);
    }
    computeAdd(config);
}

bool OutputViewState::computeAdd(const Configuration& config)
{
    std::array<const ViewCurve*, kOutputCount> shown{};
    size_t count = 0;
    for (int n = 1; n <= kOutputCount; ++n)
        if (config.output(n).peqxView) shown[count++] = &m_totals[static_cast<size_t>(n - 1)];
    m_hasAdd = computeAddView(std::span<const ViewCurve* const>(shown.data(), count), m_add);
    return m_hasAdd;
}

std::string outputViewStatusText(bool addView, int frequencyHz, double value, std::string_view unit)
{
    std::string text = addView ? texts::kAddResponse : "";
    text += formatInteger(frequencyHz) + texts::kHzSeparator + formatFixed(value, 2);
    text += unit;
    text += " ";
    return text;
}

} // namespace kvr::core
