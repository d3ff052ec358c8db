#include "image/deviceimage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "config/editing.h"
#include "dsp/tdynamic.h"
#include "image/processorfloat.h"
#include "util/latin1.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

// Record layout (16-bit values little-endian).
constexpr size_t kRecRoutingMode = 26;
constexpr size_t kRecBankSelections = 27; // route A, route B, route M
constexpr size_t kRecInputLevels = 30;    // A, B, M
constexpr size_t kRecInputDelays = 36;    // A, B, M (track positions in cm)
constexpr size_t kRecOutputLevels = 42;
constexpr size_t kRecOutputDelays = 50; // track positions (0.02 ms)
constexpr size_t kRecInputMutes = 58;   // A, B, M
constexpr size_t kRecOutputMutes = 61;
constexpr size_t kRecPolarities = 65;
constexpr size_t kRecInputBanks[3] = {69, 118, 168}; // PEQA, PEQB, PEQM: count byte, sections at +1 (+2 for B, M)
constexpr size_t kRecInputSections[3] = {70, 120, 170};
constexpr size_t kRecOutputBanks = 218; // + 50 per output: count, unused, sections
constexpr size_t kRecOutputBankSize = 50;
constexpr size_t kRecCrossovers = 418; // + 40 per output
constexpr size_t kRecCrossoverSize = 40;
constexpr size_t kRecDynamics = 578; // + 18 per output
constexpr size_t kRecDynamicsSize = 18;
constexpr size_t kSectionEntrySize = 8;
constexpr int kRecordSections = 6;
constexpr int32_t kMaxInputDelayWord = 14400;
constexpr int32_t kInputDelayWordCap = 14390;

// DSP block layout.
constexpr size_t kBlockInputDelays = 20;   // H-words: the routed input's delay of each output
constexpr size_t kBlockSectionCounts = 24; // I-words: section counts of the two outputs
constexpr size_t kBlockHeadBytes = 48;
constexpr size_t kSectionBytes = 20;     // five F-words
constexpr size_t kStageFixedWords = 23;  // dynamics words besides the curve
constexpr size_t kCubicWordsAt = 4 * 19; // OverC0..OverC3, within a stage

uint32_t low32(int64_t v)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(v));
}
uint16_t round16(double v)
{
    return low16(roundHalfEven(v));
}
uint8_t round8(double v)
{
    return low8(roundHalfEven(v));
}

void writeSection(ByteWriter& w, size_t at, const TSOS& s)
{
    w.u8(at, s.Tipo);
    w.u8(at + 1, 0);
    w.u16le(at + 2, round16(s.Frec));
    w.u16le(at + 4, round16(s.Gain * 10.0));
    w.u16le(at + 6, round16(s.Q * 100.0));
}

void writeCrossoverSide(ByteWriter& w, size_t at, const TXOVERPB& side)
{
    w.u8(at, side.Tipo);
    w.u8(at + 1, low8(side.Orden));
    w.u16le(at + 2, round16(side.Frec));
    for (size_t k = 0; k < 4; ++k) {
        w.u16le(at + 4 + 2 * k, round16(side.Sections[k].Frec));
        w.u16le(at + 12 + 2 * k, round16(side.Sections[k].Q * 100.0));
    }
}

void writeDynamicsEntry(ByteWriter& w, size_t at, const TDYNAMIC& d)
{
    const double values[18] = {d.CriKnee != 0 ? 1.0 : 0.0,
                               static_cast<double>(d.BypassF),
                               static_cast<double>(d.Umbral) * 2.0,
                               static_cast<double>(d.Ratio) * 2.0,
                               static_cast<double>(d.GaindB) * 2.0,
                               static_cast<double>(d.Knee) * 2.0,
                               static_cast<double>(d.AuxFlag),
                               static_cast<double>(attackIndexFromMs(d.TAttack)),
                               static_cast<double>(releaseIndexFromMs(d.TRelease)),
                               static_cast<double>(d.GateBypassF),
                               static_cast<double>(d.GateLevel),
                               static_cast<double>(gateTimeIndexFromMs(d.TAttackGate)),
                               static_cast<double>(gateTimeIndexFromMs(d.TReleaseGate)),
                               static_cast<double>(d.Impedance),
                               static_cast<double>(d.BoxPower) / 25.0,
                               static_cast<double>(d.AmpPower) / 25.0,
                               static_cast<double>(d.AmpGain),
                               static_cast<double>(d.Balanced)};
    for (size_t i = 0; i < 18; ++i)
        w.u8(at + i, round8(values[i]));
}

