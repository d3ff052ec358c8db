#include "config/inputeqediting.h"

#include <cmath>

#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

BandControls bandControls(int tipo)
{
    switch (static_cast<SectionType>(tipo)) {
    case SectionType::Parametric:
    case SectionType::BandPass:
    case SectionType::LowShelfSlope:
    case SectionType::HighShelfSlope:
    case SectionType::ParametricConstQ:
        return {true, true, false, false};
    case SectionType::ShelvLow6:
    case SectionType::ShelvLow12:
    case SectionType::ShelvHigh6:
    case SectionType::ShelvHigh12:
        return {true, false, false, false};
    case SectionType::LowPass:
    case SectionType::HiPass:
        return {false, false, false, true};
    case SectionType::LowPassQ:
    case SectionType::HighPassQ:
        return {false, true, false, true};
    case SectionType::StopBand:
    case SectionType::AllPass2:
        return {false, true, false, false};
    case SectionType::AnalogPlus:
    case SectionType::AnalogMinus:
        return {false, false, true, false};
    default:
        // Bypass, the first-order all-pass, and the crossover-only codes a file may bring.
        return {};
    }
}

BandFields bandFields(const TSOS& band)
{
    BandFields f;
    f.frequencyHz = eqFrequencyFromField(band.Frec);
    f.gainDb = eqGainFromField(band.Gain);
    f.q = bandControls(band.Tipo).analog ? clampFinite(roundToDecimals(band.Q, 1), kAnalogQMin, kAnalogQMax, 1.0)
                                         : eqQFromField(band.Q);
    f.qBar = eqQBarPositionFromQ(band.Q);
    f.l = eqLFromFrequency(band.Frec);
    f.h = eqHFromQ(band.Q);
    f.b = eqBFromGain(band.Gain);
    f.frequencyText = formatFixed(f.frequencyHz, 0);
    f.gainText = formatFixed(f.gainDb, 1);
    f.qText = formatFixed(f.q, 1);
    f.lText = formatFixed(f.l, 2);
    f.hText = formatFixed(f.h, 4);
    f.bText = formatFixed(f.b, 1);
    return f;
}

int clampBand(int band)
{
    return clampTo(band, 1, kEditableBands);
}

void redesignBand(const Configuration& config, TSOS& section)
{
    section.Design(config.constantQ);
}

TSOS& inputBand(Configuration& config, InputId bank, int band)
{
    return config.input(bank).peq[static_cast<size_t>(clampBand(band) - 1)];
}

const TSOS& inputBand(const Configuration& config, InputId bank, int band)
{
    return config.input(bank).peq[static_cast<size_t>(clampBand(band) - 1)];
}

void selectInputBand(Configuration& config, InputId bank, int band)
{
    band = clampBand(band);
    int32_t& count = config.input(bank).peqBandCount;
    if (count < band) count = band;
}

void setInputBandType(Configuration& config, InputId bank, int band, int typeItem)
{
    TSOS& s = inputBand(config, bank, band);
    s.Tipo = static_cast<uint8_t>(clampTo(typeItem, 0, kEqTypeItems - 1));
    if (bandControls(s.Tipo).zeroGain) s.Gain = 0.0;
    redesignBand(config, s);
}

void setInputBandFrequency(Configuration& config, InputId bank, int band, double hz)
{
    TSOS& s = inputBand(config, bank, band);
    if (bandControls(s.Tipo).analog || std::isnan(hz)) return;
    s.Frec = eqFrequencyFromField(hz);
    redesignBand(config, s);
}

void setInputBandGain(Configuration& config, InputId bank, int band, double db)
{
    TSOS& s = inputBand(config, bank, band);
    if (!bandControls(s.Tipo).gain || std::isnan(db)) return;
    s.Gain = eqGainFromField(db);
    redesignBand(config, s);
}

