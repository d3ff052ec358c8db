#pragma once

#include <string>

#include "config/configuration.h"

// The texts of the main window's value labels. The windows, the report and the listings all
// take them from here, so what the user reads is the same everywhere.

namespace kvr::core {

// "<dB> dB" with one decimal, e.g. "-6.0 dB".
std::string gainLabel(double db);
// "<ms> ms" with two decimals, e.g. "2.90 ms".
std::string delayLabel(double ms);
// Name of an input equaliser bank: "PEQA", "PEQB", "PEQM".
std::string bankName(InputId bank);
// Caption of an input's equaliser button: the bank its route passes through.
std::string peqSourceCaption(const Configuration& config, InputId input);

} // namespace kvr::core
