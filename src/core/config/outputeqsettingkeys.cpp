// The keys of the output equaliser banks PEQX1..4 (output.N.peqx.*).

#include "config/outputeqediting.h"
#include "config/settingkeyrows.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core::settingkeys {

namespace {

const TSOS& band(const Configuration& c, const KeyAddress& a)
{
    return outputBand(c, a.output, a.index);
}

BandControlRules rules(const Configuration& c, const KeyAddress& a)
{
    return outputBandRules(band(c, a).Tipo);
}

// Types 19 and 20: `LEdit`, `HEdit` and `BEdit` stand for frequency / 100, Q / 100 and the gain;
// Enter in any of them stores all three as they show.
void storeAnalog(Configuration& c, const KeyAddress& a, std::optional<double> hz, std::optional<double> q,
                 std::optional<double> gain)
{
    const TSOS& s = band(c, a);
    const double l = hz ? *hz / 100.0 : eqLFromFrequency(s.Frec);
    const double h = q ? *q / 100.0 : eqHFromQ(s.Q);
    const double b = gain ? *gain : eqBFromGain(s.Gain);
    setOutputBandAnalog(c, a.output, a.index, l, h, b);
}

// A band's field: the value is read first, then the band is selected (the bank's band count
// rises to it) and the field stores it.
template <typename Store> Refusal editBand(Configuration& c, const KeyAddress& a, std::string_view v, Store store)
{
    const std::optional<double> x = numberValue(v);
    if (!x) return notNumber(v);
    selectOutputBand(c, a.output, a.index);
    store(*x);
    return std::nullopt;
}

} // namespace

void addOutputEqualizerRows(std::vector<KeyRow>& rows)
{
    rows.insert(
        rows.end(),
        {
            {"output.N.peqx.count", "1..6, never lowered", 0,
             [](const Configuration& c, const KeyAddress& a) { return std::to_string(c.output(a.output).peqxCount); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                 const std::optional<int64_t> n = wholeValue(v);
                 if (!n) return notNumber(v);
                 const int count = static_cast<int>(clampTo<int64_t>(*n, 1, kEditableBands));
                 const int32_t present = c.output(a.output).peqxCount;
                 if (count < present)
                     return SettingError{SettingRefusal::LowerCount,
                                         texts::kSettingLowerCount + std::to_string(present)};
                 selectOutputBand(c, a.output, count);
                 return std::nullopt;
             },
             nullptr},
            {"output.N.peqx.band.K.type", "type code 0..11 (the type list's items)", kEditableBands,
             [](const Configuration& c, const KeyAddress& a) { return std::to_string(band(c, a).Tipo); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                 const std::optional<int> code = codeValue(v, 0, kEqTypeItems - 1);
                 if (!code) return notOneOf(v, {"0..11"});
                 selectOutputBand(c, a.output, a.index);
                 setOutputBandType(c, a.output, a.index, *code);
                 return std::nullopt;
             },
             nullptr},
            {"output.N.peqx.band.K.freq", "20..20000 Hz, whole Hz (types 19, 20: L x 100)", kEditableBands,
             [](const Configuration& c, const KeyAddress& a) {
                 const TSOS& s = band(c, a);
                 return rules(c, a).analogFields ? formatFixed(eqLFromFrequency(s.Frec) * 100.0, 0)
                                                 : outputBandControls(s).frequencyText;
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return editBand(c, a, v, [&](double hz) {
                     if (rules(c, a).analogFields)
                         storeAnalog(c, a, hz, std::nullopt, std::nullopt);
                     else
                         setOutputBandFrequency(c, a.output, a.index, hz);
                 });
             },
             nullptr},
            {"output.N.peqx.band.K.gain", "-15.0..12.0 dB, one decimal (types 19, 20: B 0.0..3.0)", kEditableBands,
             [](const Configuration& c, const KeyAddress& a) {
                 const OutputBandControls shown = outputBandControls(band(c, a));
                 return shown.rules.analogFields ? shown.bText : shown.gainText;
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return editBand(c, a, v, [&](double db) {
                     if (rules(c, a).analogFields)
                         storeAnalog(c, a, std::nullopt, std::nullopt, db);
                     else
                         setOutputBandGain(c, a.output, a.index, db);
                 });
             },
             [](const Configuration& c, const KeyAddress& a) -> Refusal {
                 const BandControlRules on = rules(c, a);
                 if (!on.gainEnabled && !on.analogFields) return disabled(texts::kSettingTypeWithoutGain);
                 return std::nullopt;
             }},
            {"output.N.peqx.band.K.q", "0.3..20.0, one decimal (types 19, 20: H x 100)", kEditableBands,
             [](const Configuration& c, const KeyAddress& a) {
                 const TSOS& s = band(c, a);
                 return rules(c, a).analogFields ? formatFixed(eqHFromQ(s.Q) * 100.0, 2) : outputBandControls(s).qText;
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return editBand(c, a, v, [&](double q) {
                     if (rules(c, a).analogFields)
                         storeAnalog(c, a, std::nullopt, q, std::nullopt);
                     else
                         setOutputBandQ(c, a.output, a.index, q);
                 });
             },
             [](const Configuration& c, const KeyAddress& a) -> Refusal {
                 const BandControlRules on = rules(c, a);
                 if (!on.qEnabled && !on.analogFields) return disabled(texts::kSettingTypeWithoutQ);
                 return std::nullopt;
             }},
        });
}

} // namespace kvr::core::settingkeys
