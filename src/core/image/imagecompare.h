#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Comparing the image sent into a memory with the one read back from it, part by part, so that a
// store can be verified and the user told which part came back different.

namespace kvr::core {

// The parts of an image in the order they lie: the header (length, routes, names and the first
// block's length), DSP block 1, DSP block 2 (with its length), and the ConfigRecord with what
// surrounds it.
enum class ImagePart : uint8_t { Header, DspBlock1, DspBlock2, Record };

struct ImageDifference {
    ImagePart part = ImagePart::Header;
    size_t offset = 0; // of the first byte that differs (or is missing or extra) in the image
};

// The first difference between the image sent and the bytes read back, located in the parts of
// the image sent; nothing when they are equal byte for byte.
std::optional<ImageDifference> firstImageDifference(std::span<const uint8_t> sent, std::span<const uint8_t> received);

// "header", "DSP block 1", "DSP block 2", "configuration record".
const char* imagePartName(ImagePart part);

// "Memory N stored and verified", "Memory N stored", "Memory N read".
std::string memoryStoredText(int memory, bool verified);
std::string memoryReadText(int memory);
// The mismatch text: memory, first differing part and its byte.
std::string verifyMismatchText(int memory, const ImageDifference& difference);

} // namespace kvr::core
