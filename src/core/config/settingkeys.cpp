#include "config/settingkeys.h"

#include <algorithm>
#include <cmath>

#include "config/crossoverediting.h"
#include "config/dynamicsediting.h"
#include "config/readouts.h"
#include "config/settingkeyrows.h"
#include "config/speakerediting.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

using namespace settingkeys;

// ---------------------------------------------------------------- values

namespace settingkeys {

std::optional<double> numberValue(std::string_view text)
{
    const std::optional<double> v = parseNumber(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

std::optional<int64_t> wholeValue(std::string_view text)
{
    const std::optional<double> v = numberValue(text);
    if (!v) return std::nullopt;
    return clampTo<int64_t>(roundHalfEven(*v), -1000000000, 1000000000);
}

std::optional<bool> onOffValue(std::string_view text)
{
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

std::optional<int> choiceValue(std::string_view text, std::initializer_list<const char*> words)
{
    int item = 0;
    for (const char* word : words) {
        if (text == word) return item;
        ++item;
    }
    return std::nullopt;
}

std::optional<int> codeValue(std::string_view text, int lo, int hi)
{
    const std::optional<long long> v = parseInteger(text);
    if (!v || *v < lo || *v > hi) return std::nullopt;
    return static_cast<int>(*v);
}

float singleValue(double value)
{
    return static_cast<float>(clampFinite(value, -1e9, 1e9, 0.0));
}

std::string onOffText(bool on)
{
    return on ? "on" : "off";
}

static std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\" is ";
}

Refusal notNumber(std::string_view text)
{
    return SettingError{SettingRefusal::BadValue, quoted(text) + texts::kSettingNotNumber};
}

Refusal notOnOff(std::string_view text)
{
    return SettingError{SettingRefusal::BadValue, quoted(text) + texts::kSettingNotOnOff};
}

Refusal notOneOf(std::string_view text, std::initializer_list<const char*> words)
{
    std::string list;
    for (const char* word : words)
        list += (list.empty() ? "" : ", ") + std::string(word);
    return SettingError{SettingRefusal::BadValue, quoted(text) + texts::kSettingNotOneOf + list};
}

Refusal disabled(const char* why)
{
    return SettingError{SettingRefusal::Disabled, std::string(texts::kSettingDisabled) + why};
}

Refusal readOnly(const char* why)
{
    return SettingError{SettingRefusal::ReadOnly, std::string(texts::kSettingReadOnly) + why};
}

} // namespace settingkeys

namespace {

// ---------------------------------------------------------------- rows by editor

// An on/off value applied by `apply`.
template <typename Apply> Refusal withOnOff(std::string_view v, Apply apply)
{
    const std::optional<bool> on = onOffValue(v);
    if (!on) return notOnOff(v);
    apply(*on);
    return std::nullopt;
}

template <typename Apply> Refusal withNumber(std::string_view v, Apply apply)
{
    const std::optional<double> x = numberValue(v);
    if (!x) return notNumber(v);
    apply(*x);
    return std::nullopt;
}

template <typename Apply> Refusal withWhole(std::string_view v, Apply apply)
{
    const std::optional<int64_t> x = wholeValue(v);
    if (!x) return notNumber(v);
    apply(*x);
    return std::nullopt;
}

int heldInt(int64_t v)
{
    return static_cast<int>(clampTo<int64_t>(v, -1000000, 1000000));
}

void addNameRows(std::vector<KeyRow>& rows)
{
    // The system information window's OK stores all its texts; the others stay as they were.
    rows.insert(rows.end(), {
                                {"system.name", "text, 12 characters", 0,
                                 [](const Configuration& c, const KeyAddress&) { return c.system.name; },
                                 [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) -> Refusal {
                                     c.setSystemName(std::string(v));
                                     return std::nullopt;
                                 },
                                 nullptr},
                                {"system.project", "text, 40 characters", 0,
                                 [](const Configuration& c, const KeyAddress&) { return c.system.project; },
                                 [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) -> Refusal {
                                     SystemInfo s = c.system;
                                     s.project = std::string(v);
                                     c.setSystemInfo(s);
                                     return std::nullopt;
                                 },
                                 nullptr},
                                {"system.installation", "text, 40 characters", 0,
                                 [](const Configuration& c, const KeyAddress&) { return c.system.installation; },
                                 [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) -> Refusal {
                                     SystemInfo s = c.system;
                                     s.installation = std::string(v);
                                     c.setSystemInfo(s);
                                     return std::nullopt;
                                 },
                                 nullptr},
                                {"system.engineer", "text, 40 characters", 0,
                                 [](const Configuration& c, const KeyAddress&) { return c.system.engineer; },
                                 [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) -> Refusal {
                                     SystemInfo s = c.system;
                                     s.engineer = std::string(v);
                                     c.setSystemInfo(s);
                                     return std::nullopt;
                                 },
                                 nullptr},
                                {"system.comment", "text, 40 characters", 0,
                                 [](const Configuration& c, const KeyAddress&) { return c.system.comment; },
                                 [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) -> Refusal {
                                     // The field takes 40 characters; a file may bring up to 100.
                                     SystemInfo s = c.system;
                                     s.comment = clampText(std::string(v), kInfoTextCapacity);
                                     c.setSystemInfo(s);
                                     return std::nullopt;
                                 },
                                 nullptr},
                                {"input.A|B.name", "text, 4 characters", 0,
                                 [](const Configuration& c, const KeyAddress& a) { return c.input(a.input).name; },
                                 [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                                     c.setInputName(a.input, std::string(v));
                                     return std::nullopt;
                                 },
                                 nullptr},
                                {"output.N.name", "text, 4 characters", 0,
                                 [](const Configuration& c, const KeyAddress& a) { return c.output(a.output).name; },
                                 [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                                     c.setOutputName(a.output, std::string(v));
                                     return std::nullopt;
                                 },
                                 nullptr},
                            });
}

const std::initializer_list<const char*> kRouteWords = {"A", "AB", "B"}; // by RouteSource code

void addRoutingRows(std::vector<KeyRow>& rows)
{
    rows.insert(rows.end(),
                {
                    {"routing.mode", "0..7 (5 = Free Route; 6 and 7 rename the outputs)", 0,
                     [](const Configuration& c, const KeyAddress&) { return std::to_string(c.routingMode); },
                     [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) -> Refusal {
                         const std::optional<int> mode = codeValue(v, 0, kRoutingModeCount - 1);
                         if (!mode) return notOneOf(v, {"0", "1", "2", "3", "4", "5", "6", "7"});
                         c.setRoutingMode(*mode);
                         return std::nullopt;
                     },
                     nullptr},
                    {"output.N.route", "A, AB, B (outside Free Route: switches to Free Route)", 0,
                     [](const Configuration& c, const KeyAddress& a) {
                         return std::string(kRouteWords.begin()[static_cast<int>(c.output(a.output).route)]);
                     },
                     [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                         const std::optional<int> route = choiceValue(v, kRouteWords);
                         if (!route) return notOneOf(v, kRouteWords);
                         // The route button, clicked until it shows the route; the first click
                         // outside Free Route is answered Yes.
                         const RouteSource target = routeFromCode(*route);
                         for (int click = 0; click < 3 && c.output(a.output).route != target; ++click) {
                             if (c.routingMode != kRoutingModeFree)
                                 c.clickRouteLeavingPreset(a.output);
                             else
                                 c.advanceRoute(a.output);
                         }
                         return std::nullopt;
                     },
                     nullptr},
                });
}

const std::initializer_list<const char*> kPolarityWords = {"normal", "inverted"};

void addLevelRows(std::vector<KeyRow>& rows)
{
    rows.insert(
        rows.end(),
        {
            {"input.X.gain_db", "-40.0..10.0 dB, steps of 0.1 dB", 0,
             [](const Configuration& c, const KeyAddress& a) { return levelText(c.input(a.input).levelPosition); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(v, [&](double db) { c.setInputLevelDb(a.input, db); });
             },
             nullptr},
            {"input.X.mute", "on, off", 0,
             [](const Configuration& c, const KeyAddress& a) { return onOffText(c.input(a.input).mute); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { c.setInputMute(a.input, on); });
             },
             nullptr},
            {"output.N.gain_db", "-40.0..10.0 dB, steps of 0.1 dB", 0,
             [](const Configuration& c, const KeyAddress& a) { return levelText(c.output(a.output).levelPosition); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(v, [&](double db) { c.setOutputLevelDb(a.output, db); });
             },
             nullptr},
            {"output.N.gain_linear", "10^(dB/20), negative when inverted", 0,
             [](const Configuration& c, const KeyAddress& a) { return formatNumber(c.output(a.output).linearGain()); },
             nullptr, nullptr},
            {"output.N.mute", "on, off", 0,
             [](const Configuration& c, const KeyAddress& a) { return onOffText(c.output(a.output).mute); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { c.setOutputMute(a.output, on); });
             },
             nullptr},
            {"output.N.polarity", "normal, inverted", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return std::string(kPolarityWords.begin()[c.output(a.output).inverted() ? 1 : 0]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                 const std::optional<int> item = choiceValue(v, kPolarityWords);
                 if (!item) return notOneOf(v, kPolarityWords);
                 c.setPolarity(a.output, *item == 1);
                 return std::nullopt;
             },
             nullptr},
        });
}

int inputDelayCm(const Configuration& c, InputId id)
{
    return inputDelayCmFromSamples(c.input(id).delaySamples, c.temperatureC);
}

void addDelayRows(std::vector<KeyRow>& rows)
{
    rows.insert(
        rows.end(),
        {
            {"temperature_c", "0..50 (whole degrees); input delays keep their time", 0,
             [](const Configuration& c, const KeyAddress&) { return std::to_string(c.temperatureC); },
             [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) {
                 return withWhole(v, [&](int64_t t) {
                     const int celsius = clampTemperatureC(t);
                     if (celsius != c.temperatureC) InputDelayTracks(c).setTemperature(celsius);
                 });
             },
             nullptr},
            {"input.X.delay_m", "0.00..100.00 m, steps of 1 cm", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return inputDelayReadout(inputDelayCm(c, a.input), c.temperatureC).metres;
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(v, [&](double m) { InputDelayTracks(c).setDistance(a.input, m); });
             },
             nullptr},
            {"input.X.delay_samples", "samples at 48000 Hz", 0,
             [](const Configuration& c, const KeyAddress& a) { return std::to_string(c.input(a.input).delaySamples); },
             nullptr, nullptr},
            {"input.delay_link_ab", "on, off", 0,
             [](const Configuration& c, const KeyAddress&) { return onOffText(c.links.inputDelayAB); },
             [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { c.links.inputDelayAB = on; });
             },
             nullptr},
            {"input.delay_link_all", "on, off", 0,
             [](const Configuration& c, const KeyAddress&) { return onOffText(c.links.inputDelayAll); },
             [](Configuration& c, const KeyAddress&, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { c.links.inputDelayAll = on; });
             },
             nullptr},
            {"output.N.delay_ms", "0.00..30.00 ms as samples / 48 (the nearest whole sample, at most 1440)", 0,
             [](const Configuration& c, const KeyAddress& a) { return formatFixed(c.output(a.output).delayMs(), 2); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 // Read as it is shown, so a value read back keeps its samples (the track's 0.02 ms
                 // steps are finer than a sample, 1/48 ms).
                 return withNumber(
                     v, [&](double ms) { setOutputDelayPosition(c, a.output, outputDelayPositionFromLabelMs(ms)); });
             },
             nullptr},
            {"output.N.delay_samples", "samples at 48000 Hz, at most 1440", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return std::to_string(c.output(a.output).delaySamples());
             },
             nullptr, nullptr},
            {"output.delay_link_12|23|34", "on, off", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return onOffText(c.links.outputDelay[static_cast<size_t>(a.link - 1)]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { c.links.outputDelay[static_cast<size_t>(a.link - 1)] = on; });
             },
             nullptr},
        });
}

