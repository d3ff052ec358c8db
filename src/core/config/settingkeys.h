#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/editing.h"
#include "util/result.h"

// The Configuration's controls by name ("output.3.gain_db", "output.2.xover.low.freq"), for
// scripts: each key reads what its editor shows, in the form it takes back, and changes it as a
// person's edit of that control does, through the editor's own core function (quantisation,
// clamps, links, never-cross, automatic times). What the editor would not let a person do is
// refused: a control it holds disabled, a lower band count, a value it computes.
//
// Key patterns: N is an output 1..4, X an input A, B or AB (the A+B mix), K a band 1..6 or a
// crossover section 1..4; "low|high" and "12|23|34" stand for one of their words.

namespace kvr::core {

enum class SettingRefusal {
    UnknownKey, // no such key
    ReadOnly,   // a value the program computes (delay samples, linear gain, designed sections)
    BadValue,   // the text is not a value of the key
    Disabled,   // the editor holds the control disabled at that moment
    LowerCount, // a band count below the present one: the editors never lower it
};

struct SettingError {
    SettingRefusal refusal = SettingRefusal::UnknownKey;
    std::string message;
};

// The outcome of assignments: refused (nothing changed), or applied with the messages the
// editor would have shown (a Bessel limit), in order.
struct SettingOutcome {
    std::optional<SettingError> error;
    Notices notices;

    bool ok() const { return !error.has_value(); }
};

// One row of the key table, as the help text lists it.
struct SettingKeyInfo {
    std::string pattern; // "output.N.xover.low|high.freq"
    std::string values;  // "20..20000 Hz, whole Hz"
    bool readOnly = false;
};
const std::vector<SettingKeyInfo>& settingKeyTable();
// Every key the table stands for, in table order ("system.name" ... "output.4.speaker.balanced").
std::vector<std::string> allSettingKeys();

// What the key's control shows, in the form `setSetting` takes.
Result<std::string> getSetting(const Configuration& config, std::string_view key);

// Applies one value as a person's edit of the key's control. Refused, the Configuration is as it was.
SettingOutcome setSetting(Configuration& config, std::string_view key, std::string_view value);

// "KEY=VALUE" assignments applied in order to a copy, which replaces `config` only when every one
// was applied; a refusal names its assignment and leaves `config` untouched.
SettingOutcome applySettings(Configuration& config, const std::vector<std::string>& assignments);

} // namespace kvr::core
