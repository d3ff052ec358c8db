#pragma once

#include <array>
#include <cstdint>

#include "dsp/compmath.h"

namespace kvr::core {

constexpr int32_t kSampleRate = 48000;
constexpr int kGridCount = 400;            // intervals
constexpr int kGridPoints = kGridCount + 1; // 401 points, 20 Hz .. 23999 Hz
constexpr int kGridLowHz = 20;
constexpr int kGridHighHz = kSampleRate / 2 - 1;

// The shared analysis frequencies: whole hertz, logarithmically spaced.
struct FrequencyGrid {
    std::array<int32_t, kGridPoints> frequencyHz{};
    std::array<float, kGridPoints> omega{};        // 2*pi*f/fs, single precision
    std::array<TComplex, kGridPoints> zInverse{};  // e^(-j*omega), from the stored float omega
};

// Builds the grid for indices 0..count; the step always divides by kGridCount.
FrequencyGrid BuildFrequencyGrid(int count, int fLowHz, int fHighHz);

// The process-wide grid (built once, read-only afterwards).
const FrequencyGrid& frequencyGrid();

} // namespace kvr::core