// Delays beyond what the processor holds are written just below its limit.
uint16_t inputDelayWord(int64_t samples)
{
    return low16(samples > kMaxInputDelayWord ? kInputDelayWordCap : samples);
}

bool stageActive(const TDYNAMIC& d)
{
    return d.BypassF != 1;
}

int stageCurvePoints(const TDYNAMIC& d)
{
    return clampTo<int32_t>(d.NPuntos, 0, kMaxCurvePoints);
}

// The over-range cubic as the processor receives it; a bypassed stage gets a constant gain.
std::array<uint32_t, 4> cubicWords(const TDYNAMIC& d)
{
    if (!stageActive(d))
        return {ToProcessorFloat(4.0), ToProcessorFloat(0.0), ToProcessorFloat(0.0), ToProcessorFloat(0.0)};
    return {ToProcessorFloat(d.OverC0), ToProcessorFloat(d.OverC1), ToProcessorFloat(d.OverC2),
            ToProcessorFloat(d.OverC3)};
}

uint8_t flag(bool b)
{
    return b ? 1 : 0;
}

Bytes buildConfigRecord(const Configuration& c)
{
    Bytes record(kConfigRecordSize, 0);
    ByteWriter w(record);
    w.u8(0, kRecordMarker);
    w.u8(1, kRecordVersion);
    w.u8(kRecRoutingMode, low8(c.routingMode));
    const InputId inputs[3] = {InputId::A, InputId::B, InputId::M};
    for (size_t i = 0; i < 3; ++i) {
        const InputChannelSettings& in = c.input(inputs[i]);
        w.u8(kRecBankSelections + i, low8(in.peqSource));
        w.u16le(kRecInputLevels + 2 * i, low16(in.levelPosition));
        w.u16le(kRecInputDelays + 2 * i, low16(inputDelayCmFromSamples(in.delaySamples, c.temperatureC)));
        w.u8(kRecInputMutes + i, flag(in.mute));
        w.u8(kRecInputBanks[i], low8(in.peqBandCount));
        for (size_t k = 0; k < kRecordSections; ++k)
            writeSection(w, kRecInputSections[i] + kSectionEntrySize * k, in.peq[k]);
    }
    for (size_t o = 0; o < kOutputCount; ++o) {
        const OutputChannelSettings& out = c.outputs[o];
        w.u16le(kRecOutputLevels + 2 * o, low16(out.levelPosition));
        w.u16le(kRecOutputDelays + 2 * o, low16(out.delayPosition));
        w.u8(kRecOutputMutes + o, flag(out.mute));
        w.u8(kRecPolarities + o, flag(out.inverted()));
        const size_t bank = kRecOutputBanks + kRecOutputBankSize * o;
        w.u8(bank, low8(out.peqxCount));
        for (size_t k = 0; k < kRecordSections; ++k)
            writeSection(w, bank + 2 + kSectionEntrySize * k, out.peqx[k]);
        const size_t xover = kRecCrossovers + kRecCrossoverSize * o;
        writeCrossoverSide(w, xover, out.xover.HighSide);
        writeCrossoverSide(w, xover + 20, out.xover.LowSide);
        writeDynamicsEntry(w, kRecDynamics + kRecDynamicsSize * o, out.dynamics);
    }
    return record;
}

int inputLevelWord(const InputChannelSettings& in)
{
    return in.mute ? 0 : processorLevelWord(in.levelPosition);
}

