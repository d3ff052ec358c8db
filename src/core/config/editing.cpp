#include "config/editing.h"

#include <cmath>

#include "config/dynamicsediting.h"
#include "util/rounding.h"

namespace kvr::core {

namespace {
// Link chains end on their own (a copy of an unchanged value does nothing); this only guards
// against a clamp that could make two linked values chase each other.
constexpr int kMaxChainDepth = 32;

// A value as a single-precision field keeps it.
double singlePrecision(double v)
{
    return static_cast<float>(v);
}
} // namespace

// ---------------------------------------------------------------- input delays

InputDelayTracks::InputDelayTracks(Configuration& config) : m_config(config)
{
    for (int i = 0; i < kInputCount; ++i)
        m_positions[static_cast<size_t>(i)] =
            inputDelayCmFromSamples(config.inputs[static_cast<size_t>(i)].delaySamples, config.temperatureC);
}

InputDelayTracks::InputDelayTracks(Configuration& config, std::array<int, kInputCount> positions)
    : m_config(config), m_positions(positions)
{
}

void InputDelayTracks::setPosition(InputId id, int positionCm)
{
    positionCm = clampTo(positionCm, 0, kInputDelayPositionMax);
    int& current = m_positions[static_cast<size_t>(id)];
    if (current == positionCm) return;
    current = positionCm;
    changed(id);
}

void InputDelayTracks::changed(InputId id)
{
    int p = position(id);
    m_config.input(id).delaySamples = inputDelaySamplesFromCm(p, m_config.temperatureC);
    if (m_depth >= kMaxChainDepth) return;
    ++m_depth;
    const Links& links = m_config.links;
    switch (id) {
    case InputId::A:
        if (links.inputDelayAB) setPosition(InputId::B, p);
        if (links.inputDelayAll) setPosition(InputId::M, p);
        break;
    case InputId::B:
        if (links.inputDelayAB) setPosition(InputId::A, p);
        if (links.inputDelayAll) setPosition(InputId::M, p);
        break;
    case InputId::M:
        if (links.inputDelayAll) {
            setPosition(InputId::A, p);
            setPosition(InputId::B, p);
        }
        break;
    }
    --m_depth;
}

void InputDelayTracks::setTemperature(int celsius)
{
    m_config.temperatureC = clampTemperatureC(celsius);
    // Each track moves to its own new distance and runs no link: a link must not hand one
    // channel's new distance to another whose delay differs.
    activate();
}

void InputDelayTracks::setDistance(InputId id, double metres)
{
    if (std::isnan(metres)) return;
    setPosition(id, static_cast<int>(clampTo<int64_t>(roundHalfEven(metres * 100.0), 0, kInputDelayPositionMax)));
}

void InputDelayTracks::activate()
{
    // Every channel, moved or not, takes the samples of its track at the present temperature, so
    // the samples always lie on the 1 cm grid and a file reopened puts every track back where it was.
    for (InputId id : {InputId::A, InputId::B, InputId::M}) {
        InputChannelSettings& in = m_config.input(id);
        const int p = inputDelayCmFromSamples(in.delaySamples, m_config.temperatureC);
        m_positions[static_cast<size_t>(id)] = p;
        in.delaySamples = inputDelaySamplesFromCm(p, m_config.temperatureC);
    }
}

void InputDelayTracks::load()
{
    // The tracks of a fresh window move to the file's distances one after another, each move
    // running its links, in the order Open fills them.
    for (InputId id : {InputId::A, InputId::B, InputId::M})
        setPosition(id, inputDelayCmFromSamples(m_config.input(id).delaySamples, m_config.temperatureC));
}

// ---------------------------------------------------------------- output delays

namespace {

void outputDelayChain(Configuration& config, int output, int position, int depth)
{
    position = clampTo(position, 0, kOutputDelayPositionMax);
    int& current = config.output(output).delayPosition;
    if (current == position) return;
    current = position;
    if (depth >= kMaxChainDepth) return;
    const auto& link = config.links.outputDelay;
    if (output > 1 && link[static_cast<size_t>(output - 2)]) outputDelayChain(config, output - 1, position, depth + 1);
    if (output < kOutputCount && link[static_cast<size_t>(output - 1)])
        outputDelayChain(config, output + 1, position, depth + 1);
}

} // namespace

void setOutputDelayPosition(Configuration& config, int output, int position)
{
    outputDelayChain(config, output, position, 0);
}

void setOutputDelayMs(Configuration& config, int output, double ms)
{
    setOutputDelayPosition(config, output, outputDelayPositionFromMs(ms));
}

void setOutputDelayDistance(Configuration& config, int output, double cm, int celsius)
{
    setOutputDelayPosition(config, output, outputDelayPositionFromCm(cm, celsius));
}

void activateOutputDelays(Configuration& config, const std::array<int32_t, kOutputCount>& samples)
{
    for (int n = 1; n <= kOutputCount; ++n)
        setOutputDelayPosition(config, n, outputDelayPositionFromSamples(samples[static_cast<size_t>(n - 1)]));
}

// ---------------------------------------------------------------- crossovers

int crossoverCodeFromFamily(CrossoverSide side, int familyItem)
{
    familyItem = clampTo(familyItem, 0, kCrossoverFamilyCount - 1);
    if (familyItem == 0) return 0;
    return side == CrossoverSide::Low ? 2 * familyItem : 2 * familyItem - 1;
}

int crossoverFamilyFromCode(CrossoverSide side, int code)
{
    if (code <= 0 || code > kMaxCrossoverType) return 0;
    return side == CrossoverSide::Low ? code / 2 : (code + 1) / 2;
}

TXOVERPB& crossoverSide(Configuration& config, int output, CrossoverSide side)
{
    TXOVER& x = config.output(output).xover;
    return side == CrossoverSide::Low ? x.LowSide : x.HighSide;
}

const TXOVERPB& crossoverSide(const Configuration& config, int output, CrossoverSide side)
{
    const TXOVER& x = config.output(output).xover;
    return side == CrossoverSide::Low ? x.LowSide : x.HighSide;
}

static int customCode(CrossoverSide side)
{
    return side == CrossoverSide::Low ? static_cast<int>(CrossoverType::CustomHighPass)
                                      : static_cast<int>(CrossoverType::CustomLowPass);
}

std::string crossoverFrequencyLabel(const TXOVERPB& side, CrossoverSide which)
{
    if (side.Tipo == 0) return "  -- ";
    if (side.Tipo == customCode(which)) return "   C ";
    return std::to_string(roundHalfEven(side.Frec));
}

namespace {

class CrossoverApplier {
public:
    explicit CrossoverApplier(Configuration& config) : m_config(config) {}

