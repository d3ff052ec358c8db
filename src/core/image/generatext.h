#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "util/result.h"

// The text of the "Genera" window: the two DSP blocks of an image as hexadecimal lines.

namespace kvr::core {

// Round(L/4) lines of four two-digit upper-case hexadecimal bytes separated by single spaces.
std::vector<std::string> blockHexLines(std::span<const uint8_t> block);
// The same lines, each followed by " : " and its 1-based number.
std::vector<std::string> numberedLines(const std::vector<std::string>& lines);

struct GeneraText {
    std::vector<std::string> block1;   // DATAMemo1
    std::vector<std::string> block2;   // DATAMemo2
    std::vector<std::string> numbered; // LineasMemo: block 1 with line numbers
};
// From a built image; fails when the image's lengths do not hold.
Result<GeneraText> generaText(std::span<const uint8_t> image);

} // namespace kvr::core