// Level of the first input path of a route (A or the mix) and of the second (B or the mix).
int firstPathLevel(const Configuration& c, RouteSource route)
{
    switch (route) {
    case RouteSource::A:
        return inputLevelWord(c.input(InputId::A));
    case RouteSource::AB:
        return inputLevelWord(c.input(InputId::M));
    case RouteSource::B:
        break;
    }
    return 0;
}

int secondPathLevel(const Configuration& c, RouteSource route)
{
    switch (route) {
    case RouteSource::B:
        return inputLevelWord(c.input(InputId::B));
    case RouteSource::AB:
        return inputLevelWord(c.input(InputId::M));
    case RouteSource::A:
        break;
    }
    return 0;
}

void appendFloat(ByteAppender& a, double x)
{
    a.u32be(ToProcessorFloat(x));
}

void appendBlockHead(ByteAppender& a, const Configuration& c, int k)
{
    const int first = 2 * k - 1;
    const int outs[2] = {first, first + 1};
    for (int n : outs)
        a.u16be(low16(firstPathLevel(c, c.output(n).route)));
    for (int n : outs)
        a.u16be(low16(secondPathLevel(c, c.output(n).route)));
    for (int n : outs) {
        const OutputChannelSettings& out = c.output(n);
        a.u16be(low16(out.mute ? 0 : processorLevelWord(out.levelPosition)));
    }
    for (int n : outs)
        a.u8(c.output(n).inverted() ? 0xFF : 0x01);
    a.u8(0);
    a.u8(0);
    for (int n : outs)
        a.u16be(low16(c.output(n).delaySamples()));
    for (int n : outs)
        a.u16be(inputDelayWord(c.input(inputForRoute(c.output(n).route)).delaySamples));
    for (int n : outs)
        a.u32be(static_cast<uint32_t>(outputSectionChain(c, n).size()));
    a.u32be(static_cast<uint32_t>(k - 1));
    for (int i = 0; i < 3; ++i)
        a.u32be(0);
}

void appendSections(ByteAppender& a, const Configuration& c, int n)
{
    for (const TSOS* s : outputSectionChain(c, n)) {
        appendFloat(a, s->A2);
        appendFloat(a, s->B2 + s->A2);
        appendFloat(a, s->A1);
        appendFloat(a, s->B1 + s->A1);
        appendFloat(a, s->B0 - 1.0);
    }
}

// num/den, with the largest finite value where den is zero (a threshold at the knee start).
double quotientOrMax(double num, double den)
{
    return den == 0.0 ? static_cast<double>(std::numeric_limits<float>::max()) : num / den;
}

void appendDynamics(ByteAppender& a, const TDYNAMIC& d)
{
    const bool active = stageActive(d);
    const double t = std::pow(10.0, (static_cast<double>(d.Umbral) - static_cast<double>(d.Knee)) / 20.0);
    const double makeup = active ? std::pow(10.0, static_cast<double>(d.GaindB) / 20.0) : 1.0;
    const int points = stageCurvePoints(d);
    appendFloat(a, d.AttackHalf);
    appendFloat(a, d.AttackCoef);
    appendFloat(a, d.KneeTop);
    appendFloat(a, d.KneeBottom);
    appendFloat(a, active ? t : 4.0);
    a.u32be(0);
    appendFloat(a, quotientOrMax(d.NPuntos - 1, 1.0 - t));
    appendFloat(a, makeup);
    appendFloat(a, d.GateBypassF != 0 ? 0.0 : std::pow(10.0, static_cast<double>(d.GateLevel) / 20.0));
    a.u32be(0);
    a.u32be(0);
    a.u32be(low32(roundHalfEven(static_cast<double>(d.TAttackGate) / 1000.0 * kSampleRate)));
    appendFloat(a, makeup);
    appendFloat(a, quotientOrMax(1.0, static_cast<double>(d.TReleaseGate) / 1000.0 * kSampleRate));
    a.u32be(0);
    appendFloat(a, ReleaseCoefficient(d));
    a.u32be(d.DiezmadoF);
    a.u32be(active ? d.BypassF : 0u);
    a.u32be(d.GateBypassF);
    for (uint32_t word : cubicWords(d))
        a.u32be(word);
    for (int i = 1; i <= points; ++i)
        appendFloat(a, active ? d.CurveGain[static_cast<size_t>(i)] : 1.0);
}