void setInputBandQ(Configuration& config, InputId bank, int band, double q)
{
    TSOS& s = inputBand(config, bank, band);
    if (!bandControls(s.Tipo).q || std::isnan(q)) return;
    s.Q = eqQFromField(q);
    redesignBand(config, s);
}

void setInputBandQBar(Configuration& config, InputId bank, int band, int position)
{
    setInputBandQ(config, bank, band, clampTo(position, kQBarMin, kQBarMax) / 10.0);
}

void setInputBandAnalog(Configuration& config, InputId bank, int band, double l, double h, double b)
{
    TSOS& s = inputBand(config, bank, band);
    if (!bandControls(s.Tipo).analog || std::isnan(l) || std::isnan(h) || std::isnan(b)) return;
    s.Frec = analogFrequencyFromL(l);
    s.Q = analogQFromH(h);
    s.Gain = eqBFromGain(b);
    redesignBand(config, s);
}

void stepInputBandQ(Configuration& config, InputId bank, int band, int steps)
{
    const TSOS& s = inputBand(config, bank, band);
    if (!bandControls(s.Tipo).q || steps == 0) return;
    setInputBandQ(config, bank, band, bandFields(s).q + steps * kEqQStep);
}

bool bandDragStarts(const TSOS& band, double f, double y)
{
    if (bandControls(band.Tipo).analog) return false;
    if (!(f > 0.0) || !std::isfinite(f) || !std::isfinite(y)) return false;
    const BandFields fields = bandFields(band);
    return std::fabs(std::log10(f) - std::log10(fields.frequencyHz)) <= kBandDragDecades &&
           std::fabs(y - fields.gainDb) <= kBandDragDb;
}

double bandDragGain(int tipo, double y)
{
    switch (static_cast<SectionType>(tipo)) {
    case SectionType::LowPass:
    case SectionType::HiPass:
    case SectionType::StopBand:
    case SectionType::AllPass1:
    case SectionType::AllPass2:
    case SectionType::LowPassQ:
    case SectionType::HighPassQ:
        return 0.0;
    default:
        return eqGainFromField(static_cast<double>(roundHalfEven(y * 10.0)) / 10.0);
    }
}

void dragInputBand(Configuration& config, InputId bank, int band, double f, double y)
{
    TSOS& s = inputBand(config, bank, band);
    if (bandControls(s.Tipo).analog || std::isnan(f) || std::isnan(y)) return;
    s.Frec = eqFrequencyFromField(f);
    s.Gain = eqGainFromField(bandDragGain(s.Tipo, y));
    redesignBand(config, s);
}

void setInputBankSource(Configuration& config, InputId input, int source)
{
    config.input(input).peqSource = clampTo(source, 0, 2);
}

void setInputBankView(Configuration& config, InputId bank, bool on)
{
    config.input(bank).peqView = on;
}

void inputBankResponse(const Configuration& config, InputId bank, ChainResponse& out)
{
    const InputChannelSettings& in = config.input(bank);
    AddBankResponse(in.peq, clampTo<int>(in.peqBandCount, 1, kEditableBands), out);
}

void responseCurve(const ChainResponse& response, bool phase, std::array<double, kGridPoints>& out)
{
    for (size_t k = 0; k < out.size(); ++k)
        out[k] = phase ? wrapPhaseDegrees(response.phaseRad[k]) : static_cast<double>(response.magnitudeDb[k]);
}

std::string bandPressStatus(double f, double y)
{
    return formatInteger(roundHalfEven(f)) + texts::kHzSeparator + formatGeneral(y, 4) + texts::kUnitDbs;
}

std::string dragStatus(double f, double y)
{
    return formatInteger(roundHalfEven(f)) + texts::kHzSeparator + formatFixed(y, 2) + texts::kUnitDbs;
}

std::string curveReadout(double hz, double value, bool phase)
{
    return formatInteger(roundHalfEven(hz)) + texts::kHzSeparator + formatFixed(value, 2) +
           (phase ? texts::kUnitDegrees : texts::kUnitDbs);
}

} // namespace kvr::core
