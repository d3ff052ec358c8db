#include "tools/delayaxis.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kvr::core {

namespace {

constexpr double kLeftOutFraction = 0.02;
constexpr double kSmallestSpanMs = 1.0;
constexpr double kLowestMs = -20.0;
constexpr double kHighestMs = 50.0;

} // namespace

double niceStepAbove(double value)
{
    if (!(value > 0.0) || !std::isfinite(value)) return 1.0;
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        // A value a hair above a step (from a decimal that binary cannot hold) stays on it.
        if (value <= m * decade * (1.0 + 1e-9)) return m * decade;
    }
    return 10.0 * decade;
}

DelayAxisRange groupDelayAxisRange(std::span<const double> valuesMs)
{
    std::vector<double> values;
    values.reserve(valuesMs.size());
    for (double v : valuesMs)
        if (std::isfinite(v)) values.push_back(v);
    if (values.empty()) return {};
    const auto cut = static_cast<size_t>(std::floor(static_cast<double>(values.size() - 1) * kLeftOutFraction));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(cut), values.end());
    const double low = values[cut];
    const size_t top = values.size() - 1 - cut;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(top), values.end());
    const double high = values[top];

    DelayAxisRange r;
    r.maxMs = std::min(kHighestMs, niceStepAbove(std::max(high, kSmallestSpanMs)));
    r.minMs = low < 0.0 ? std::max(kLowestMs, -niceStepAbove(-low)) : 0.0;
    return r;
}

} // namespace kvr::core
