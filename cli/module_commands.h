#pragma once

#include <string>
#include <vector>

namespace kvr::cli {

// The Ethernet module commands: discover, module set-ip, module set-name, module identify.
// Returns the exit status, or -1 when the command is not one of these.
int runModuleCommand(const std::vector<std::string>& args);
void printModuleCommandsUsage();

} // namespace kvr::cli