// A name as the processor shows it: Latin-1 characters padded with spaces.
void appendPadded(Bytes& image, const std::string& text, size_t width)
{
    const std::string stored = utf8ToLatin1(text);
    for (size_t i = 0; i < width; ++i)
        image.push_back(i < stored.size() ? static_cast<uint8_t>(stored[i]) : 0x20);
}

void appendBe16(Bytes& image, size_t v)
{
    image.push_back(static_cast<uint8_t>(v >> 8));
    image.push_back(static_cast<uint8_t>(v));
}

} // namespace

int outputEqualiserSectionCount(const OutputChannelSettings& out)
{
    const int count = clampTo<int32_t>(out.peqxCount, 0, kBandsPerBank);
    if (count == 1 && out.peqx[0].Tipo == 0) return 0;
    return count;
}

std::vector<const TSOS*> outputSectionChain(const Configuration& c, int n)
{
    std::vector<const TSOS*> chain;
    const InputChannelSettings& bank = c.bankOfOutput(n);
    const int bankCount = clampTo<int32_t>(bank.peqBandCount, 0, kBandsPerBank);
    for (int k = 0; k < bankCount; ++k)
        chain.push_back(&bank.peq[static_cast<size_t>(k)]);
    const OutputChannelSettings& out = c.output(n);
    for (const TXOVERPB* side : {&out.xover.HighSide, &out.xover.LowSide}) {
        const int count = clampTo<int32_t>(side->NumSections, 0, static_cast<int32_t>(side->Sections.size()));
        for (int k = 0; k < count; ++k)
            chain.push_back(&side->Sections[static_cast<size_t>(k)]);
    }
    const int eqCount = outputEqualiserSectionCount(out);
    for (int k = 0; k < eqCount; ++k)
        chain.push_back(&out.peqx[static_cast<size_t>(k)]);
    return chain;
}

Result<Bytes> BuildDeviceImage(const Configuration& config, bool memoryBlocked)
{
    Configuration c = config;
    redesignAll(c);

    const Bytes record = buildConfigRecord(c);
    ByteAppender blocks[2] = {ByteAppender(kDspBlockCapacity), ByteAppender(kDspBlockCapacity)};
    for (int k = 1; k <= 2; ++k)
        appendBlockHead(blocks[k - 1], c, k);
    for (int n = 1; n <= kOutputCount; ++n)
        appendSections(blocks[(n - 1) / 2], c, n);
    for (int n = 1; n <= kOutputCount; ++n)
        appendDynamics(blocks[(n - 1) / 2], c.output(n).dynamics);
    for (int k = 1; k <= 2; ++k)
        if (blocks[k - 1].overflow())
            return Error{std::string(texts::kImageBlockTooLarge) + std::to_string(k) + texts::kImageBlockTooLargeEnd};

    const Bytes& b1 = blocks[0].bytes();
    const Bytes& b2 = blocks[1].bytes();
    const size_t length = b1.size() + b2.size() + kImageFixedBytes;
    Bytes image;
    image.reserve(length);
    appendBe16(image, length - 2);
    image.push_back(kImageTag);
    image.push_back(0);
    for (int n = 1; n <= kOutputCount; ++n)
        image.push_back(low8(static_cast<int>(c.output(n).route)));
    image.push_back(memoryBlocked ? 0xFF : 0x00);
    for (int i = 0; i < 4; ++i)
        image.push_back(0);
    appendPadded(image, c.system.name, kSystemNameCapacity);
    appendPadded(image, c.input(InputId::A).name, kChannelNameCapacity);
    appendPadded(image, c.input(InputId::B).name, kChannelNameCapacity);
    for (int n = 1; n <= kOutputCount; ++n)
        appendPadded(image, c.output(n).name, kChannelNameCapacity);
    appendBe16(image, b1.size() + 2);
    image.insert(image.end(), b1.begin(), b1.end());
    appendBe16(image, b2.size() + 2);
    image.insert(image.end(), b2.begin(), b2.end());
    image.push_back(0);
    appendBe16(image, kRecordLengthField);
    image.insert(image.end(), record.begin(), record.end());
    image.push_back(0x01);
    image.push_back(0x00);
    image.push_back(kRecordMarker);
    image.push_back(0);
    return image;
}