const std::initializer_list<const char*> kFamilyWords = {"bypass", "butterworth", "linkwitz-riley", "bessel", "custom"};

Refusal appendNotices(Notices& to, Notices from)
{
    to.insert(to.end(), from.begin(), from.end());
    return std::nullopt;
}

CustomSectionView sectionView(const CustomSideView& view, int section)
{
    return view.sections[static_cast<size_t>(clampTo(section, 1, kCustomSections) - 1)];
}

CustomSideView sideView(const Configuration& c, const KeyAddress& a)
{
    return customSideView(crossoverSide(c, a.output, a.side), a.side);
}

// The Custom page's fields: a side of another family shows its designed sections read-only.
Refusal customSectionGuard(const Configuration& c, const KeyAddress& a, bool q)
{
    if (!isCustomSide(crossoverSide(c, a.output, a.side), a.side)) return readOnly(texts::kSettingDesignedSide);
    const CustomSectionView s = sectionView(sideView(c, a), a.index);
    if (!s.editable) return disabled(texts::kSettingSectionUnused);
    if (q && !s.qVisible) return disabled(texts::kSettingFirstOrderQ);
    return std::nullopt;
}

void addCrossoverRows(std::vector<KeyRow>& rows)
{
    rows.insert(
        rows.end(),
        {
            {"output.N.xover.low|high.family", "bypass, butterworth, linkwitz-riley, bessel, custom", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 const int item = crossoverFamilyFromCode(a.side, crossoverSide(c, a.output, a.side).Tipo);
                 return std::string(kFamilyWords.begin()[item]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices& notices) -> Refusal {
                 const std::optional<int> item = choiceValue(v, kFamilyWords);
                 if (!item) return notOneOf(v, kFamilyWords);
                 return appendNotices(notices, setCrossoverFamily(c, a.output, a.side, *item));
             },
             nullptr},
            {"output.N.xover.low|high.order", "1..8", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return std::to_string(crossoverSide(c, a.output, a.side).Orden);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices& notices) -> Refusal {
                 const std::optional<int64_t> order = wholeValue(v);
                 if (!order) return notNumber(v);
                 return appendNotices(notices, setCrossoverOrder(c, a.output, a.side, heldInt(*order)));
             },
             nullptr},
            {"output.N.xover.low|high.freq", "20..20000 Hz, whole Hz; the low side never above the high side", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return crossoverFrequencyText(crossoverSide(c, a.output, a.side));
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices& notices) -> Refusal {
                 const std::optional<double> hz = numberValue(v);
                 if (!hz) return notNumber(v);
                 return appendNotices(notices, setCrossoverFrequency(c, a.output, a.side, *hz));
             },
             nullptr},
            {"output.N.xover.low|high.section.K.freq",
             "whole Hz, 20..20000 (high side 23950); custom sides, read-only on others", 4,
             [](const Configuration& c, const KeyAddress& a) {
                 return sectionView(sideView(c, a), a.index).frequencyText;
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices& notices) -> Refusal {
                 const std::optional<double> hz = numberValue(v);
                 if (!hz) return notNumber(v);
                 return appendNotices(notices, setCustomSectionFrequency(c, a.output, a.side, a.index, *hz));
             },
             [](const Configuration& c, const KeyAddress& a) { return customSectionGuard(c, a, false); }},
            {"output.N.xover.low|high.section.K.q", "0.1..20, three decimals; custom sides, read-only on others", 4,
             [](const Configuration& c, const KeyAddress& a) { return sectionView(sideView(c, a), a.index).qText; },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices& notices) -> Refusal {
                 const std::optional<double> q = numberValue(v);
                 if (!q) return notNumber(v);
                 return appendNotices(notices, setCustomSectionQ(c, a.output, a.side, a.index, *q));
             },
             [](const Configuration& c, const KeyAddress& a) { return customSectionGuard(c, a, true); }},
            {"xover.link_12|23|34", "on, off (the tied sides follow at their next change)", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return onOffText(c.links.crossover[static_cast<size_t>(a.link - 1)]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { setCrossoverLink(c, a.link, on); });
             },
             nullptr},
        });
}

