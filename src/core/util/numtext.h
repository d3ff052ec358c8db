#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvr::core {

// Every number the program shows or parses uses "." as decimal separator, whatever the locale.

// Shortest text that reads back as the same single-precision value ("-5.85", "1000", "0.1").
std::string formatShortest(float value);
// General format with up to `digits` significant digits, trailing zeros dropped ("2.5", "1000").
std::string formatGeneral(double value, int digits = 15);
// Fixed point with `decimals` decimals ("2.90").
std::string formatFixed(double value, int decimals);
// Whole number text of a rounded value.
std::string formatInteger(long long value);

// A number as the coefficient listings and the automatic report write it, by what holds it: a
// single-precision value (as the Configuration keeps it) in its shortest form, a computed double
// with up to 15 significant digits (whole numbers go through formatInteger).
std::string formatNumber(float value);
std::string formatNumber(double value);

// Parses a decimal number with "." as separator; leading/trailing blanks allowed. Only finite
// numbers are numbers: "nan", "inf" and values beyond a double are not.
std::optional<double> parseNumber(std::string_view text);
std::optional<long long> parseInteger(std::string_view text);

} // namespace kvr::core
