#include "config/configfile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "config/editing.h"
#include "tools/measurementimport.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

// Record layout.
constexpr size_t kMagic = 0;
constexpr size_t kVersion = 10;
constexpr size_t kHeader = 15;
constexpr size_t kProject = 116;
constexpr size_t kInstallation = 157;
constexpr size_t kEngineer = 198;
constexpr size_t kComment = 239;
constexpr size_t kSampleRateAt = 340;
constexpr size_t kTemperature = 344;
constexpr size_t kPeqCounts = 348; // PEQA, PEQB, PEQM
constexpr size_t kPeqBypass = 360; // PEQA, PEQB, PEQM
constexpr size_t kRoutes = 364;
constexpr size_t kPeqBanks = 380; // PEQA, PEQB, PEQM: 8 band records each
constexpr size_t kPeqxCounts = 1052;
constexpr size_t kPeqxBanks = 1068;
constexpr size_t kCrossovers = 1964;
constexpr size_t kCrossoverLinks = 2332;
constexpr size_t kDynamics = 2336;
constexpr size_t kInputDelays = 2624;     // A, B, A+B
constexpr size_t kInputDelayLinks = 2636; // hidden, A to B, All
constexpr size_t kOutputDelays = 2640;
constexpr size_t kOutputDelayLinks = 2656;
constexpr size_t kPolarities = 2659;
constexpr size_t kOutputMutes = 2663;
constexpr size_t kInputMutes = 2667;
constexpr size_t kInputGains = 2672;
constexpr size_t kOutputGains = 2696;
constexpr size_t kInputNames = 2728;
constexpr size_t kOutputNames = 2738;
constexpr size_t kSystemName = 2758;
constexpr size_t kRoutingMode = 2772;
constexpr size_t kPeqSources = 2776; // PEQA, PEQM, PEQB (sic: not the bank order)
constexpr size_t kPeqViews = 2788;   // PEQA, PEQB, PEQM
constexpr size_t kPeqxViews = 2791;
constexpr size_t kSummedViews = 2795;
constexpr size_t kMeasurementNames = 2805;
constexpr size_t kMeasurementKind = 3212;
constexpr size_t kMeasurementRef = 3216;

constexpr size_t kBandRecordSize = 28;
constexpr size_t kCrossoverRecordSize = 92;
constexpr size_t kDynamicsRecordSize = 72;

constexpr const char* kMagicText = "KVR-610-F";
constexpr const char* kVersionText = "4.70";
constexpr const char* kHeaderPrefix = "Orvanetix S.A4.70";

// The order of the input PEQ sources in the record.
constexpr InputId kSourceOrder[3] = {InputId::A, InputId::M, InputId::B};

void writeBand(ByteWriter& w, size_t at, const TSOS& s)
{
    w.f64le(at, s.Gain);
    w.f64le(at + 8, s.Frec);
    w.f64le(at + 16, s.Q);
    w.u8(at + 24, s.Tipo);
}

void writeCrossover(ByteWriter& w, size_t at, const TXOVER& x)
{
    for (size_t k = 0; k < 4; ++k) {
        w.f32le(at + 4 * k, static_cast<float>(x.HighSide.Sections[k].Frec));
        w.f32le(at + 16 + 4 * k, static_cast<float>(x.LowSide.Sections[k].Frec));
        w.f32le(at + 32 + 4 * k, static_cast<float>(x.HighSide.Sections[k].Q));
        w.f32le(at + 48 + 4 * k, static_cast<float>(x.LowSide.Sections[k].Q));
    }
    w.f32le(at + 64, static_cast<float>(x.LowSide.Frec));
    w.f32le(at + 68, static_cast<float>(x.HighSide.Frec));
    w.s32le(at + 72, x.HighSide.Orden);
    w.s32le(at + 76, x.LowSide.Orden);
    w.u8(at + 88, x.HighSide.Tipo);
    w.u8(at + 89, x.LowSide.Tipo);
}