const TDYNAMIC& stage(const Configuration& c, const KeyAddress& a)
{
    return c.output(a.output).dynamics;
}

DynamicsPositions positions(const Configuration& c, const KeyAddress& a)
{
    return dynamicsPositions(stage(c, a));
}

DynamicsControlStates states(const Configuration& c, const KeyAddress& a)
{
    return dynamicsControlStates(stage(c, a));
}

// The dynamics controls that only the stage's bypass disables.
Refusal stageGuard(const Configuration& c, const KeyAddress& a)
{
    if (stage(c, a).BypassF != 0) return disabled(texts::kSettingDynamicsBypassed);
    return std::nullopt;
}

Refusal ratioGuard(const Configuration& c, const KeyAddress& a)
{
    if (Refusal r = stageGuard(c, a)) return r;
    if (!states(c, a).ratio) return disabled(texts::kSettingLimiterRatio);
    return std::nullopt;
}

Refusal timesGuard(const Configuration& c, const KeyAddress& a)
{
    if (Refusal r = stageGuard(c, a)) return r;
    if (!states(c, a).attack) return disabled(texts::kSettingAutomaticTimes);
    return std::nullopt;
}

Refusal gateGuard(const Configuration& c, const KeyAddress& a)
{
    if (!states(c, a).gateThreshold) return disabled(texts::kSettingGateBypassed);
    return std::nullopt;
}

