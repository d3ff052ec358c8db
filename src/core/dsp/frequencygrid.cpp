#include "dsp/frequencygrid.h"

#include <numbers>

#include "util/rounding.h"

namespace kvr::core {

FrequencyGrid BuildFrequencyGrid(int count, int fLowHz, int fHighHz)
{
    FrequencyGrid grid;
    // The arrays hold kGridPoints entries; a larger count cannot be stored.
    const int last = clampTo(count, -1, kGridCount);
    const double l1 = Log10(fLowHz);
    const double l2 = Log10(fHighHz);
    // The step always divides by kGridCount, whatever count is: a shorter build is a prefix.
    const double step = (l2 - l1) / kGridCount;
    for (int e = 0; e <= last; ++e) {
        const auto f = static_cast<int32_t>(roundHalfEven(Pow10(l1 + e * step)));
        grid.frequencyHz[e] = f;
        const auto w = static_cast<float>(f * 2.0 * std::numbers::pi / kSampleRate);
        grid.omega[e] = w;
        // From the stored single-precision w, so z^-1 and w describe the same frequency.
        TComplex arg;
        MakeComplex(arg, 0.0, -static_cast<double>(w));
        ComplexExp(arg, grid.zInverse[e]);
    }
    return grid;
}

const FrequencyGrid& frequencyGrid()
{
    static const FrequencyGrid grid = BuildFrequencyGrid(kGridCount, kGridLowHz, kGridHighHz);
    return grid;
}

} // namespace kvr::core