void writeDynamics(ByteWriter& w, size_t at, const TDYNAMIC& d)
{
    w.f32le(at + 0, d.Umbral);
    w.f32le(at + 4, d.Ratio);
    w.f32le(at + 8, d.GaindB);
    w.f32le(at + 12, d.TAttack);
    w.f32le(at + 16, d.TRelease);
    w.f32le(at + 20, d.GateLevel);
    w.f32le(at + 24, d.TAttackGate);
    w.f32le(at + 28, d.TReleaseGate);
    w.u8(at + 32, d.AuxFlag);
    w.u8(at + 33, d.CriKnee != 0 ? 1 : 0);
    w.f32le(at + 36, d.Knee);
    w.u8(at + 40, d.DiezmadoF);
    w.u8(at + 41, d.BypassF);
    w.u8(at + 42, d.GateBypassF);
    w.f32le(at + 44, d.OverRange);
    w.f32le(at + 48, d.AmpGain);
    w.f32le(at + 52, d.Impedance);
    w.f32le(at + 56, d.BoxPower);
    w.f32le(at + 60, d.AmpPower);
    w.s32le(at + 64, d.NumSpeakers);
    w.s32le(at + 68, d.Balanced);
}

uint8_t flag(bool b)
{
    return b ? 1 : 0;
}

// The measurement kind: codes 0..8 as they always were; FRD, ZMA and REW as code 0 with the kind
// behind a marker in the padding before it, which older programs ignore.
constexpr size_t kMeasurementKindMarker = 3209;
void writeMeasurementKind(ByteWriter& w, int32_t kind)
{
    const StoredMeasurementKind stored = storedMeasurementKind(kind);
    w.s32le(kMeasurementKind, stored.code);
    w.u8(kMeasurementKindMarker, stored.marker);
    w.u8(kMeasurementKindMarker + 1, stored.extended);
}
int32_t readMeasurementKind(const ByteReader& r)
{
    return measurementKindFromStored(
        {r.s32le(kMeasurementKind), r.u8(kMeasurementKindMarker), r.u8(kMeasurementKindMarker + 1)});
}

} // namespace

Bytes encodeConfigurationFile(const Configuration& c, const std::string& savedPath)
{
    Bytes bytes(kConfigFileSize, 0);
    ByteWriter w(bytes);
    w.shortString(kMagic, 9, kMagicText);
    w.shortString(kVersion, 4, kVersionText);
    w.shortString(kHeader, 100, std::string(kHeaderPrefix) + savedPath);
    w.shortText(kProject, 40, c.system.project);
    w.shortText(kInstallation, 40, c.system.installation);
    w.shortText(kEngineer, 40, c.system.engineer);
    w.shortText(kComment, 100, c.system.comment);
    w.s32le(kSampleRateAt, kSampleRate);
    w.s32le(kTemperature, c.temperatureC);
    for (size_t i = 0; i < 3; ++i) {
        const InputChannelSettings& in = c.inputs[i];
        w.s32le(kPeqCounts + 4 * i, in.peqBandCount);
        w.u8(kPeqBypass + i, in.peqBypass);
        for (size_t k = 0; k < kBandsPerBank; ++k)
            writeBand(w, kPeqBanks + 224 * i + kBandRecordSize * k, in.peq[k]);
        w.s32le(kInputDelays + 4 * i, in.delaySamples);
        w.u8(kInputMutes + i, flag(in.mute));
        w.f64le(kInputGains + 8 * i, static_cast<double>(in.linearGain()));
        w.u8(kPeqViews + i, flag(in.peqView));
        w.s32le(kPeqSources + 4 * i, c.input(kSourceOrder[i]).peqSource);
    }
    for (size_t o = 0; o < kOutputCount; ++o) {
        const OutputChannelSettings& out = c.outputs[o];
        w.s32le(kRoutes + 4 * o, static_cast<int32_t>(out.route));
        w.s32le(kPeqxCounts + 4 * o, out.peqxCount);
        for (size_t k = 0; k < kBandsPerBank; ++k)
            writeBand(w, kPeqxBanks + 224 * o + kBandRecordSize * k, out.peqx[k]);
        writeCrossover(w, kCrossovers + kCrossoverRecordSize * o, out.xover);
        writeDynamics(w, kDynamics + kDynamicsRecordSize * o, out.dynamics);
        w.s32le(kOutputDelays + 4 * o, out.delaySamples());
        w.u8(kPolarities + o, flag(out.inverted()));
        w.u8(kOutputMutes + o, flag(out.mute));
        w.f64le(kOutputGains + 8 * o, out.linearGain());
        w.shortText(kOutputNames + 5 * o, kChannelNameCapacity, out.name);
        w.u8(kPeqxViews + o, flag(out.peqxView));
        w.shortString(kMeasurementNames + 101 * o, kMeasurementNameCapacity, c.measurement.fileNames[o]);
    }
    for (size_t i = 0; i < 3; ++i) {
        w.u8(kCrossoverLinks + i, flag(c.links.crossover[i]));
        w.u8(kOutputDelayLinks + i, flag(c.links.outputDelay[i]));
    }
    w.u8(kInputDelayLinks + 0, flag(c.links.inputDelayHidden));
    w.u8(kInputDelayLinks + 1, flag(c.links.inputDelayAB));
    w.u8(kInputDelayLinks + 2, flag(c.links.inputDelayAll));
    w.shortText(kInputNames, kChannelNameCapacity, c.input(InputId::A).name);
    w.shortText(kInputNames + 5, kChannelNameCapacity, c.input(InputId::B).name);
    w.shortText(kSystemName, kSystemNameCapacity, c.system.name);
    w.s32le(kRoutingMode, c.routingMode);
    const ViewFlags& v = c.view;
    const bool views[6] = {v.peq, v.xover, v.peqx, v.outDelays, v.gain, v.speaker};
    for (size_t i = 0; i < 6; ++i)
        w.u8(kSummedViews + i, flag(views[i]));
    writeMeasurementKind(w, c.measurement.fileKind);
    w.f32le(kMeasurementRef, c.measurement.dBspl);
    return bytes;
}