std::string timeText(float ms)
{
    return formatGeneral(ms, 5);
}

const std::initializer_list<const char*> kKindWords = {"limiter", "compressor"};

void addDynamicsRows(std::vector<KeyRow>& rows)
{
    rows.insert(
        rows.end(),
        {
            {"output.N.dynamics.kind", "limiter, compressor", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return std::string(kKindWords.begin()[stage(c, a).CriKnee != 0 ? 1 : 0]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                 const std::optional<int> item = choiceValue(v, kKindWords);
                 if (!item) return notOneOf(v, kKindWords);
                 setDynamicsCompressor(c, a.output, *item == 1);
                 return std::nullopt;
             },
             stageGuard},
            {"output.N.dynamics.threshold_dbu", "-20.0..18.0 dBu, steps of 0.5 dB", 0,
             [](const Configuration& c, const KeyAddress& a) { return thresholdText(positions(c, a).threshold); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(
                     v, [&](double dbu) { setDynamicsThresholdPosition(c, a.output, thresholdPositionFromDbu(dbu)); });
             },
             stageGuard},
            {"output.N.dynamics.ratio", "1.0..10.0, steps of 0.5 (compressor only)", 0,
             [](const Configuration& c, const KeyAddress& a) { return ratioText(positions(c, a).ratio); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(v, [&](double r) {
                     setDynamicsRatioPosition(c, a.output, ratioPositionFromValue(singleValue(r)));
                 });
             },
             ratioGuard},
            {"output.N.dynamics.gain_db", "-10.0..10.0 dB, steps of 0.5 dB", 0,
             [](const Configuration& c, const KeyAddress& a) { return makeupGainText(positions(c, a).gain); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(v, [&](double db) {
                     setDynamicsGainPosition(c, a.output, makeupGainPositionFromValue(singleValue(db)));
                 });
             },
             stageGuard},
            {"output.N.dynamics.knee_db", "0.0..10.0 dB, steps of 0.5 dB", 0,
             [](const Configuration& c, const KeyAddress& a) { return kneeText(positions(c, a).knee); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(v, [&](double db) {
                     setDynamicsKneePosition(c, a.output, kneePositionFromValue(singleValue(db)));
                 });
             },
             stageGuard},
            {"output.N.dynamics.attack_ms", "0.1..1000 ms, the nearest of the editor's 45 attack times", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return timeText(kAttackTimesMs[static_cast<size_t>(positions(c, a).attack)]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(
                     v, [&](double ms) { setDynamicsAttackPosition(c, a.output, attackIndexFromMs(singleValue(ms))); });
             },
             timesGuard},
            {"output.N.dynamics.release_ms", "1..10000 ms, the nearest of the editor's 39 release times", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return timeText(kReleaseTimesMs[static_cast<size_t>(positions(c, a).release)]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(v, [&](double ms) {
                     setDynamicsReleasePosition(c, a.output, releaseIndexFromMs(singleValue(ms)));
                 });
             },
             timesGuard},
            {"output.N.dynamics.auto_times", "on, off (on: attack and release follow the crossover's low side)", 0,
             [](const Configuration& c, const KeyAddress& a) { return onOffText(stage(c, a).AuxFlag != 0); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { setAutomaticTimes(c, a.output, on); });
             },
             stageGuard},
            {"output.N.dynamics.bypass", "on, off", 0,
             [](const Configuration& c, const KeyAddress& a) { return onOffText(stage(c, a).BypassF != 0); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { setDynamicsBypass(c, a.output, on); });
             },
             nullptr},
            {"output.N.dynamics.gate.bypass", "on, off", 0,
             [](const Configuration& c, const KeyAddress& a) { return onOffText(stage(c, a).GateBypassF != 0); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { setGateBypass(c, a.output, on); });
             },
             nullptr},
            {"output.N.dynamics.gate.threshold_dbu", "-85..-30 dBu, whole dB", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return formatInteger(gateDbuFromPosition(positions(c, a).gate));
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(
                     v, [&](double dbu) { setGateThresholdPosition(c, a.output, gatePositionFromDbu(dbu)); });
             },
             gateGuard},
            {"output.N.dynamics.gate.hold_ms", "10..10000 ms, the nearest of the editor's 34 gate times", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return timeText(kGateTimesMs[static_cast<size_t>(positions(c, a).hold)]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(
                     v, [&](double ms) { setGateHoldPosition(c, a.output, gateTimeIndexFromMs(singleValue(ms))); });
             },
             gateGuard},
            {"output.N.dynamics.gate.close_ms", "10..10000 ms, the nearest of the editor's 34 gate times", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return timeText(kGateTimesMs[static_cast<size_t>(positions(c, a).close)]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withNumber(
                     v, [&](double ms) { setGateClosePosition(c, a.output, gateTimeIndexFromMs(singleValue(ms))); });
             },
             gateGuard},
        });
}

