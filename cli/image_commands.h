#pragma once

#include <string>
#include <vector>

namespace kvr::cli {

// Commands on device images, libraries, DSP operating system files, listings and reports:
// image, decode, library, listing, report, power, os-image. Returns the exit status, or -1 when
// the command is not one of these.
int runImageCommand(const std::vector<std::string>& args);
void printImageCommandsUsage();

} // namespace kvr::cli
