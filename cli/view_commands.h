#pragma once

#include <string>
#include <vector>

namespace kvr::cli {

// The output view and the dynamics curve of a configuration file: output-view, dynamics.
// Returns the exit status, or -1 when the command is not one of these.
int runViewCommand(const std::vector<std::string>& args);
void printViewCommandsUsage();

} // namespace kvr::cli