SpeakerControls speaker(const Configuration& c, const KeyAddress& a)
{
    return speakerControls(stage(c, a));
}

void addSpeakerRows(std::vector<KeyRow>& rows)
{
    rows.insert(
        rows.end(),
        {
            {"output.N.speaker.impedance", "2, 2.67, 4, 8, 16 (ohms)", 0,
             [](const Configuration& c, const KeyAddress& a) {
                 return std::string(texts::kImpedanceItems[speaker(c, a).impedanceItem]);
             },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) -> Refusal {
                 const std::optional<double> ohms = numberValue(v);
                 for (size_t item = 0; ohms && item < kImpedanceValues.size(); ++item) {
                     if (singleValue(*ohms) != kImpedanceValues[item]) continue;
                     setSpeakerImpedance(c, a.output, static_cast<int>(item));
                     return std::nullopt;
                 }
                 return notOneOf(v, {"2", "2.67", "4", "8", "16"});
             },
             nullptr},
            {"output.N.speaker.box_power_w", "25..3200 W, whole watts", 0,
             [](const Configuration& c, const KeyAddress& a) { return std::to_string(speaker(c, a).boxPowerW); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withWhole(v, [&](int64_t w) { setSpeakerBoxPower(c, a.output, heldInt(w)); });
             },
             nullptr},
            {"output.N.speaker.amp_power_w", "100..3200 W, whole watts", 0,
             [](const Configuration& c, const KeyAddress& a) { return std::to_string(speaker(c, a).ampPowerW); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withWhole(v, [&](int64_t w) { setAmplifierPower(c, a.output, heldInt(w)); });
             },
             nullptr},
            {"output.N.speaker.amp_gain", "10..100 (voltage gain factor)", 0,
             [](const Configuration& c, const KeyAddress& a) { return std::to_string(speaker(c, a).ampGain); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withWhole(v, [&](int64_t g) { setAmplifierGain(c, a.output, heldInt(g)); });
             },
             nullptr},
            {"output.N.speaker.balanced", "on, off", 0,
             [](const Configuration& c, const KeyAddress& a) { return onOffText(speaker(c, a).balanced); },
             [](Configuration& c, const KeyAddress& a, std::string_view v, Notices&) {
                 return withOnOff(v, [&](bool on) { setBalancedInput(c, a.output, on); });
             },
             nullptr},
        });
}

