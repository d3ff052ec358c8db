// The keys of the input equaliser banks PEQA, PEQB and PEQM (input.X.peq.*).

#include "config/inputeqediting.h"
#include "config/settingkeyrows.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core::settingkeys {

namespace {

// The source selector's columns, by item: 0 PEQA, 1 PEQM, 2 PEQB.
const std::initializer_list<const char*> kSourceWords = {"PEQA", "PEQM", "PEQB"};

const TSOS& band(const Configuration& c, const KeyAddress& a)
{
    return inputBand(c, a.input, a.index);
}

BandControls controls(const Configuration& c, const KeyAddress& a)
{
    return bandControls(band(c, a).Tipo);
}

// Types 19 and 20 show L (frequency / 100), H (Q / 100) and B (gain) in place of the frequency,
// Q and gain fields; Enter in any of them stores all three as they show.
void storeAnalog(Configuration& c, const KeyAddress& a, std::optional<double> hz, std::optional<double> q,
                 std::optional<double> gain)
{
    const BandFields shown = bandFields(band(c, a));
    setInputBandAnalog(c, a.input, a.index, hz ? *hz / 100.0 : shown.l, q ? *q / 100.0 : shown.h,
                       gain ? *gain : shown.b);
}

// A band's field: the value is read first, then the band is selected (its bank's band count
// rises to it, as the band spin does) and the field stores it.
template <typename Store> Refusal editBand(Configuration& c, const KeyAddress& a, std::string_view v, Store store)
{
    const std::optional<double> x = numberValue(v);
    if (!x) return notNumber(v);
    selectInputBand(c, a.input, a.index);
    store(*x);
    return std::nullopt;
}

} // namespace

void addInputEqualizerRows(std::vector<KeyRow>& rows)
{
    rows.insert(
        rows.end(),
        {
            {"input.X.peq.source", "PEQA, PEQM, PEQB (the bank the input's outputs pass through)", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return std::string(kSourceWords.begin()[clampTo<int32_t>(c.input(a.input).peqSource, 0, 2)]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                 const std::optional<int> item = choiceValue(v, kSourceWords);
                 if (!item) return notOneOf(v, kSourceWords);
                 setInputBankSource(c, a.input, *item);
                 return std::nullopt;
             },
             nullptr},
            {"input.X.peq.count", "1..6, never lowered", 0,
             [](const Configuration& c, const KeyAddress& a) { return std::to_string(c.input(a.input).peqBandCount); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                 const std::optional<int64_t> n = wholeValue(v);
                 if (!n) return notNumber(v);
                 const int count = clampBand(static_cast<int>(clampTo<int64_t>(*n, 0, kEditableBands)));
                 const int32_t present = c.input(a.input).peqBandCount;
                 if (count < present)
                     return SettingError{SettingRefusal::LowerCount,
                                         texts::kSettingLowerCount + std::to_string(present)};
                 selectInputBand(c, a.input, count);
                 return std::nullopt;
             },
             nullptr},
            {"input.X.peq.band.K.type", "type code 0..11 (the type list's items)", kEditableBands,
             [](const Configuration& c, const KeyAddress& a) { return std::to_string(band(c, a).Tipo); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                 const std::optional<int> code = codeValue(v, 0, kEqTypeItems - 1);
                 if (!code) return notOneOf(v, {"0..11"});
                 selectInputBand(c, a.input, a.index);
                 setInputBandType(c, a.input, a.index, *code);
                 return std::nullopt;
             },
             nullptr},
            {"input.X.peq.band.K.freq", "20..20000 Hz, whole Hz (types 19, 20: L x 100)", kEditableBands,
             [](const Configuration& c, const KeyAddress& a) {
                 const BandFields f = bandFields(band(c, a));
                 return controls(c, a).analog ? formatFixed(f.l * 100.0, 0) : f.frequencyText;
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return editBand(c, a, v, [&](double hz) {
                     if (controls(c, a).analog)
                         storeAnalog(c, a, hz, std::nullopt, std::nullopt);
                     else
                         setInputBandFrequency(c, a.input, a.index, hz);
                 });
             },
             nullptr},
            {"input.X.peq.band.K.gain", "-15.0..12.0 dB, one decimal (types 19, 20: B 0.0..3.0)", kEditableBands,
             [](const Configuration& c, const KeyAddress& a) {
                 const BandFields f = bandFields(band(c, a));
                 return controls(c, a).analog ? f.bText : f.gainText;
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return editBand(c, a, v, [&](double db) {
                     if (controls(c, a).analog)
                         storeAnalog(c, a, std::nullopt, std::nullopt, db);
                     else
                         setInputBandGain(c, a.input, a.index, db);
                 });
             },
             [](const Configuration& c, const KeyAddress& a) -> Refusal {
                 const BandControls on = controls(c, a);
                 if (!on.gain && !on.analog) return disabled(texts::kSettingTypeWithoutGain);
                 return std::nullopt;
             }},
            {"input.X.peq.band.K.q", "0.3..20.0, one decimal (types 19, 20: H x 100)", kEditableBands,
             [](const Configuration& c, const KeyAddress& a) {
                 const BandFields f = bandFields(band(c, a));
                 return controls(c, a).analog ? formatFixed(f.h * 100.0, 2) : f.qText;
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return editBand(c, a, v, [&](double q) {
                     if (controls(c, a).analog)
                         storeAnalog(c, a, std::nullopt, q, std::nullopt);
                     else
                         setInputBandQ(c, a.input, a.index, q);
                 });
             },
             [](const Configuration& c, const KeyAddress& a) -> Refusal {
                 const BandControls on = controls(c, a);
                 if (!on.q && !on.analog) return disabled(texts::kSettingTypeWithoutQ);
                 return std::nullopt;
             }},
        });
}

} // namespace kvr::core::settingkeys
