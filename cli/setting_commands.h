#pragma once

#include <string>
#include <vector>

namespace kvr::cli {

// Controls of a configuration file by name: get, set. Returns the exit status, or -1 when the
// command is not one of these.
int runSettingCommand(const std::vector<std::string>& args);
void printSettingCommandsUsage();
// The keys get and set take, with their values.
void printSettingKeys();

} // namespace kvr::cli