const std::vector<KeyRow>& rows()
{
    static const std::vector<KeyRow> table = [] {
        std::vector<KeyRow> r;
        addNameRows(r);
        addRoutingRows(r);
        addLevelRows(r);
        addDelayRows(r);
        addInputEqualizerRows(r);
        addOutputEqualizerRows(r);
        addCrossoverRows(r);
        addDynamicsRows(r);
        addSpeakerRows(r);
        return r;
    }();
    return table;
}

// ---------------------------------------------------------------- key patterns

constexpr std::string_view kLinkWords = "12|23|34";

std::vector<std::string_view> split(std::string_view text)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t dot = text.find('.', start);
        parts.push_back(text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) return parts;
        start = dot + 1;
    }
}

// A number written with digits only, lo..hi.
std::optional<int> smallNumber(std::string_view text, int lo, int hi)
{
    if (text.empty() || text.size() > 2 || text[0] == '0') return std::nullopt;
    int v = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return std::nullopt;
        v = v * 10 + (ch - '0');
    }
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool matchSegment(std::string_view pattern, std::string_view segment, int indexMax, KeyAddress& a)
{
    if (pattern == "N") {
        const std::optional<int> n = smallNumber(segment, 1, kOutputCount);
        if (n) a.output = *n;
        return n.has_value();
    }
    if (pattern == "K") {
        const std::optional<int> k = smallNumber(segment, 1, indexMax);
        if (k) a.index = *k;
        return k.has_value();
    }
    if (pattern == "X" || pattern == "A|B") {
        if (segment == "A")
            a.input = InputId::A;
        else if (segment == "B")
            a.input = InputId::B;
        else if (segment == "AB" && pattern == "X")
            a.input = InputId::M;
        else
            return false;
        return true;
    }
    if (pattern == "low|high") {
        if (segment != "low" && segment != "high") return false;
        a.side = segment == "low" ? CrossoverSide::Low : CrossoverSide::High;
        return true;
    }
    if (endsWith(pattern, kLinkWords)) {
        const std::string_view word = pattern.substr(0, pattern.size() - kLinkWords.size());
        if (segment.substr(0, word.size()) != word) return false;
        const std::string_view pair = segment.substr(std::min(word.size(), segment.size()));
        if (pair == "12")
            a.link = 1;
        else if (pair == "23")
            a.link = 2;
        else if (pair == "34")
            a.link = 3;
        else
            return false;
        return true;
    }
    return pattern == segment;
}

