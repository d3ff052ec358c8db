#include "image/processorfloat.h"

#include <bit>
#include <cmath>
#include <limits>

namespace kvr::core {

uint32_t ToProcessorFloat(double x)
{
    if (std::isnan(x)) return kProcessorZero;
    constexpr double kMax = std::numeric_limits<float>::max();
    // Converting an out-of-range double to float is undefined; saturate first.
    const float f = static_cast<float>(x > kMax ? kMax : (x < -kMax ? -kMax : x));
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    const bool negative = (bits >> 31) != 0;
    const uint32_t biased = (bits >> 23) & 0xFFu;
    const uint32_t mantissa = bits & 0x7FFFFFu;
    if ((bits & 0x7FFFFFFFu) == 0) return kProcessorZero; // +0 and -0
    uint32_t exponent = biased == 0 ? 0x80u : ((biased - 127u) & 0xFFu);
    if (!negative) return (exponent << 24) | mantissa;
    if (mantissa != 0) return (exponent << 24) | ((0u - mantissa) & 0xFFFFFFu);
    // -2^k is -2·2^(k-1) in this format: one exponent down, fraction 0.
    exponent = (exponent - 1u) & 0xFFu;
    return (exponent << 24) | 0x800000u;
}

double FromProcessorFloat(uint32_t word)
{
    const int exponent = static_cast<int8_t>(static_cast<uint8_t>(word >> 24));
    if (exponent == -128) return 0.0;
    const double fraction = static_cast<double>(word & 0x7FFFFFu) / 8388608.0;
    const bool negative = (word & 0x800000u) != 0;
    return std::ldexp(negative ? fraction - 2.0 : fraction + 1.0, exponent);
}

} // namespace kvr::core
