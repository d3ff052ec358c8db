#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "dsp/frequencygrid.h"

namespace kvr::core {

// Section type codes, as stored in files and device images.
enum class SectionType : uint8_t {
    Bypass = 0,
    Parametric = 1,
    ShelvLow6 = 2,
    ShelvLow12 = 3,
    ShelvHigh6 = 4,
    ShelvHigh12 = 5,
    LowPass = 6,
    HiPass = 7,
    BandPass = 8,
    StopBand = 9,
    AllPass1 = 10,
    AllPass2 = 11,
    NoDesign = 12,
    FirstOrder = 13,           // first-order low- or high-pass (custom and Bessel crossovers)
    ButterworthFirstHigh = 14, // first-order high-pass of a Butterworth crossover
    LowPassQ = 15,
    HighPassQ = 16,
    LowShelfSlope = 17,
    HighShelfSlope = 18,
    AnalogPlus = 19,
    AnalogMinus = 20,
    ParametricConstQ = 21,
};
constexpr uint8_t kMaxSectionType = 21;

// One second-order section. y[n] = B0 x[n] + B1 x[n-1] + B2 x[n-2] + A1 y[n-1] + A2 y[n-2].
struct TSOS {
    double B0 = 1.0;
    double B1 = 0.0;
    double B2 = 0.0;
    double A1 = 0.0;
    double A2 = 0.0;
    uint8_t Tipo = 0;
    double Gain = 0.0;    // dB (a plain ratio for types 19 and 20)
    double Frec = 1000.0; // Hz
    double Q = 0.707;     // slope for types 17 and 18

    void SetBypass();
    // Recomputes the coefficients from Tipo/Gain/Frec/Q. constantQ selects the "Const Q"
    // variant of type 1. Codes 12, 13, 14 and above 21 leave the section unchanged.
    void Design(bool constantQ = false);
    // The type-13 first-order formula at Frec (low- or high-pass, chosen by the caller).
    void DesignFirstOrder(bool highPass);
    // 0..4: B0, B1, B2, A1, A2; any other index (modulo 128) gives 0.
    double Coef(int index) const;

    bool operator==(const TSOS&) const = default;
};

// Magnitude (dB) and phase (radians) of a chain over the FrequencyGrid.
struct ChainResponse {
    std::array<float, kGridPoints> magnitudeDb{};
    std::array<float, kGridPoints> phaseRad{};
};

// Floor of the magnitude of one section where it is exactly zero (a notch on a grid point).
constexpr double kMagnitudeFloorDb = -300.0;

// Sets the arrays to 0 and adds the response of each section, section by section
// (phases summed without wrapping).
void AddChainResponse(std::span<const TSOS* const> sections, ChainResponse& out);
void AddChainResponse(const TSOS* const* sections, int count, float* magnitudeDb, float* phaseRad);
// The same for the first `count` sections of a bank (a count outside 0..size held to it).
void AddBankResponse(std::span<const TSOS> bank, int count, ChainResponse& out);

// Phase in radians wrapped to -180..+180 degrees the way the plots show it.
double wrapPhaseDegrees(double phaseRad);

} // namespace kvr::core
