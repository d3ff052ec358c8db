#include "config/crossoverediting.h"

#include <cmath>

#include "util/numtext.h"
#include "util/rounding.h"

namespace kvr::core {

namespace {

constexpr int kCustomFamily = 4;

bool validOutput(int output)
{
    return output >= 1 && output <= kOutputCount;
}

// The sections the side's design put in use (a custom side: ceil(order / 2)).
int sectionsInUse(const TXOVERPB& side)
{
    return clampTo(side.NumSections, 1, kCustomSections);
}

} // namespace

bool isCustomSide(const TXOVERPB& side, CrossoverSide which)
{
    return side.Tipo == crossoverCodeFromFamily(which, kCustomFamily);
}

std::string crossoverFrequencyText(const TXOVERPB& side)
{
    return formatInteger(crossoverSpinFromFrequency(side.Frec));
}

CustomSideView customSideView(const TXOVERPB& side, CrossoverSide which)
{
    CustomSideView view;
    const bool custom = isCustomSide(side, which);
    view.orderEnabled = custom;
    view.order = clampTo(side.Orden, 1, 8);
    const bool bypassed = side.Tipo == 0;
    const int count = sectionsInUse(side);
    const bool odd = view.order % 2 != 0;
    for (int k = 0; k < kCustomSections; ++k) {
        CustomSectionView& s = view.sections[static_cast<size_t>(k)];
        const TSOS& section = side.Sections[static_cast<size_t>(k)];
        s.visible = !bypassed && k < count;
        s.editable = s.visible && custom;
        s.qVisible = s.visible && !(odd && k == 0);
        s.frequencyHz = customFrequencyFromField(section.Frec, which == CrossoverSide::High);
        s.q = customQFromField(section.Q);
        s.frequencyText = formatFixed(s.frequencyHz, 0);
        s.qText = formatFixed(s.q, 3);
    }
    return view;
}

Notices setCustomSectionFrequency(Configuration& config, int output, CrossoverSide side, int section, double hz)
{
    if (!validOutput(output) || section < 1 || section > kCustomSections || std::isnan(hz)) return {};
    TXOVERPB& s = crossoverSide(config, output, side);
    if (!customSideView(s, side).sections[static_cast<size_t>(section - 1)].editable) return {};
    s.Sections[static_cast<size_t>(section - 1)].Frec = customFrequencyFromField(hz, side == CrossoverSide::High);
    return applyCrossoverSide(config, output, side);
}

Notices setCustomSectionQ(Configuration& config, int output, CrossoverSide side, int section, double q)
{
    if (!validOutput(output) || section < 1 || section > kCustomSections || std::isnan(q)) return {};
    TXOVERPB& s = crossoverSide(config, output, side);
    const CustomSectionView view = customSideView(s, side).sections[static_cast<size_t>(section - 1)];
    if (!view.editable || !view.qVisible) return {};
    s.Sections[static_cast<size_t>(section - 1)].Q = customQFromField(q);
    return applyCrossoverSide(config, output, side);
}

Notices setCustomOrder(Configuration& config, int output, CrossoverSide side, int order)
{
    if (!validOutput(output) || !customSideView(crossoverSide(config, output, side), side).orderEnabled) return {};
    return setCrossoverOrder(config, output, side, order);
}

void setCrossoverLink(Configuration& config, int link, bool on)
{
    if (link < 1 || link > kOutputCount - 1) return;
    config.links.crossover[static_cast<size_t>(link - 1)] = on;
}

Notices copyCrossover(Configuration& config, int from, int to)
{
    if (!validOutput(from) || !validOutput(to) || from == to) return {};
    config.output(to).xover = config.output(from).xover;
    Notices notices = applyCrossoverSide(config, to, CrossoverSide::Low);
    for (std::string& n : applyCrossoverSide(config, to, CrossoverSide::High))
        notices.push_back(std::move(n));
    return notices;
}

bool crossoverSideDraggable(const TXOVERPB& side, CrossoverSide which)
{
    return side.Tipo != 0 && !isCustomSide(side, which);
}

bool crossoverDragStarts(const Configuration& config, int output, CrossoverSide side, double f)
{
    if (!validOutput(output) || !(f > 0.0) || !std::isfinite(f)) return false;
    const TXOVERPB& s = crossoverSide(config, output, side);
    if (!crossoverSideDraggable(s, side)) return false;
    return std::fabs(std::log10(f) - std::log10(crossoverSpinFromFrequency(s.Frec))) <= kCrossoverDragDecades;
}

Notices dragCrossoverSide(Configuration& config, int output, CrossoverSide side, double f)
{
    if (!validOutput(output) || std::isnan(f)) return {};
    return setCrossoverFrequency(config, output, side, f);
}

void crossoverResponse(const Configuration& config, int output, ChainResponse& out)
{
    AddChainResponse(crossoverChain(config.output(clampTo(output, 1, kOutputCount)).xover), out);
}

} // namespace kvr::core
