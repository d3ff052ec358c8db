#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dsp/tsos.h"

namespace kvr::core {

// Side type codes, as stored in files and device images.
enum class CrossoverType : uint8_t {
    Bypass = 0,
    ButterworthLowPass = 1,
    ButterworthHighPass = 2,
    LinkwitzRileyLowPass = 3,
    LinkwitzRileyHighPass = 4,
    BesselLowPass = 5,
    BesselHighPass = 6,
    CustomLowPass = 7,
    CustomHighPass = 8,
};
constexpr uint8_t kMaxCrossoverType = 8;

// One side of a crossover: a cascade of up to four sections.
struct TXOVERPB {
    std::array<TSOS, 8> Sections{};
    int32_t Orden = 4;
    int32_t NumSections = 1;
    uint8_t Tipo = 0;
    double Frec = 1000.0;

    bool operator==(const TXOVERPB&) const = default;
};

// One output's crossover. LowSide is the lower band edge (a high-pass), HighSide the upper (a low-pass).
struct TXOVER {
    TXOVERPB LowSide;
    TXOVERPB HighSide;

    bool operator==(const TXOVER&) const = default;
};

// Upper limit of a Bessel low-pass cut-off for order 1..8.
double BesselLowPassLimitHz(int order);

// What a side design reports back.
struct SideDesignResult {
    // Set when a Bessel low-pass was above its order's limit: the message to show. The side's
    // Frec and the Frec of sections 1..4 then hold the limit and nothing was designed; the
    // caller re-applies the side at the limit.
    std::optional<std::string> besselLimitMessage;
    double limitHz = 0.0;
};

// (Re)designs a side from Tipo, Orden, Frec and, for Bessel and custom, the Frec/Q already in
// its sections. An out-of-range order is clamped to 1..8 first.
SideDesignResult DesignSide(TXOVERPB& side);
// Butterworth cascade of order N into sections start, start+1, ... (1-based); sign +1 low, -1 high.
void DesignButterworth(TXOVERPB& side, int order, int start, int sign, double fcHz);
double QFromLowPass(const TSOS& section);
double QFromHighPass(const TSOS& section);

// The chain the editors evaluate: HighSide sections 1..NumSections then LowSide's.
std::vector<const TSOS*> crossoverChain(const TXOVER& xover);

} // namespace kvr::core
