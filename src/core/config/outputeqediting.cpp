#include "config/outputeqediting.h"

#include <algorithm>
#include <cmath>

#include "config/editing.h"
#include "config/inputeqediting.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

bool analogType(uint8_t tipo)
{
    return tipo == static_cast<uint8_t>(SectionType::AnalogPlus) ||
           tipo == static_cast<uint8_t>(SectionType::AnalogMinus);
}

// What the gain field holds for a section: 0 where the type's rule sets it so.
double gainFieldValue(const TSOS& s)
{
    return outputBandRules(s.Tipo).gainShownAsZero ? 0.0 : eqGainFromField(s.Gain);
}

} // namespace

BandControlRules outputBandRules(uint8_t tipo)
{
    BandControlRules r;
    switch (static_cast<SectionType>(tipo)) {
    case SectionType::Parametric:
    case SectionType::BandPass:
    case SectionType::LowShelfSlope:
    case SectionType::HighShelfSlope:
    case SectionType::ParametricConstQ:
        r.gainEnabled = true;
        r.qEnabled = true;
        break;
    case SectionType::ShelvLow6:
    case SectionType::ShelvLow12:
    case SectionType::ShelvHigh6:
    case SectionType::ShelvHigh12:
        r.gainEnabled = true;
        break;
    case SectionType::StopBand:
    case SectionType::AllPass2:
        r.qEnabled = true;
        break;
    case SectionType::LowPassQ:
    case SectionType::HighPassQ:
        r.gainShownAsZero = true;
        r.qEnabled = true;
        break;
    case SectionType::AnalogPlus:
    case SectionType::AnalogMinus:
        r.analogFields = true;
        break;
    default: // bypass, the Butterworth pair, the first-order all-pass and codes no list offers
        break;
    }
    return r;
}

OutputBandControls outputBandControls(const TSOS& s)
{
    OutputBandControls c;
    c.typeItem = s.Tipo < kEqTypeItems ? s.Tipo : -1;
    c.rules = outputBandRules(s.Tipo);
    c.frequencyHz = eqFrequencyFromField(s.Frec);
    c.gainDb = gainFieldValue(s);
    const bool analog = c.rules.analogFields;
    c.qMin = analog ? kAnalogQMin : 0.3;
    c.qMax = analog ? kAnalogQMax : 20.0;
    c.q = analog ? clampFinite(roundToDecimals(s.Q, 1), kAnalogQMin, kAnalogQMax, 1.0) : eqQFromField(s.Q);
    c.frequencyText = formatFixed(c.frequencyHz, 0);
    c.gainText = formatFixed(c.gainDb, 1);
    c.qText = formatFixed(c.q, 1);
    c.qBar = eqQBarPositionFromQ(s.Q);
    c.qSlider = kQSliderSum - c.qBar;
    c.marksShown = !analog;
    c.lText = formatFixed(eqLFromFrequency(s.Frec), 2);
    c.hText = formatFixed(eqHFromQ(s.Q), 4);
    c.bText = formatFixed(eqBFromGain(s.Gain), 1);
    return c;
}

TSOS& outputBand(Configuration& config, int output, int band)
{
    return config.output(output).peqx[static_cast<size_t>(clampBand(band) - 1)];
}

const TSOS& outputBand(const Configuration& config, int output, int band)
{
    return config.output(output).peqx[static_cast<size_t>(clampBand(band) - 1)];
}

void selectOutputBand(Configuration& config, int output, int band)
{
    int32_t& count = config.output(output).peqxCount;
    count = std::max(count, static_cast<int32_t>(clampBand(band)));
}

void setOutputBandType(Configuration& config, int output, int band, int typeItem)
{
    if (typeItem < 0 || typeItem >= kEqTypeItems) return;
    TSOS& s = outputBand(config, output, band);
    s.Tipo = static_cast<uint8_t>(typeItem);
    redesignBand(config, s);
}

void setOutputBandFrequency(Configuration& config, int output, int band, double hz)
{
    TSOS& s = outputBand(config, output, band);
    if (analogType(s.Tipo)) {
        s.Frec = analogFrequencyFromL(hz / 100.0);
    } else {
        if (std::isnan(hz)) return;
        s.Frec = eqFrequencyFromField(hz);
    }
    redesignBand(config, s);
}

