#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/settingkeys.h"

// The rows of the key table (config/settingkeys.h) and the value readers they share. The input
// and output equaliser rows live in files of their own: their editors' headers cannot meet in one
// file.

namespace kvr::core::settingkeys {

// Where a key points: the N, X, K, side and link of its pattern.
struct KeyAddress {
    int output = 1;
    InputId input = InputId::A;
    int index = 1; // band 1..6 or crossover section 1..4
    CrossoverSide side = CrossoverSide::Low;
    int link = 1; // 1-2, 2-3, 3-4 as 1..3
};

using Refusal = std::optional<SettingError>;
// What the control shows.
using Getter = std::string (*)(const Configuration&, const KeyAddress&);
// Reads the value and applies it as a person's edit; a text that is no value of the key is refused.
using Setter = Refusal (*)(Configuration&, const KeyAddress&, std::string_view value, Notices&);
// Why the control cannot be changed at this moment (disabled, or a computed value), if it cannot.
using Guard = Refusal (*)(const Configuration&, const KeyAddress&);

struct KeyRow {
    const char* pattern; // segments: N, X, A|B, K, low|high, a word ending in 12|23|34, or literal
    const char* values;  // for the help text
    int indexMax;        // how far K goes: 6 bands or 4 sections
    Getter get;
    Setter set;  // none: read-only
    Guard guard; // none: always enabled
};

void addInputEqualizerRows(std::vector<KeyRow>& rows);
void addOutputEqualizerRows(std::vector<KeyRow>& rows);

// ---- Values ----
// A finite number ("." as decimal separator, as the editors' fields read it).
std::optional<double> numberValue(std::string_view text);
// The nearest whole number (a spin box's step), ties to even; held within +-1e9.
std::optional<int64_t> wholeValue(std::string_view text);
std::optional<bool> onOffValue(std::string_view text);
// The item a word names, exactly.
std::optional<int> choiceValue(std::string_view text, std::initializer_list<const char*> words);
// An integer code lo..hi, written as a whole number.
std::optional<int> codeValue(std::string_view text, int lo, int hi);
// A number as a single-precision control keeps it, held within +-1e9 so the conversion is defined.
float singleValue(double value);
std::string onOffText(bool on);

Refusal notNumber(std::string_view text);
Refusal notOnOff(std::string_view text);
Refusal notOneOf(std::string_view text, std::initializer_list<const char*> words);
Refusal disabled(const char* why);
Refusal readOnly(const char* why);

} // namespace kvr::core::settingkeys
