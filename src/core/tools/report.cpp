#include "tools/report.h"

#include <cmath>

#include "config/labels.h"
#include "config/routing.h"
#include "tools/powercheck.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

using Lines = std::vector<std::string>;

std::string yesNo(bool b)
{
    return b ? texts::kReportYes : texts::kReportNo;
}

enum class BandFormat { FreqGainQ, FreqGain, Freq, FreqQ, LH };

BandFormat bandFormat(uint8_t tipo)
{
    switch (tipo) {
    case 2:
    case 3:
    case 4:
    case 5:
        return BandFormat::FreqGain;
    case 6:
    case 7:
    case 10:
    case 11:
        return BandFormat::Freq;
    case 9:
        return BandFormat::FreqQ;
    case 19:
    case 20:
        return BandFormat::LH;
    default:
        return BandFormat::FreqGainQ;
    }
}

void addBands(Lines& lines, const std::array<TSOS, kBandsPerBank>& bank)
{
    for (int k = 1; k <= kEditableBands; ++k) {
        std::string line = reportBandLine(k, bank[static_cast<size_t>(k - 1)]);
        if (!line.empty()) lines.push_back(line);
    }
}

const char* crossoverTypeName(uint8_t code)
{
    return texts::kReportCrossoverTypes[code <= kMaxCrossoverType ? code : 0];
}

// One side: the high-pass (the low side) lists its frequency unless custom (8); the low-pass
// (the high side) unless custom (7), and separates its section lines differently.
void addSide(Lines& lines, const TXOVERPB& side, bool highPass)
{
    lines.push_back(std::string(highPass ? texts::kReportHighPass : texts::kReportLowPass) +
                    crossoverTypeName(side.Tipo));
    if (side.Tipo == 0) return;
    lines.push_back(texts::kReportOrder + std::to_string(side.Orden));
    const uint8_t custom = highPass ? 8 : 7;
    if (side.Tipo != custom) lines.push_back(texts::kReportSideFreq + formatNumber(side.Frec));
    const int count = clampTo<int32_t>(side.NumSections, 0, static_cast<int32_t>(side.Sections.size()));
    for (int s = 1; s <= count; ++s) {
        const TSOS& sec = side.Sections[static_cast<size_t>(s - 1)];
        const bool firstOrder = s == 1 && side.Orden % 2 == 1;
        lines.push_back(
            texts::kReportSos + std::to_string(s) + texts::kReportSosFreq + formatFixed(sec.Frec, 0) +
            (highPass ? texts::kReportSosSeparatorHigh : texts::kReportSosSeparatorLow) +
            (firstOrder ? std::string(texts::kReportFirstOrder) : texts::kReportSosQ + formatFixed(sec.Q, 2)));
    }
}

void addDynamics(Lines& lines, int n, const TDYNAMIC& d)
{
    const float offset = kFullScaleDbu;
    if (d.CriKnee != 0)
        lines.push_back(texts::kReportCompressor + formatNumber(d.Umbral) + texts::kReportDbu + texts::kReportRatio +
                        formatNumber(d.Ratio));
    else
        lines.push_back(texts::kReportLimiter + formatNumber(d.Umbral + offset) + texts::kReportDbu);
    lines.push_back(texts::kReportDynGain + formatNumber(d.GaindB) + texts::kReportBandDb + texts::kReportKnee +
                    formatNumber(d.Knee) + texts::kReportBandDb);
    lines.push_back(std::string(texts::kReportAutoTimes) + (d.AuxFlag ? texts::kReportTrue : texts::kReportFalse));
    lines.push_back(texts::kReportAttack + formatNumber(d.TAttack) + texts::kReportMsDot + texts::kReportRelease +
                    formatNumber(d.TRelease) + texts::kReportMsDot);
    lines.push_back(texts::kReportSpeakerParameters);
    lines.push_back(texts::kReportImpedance + formatNumber(d.Impedance) + texts::kReportOhms +
                    texts::kReportSpeakerPower + formatNumber(d.BoxPower) + texts::kReportWatts);
    lines.push_back(texts::kReportAmpPower + formatNumber(d.AmpPower) + texts::kReportWatts + texts::kReportAmpGain +
                    formatNumber(d.AmpGain) + texts::kReportAmpGainOpen +
                    formatFixed(20.0 * std::log10(static_cast<double>(d.AmpGain)), 1) + texts::kReportAmpGainClose);
    lines.push_back(texts::kReportBalanced + yesNo(d.Balanced != 0));
    // The same level and powers as the speaker and amplifier check.
    const PowerCheck power = checkPower(d);
    const std::string out = std::to_string(n);
    lines.push_back(texts::kReportVoltage + out + texts::kReportVoltageMiddle + formatFixed(power.voltageRms, 2) +
                    texts::kReportVrms);
    lines.push_back(texts::kReportPower + out + texts::kReportPowerMiddle + formatFixed(power.powerW, 1) +
                    texts::kReportWatts);
    lines.push_back("");
    lines.push_back(texts::kReportGateTitle + out);
    lines.push_back(texts::kReportGateBypass + yesNo(d.GateBypassF != 0));
    lines.push_back(texts::kReportGateThreshold + formatNumber(d.GateLevel + offset) + texts::kReportDbu +
                    texts::kReportHold + formatNumber(d.TAttackGate) + texts::kReportMsDot + texts::kReportClose +
                    formatNumber(d.TReleaseGate) + texts::kReportMsDot);
    lines.push_back("");
    lines.push_back("");
}

} // namespace