    void apply(int n, CrossoverSide s)
    {
        if (m_depth >= kMaxChainDepth) return;
        ++m_depth;
        const int key = sideKey(n, s);
        ++m_onStack[static_cast<size_t>(key)];
        applyOnce(n, s);
        --m_onStack[static_cast<size_t>(key)];
        --m_depth;
    }

    Notices notices;

private:
    static int sideKey(int n, CrossoverSide s) { return 2 * (n - 1) + (s == CrossoverSide::High ? 1 : 0); }

    // The editor's spin value of a side is the side's frequency as a whole number in range.
    int spin(int n, CrossoverSide s) const { return crossoverSpinFromFrequency(crossoverSide(m_config, n, s).Frec); }

    // A link writes the other side's frequency control, which applies that side. A clamp that
    // holds the other side writes the held value back, and the side in hand takes it, so linked
    // sides always end equal (and opening, which applies the links again, changes nothing). A
    // second write back into a side means two clamps that disagree; it is dropped, as they would
    // otherwise re-apply each other for ever.
    void writeSpin(int n, CrossoverSide s, double hz)
    {
        int value = crossoverSpinFromFrequency(hz);
        if (value == spin(n, s) || m_onStack[static_cast<size_t>(sideKey(n, s))] > 1 || m_depth >= kMaxChainDepth)
            return;
        crossoverSide(m_config, n, s).Frec = value;
        apply(n, s);
    }

