#pragma once

#include <string>
#include <vector>

namespace kvr::cli {

// Commands on configuration files: info, response, peq, peqx. Returns the exit status, or -1
// when the command is not one of these.
int runFileCommand(const std::vector<std::string>& args);
void printFileCommandsUsage();

} // namespace kvr::cli