// ---------------------------------------------------------------- decoding

namespace {

constexpr float kUnknownOverRangeDb = 10.0f;
constexpr std::array<float, 2> kOverRangeCandidatesDb = {kEditorOverRangeDb, kUnknownOverRangeDb};

std::string trimmedName(const ByteReader& r, size_t at, size_t width)
{
    std::string text = r.chars(at, width);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return latin1ToUtf8(text);
}

// Values from a device are untrusted: they are kept within what the editors can hold.
void readSection(const ByteReader& r, size_t at, TSOS& s)
{
    s.Tipo = r.u8(at);
    s.Frec = clampFinite(r.u16le(at + 2), 1.0, kGridHighHz, 1000.0);
    s.Gain = clampFinite(r.s16le(at + 4) / 10.0, -60.0, 60.0, 0.0);
    s.Q = clampFinite(r.u16le(at + 6) / 100.0, 0.0001, 101.0, 0.707);
}

void readCrossoverSide(const ByteReader& r, size_t at, bool high, TXOVERPB& side)
{
    const uint8_t code = r.u8(at);
    side.Tipo = code <= kMaxCrossoverType ? code : 0;
    side.Orden = clampTo<int32_t>(r.u8(at + 1), 1, 8);
    side.Frec = crossoverSpinFromFrequency(r.u16le(at + 2));
    const double maxFrequency = high ? kCustomHighFrequencyMax : kCrossoverFrequencyMax;
    for (size_t k = 0; k < 4; ++k) {
        side.Sections[k].Frec = clampFinite(r.u16le(at + 4 + 2 * k), kCrossoverFrequencyMin, maxFrequency, 1000.0);
        side.Sections[k].Q = clampFinite(r.u16le(at + 12 + 2 * k) / 100.0, 0.1, 20.0, 1.0);
    }
}

template <size_t N> float tableEntry(const std::array<float, N>& table, uint8_t index)
{
    return table[std::min<size_t>(index, N - 1)];
}

void readDynamicsEntry(const ByteReader& r, size_t at, TDYNAMIC& d)
{
    const TDYNAMIC defaults;
    d.CriKnee = r.u8(at) != 0 ? 1 : 0;
    d.BypassF = r.u8(at + 1) != 0 ? 1 : 0;
    d.Umbral = static_cast<float>(r.s8(at + 2) / 2.0);
    d.Ratio = static_cast<float>(r.s8(at + 3) / 2.0);
    d.GaindB = static_cast<float>(r.s8(at + 4) / 2.0);
    d.Knee = static_cast<float>(r.s8(at + 5) / 2.0);
    d.AuxFlag = r.u8(at + 6) != 0 ? 1 : 0;
    d.TAttack = tableEntry(kAttackTimesMs, r.u8(at + 7));
    d.TRelease = tableEntry(kReleaseTimesMs, r.u8(at + 8));
    d.GateBypassF = r.u8(at + 9) != 0 ? 1 : 0;
    d.GateLevel = static_cast<float>(r.s8(at + 10));
    d.TAttackGate = tableEntry(kGateTimesMs, r.u8(at + 11));
    d.TReleaseGate = tableEntry(kGateTimesMs, r.u8(at + 12));
    // 2.67 ohms is kept as 3.
    const uint8_t impedance = r.u8(at + 13);
    d.Impedance = impedance == 3 ? 2.67f : static_cast<float>(clampFinite(impedance, 2.0, 16.0, defaults.Impedance));
    d.BoxPower = static_cast<float>(clampFinite(r.u8(at + 14) * 25.0, 25.0, 3200.0, defaults.BoxPower));
    d.AmpPower = static_cast<float>(clampFinite(r.u8(at + 15) * 25.0, 100.0, 3200.0, defaults.AmpPower));
    d.AmpGain = static_cast<float>(clampFinite(r.u8(at + 16), 10.0, 100.0, defaults.AmpGain));
    d.Balanced = r.u8(at + 17) != 0 ? 1 : 0;
    // Not kept in a memory.
    d.DiezmadoF = 1;
    d.NumSpeakers = 1;
    d.OverRange = kUnknownOverRangeDb;
}

// The DSP block that holds output n (1-based), and n's place in it (0 or 1).
std::span<const uint8_t> blockOfOutput(std::span<const uint8_t> image, const DeviceImageLayout& layout, int n)
{
    return n <= 2 ? image.subspan(layout.block1Offset, layout.block1Length)
                  : image.subspan(layout.block2Offset, layout.block2Length);
}

size_t placeInBlock(int n)
{
    return static_cast<size_t>((n - 1) % 2);
}

// The record keeps input delays as distances and the blocks keep the samples the processor
// runs, but the temperature between them is not kept. It is the one, nearest 25 °C (the lower
// on a tie), at which the distances give every routed input's samples again; 25 °C when no
// routed input has a delay (every temperature fits) or when none fits.
int inputDelayTemperature(std::span<const uint8_t> image, const DeviceImageLayout& layout,
                          const std::array<int, kInputCount>& positionsCm,
                          const std::array<RouteSource, kOutputCount>& routes)
{
    struct Held {
        int positionCm;
        uint16_t word;
    };
    std::vector<Held> held;
    for (int n = 1; n <= kOutputCount; ++n) {
        const ByteReader block(blockOfOutput(image, layout, n));
        const size_t at = kBlockInputDelays + 2 * placeInBlock(n);
        if (!block.has(at, 2)) continue;
        const InputId input = inputForRoute(routes[static_cast<size_t>(n - 1)]);
        held.push_back({positionsCm[static_cast<size_t>(input)], block.u16be(at)});
    }
    auto fits = [&](int celsius) {
        return std::all_of(held.begin(), held.end(), [&](const Held& h) {
            return inputDelayWord(inputDelaySamplesFromCm(h.positionCm, celsius)) == h.word;
        });
    };
    const int reach = std::max(kTemperatureDefaultC - kTemperatureMinC, kTemperatureMaxC - kTemperatureDefaultC);
    for (int away = 0; away <= reach; ++away) {
        for (int celsius : {kTemperatureDefaultC - away, kTemperatureDefaultC + away}) {
            if (celsius >= kTemperatureMinC && celsius <= kTemperatureMaxC && fits(celsius)) return celsius;
        }
    }
    return kTemperatureDefaultC;
}

// The four cubic words the processor runs for output n, if its block's layout holds together
// with the curve lengths of the decoded stages.
std::optional<std::array<uint32_t, 4>> heldCubicWords(std::span<const uint8_t> image, const DeviceImageLayout& layout,
                                                      const Configuration& c, int n)
{
    const std::span<const uint8_t> bytes = blockOfOutput(image, layout, n);
    const ByteReader block(bytes);
    if (!block.has(kBlockSectionCounts, 8)) return std::nullopt;
    const int first = n - static_cast<int>(placeInBlock(n));
    const uint64_t sections = uint64_t{block.u32be(kBlockSectionCounts)} + block.u32be(kBlockSectionCounts + 4);
    const uint64_t stages = kBlockHeadBytes + kSectionBytes * sections;
    uint64_t stageBytes[2] = {};
    for (size_t k = 0; k < 2; ++k)
        stageBytes[k] = 4 * (kStageFixedWords +
                             static_cast<uint64_t>(stageCurvePoints(c.output(first + static_cast<int>(k)).dynamics)));
    if (stages + stageBytes[0] + stageBytes[1] != bytes.size()) return std::nullopt;
    const size_t at = static_cast<size_t>(stages + (placeInBlock(n) == 0 ? 0 : stageBytes[0])) + kCubicWordsAt;
    std::array<uint32_t, 4> words{};
    for (size_t k = 0; k < 4; ++k)
        words[k] = block.u32be(at + 4 * k);
    return words;
}

// The over-range is not kept either: it is the one whose freshly designed cubic gives the words
// the block holds. A bypassed stage's constant fits any, so it gets the editors' value.
void restoreOverRange(TDYNAMIC& stage, const std::array<uint32_t, 4>& held)
{
    for (float overRange : kOverRangeCandidatesDb) {
        TDYNAMIC trial = stage;
        trial.OverRange = overRange;
        designDynamicsStage(trial);
        if (cubicWords(trial) == held) {
            stage = trial;
            return;
        }
    }
}

Error incomplete()
{
    return Error{texts::kImageIncomplete};
}

} // namespace

