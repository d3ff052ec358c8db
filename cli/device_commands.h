#pragma once

#include <string>
#include <vector>

namespace kvr::cli {

// Runs a command that talks to the processor. `args` starts with the command name (no program
// name). Returns the exit status (0 only when the operation completed), or -1 when the command
// is not a device command.
int runDeviceCommand(const std::vector<std::string>& args);

} // namespace kvr::cli
