#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace kvr::core {

// Round half to even into a 64-bit integer. NaN gives 0 and values beyond the 64-bit range
// (infinities included) saturate, so a value from a file can never cause undefined behaviour here.
inline int64_t roundHalfEven(double x)
{
    if (std::isnan(x)) return 0;
    constexpr double kLimit = 9.2233720368547748e18; // 2^63
    if (x >= kLimit) return std::numeric_limits<int64_t>::max();
    if (x <= -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::nearbyint(x)); // default FE_TONEAREST = half to even
}

// Round half to even, as a double (for values that stay real, like grid frequencies).
inline double roundHalfEvenReal(double x) { return std::nearbyint(x); }

// The low bits of a rounded value, as a fixed-width field holds them.
inline uint16_t low16(int64_t v) { return static_cast<uint16_t>(static_cast<uint64_t>(v) & 0xFFFFu); }
inline uint8_t low8(int64_t v) { return static_cast<uint8_t>(static_cast<uint64_t>(v) & 0xFFu); }

template <typename T>
constexpr T clampTo(T v, T lo, T hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// Clamp a double into [lo, hi]; NaN becomes the fallback.
inline double clampFinite(double v, double lo, double hi, double fallback)
{
    if (std::isnan(v)) return fallback;
    return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace kvr::core
