#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/configfile.h"
#include "util/bytes.h"
#include "util/message.h"
#include "util/result.h"

// A memory library: up to 38 device images back to back in one buffer of 239617 bytes, the
// first byte counting them. The library file is that buffer written as one block.

namespace kvr::core {

constexpr size_t kLibrarySize = 239617; // 1 + 39 * 6144
constexpr int kMaxLibraryMemories = 38;
constexpr size_t kLibraryNameLength = 12;

class MemoryLibrary {
public:
    // An empty library: a zeroed buffer, no memories.
    MemoryLibrary();

    // A library from a buffer (an opened file): it must be exactly kLibrarySize bytes and every
    // image it counts must lie inside it. `source` names it in the messages.
    static Result<MemoryLibrary> fromBuffer(std::span<const uint8_t> bytes, const std::string& source);

    const Bytes& buffer() const { return m_buffer; }
    int count() const { return static_cast<int>(m_images.size()); }
    // Image of memory k (1-based), its length field included.
    std::span<const uint8_t> image(int memory) const;
    // The 12 characters at image offsets 13..24, as the rows show them (UTF-8).
    std::string memoryName(int memory) const;
    // What a send stores: the images of memories 1 to count(), in that order, each its own copy
    // with its length field.
    std::vector<Bytes> imagesToSend() const;

    // Appends an image after the last one and counts it. Fails, changing nothing, when the
    // image is malformed or would not fit.
    Status append(std::span<const uint8_t> image);

private:
    struct Slot {
        size_t offset = 0;
        size_t length = 0;
    };
    Bytes m_buffer;
    std::vector<Slot> m_images;
    size_t m_fill = 1;
};

struct LibraryBuild {
    MemoryLibrary library;
    // Shown while building without stopping it: the 38-file limit, older files.
    std::vector<Message> notices;
    // A rejected file ends the build: the library then holds the images copied before it.
    std::optional<Message> failure;
};

// Reads the files into fresh Configurations (nothing the user is editing is touched) and copies
// their images; the measurement files they name are not read. At most 38 files are used; the
// list is worked from its last used entry back to its first, so memory 1 holds the image of
// entry m. Progress is reported per file.
LibraryBuild buildLibrary(const std::vector<std::string>& paths, bool memoryBlocked,
                          const ProgressCallback& progress = {});

Status writeLibraryFile(const std::string& path, const MemoryLibrary& library);
// A file of any other size, or whose images do not fit, gives a message and no library.
Result<MemoryLibrary> readLibraryFile(const std::string& path);

} // namespace kvr::core