namespace {

// Values from a file are untrusted, but a file must reload exactly as the program wrote it: a
// value is only replaced when it is not finite, breaks a design, or lies beyond anything the
// program can produce (its editors, its designs and the decoding of a processor memory).
double finiteOr(double v, double fallback)
{
    return std::isfinite(v) ? v : fallback;
}

// Band fields: the equaliser editors' fields and a memory's decoding stay within these; beyond
// them lie a zero or negative frequency or Q (divisions by zero) and gains that overflow.
constexpr double kBandGainLimitDb = 60.0;
constexpr double kBandQMin = 0.0001;
constexpr double kBandQMax = 101.0;
// Lowest and highest frequency of a section, band or crossover: below half the sample rate, and
// wide enough for every section a crossover design writes (a Bessel high-pass of order 8 at
// 20 Hz puts a section at 9.1 Hz, a Bessel low-pass of order 5 at its limit one at 23962 Hz).
constexpr double kSectionFrequencyMin = 1.0;
constexpr double kSectionFrequencyMax = kGridHighHz;
// Crossover section Q values that no design or field produces, around the divisions by zero.
constexpr double kCrossoverQGapLow = -1.0;
constexpr double kCrossoverQGapHigh = 0.05;

constexpr double kRatioGainGuard = 0.05;

void readBand(const ByteReader& r, size_t at, TSOS& s)
{
    s.Gain = clampFinite(r.f64le(at), -kBandGainLimitDb, kBandGainLimitDb, 0.0);
    s.Frec = clampFinite(r.f64le(at + 8), kSectionFrequencyMin, kSectionFrequencyMax, 1000.0);
    s.Q = clampFinite(r.f64le(at + 16), kBandQMin, kBandQMax, 0.707);
    s.Tipo = r.u8(at + 24);
    // Types 19 and 20 use the gain as a plain ratio, divided by 1 + gain: a gain at or near -1
    // would blow the design up. Gains the program writes lie on a 0.1 grid, so none is touched.
    const bool ratioGain = s.Tipo == static_cast<uint8_t>(SectionType::AnalogPlus) ||
                           s.Tipo == static_cast<uint8_t>(SectionType::AnalogMinus);
    if (ratioGain && std::abs(1.0 + s.Gain) < kRatioGainGuard) s.Gain = 0.0;
}

int32_t clampCount(int32_t v)
{
    return clampTo<int32_t>(v, 1, kEditableBands);
}

void readCrossoverSide(const ByteReader& r, size_t at, bool high, TXOVERPB& side)
{
    const size_t freqAt = at + (high ? 0 : 16);
    const size_t qAt = at + (high ? 32 : 48);
    for (size_t k = 0; k < 4; ++k) {
        TSOS& section = side.Sections[k];
        const double frequency = r.f32le(freqAt + 4 * k);
        section.Frec =
            std::isfinite(frequency) ? clampTo(frequency, kSectionFrequencyMin, kSectionFrequencyMax) : 1000.0;
        // Butterworth designs leave Q values of any size and sign in their first-order sections
        // (-1.5622 for a high-pass at 1 kHz, millions near 12 kHz), and a later custom design
        // uses them as they are. Between -1 and 0.05 lies no Q any design or field writes (the
        // extremes are -1.417 and 0.0513, first-order at 20 Hz); there lie 0 and -sin(w)/2, where
        // a custom second-order design divides by zero.
        const double q = r.f32le(qAt + 4 * k);
        section.Q = std::isfinite(q) && !(q > kCrossoverQGapLow && q < kCrossoverQGapHigh) ? q : 1.0;
    }
    // The editor's frequency controls hold whole hertz in 20..20000.
    side.Frec = crossoverSpinFromFrequency(finiteOr(r.f32le(at + (high ? 68 : 64)), high ? 5000.0 : 100.0));
    side.Orden = clampTo<int32_t>(r.s32le(at + (high ? 72 : 76)), 1, 8);
    uint8_t code = r.u8(at + (high ? 88 : 89));
    side.Tipo = code <= kMaxCrossoverType ? code : 0;
}

void readDynamics(const ByteReader& r, size_t at, TDYNAMIC& d)
{
    const TDYNAMIC defaults;
    auto single = [&](size_t off, float fallback) {
        float v = r.f32le(at + off);
        return std::isfinite(v) ? v : fallback;
    };
    d.Umbral = single(0, -5.85f);
    d.Ratio = single(4, 2.0f);
    d.GaindB = single(8, 0.0f);
    d.TAttack = single(12, 10.0f);
    d.TRelease = single(16, 100.0f);
    d.GateLevel = single(20, -82.85f);
    d.TAttackGate = single(24, 300.0f);
    d.TReleaseGate = single(28, 350.0f);
    d.AuxFlag = r.u8(at + 32) != 0 ? 1 : 0;
    d.CriKnee = r.u8(at + 33) != 0 ? 1 : 0;
    d.Knee = single(36, 4.0f);
    d.DiezmadoF = r.u8(at + 40) != 0 ? 1 : 0;
    d.BypassF = r.u8(at + 41) != 0 ? 1 : 0;
    d.GateBypassF = r.u8(at + 42) != 0 ? 1 : 0;
    d.OverRange = static_cast<float>(clampFinite(r.f32le(at + 44), 1.0, 40.0, kEditorOverRangeDb));
    d.AmpGain = static_cast<float>(clampFinite(r.f32le(at + 48), 10.0, 100.0, defaults.AmpGain));
    d.Impedance = static_cast<float>(clampFinite(r.f32le(at + 52), 2.0, 16.0, defaults.Impedance));
    d.BoxPower = static_cast<float>(clampFinite(r.f32le(at + 56), 25.0, 3200.0, defaults.BoxPower));
    d.AmpPower = static_cast<float>(clampFinite(r.f32le(at + 60), 100.0, 3200.0, defaults.AmpPower));
    d.NumSpeakers = clampTo<int32_t>(r.s32le(at + 64), 0, 3);
    d.Balanced = r.u8(at + 68) != 0 ? 1 : 0; // only the low byte counts
}

// The version text as a number; anything else reads as the current version.
double versionNumber(const std::string& text)
{
    auto v = parseNumber(text);
    return (v && std::isfinite(*v)) ? *v : 4.70;
}

std::string errnoText(int err)
{
    return std::strerror(err);
}

} // namespace

