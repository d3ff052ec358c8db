#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kvr::sim {

// One line about a memory image for the log: its length word, routes, blocked flag and names.
std::string describeImage(std::span<const uint8_t> image);

} // namespace kvr::sim
