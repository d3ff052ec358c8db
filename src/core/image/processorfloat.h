#pragma once

#include <cstdint>

// The DSP chips' 32-bit floating-point format (TMS320C3x single precision): bits 31..24 a
// two's-complement exponent, bit 23 the sign, bits 22..0 the fraction. Positive values are
// (1 + f/2^23)·2^e, negative ones (-2 + f/2^23)·2^e; exponent -128 is zero.

namespace kvr::core {

constexpr uint32_t kProcessorZero = 0x80000000u;

// x is rounded to an IEEE single first. Values beyond the single range are written as the
// largest finite value of their sign, and NaN as zero, so no word the DSP cannot use leaves here.
uint32_t ToProcessorFloat(double x);

// The value a word stands for (every word has one; exponent -128 reads as zero).
double FromProcessorFloat(uint32_t word);

} // namespace kvr::core
