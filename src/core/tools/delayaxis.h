#pragma once

#include <span>

// The Y range of the output view's group delay ("Delay") view, fitted to the curves shown.

namespace kvr::core {

struct DelayAxisRange {
    double minMs = 0.0;
    double maxMs = 1.0;
};

// Limits in steps of 1, 2 or 5 times a power of ten: from 0 ms (or the step below a negative
// delay) to the step above the largest delay. A notch or a cancelling sum can give any value at
// a few points, so the outer 2 % of the values at each end are left out; the range is at least
// 0..1 ms and at most -20..50 ms (30 ms of output delay and the filters' own). No values: 0..1.
DelayAxisRange groupDelayAxisRange(std::span<const double> valuesMs);

// The step of 1, 2 or 5 times a power of ten at or above a positive value.
double niceStepAbove(double value);

} // namespace kvr::core
