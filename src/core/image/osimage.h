#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "util/bytes.h"
#include "util/result.h"

// The DSP operating system: the ".asc" hexadecimal text file and the image uploaded to the
// processor, [hi(N + 3), lo(N + 3), version, N bytes].

namespace kvr::core {

constexpr size_t kOsMaxBytes = 6144;
constexpr size_t kOsImageHead = 3;
constexpr size_t kOsBytesPerLine = 16;
constexpr size_t kOsFullLineLength = 49; // 16 * 3 - 1 characters and CR LF
// Larger files are refused before they are read.
constexpr size_t kOsMaxFileSize = 1 << 20;

struct OsImage {
    size_t byteCount = 0; // N
    uint8_t version = 0;  // from the file name: 47 is shown as 4.7
    Bytes image;          // kOsImageHead + N bytes
};

// Decodes the text of an operating-system file. `fileName` (folder parts are ignored) gives the
// version in its 5th to 7th characters. The byte count comes from the file size and its line
// count; every byte must stand as two hexadecimal digits at its place in its line.
Result<OsImage> decodeOsFile(std::span<const uint8_t> text, const std::string& fileName);
Result<OsImage> readOsFile(const std::string& path);

// The text of an operating system as it is saved: lines of 16 lower-case hexadecimal bytes
// separated by single spaces, then one line with each remaining byte followed by a space; lines
// separated by CR LF (the last line, empty when no bytes remain, has no line end, so the file
// reads back to the same bytes).
std::string osFileText(std::span<const uint8_t> osBytes);

// The bytes received for "Get System": [L high, L low, version, ...]; the operating system is
// at offsets 3..L-1. Fails when L does not fit the bytes received.
struct ReceivedOs {
    uint8_t version = 0;
    std::span<const uint8_t> bytes;
};
Result<ReceivedOs> receivedOs(std::span<const uint8_t> received);

// Saves the operating system of the bytes received as an ".asc" file.
Status saveOsFile(const std::string& path, std::span<const uint8_t> received);

// "snvd" + ("0" below 100) + version + "_r".
std::string proposedOsFileName(uint8_t version);

} // namespace kvr::core
