#pragma once

#include <string>
#include <vector>

#include "dsp/tdynamic.h"

// Will an output's maximum level, after its dynamics, overload the loudspeaker or the amplifier?

namespace kvr::core {

struct PowerCheck {
    float maxLevelDbu = 0.0f; // the curve's output at full-scale input, in dBu
    double voltageRms = 0.0;  // at the processor's output (halved when unbalanced)
    double powerW = 0.0;      // into the loudspeaker (quartered when unbalanced)
    bool boxWarning = false;
    bool ampWarning = false;
};

// Reads the designed curve of the stage: its last point is the level at full scale.
PowerCheck checkPower(const TDYNAMIC& dyn);
// The four lines of the result text (a warning that does not apply is an empty line).
std::vector<std::string> powerMemoLines(const TDYNAMIC& dyn);

} // namespace kvr::core