    void applyOnce(int n, CrossoverSide s)
    {
        TXOVER& x = m_config.output(n).xover;
        TXOVERPB& side = s == CrossoverSide::Low ? x.LowSide : x.HighSide;
        // A Bessel low-pass above its limit is applied once more at the limit, as its frequency
        // box does; within this application, so that a link may still write back into it.
        for (int pass = 0; pass < 2; ++pass) {
            double f = spin(n, s);
            if (s == CrossoverSide::Low && f >= x.HighSide.Frec)
                f = static_cast<double>(roundHalfEven(x.HighSide.Frec));
            if (s == CrossoverSide::High && !(f > x.LowSide.Frec))
                f = static_cast<double>(roundHalfEven(x.LowSide.Frec));
            side.Frec = f;
            side.Orden = clampTo(side.Orden, 1, 8);
            side.Tipo = static_cast<uint8_t>(crossoverCodeFromFamily(s, crossoverFamilyFromCode(s, side.Tipo)));
            if (side.Tipo != customCode(s)) {
                for (int k = 0; k < 4; ++k)
                    side.Sections[static_cast<size_t>(k)].Frec = side.Frec;
            } else {
                // A custom side keeps its sections' own frequencies, held as the file keeps them
                // (single precision): the first decides the automatic dynamics times, and one that a
                // Bessel design left at 249.99999774 Hz would come back from a file as 250 Hz.
                for (int k = 0; k < 4; ++k) {
                    TSOS& section = side.Sections[static_cast<size_t>(k)];
                    section.Frec = singlePrecision(section.Frec);
                }
            }

            SideDesignResult result = DesignSide(side);
            if (!result.besselLimitMessage) break;
            notices.push_back(*result.besselLimitMessage);
            // The side takes the limit; a low side above it comes down to it first, so that the
            // never-cross clamp and the limit cannot re-apply each other.
            side.Frec = result.limitHz;
            if (x.LowSide.Frec > result.limitHz) {
                x.LowSide.Frec = result.limitHz;
                apply(n, CrossoverSide::Low);
            }
        }
        runLinks(n);
    }

    void runLinks(int n)
    {
        const auto& link = m_config.links.crossover;
        // Link k-(k+1) ties output k's high side to output k+1's low side.
        if (n < kOutputCount && link[static_cast<size_t>(n - 1)])
            writeSpin(n + 1, CrossoverSide::Low, m_config.output(n).xover.HighSide.Frec);
        if (n > 1 && link[static_cast<size_t>(n - 2)])
            writeSpin(n - 1, CrossoverSide::High, m_config.output(n).xover.LowSide.Frec);
    }

