#include "config/library.h"

#include <algorithm>

#include "image/deviceimage.h"
#include "util/latin1.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

// An image must at least hold its header with the names.
constexpr size_t kMinImageLength = kImageNamesEnd;

size_t imageLengthAt(std::span<const uint8_t> buffer, size_t offset)
{
    return (size_t{buffer[offset]} << 8 | buffer[offset + 1]) + 2;
}

} // namespace

MemoryLibrary::MemoryLibrary() : m_buffer(kLibrarySize, 0) {}

Result<MemoryLibrary> MemoryLibrary::fromBuffer(std::span<const uint8_t> bytes, const std::string& source)
{
    if (bytes.size() != kLibrarySize) return Error{source + texts::kLibraryWrongSize};
    MemoryLibrary library;
    std::copy(bytes.begin(), bytes.end(), library.m_buffer.begin());
    const int count = bytes[0];
    if (count > kMaxLibraryMemories) return Error{source + texts::kLibraryTooManyMemories};
    size_t p = 1;
    for (int k = 1; k <= count; ++k) {
        const bool fits = p + 2 <= kLibrarySize && imageLengthAt(bytes, p) >= kMinImageLength &&
                          imageLengthAt(bytes, p) <= kLibrarySize - p;
        if (!fits) return Error{source + texts::kLibraryDamaged + std::to_string(k) + texts::kLibraryDamagedEnd};
        const size_t length = imageLengthAt(bytes, p);
        library.m_images.push_back({p, length});
        p += length;
    }
    library.m_fill = p;
    return library;
}

std::span<const uint8_t> MemoryLibrary::image(int memory) const
{
    if (memory < 1 || memory > count()) return {};
    const Slot& slot = m_images[static_cast<size_t>(memory - 1)];
    return std::span<const uint8_t>(m_buffer).subspan(slot.offset, slot.length);
}

std::string MemoryLibrary::memoryName(int memory) const
{
    std::span<const uint8_t> bytes = image(memory);
    if (bytes.size() < kImageSystemName + kLibraryNameLength) return {};
    return latin1ToUtf8(
        std::string(bytes.begin() + kImageSystemName, bytes.begin() + kImageSystemName + kLibraryNameLength));
}

std::vector<Bytes> MemoryLibrary::imagesToSend() const
{
    std::vector<Bytes> images;
    images.reserve(m_images.size());
    for (int k = 1; k <= count(); ++k) {
        const std::span<const uint8_t> bytes = image(k);
        images.emplace_back(bytes.begin(), bytes.end());
    }
    return images;
}

Status MemoryLibrary::append(std::span<const uint8_t> image)
{
    if (image.size() < kMinImageLength || imageLengthAt(image, 0) != image.size())
        return Error{texts::kImageIncomplete};
    if (count() >= kMaxLibraryMemories || image.size() > kLibrarySize - m_fill) return Error{texts::kLibraryFull};
    std::copy(image.begin(), image.end(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_fill));
    m_images.push_back({m_fill, image.size()});
    m_fill += image.size();
    m_buffer[0] = static_cast<uint8_t>(m_images.size());
    return Status::success();
}

LibraryBuild buildLibrary(const std::vector<std::string>& paths, bool memoryBlocked, const ProgressCallback& progress)
{
    LibraryBuild build;
    size_t m = paths.size();
    if (m > kMaxLibraryMemories) {
        m = kMaxLibraryMemories;
        Message tooMany = warningBox(texts::kLibraryTooManyFiles);
        tooMany.beep = true;
        build.notices.push_back(tooMany);
    }
    for (size_t k = 0; k < m; ++k) {
        const std::string& path = paths[m - 1 - k];
        auto loaded = readConfigurationFile(path, progress);
        if (!loaded) {
            build.failure = errorBox(loaded.message());
            return build;
        }
        for (const Message& notice : loaded->notices)
            build.notices.push_back(notice);
        auto image = BuildDeviceImage(loaded->config, memoryBlocked);
        Status added = image ? build.library.append(*image) : Status(image.error());
        if (!added) {
            build.failure = errorBox(path + ": " + added.message());
            return build;
        }
    }
    return build;
}

Status writeLibraryFile(const std::string& path, const MemoryLibrary& library)
{
    return writeFileAtomically(path, library.buffer());
}

Result<MemoryLibrary> readLibraryFile(const std::string& path)
{
    auto bytes = readWholeFile(path, kLibrarySize + 1);
    if (!bytes) return Error{bytes.message()};
    return MemoryLibrary::fromBuffer(*bytes, path);
}

} // namespace kvr::core