Result<DeviceImageLayout> LocateDeviceImage(std::span<const uint8_t> bytes)
{
    const ByteReader r(bytes);
    DeviceImageLayout layout;
    if (bytes.size() < kImageNamesEnd + 2) return incomplete();
    layout.imageLength = size_t{r.u16be(0)} + 2;
    if (layout.imageLength > bytes.size() || layout.imageLength < kImageNamesEnd + 2) return incomplete();

    const size_t field1 = r.u16be(kImageNamesEnd);
    if (field1 < 2) return incomplete();
    layout.block1Offset = kImageNamesEnd + 2;
    layout.block1Length = field1 - 2;
    const size_t field2At = layout.block1Offset + layout.block1Length;
    if (field2At + 2 > layout.imageLength) return incomplete();
    const size_t field2 = r.u16be(field2At);
    if (field2 < 2) return incomplete();
    layout.block2Offset = field2At + 2;
    layout.block2Length = field2 - 2;
    const size_t blocksEnd = layout.block2Offset + layout.block2Length;
    if (blocksEnd > layout.imageLength) return incomplete();

    const size_t m = layout.imageLength - 2;
    const size_t blocks = layout.block1Length + layout.block2Length;
    if (m == blocks + kOlderLayoutExtra) return Error{texts::kImageOlderVersion};
    layout.recordOffset = blocksEnd + 3;
    if (layout.recordOffset + kConfigRecordSize > layout.imageLength) return incomplete();
    if (r.u8(layout.recordOffset) != kRecordMarker) return Error{texts::kImageOlderVersion};
    return layout;
}