Result<LoadedConfiguration> decodeConfigurationFile(std::span<const uint8_t> bytes, const std::string& path,
                                                    const ProgressCallback& progress)
{
    auto report = [&](int position, const char* status) {
        if (progress) progress({texts::kOpeningFile + path, position, status});
    };
    const size_t size = bytes.size();
    if (size != kConfigFileSize && size != kConfigFileSizeLong && size != kConfigFileSizeOld1 &&
        size != kConfigFileSizeOld2)
        return Error{path + texts::kNotAKvrFile};

    LoadedConfiguration loaded;
    Configuration& c = loaded.config;

    // A shorter, older record is read over the bytes of a fresh one, so the fields it lacks
    // keep their defaults.
    Bytes record = encodeConfigurationFile(c, std::string());
    std::copy_n(bytes.begin(), std::min(size, kConfigFileSize), record.begin());
    ByteReader r(record);

    if (r.u8(kMagic) != 9 || r.chars(kMagic + 1, 9) != kMagicText) return Error{path + texts::kNotAKvrFile};
    if (size < kConfigFileSize) loaded.notices.push_back(errorBox(path + texts::kOlderKvrFile));

    // Stage 1: version and header.
    report(0, texts::kLoadReadingHeader);
    const std::string version = r.shortString(kVersion, 4);
    const bool version120 = version == "1.20";

    c.system.project = r.shortText(kProject, 40);
    c.system.installation = r.shortText(kInstallation, 40);
    c.system.engineer = r.shortText(kEngineer, 40);
    c.system.comment = r.shortText(kComment, 100);
    c.system.name = r.shortText(kSystemName, kSystemNameCapacity);

    // Input delays go through the input delay window at its 1 cm resolution, links included.
    for (size_t i = 0; i < 3; ++i)
        c.inputs[i].delaySamples = std::max<int32_t>(0, r.s32le(kInputDelays + 4 * i));
    c.links.inputDelayHidden = r.u8(kInputDelayLinks + 0) != 0;
    c.links.inputDelayAB = r.u8(kInputDelayLinks + 1) != 0;
    c.links.inputDelayAll = r.u8(kInputDelayLinks + 2) != 0;
    c.temperatureC = clampTemperatureC(r.s32le(kTemperature));
    InputDelayTracks(c, {0, 0, 0}).load();

    // Input gains through the level tracks: the shown dB is the stored gain rounded to 0.1 dB.
    for (size_t i = 0; i < 3; ++i)
        c.inputs[i].levelPosition = levelPositionFromLinear(r.f64le(kInputGains + 8 * i));
    c.input(InputId::A).name = r.shortText(kInputNames, kChannelNameCapacity);
    c.input(InputId::B).name = r.shortText(kInputNames + 5, kChannelNameCapacity);
    {
        int32_t mode = r.s32le(kRoutingMode);
        c.routingMode = (mode >= 0 && mode < kRoutingModeCount) ? mode : kRoutingModeFree;
    }
    report(10, texts::kLoadReadingGains);

    std::array<int32_t, kOutputCount> outputDelays{};
    for (size_t o = 0; o < kOutputCount; ++o) {
        OutputChannelSettings& out = c.outputs[o];
        out.levelPosition = levelPositionFromLinear(r.f64le(kOutputGains + 8 * o));
        out.name = r.shortText(kOutputNames + 5 * o, kChannelNameCapacity);
        out.mute = r.u8(kOutputMutes + o) != 0;
        if (o < 3) c.inputs[o].mute = r.u8(kInputMutes + o) != 0;
        out.polarity = r.u8(kPolarities + o) != 0 ? -1 : +1;
        outputDelays[o] = std::max<int32_t>(0, r.s32le(kOutputDelays + 4 * o));
    }
    for (size_t i = 0; i < 3; ++i)
        c.links.outputDelay[i] = r.u8(kOutputDelayLinks + i) != 0;
    activateOutputDelays(c, outputDelays);
    report(20, texts::kLoadReadingPeq);

    // Input equalisers.
    for (size_t i = 0; i < 3; ++i) {
        InputChannelSettings& in = c.inputs[i];
        in.peqBandCount = clampCount(r.s32le(kPeqCounts + 4 * i));
        in.peqView = version120 || r.u8(kPeqViews + i) != 0;
        for (size_t k = 0; k < kBandsPerBank; ++k) {
            readBand(r, kPeqBanks + 224 * i + kBandRecordSize * k, in.peq[k]);
            in.peq[k].Design(c.constantQ);
        }
        in.peqBypass = r.u8(kPeqBypass + i) != 0 ? 1 : 0;
    }
    for (size_t i = 0; i < 3; ++i) {
        int32_t source = r.s32le(kPeqSources + 4 * i);
        InputChannelSettings& in = c.input(kSourceOrder[i]);
        if (source >= 0 && source <= 2) in.peqSource = source;
    }

    for (size_t o = 0; o < kOutputCount; ++o)
        c.outputs[o].route = routeFromCode(r.s32le(kRoutes + 4 * o));
    report(40, texts::kLoadReadingPeqx);

    // Output equalisers, view flags and the measurement import settings.
    for (size_t o = 0; o < kOutputCount; ++o)
        c.outputs[o].peqxView = version120 || r.u8(kPeqxViews + o) != 0;
    if (version120) {
        c.view = ViewFlags{true, true, true, false, true, false};
    } else {
        bool views[6];
        for (size_t i = 0; i < 6; ++i)
            views[i] = r.u8(kSummedViews + i) != 0;
        c.view = ViewFlags{views[0], views[1], views[2], views[3], views[4], views[5]};
    }
    {
        c.measurement.fileKind = readMeasurementKind(r);
        for (size_t o = 0; o < kOutputCount; ++o)
            c.measurement.fileNames[o] =
                version120 ? std::string() : r.shortString(kMeasurementNames + 101 * o, kMeasurementNameCapacity);
        c.measurement.dBspl =
            static_cast<float>(clampFinite(r.f32le(kMeasurementRef), -140.0, 140.0, kDefaultReferenceDbSpl));
    }
    for (size_t o = 0; o < kOutputCount; ++o) {
        OutputChannelSettings& out = c.outputs[o];
        out.peqxCount = clampCount(r.s32le(kPeqxCounts + 4 * o));
        for (size_t k = 0; k < kBandsPerBank; ++k) {
            readBand(r, kPeqxBanks + 224 * o + kBandRecordSize * k, out.peqx[k]);
            out.peqx[k].Design(c.constantQ);
        }
    }
    report(60, texts::kLoadReadingXover);

    // Crossovers, through the crossover editor's controls (clamps, links, Bessel limits).
    for (size_t o = 0; o < kOutputCount; ++o) {
        const size_t at = kCrossovers + kCrossoverRecordSize * o;
        readCrossoverSide(r, at, true, c.outputs[o].xover.HighSide);
        readCrossoverSide(r, at, false, c.outputs[o].xover.LowSide);
    }
    for (size_t i = 0; i < 3; ++i)
        c.links.crossover[i] = r.u8(kCrossoverLinks + i) != 0;
    for (const std::string& notice : refillCrossovers(c))
        loaded.notices.push_back(infoBox(notice));
    report(85, texts::kLoadReadingDynamics);

    // Dynamics, through the dynamics editor's controls. Files before 4.41 kept thresholds 4 dB lower.
    const bool raiseThresholds = versionNumber(version) < 4.41;
    for (size_t o = 0; o < kOutputCount; ++o) {
        TDYNAMIC& d = c.outputs[o].dynamics;
        readDynamics(r, kDynamics + kDynamicsRecordSize * o, d);
        if (raiseThresholds) d.Umbral += 4.0f;
    }
    reselectAllDynamics(c);
    report(100, texts::kLoadDone);
    return loaded;
}

