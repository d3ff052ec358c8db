#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"

// The automatic report: a plain-text description of a Configuration, line by line.

namespace kvr::core {

// `dateTime` and `version` are given by the caller (the clock and the program's version).
std::vector<std::string> automaticReport(const Configuration& config, const std::string& dateTime,
                                         const std::string& version);

// The line of an equaliser band k (1-based), or nothing for a type without one.
std::string reportBandLine(int k, const TSOS& section);

} // namespace kvr::core
