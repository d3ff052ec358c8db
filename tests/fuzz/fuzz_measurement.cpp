// The measurement readers and the resampler: every format over the same bytes is accepted or
// refused cleanly; an accepted file has at least two points, no equal neighbours, no more points
// than are kept, and resamples to finite singles on every grid point.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "tools/measurementimport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kvr::core;
    const std::span<const uint8_t> bytes(data, size);
    for (int k = 0; k < kMeasurementKinds; ++k) {
        const auto kind = static_cast<MeasurementKind>(k);
        auto points = parseMeasurement(bytes, kind, "fuzz.txt");
        if (!points) continue;
        const size_t n = points->frequencyHz.size();
        if (n < 2 || n > kMeasurementMaxPoints || points->level.size() != n || points->phase.size() != n) std::abort();
        for (size_t i = 1; i < n; ++i)
            if (points->frequencyHz[i] == points->frequencyHz[i - 1]) std::abort();
        const MeasuredResponse r = resampleMeasurement(*points, 96.0f);
        for (size_t i = 0; i < r.level.size(); ++i)
            if (!std::isfinite(r.level[i]) || !std::isfinite(r.phaseRad[i])) std::abort();
    }
    return 0;
}
