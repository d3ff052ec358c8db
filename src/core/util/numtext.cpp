#include "util/numtext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace kvr::core {

std::string formatShortest(float value)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0.0f) return "0";
    char buf[64];
    // Shortest round-trip digits, shown in plain notation for the magnitudes the program uses.
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general);
    std::string text(buf, res.ptr);
    if (text.find('e') == std::string::npos) return text;
    // Exponent form: keep the shortest digits but write them out in plain notation where sensible.
    float mag = std::fabs(value);
    if (mag >= 1e-5f && mag < 1e15f) {
        for (int precision = 1; precision <= 60; ++precision) {
            res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
            float back = 0;
            std::from_chars(buf, res.ptr, back);
            if (back == value) return std::string(buf, res.ptr);
        }
    }
    return text;
}

std::string formatGeneral(double value, int digits)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0.0) return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    std::string text(buf, res.ptr);
    // to_chars writes "1e+20"; the program's general format writes "1E20".
    auto e = text.find('e');
    if (e != std::string::npos) {
        std::string mant = text.substr(0, e);
        std::string exp = text.substr(e + 1);
        bool neg = !exp.empty() && exp[0] == '-';
        if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) exp.erase(0, 1);
        while (exp.size() > 1 && exp[0] == '0')
            exp.erase(0, 1);
        text = mant + "E" + (neg ? "-" : "") + exp;
    }
    return text;
}

std::string formatFixed(double value, int decimals)
{
    if (!std::isfinite(value)) return formatGeneral(value);
    char buf[400];
    int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string text(buf, n > 0 ? static_cast<size_t>(n) : 0);
    // No "-0.00": a value that shows as zero is zero.
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string formatInteger(long long value)
{
    return std::to_string(value);
}

std::string formatNumber(float value)
{
    return formatShortest(value);
}

std::string formatNumber(double value)
{
    return formatGeneral(value, 15);
}

static std::string_view trim(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t' || t.front() == '\r' || t.front() == '\n'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r' || t.back() == '\n'))
        t.remove_suffix(1);
    return t;
}

std::optional<double> parseNumber(std::string_view text)
{
    text = trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    // "nan" and "inf" are spellings from_chars knows but no field can hold.
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<long long> parseInteger(std::string_view text)
{
    text = trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    long long v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return v;
}

} // namespace kvr::core