std::string reportBandLine(int k, const TSOS& s)
{
    if (s.Tipo >= std::size(texts::kReportBandTypes) || texts::kReportBandTypes[s.Tipo] == nullptr) return {};
    std::string line = texts::kReportFilter + std::to_string(k) + texts::kReportColon + texts::kReportType +
                       texts::kReportBandTypes[s.Tipo];
    const std::string freq = texts::kReportFreq + formatNumber(s.Frec) + texts::kReportHz;
    switch (bandFormat(s.Tipo)) {
    case BandFormat::FreqGainQ:
        return line + freq + texts::kReportBandGain + formatNumber(s.Gain) + texts::kReportBandDb +
               texts::kReportBandQ + formatNumber(s.Q);
    case BandFormat::FreqGain:
        return line + freq + texts::kReportBandGain + formatNumber(s.Gain) + texts::kReportBandDb;
    case BandFormat::Freq:
        return line + freq;
    case BandFormat::FreqQ:
        return line + freq + texts::kReportBandQ + formatNumber(s.Q);
    case BandFormat::LH:
        return line + texts::kReportL + formatNumber(s.Frec / 100.0) + texts::kReportH + formatNumber(s.Q / 100.0);
    }
    return line;
}

std::vector<std::string> automaticReport(const Configuration& c, const std::string& dateTime,
                                         const std::string& version)
{
    Lines lines;
    lines.push_back(texts::kReportTitle);
    lines.push_back(texts::kReportDate + dateTime);
    lines.push_back(texts::kReportVersion + version);
    lines.push_back("");
    lines.push_back(texts::kReportRule);
    lines.push_back(texts::kReportConfiguration + c.system.name);
    lines.push_back("");
    lines.push_back(texts::kReportNames);
    lines.push_back(texts::kReportInputA + c.input(InputId::A).name + texts::kReportInputB + c.input(InputId::B).name);
    for (int n = 1; n <= kOutputCount; n += 2)
        lines.push_back(texts::kReportOutputName + std::to_string(n) + texts::kReportColon + c.output(n).name +
                        texts::kReportOutputNameEven + std::to_string(n + 1) + texts::kReportColon +
                        c.output(n + 1).name);
    lines.push_back(texts::kReportRule);
    lines.push_back(texts::kReportRoutingMode + std::string(routingModeInfo(c.routingMode).item));
    lines.push_back("");

    const InputId inputs[3] = {InputId::A, InputId::B, InputId::M};
    for (size_t i = 0; i < 3; ++i) {
        const InputChannelSettings& in = c.input(inputs[i]);
        const std::string letter = texts::kReportInputLetters[i];
        lines.push_back(texts::kReportInput + letter + texts::kReportInputEnd);
        lines.push_back(texts::kReportMuted + yesNo(in.mute) + texts::kReportInputGain + gainLabel(in.levelDb()) +
                        texts::kReportInputDelay + delayLabel(in.delayMs()));
        lines.push_back(texts::kReportPeq + letter + texts::kReportSource + peqSourceCaption(c, inputs[i]));
        addBands(lines, in.peq);
        lines.push_back("");
    }
    lines.push_back(texts::kReportRule);

    for (int n = 1; n <= kOutputCount; ++n) {
        const OutputChannelSettings& out = c.output(n);
        const std::string number = std::to_string(n);
        lines.push_back(texts::kReportOutput + number + " " + out.name + texts::kReportInputEnd);
        lines.push_back("");
        lines.push_back(texts::kReportRoute + std::string(routeText(out.route)));
        lines.push_back("");
        lines.push_back(texts::kReportXover + number + texts::kReportXoverEnd);
        addSide(lines, out.xover.LowSide, true);
        addSide(lines, out.xover.HighSide, false);
        lines.push_back("");
        lines.push_back(texts::kReportOutputSpace + number + " " + out.name + texts::kReportPeqx);
        addBands(lines, out.peqx);
        lines.push_back("");
        lines.push_back(texts::kReportOutputSpace + number + texts::kReportDelay + delayLabel(out.delayMs()));
        if (out.mute) {
            lines.push_back(texts::kReportOutputSpace + number + texts::kReportGainMuted);
        } else {
            lines.push_back(texts::kReportOutputSpace + number + texts::kReportGain + gainLabel(out.levelDb()));
            lines.push_back(out.inverted() ? std::string(texts::kReportInverted)
                                           : texts::kReportPolarity + number + texts::kReportNormal);
        }
        lines.push_back("");
        lines.push_back(texts::kReportDynamic + number + " " + out.name);
        if (out.dynamics.BypassF != 0) {
            lines.push_back(texts::kReportBypassTrue);
            continue;
        }
        lines.push_back(texts::kReportBypassFalse);
        addDynamics(lines, n, out.dynamics);
    }
    return lines;
}

} // namespace kvr::core
