#pragma once

#include <string>
#include <vector>

// How the report window writes its lines: as a text file and on a printer.

namespace kvr::core {

// Every line followed by CR LF.
std::string textWithCrLf(const std::vector<std::string>& lines);

// The printed page: four lines of five spaces, then every line after five spaces.
std::vector<std::string> printedReportLines(const std::vector<std::string>& lines);

} // namespace kvr::core