    Configuration& m_config;
    int m_depth = 0;
    std::array<int, 2 * kOutputCount> m_onStack{};
};

// A low side that changes carries the automatic dynamics times of its output along at once:
// were they left to the next selection of the output, a file saved in between would change
// when opened again. Links and the never-cross rule may move any output's low side, so every
// output is looked at.
void followLowSides(Configuration& config)
{
    for (int n = 1; n <= kOutputCount; ++n) {
        TDYNAMIC& dyn = config.output(n).dynamics;
        if (dyn.AuxFlag == 0) continue;
        const float attack = dyn.TAttack;
        const float release = dyn.TRelease;
        applyAutomaticTimes(config, n);
        if (dyn.TAttack != attack || dyn.TRelease != release) designDynamicsStage(dyn);
    }
}

} // namespace

Notices applyCrossoverSide(Configuration& config, int output, CrossoverSide side)
{
    CrossoverApplier applier(config);
    applier.apply(output, side);
    followLowSides(config);
    return applier.notices;
}

Notices setCrossoverFrequency(Configuration& config, int output, CrossoverSide side, double hz)
{
    crossoverSide(config, output, side).Frec = crossoverSpinFromFrequency(hz);
    return applyCrossoverSide(config, output, side);
}

Notices setCrossoverOrder(Configuration& config, int output, CrossoverSide side, int order)
{
    crossoverSide(config, output, side).Orden = clampTo(order, 1, 8);
    return applyCrossoverSide(config, output, side);
}

Notices setCrossoverFamily(Configuration& config, int output, CrossoverSide side, int familyItem)
{
    crossoverSide(config, output, side).Tipo = static_cast<uint8_t>(crossoverCodeFromFamily(side, familyItem));
    return applyCrossoverSide(config, output, side);
}

Notices refillCrossovers(Configuration& config)
{
    CrossoverApplier applier(config);
    for (int n = 1; n <= kOutputCount; ++n) {
        applier.apply(n, CrossoverSide::Low);
        applier.apply(n, CrossoverSide::High);
    }
    followLowSides(config);
    return applier.notices;
}

// ---------------------------------------------------------------- dynamics

void designDynamicsStage(TDYNAMIC& dyn)
{
    DesignDynamics(dyn);
    if (dyn.BypassF != 0) {
        // The bypass button's values: the processor must see a transparent knee.
        dyn.KneeTop = 0.99f;
        dyn.KneeBottom = 0.707f;
    }
}

void applyAutomaticTimes(Configuration& config, int output)
{
    TDYNAMIC& dyn = config.output(output).dynamics;
    const TXOVERPB& low = config.output(output).xover.LowSide;
    float attack = 12.0f;
    float release = 200.0f;
    if (low.Tipo != 0) {
        double f = low.Sections[0].Frec;
        if (f < 63)
            attack = 16, release = 200;
        else if (f < 125)
            attack = 12, release = 150;
        else if (f < 250)
            attack = 7, release = 100;
        else if (f < 500)
            attack = 5, release = 80;
        else if (f < 1000)
            attack = 4, release = 60;
        else if (f < 2000)
            attack = 3, release = 40;
        else
            attack = 3, release = 30;
    }
    dyn.TAttack = attack;
    dyn.TRelease = release;
}

void setAutomaticTimes(Configuration& config, int output, bool on)
{
    TDYNAMIC& dyn = config.output(output).dynamics;
    // The check is disabled while the stage is bypassed.
    if (!dynamicsControlStates(dyn).autoTime) return;
    dyn.AuxFlag = on ? 1 : 0;
    if (on) applyAutomaticTimes(config, output);
    designDynamicsStage(dyn);
}

void selectDynamicsOutput(Configuration& config, int output)
{
    TDYNAMIC& dyn = config.output(output).dynamics;
    dyn.Umbral = thresholdStoredFromPosition(thresholdPositionFromStored(dyn.Umbral));
    dyn.Ratio = ratioFromPosition(ratioPositionFromValue(dyn.Ratio));
    dyn.GaindB = makeupGainFromPosition(makeupGainPositionFromValue(dyn.GaindB));
    dyn.Knee = kneeFromPosition(kneePositionFromValue(dyn.Knee));
    dyn.AuxFlag = dyn.AuxFlag != 0 ? 1 : 0;
    if (dyn.AuxFlag) applyAutomaticTimes(config, output);
    dyn.TAttack = kAttackTimesMs[static_cast<size_t>(attackIndexFromMs(dyn.TAttack))];
    dyn.TRelease = kReleaseTimesMs[static_cast<size_t>(releaseIndexFromMs(dyn.TRelease))];
    dyn.CriKnee = dyn.CriKnee != 0 ? 1 : 0;
    dyn.GateLevel = gateStoredFromPosition(gatePositionFromStored(dyn.GateLevel));
    dyn.TAttackGate = kGateTimesMs[static_cast<size_t>(gateTimeIndexFromMs(dyn.TAttackGate))];
    dyn.TReleaseGate = kGateTimesMs[static_cast<size_t>(gateTimeIndexFromMs(dyn.TReleaseGate))];
    designDynamicsStage(dyn);
}

void reselectAllDynamics(Configuration& config)
{
    for (int n : {2, 3, 4, 1})
        selectDynamicsOutput(config, n);
}

// ---------------------------------------------------------------- equalisers and redesign

void designBank(std::array<TSOS, kBandsPerBank>& bank, bool constantQ)
{
    for (TSOS& s : bank)
        s.Design(constantQ);
}

void redesignAll(Configuration& config)
{
    for (InputChannelSettings& in : config.inputs)
        designBank(in.peq, config.constantQ);
    for (OutputChannelSettings& out : config.outputs) {
        designBank(out.peqx, config.constantQ);
        DesignSide(out.xover.LowSide);
        DesignSide(out.xover.HighSide);
        designDynamicsStage(out.dynamics);
    }
}

// ---------------------------------------------------------------- copying outputs

Notices copyOutput(Configuration& config, int from, int to, const CopyOptions& what)
{
    Notices notices;
    if (from == to || from < 1 || to < 1 || from > kOutputCount || to > kOutputCount) return notices;
    const OutputChannelSettings src = config.output(from);
    OutputChannelSettings& dst = config.output(to);
    if (what.route) dst.route = src.route;
    if (what.xover) {
        dst.xover = src.xover;
        notices = refillCrossovers(config);
    }
    if (what.peqx) {
        dst.peqxCount = src.peqxCount;
        dst.peqx = src.peqx;
        designBank(dst.peqx, config.constantQ);
        // The measured response goes with its file name, so the two never disagree.
        config.measurement.fileNames[static_cast<size_t>(to - 1)] =
            config.measurement.fileNames[static_cast<size_t>(from - 1)];
        config.measurement.responses[static_cast<size_t>(to - 1)] =
            config.measurement.responses[static_cast<size_t>(from - 1)];
    }
    // The destination's track moves as a person's move does, so the outputs linked to it follow.
    if (what.outputDelay) setOutputDelayPosition(config, to, src.delayPosition);
    if (what.outputGain) {
        dst.levelPosition = src.levelPosition;
        dst.polarity = src.polarity;
        dst.mute = src.mute;
    }
    if (what.dynamics) {
        dst.dynamics = src.dynamics;
        reselectAllDynamics(config);
    }
    if (what.name) dst.name = clampText(src.name, kChannelNameCapacity);
    return notices;
}

} // namespace kvr::core
