#pragma once

// Independent references for the filter tests: direct evaluation of a biquad's transfer
// function and of analogue prototypes through the bilinear transform, with std::complex.

#include <cmath>
#include <complex>
#include <numbers>

#include "dsp/tsos.h"

namespace dspref {

using Cplx = std::complex<double>;

constexpr double kFs = 48000.0;
constexpr double kPi = std::numbers::pi;

// H(e^jw) = (B0 + B1 z^-1 + B2 z^-2) / (1 - A1 z^-1 - A2 z^-2)
inline Cplx sectionAtOmega(const kvr::core::TSOS& s, double w)
{
    const Cplx z1 = std::polar(1.0, -w);
    return (s.B0 + s.B1 * z1 + s.B2 * z1 * z1) / (1.0 - s.A1 * z1 - s.A2 * z1 * z1);
}

inline Cplx sectionAtHz(const kvr::core::TSOS& s, double fHz)
{
    return sectionAtOmega(s, 2.0 * kPi * fHz / kFs);
}

// The normalised analogue frequency that the bilinear transform pre-warped at f0 maps f to.
inline double warped(double fHz, double f0Hz)
{
    return std::tan(kPi * fHz / kFs) / std::tan(kPi * f0Hz / kFs);
}

inline Cplx warpedS(double fHz, double f0Hz) { return {0.0, warped(fHz, f0Hz)}; }

inline double db(Cplx h) { return 20.0 * std::log10(std::abs(h)); }

// Digital coefficients of a biquad given as b0..b2 / a0..a2 (textbook sign convention).
inline kvr::core::TSOS fromTextbook(double b0, double b1, double b2, double a0, double a1, double a2)
{
    kvr::core::TSOS s;
    s.B0 = b0 / a0;
    s.B1 = b1 / a0;
    s.B2 = b2 / a0;
    s.A1 = -a1 / a0;
    s.A2 = -a2 / a0;
    return s;
}

} // namespace dspref