struct Found {
    const KeyRow* row = nullptr;
    KeyAddress address;
};

std::optional<Found> findKey(std::string_view key)
{
    const std::vector<std::string_view> segments = split(key);
    for (const KeyRow& row : rows()) {
        const std::vector<std::string_view> pattern = split(row.pattern);
        if (pattern.size() != segments.size()) continue;
        KeyAddress address;
        bool match = true;
        for (size_t i = 0; match && i < pattern.size(); ++i)
            match = matchSegment(pattern[i], segments[i], row.indexMax, address);
        if (match) return Found{&row, address};
    }
    return std::nullopt;
}

// The words a pattern segment stands for.
std::vector<std::string> segmentWords(std::string_view pattern, int indexMax)
{
    auto numbers = [](int to) {
        std::vector<std::string> w;
        for (int k = 1; k <= to; ++k)
            w.push_back(std::to_string(k));
        return w;
    };
    if (pattern == "N") return numbers(kOutputCount);
    if (pattern == "K") return numbers(indexMax);
    if (pattern == "X") return {"A", "B", "AB"};
    if (pattern == "A|B") return {"A", "B"};
    if (pattern == "low|high") return {"low", "high"};
    if (endsWith(pattern, kLinkWords)) {
        const std::string word(pattern.substr(0, pattern.size() - kLinkWords.size()));
        return {word + "12", word + "23", word + "34"};
    }
    return {std::string(pattern)};
}

} // namespace

