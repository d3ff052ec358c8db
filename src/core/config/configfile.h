#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "util/bytes.h"
#include "util/message.h"
#include "util/result.h"

// The configuration file (".kv4"): one fixed 3220-byte record, little-endian.

namespace kvr::core {

constexpr size_t kConfigFileSize = 3220;
// Older sizes that are still read: a longer one (its first 3220 bytes) and two shorter ones.
constexpr size_t kConfigFileSizeLong = 3224;
constexpr size_t kConfigFileSizeOld1 = 3160;
constexpr size_t kConfigFileSizeOld2 = 2728;

// A stage of a long load, as the progress window shows it.
struct LoadProgress {
    std::string text;   // "Opening " + path, "Designing Configuration " + memory
    int position = 0;   // 0..100
    std::string status; // the stage text
};
using ProgressCallback = std::function<void(const LoadProgress&)>;

struct LoadedConfiguration {
    Configuration config;
    // Messages shown while loading that do not stop it (an older, shorter file; a Bessel limit).
    std::vector<Message> notices;
};

// The record as Save writes it; `savedPath` is the full path, kept in the header.
Bytes encodeConfigurationFile(const Configuration& config, const std::string& savedPath);

// Checks and reads a record into a fresh Configuration exactly as Open does (every design
// recomputed in the order of the load). `path` is only used in messages and progress texts.
Result<LoadedConfiguration> decodeConfigurationFile(std::span<const uint8_t> bytes, const std::string& path,
                                                    const ProgressCallback& progress = {});

// Writes through a temporary file in the same folder renamed over the target, so a failed save
// never destroys the previous file. The error text is the system's message.
Status saveConfigurationFile(const std::string& path, const Configuration& config);
// Open: the record, then the measurement files it names are imported.
Result<LoadedConfiguration> loadConfigurationFile(const std::string& path, const ProgressCallback& progress = {});
// The record alone, its measurement files left unread (a library build needs only the image).
Result<LoadedConfiguration> readConfigurationFile(const std::string& path, const ProgressCallback& progress = {});

// File helpers shared by the other file formats.
Result<Bytes> readWholeFile(const std::string& path, size_t maxBytes);
Status writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
// The file name without its folder.
std::string fileNameOf(const std::string& path);

} // namespace kvr::core
