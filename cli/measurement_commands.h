#pragma once

#include <string>
#include <vector>

namespace kvr::cli {

// measurement FILE --kind K [--reference DB]: a measured response resampled onto the grid.
// Returns the exit status, or -1 when the command is not this one.
int runMeasurementCommand(const std::vector<std::string>& args);
void printMeasurementCommandsUsage();

} // namespace kvr::cli