// ---------------------------------------------------------------- the table's interface

const std::vector<SettingKeyInfo>& settingKeyTable()
{
    static const std::vector<SettingKeyInfo> table = [] {
        std::vector<SettingKeyInfo> t;
        for (const KeyRow& row : rows())
            t.push_back({row.pattern, row.values, row.set == nullptr});
        return t;
    }();
    return table;
}

std::vector<std::string> allSettingKeys()
{
    std::vector<std::string> keys;
    for (const KeyRow& row : rows()) {
        std::vector<std::string> expanded{""};
        for (std::string_view segment : split(row.pattern)) {
            std::vector<std::string> next;
            for (const std::string& head : expanded)
                for (const std::string& word : segmentWords(segment, row.indexMax))
                    next.push_back(head.empty() ? word : head + "." + word);
            expanded = std::move(next);
        }
        keys.insert(keys.end(), expanded.begin(), expanded.end());
    }
    // The keys of one thing together (an output's level beside its name and delay, a band's four
    // fields), things in the order they first come.
    std::vector<std::string> groups;
    auto groupOf = [&groups](const std::string& key) {
        const std::string group = key.substr(0, std::min(key.size(), key.rfind('.')));
        const auto at = std::find(groups.begin(), groups.end(), group);
        if (at != groups.end()) return at - groups.begin();
        groups.push_back(group);
        return static_cast<std::ptrdiff_t>(groups.size() - 1);
    };
    std::vector<std::pair<std::ptrdiff_t, std::string>> ordered;
    for (std::string& key : keys)
        ordered.emplace_back(groupOf(key), std::move(key));
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    keys.clear();
    for (auto& [group, key] : ordered)
        keys.push_back(std::move(key));
    return keys;
}

Result<std::string> getSetting(const Configuration& config, std::string_view key)
{
    const std::optional<Found> found = findKey(key);
    if (!found) return Error{std::string(key) + ": " + texts::kSettingUnknownKey};
    return found->row->get(config, found->address);
}

SettingOutcome setSetting(Configuration& config, std::string_view key, std::string_view value)
{
    SettingOutcome outcome;
    const std::optional<Found> found = findKey(key);
    if (!found) {
        outcome.error = SettingError{SettingRefusal::UnknownKey, texts::kSettingUnknownKey};
        return outcome;
    }
    const KeyRow& row = *found->row;
    if (!row.set) {
        outcome.error = *readOnly(texts::kSettingComputed);
        return outcome;
    }
    if (row.guard) {
        if (Refusal refused = row.guard(config, found->address)) {
            outcome.error = std::move(refused);
            return outcome;
        }
    }
    // The setters read the value before they change anything, so a refused value leaves the
    // Configuration as it was.
    outcome.error = row.set(config, found->address, value, outcome.notices);
    if (outcome.error) outcome.notices.clear();
    return outcome;
}

SettingOutcome applySettings(Configuration& config, const std::vector<std::string>& assignments)
{
    Configuration next = config;
    SettingOutcome all;
    for (const std::string& assignment : assignments) {
        const size_t equals = assignment.find('=');
        SettingOutcome one;
        if (equals == std::string::npos)
            one.error = SettingError{SettingRefusal::BadValue, texts::kSettingNoAssignment};
        else
            one = setSetting(next, std::string_view(assignment).substr(0, equals),
                             std::string_view(assignment).substr(equals + 1));
        if (!one.ok()) {
            one.error->message = assignment + ": " + one.error->message;
            one.notices.clear();
            return one;
        }
        all.notices.insert(all.notices.end(), one.notices.begin(), one.notices.end());
    }
    config = std::move(next);
    return all;
}

} // namespace kvr::core