Result<Configuration> DecodeDeviceImage(std::span<const uint8_t> bytes, int memoryNumber,
                                        const ProgressCallback& progress)
{
    auto located = LocateDeviceImage(bytes);
    if (!located) return located.error();
    const DeviceImageLayout& layout = *located;
    const std::string text = texts::kDesigningConfiguration + std::to_string(memoryNumber);
    auto report = [&](int position, const char* status) {
        if (progress) progress({text, position, status});
    };
    const ByteReader h(bytes.first(layout.imageLength));
    const ByteReader r(bytes.subspan(layout.recordOffset, kConfigRecordSize));

    Configuration c;

    report(0, texts::kDecodeNames);
    c.setSystemName(trimmedName(h, kImageSystemName, kSystemNameCapacity));
    c.setInputName(InputId::A, trimmedName(h, kImageInputNames, kChannelNameCapacity));
    c.setInputName(InputId::B, trimmedName(h, kImageInputNames + kChannelNameCapacity, kChannelNameCapacity));
    for (int n = 1; n <= kOutputCount; ++n)
        c.setOutputName(n, trimmedName(h, kImageOutputNames + kChannelNameCapacity * (n - 1), kChannelNameCapacity));
    c.system.project.clear();
    c.system.installation.clear();
    c.system.engineer.clear();
    c.system.comment.clear();

    report(10, texts::kDecodeDelays);
    {
        const uint8_t mode = r.u8(kRecRoutingMode);
        c.routingMode = mode < kRoutingModeCount ? mode : kRoutingModeFree;
    }
    const InputId inputs[3] = {InputId::A, InputId::B, InputId::M};
    std::array<int, kInputCount> delayPositions{};
    for (size_t i = 0; i < 3; ++i)
        delayPositions[static_cast<size_t>(inputs[i])] =
            clampTo<int>(r.s16le(kRecInputDelays + 2 * i), 0, kInputDelayPositionMax);
    for (int n = 1; n <= kOutputCount; ++n)
        c.output(n).route = routeFromCode(h.u8(kImageRoutes + static_cast<size_t>(n - 1)));
    {
        std::array<RouteSource, kOutputCount> routes{};
        for (int n = 1; n <= kOutputCount; ++n)
            routes[static_cast<size_t>(n - 1)] = c.output(n).route;
        c.temperatureC = inputDelayTemperature(bytes.first(layout.imageLength), layout, delayPositions, routes);
    }
    InputDelayTracks delays(c, {0, 0, 0});
    for (size_t i = 0; i < 3; ++i) {
        InputChannelSettings& in = c.input(inputs[i]);
        const uint8_t selection = r.u8(kRecBankSelections + i);
        if (selection <= 2) in.peqSource = selection;
        in.levelPosition = clampLevelPosition(r.s16le(kRecInputLevels + 2 * i));
        in.mute = r.u8(kRecInputMutes + i) != 0;
        delays.setPosition(inputs[i], delayPositions[static_cast<size_t>(inputs[i])]);
    }
    for (int n = 1; n <= kOutputCount; ++n) {
        const size_t o = static_cast<size_t>(n - 1);
        OutputChannelSettings& out = c.output(n);
        out.levelPosition = clampLevelPosition(r.s16le(kRecOutputLevels + 2 * o));
        out.mute = r.u8(kRecOutputMutes + o) != 0;
        out.polarity = r.u8(kRecPolarities + o) != 0 ? -1 : +1;
        setOutputDelayPosition(c, n, r.s16le(kRecOutputDelays + 2 * o));
    }

    report(20, texts::kDecodePeq);
    for (size_t i = 0; i < 3; ++i) {
        InputChannelSettings& in = c.input(inputs[i]);
        in.peqBandCount = clampTo<int32_t>(r.u8(kRecInputBanks[i]), 1, kEditableBands);
        for (size_t k = 0; k < kRecordSections; ++k)
            readSection(r, kRecInputSections[i] + kSectionEntrySize * k, in.peq[k]);
        designBank(in.peq, c.constantQ);
    }
    c.input(InputId::A).peqView = true;
    c.input(InputId::B).peqView = false;
    c.input(InputId::M).peqView = false;

    report(40, texts::kDecodePeqx);
    c.measurement = MeasurementImportSettings{};
    c.measurement.fileKind = 0;
    c.measurement.dBspl = 100.0f;
    for (size_t o = 0; o < kOutputCount; ++o) {
        OutputChannelSettings& out = c.outputs[o];
        const size_t bank = kRecOutputBanks + kRecOutputBankSize * o;
        out.peqxCount = clampTo<int32_t>(r.u8(bank), 1, kEditableBands);
        for (size_t k = 0; k < kRecordSections; ++k)
            readSection(r, bank + 2 + kSectionEntrySize * k, out.peqx[k]);
        designBank(out.peqx, c.constantQ);
    }

    report(60, texts::kDecodeXover);
    for (size_t o = 0; o < kOutputCount; ++o) {
        const size_t at = kRecCrossovers + kRecCrossoverSize * o;
        readCrossoverSide(r, at, true, c.outputs[o].xover.HighSide);
        readCrossoverSide(r, at + 20, false, c.outputs[o].xover.LowSide);
    }
    refillCrossovers(c);

    report(85, texts::kDecodeDynamics);
    for (size_t o = 0; o < kOutputCount; ++o)
        readDynamicsEntry(r, kRecDynamics + kRecDynamicsSize * o, c.outputs[o].dynamics);
    reselectAllDynamics(c);
    for (int n = 1; n <= kOutputCount; ++n) {
        if (auto held = heldCubicWords(bytes.first(layout.imageLength), layout, c, n))
            restoreOverRange(c.output(n).dynamics, *held);
    }

    report(100, texts::kDecodeDone);
    return c;
}

} // namespace kvr::core