std::string fileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Result<Bytes> readWholeFile(const std::string& path, size_t maxBytes)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return Error{texts::kUnableToOpen + path + ": " + errnoText(errno)};
    Bytes bytes;
    uint8_t buffer[65536];
    while (true) {
        size_t n = std::fread(buffer, 1, sizeof buffer, f);
        if (n > 0) {
            if (bytes.size() + n > maxBytes) {
                // Only the size matters beyond the limit: callers reject such files by size.
                bytes.insert(bytes.end(), buffer, buffer + (maxBytes - bytes.size()));
                bytes.push_back(0);
                break;
            }
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
        if (n < sizeof buffer) break;
    }
    bool failed = std::ferror(f) != 0;
    int err = errno;
    std::fclose(f);
    if (failed) return Error{texts::kUnableToRead + path + ": " + errnoText(err)};
    return bytes;
}

Status writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes)
{
    std::string temp = path + ".tmp" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Error{texts::kUnableToWrite + path + ": " + errnoText(errno)};
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            return Error{texts::kUnableToWrite + path + ": " + errnoText(err)};
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        return Error{texts::kUnableToWrite + path + ": " + errnoText(err)};
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        return Error{texts::kUnableToWrite + path + ": " + errnoText(err)};
    }
    return Status::success();
}

Status saveConfigurationFile(const std::string& path, const Configuration& config)
{
    Bytes bytes = encodeConfigurationFile(config, path);
    return writeFileAtomically(path, bytes);
}

Result<LoadedConfiguration> readConfigurationFile(const std::string& path, const ProgressCallback& progress)
{
    auto bytes = readWholeFile(path, kConfigFileSizeLong + 1);
    if (!bytes) return Error{bytes.message()};
    return decodeConfigurationFile(*bytes, path, progress);
}

Result<LoadedConfiguration> loadConfigurationFile(const std::string& path, const ProgressCallback& progress)
{
    auto loaded = readConfigurationFile(path, progress);
    // The stored measurement files are imported as the import window's OK does, keeping the name
    // of a file that is missing.
    if (loaded) {
        for (Message& notice : importMeasurements(loaded->config.measurement, MissingFile::KeepName).notices)
            loaded->notices.push_back(std::move(notice));
    }
    return loaded;
}

} // namespace kvr::core