void setOutputBandGain(Configuration& config, int output, int band, double db)
{
    if (std::isnan(db)) return;
    TSOS& s = outputBand(config, output, band);
    // Types 19 and 20 read the gain as a plain ratio: -1 would divide by zero.
    s.Gain = analogType(s.Tipo) ? eqBFromGain(db) : eqGainFromField(db);
    redesignBand(config, s);
}

void setOutputBandQ(Configuration& config, int output, int band, double q)
{
    if (std::isnan(q)) return;
    TSOS& s = outputBand(config, output, band);
    if (analogType(s.Tipo)) {
        s.Q = clampFinite(roundToDecimals(q, 1), kAnalogQMin, kAnalogQMax, s.Q);
        redesignBand(config, s);
        return;
    }
    setOutputBandQBar(config, output, band, eqQBarPositionFromQ(eqQFromField(q)));
}

void setOutputBandQBar(Configuration& config, int output, int band, int position)
{
    TSOS& s = outputBand(config, output, band);
    // The bar's position through the Q field, which clamps position 2 up to 0.3.
    s.Q = eqQFromField(clampTo(position, kQBarMin, kQBarMax) / 10.0);
    redesignBand(config, s);
}

void setOutputBandQSlider(Configuration& config, int output, int band, int value)
{
    setOutputBandQBar(config, output, band, kQSliderSum - clampTo(value, kQSliderMin, kQSliderMax));
}

void setOutputBandAnalog(Configuration& config, int output, int band, double l, double h, double b)
{
    TSOS& s = outputBand(config, output, band);
    if (!std::isnan(l)) s.Frec = analogFrequencyFromL(l);
    if (!std::isnan(h)) s.Q = analogQFromH(h);
    if (!std::isnan(b)) s.Gain = eqBFromGain(b);
    redesignBand(config, s);
}

void setConstantQ(Configuration& config, bool constantQ)
{
    config.constantQ = constantQ;
    for (InputChannelSettings& in : config.inputs)
        designBank(in.peq, constantQ);
    for (OutputChannelSettings& out : config.outputs)
        designBank(out.peqx, constantQ);
}

bool outputBandMarkerHit(const TSOS& section, double mouseHz, double mouseDb)
{
    if (analogType(section.Tipo) || !(mouseHz > 0.0)) return false;
    const double f = eqFrequencyFromField(section.Frec);
    const double g = gainFieldValue(section);
    return std::fabs(std::log10(mouseHz) - std::log10(f)) <= kBandDragDecades && std::fabs(mouseDb - g) <= kBandDragDb;
}

bool outputBandDragBegins(const TSOS& section, double mouseHz, double mouseDb, bool shiftWithLeftOnly)
{
    return !shiftWithLeftOnly && outputBandMarkerHit(section, mouseHz, mouseDb);
}

bool dragKeepsGain(uint8_t tipo)
{
    switch (static_cast<SectionType>(tipo)) {
    case SectionType::LowPass:
    case SectionType::HiPass:
    case SectionType::StopBand:
    case SectionType::AllPass1:
    case SectionType::AllPass2:
    case SectionType::LowPassQ:
    case SectionType::HighPassQ:
        return true;
    default:
        return false;
    }
}

void dragOutputBand(Configuration& config, int output, int band, double mouseHz, double mouseDb)
{
    TSOS& s = outputBand(config, output, band);
    if (analogType(s.Tipo) || std::isnan(mouseHz) || std::isnan(mouseDb)) return;
    if (!dragKeepsGain(s.Tipo)) s.Gain = eqGainFromField(static_cast<double>(roundHalfEven(mouseDb * 10.0)) / 10.0);
    s.Frec = eqFrequencyFromField(mouseHz);
    redesignBand(config, s);
}

std::string bandDragStatusText(double mouseHz, double mouseDb, bool press)
{
    return formatInteger(roundHalfEven(mouseHz)) + texts::kHzSeparator +
           (press ? formatGeneral(mouseDb, 4) : formatFixed(mouseDb, 2)) + texts::kUnitDbs;
}

std::string outputEqTitle(const std::string& outputCaption)
{
    return outputCaption + texts::kOutputEqTitleSuffix;
}

} // namespace kvr::core
