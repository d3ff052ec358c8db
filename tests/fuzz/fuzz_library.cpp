// The library file reader: the bytes as a whole file, and as the start of a full-size buffer so
// that the walk over the images is reached. Every image it accepts lies inside the buffer.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "config/library.h"
#include "image/deviceimage.h"

namespace {

void walk(std::span<const uint8_t> bytes)
{
    using namespace kvr::core;
    auto library = MemoryLibrary::fromBuffer(bytes, "fuzz.kvl");
    if (!library.ok()) return;
    for (int k = 1; k <= library->count(); ++k) {
        std::span<const uint8_t> image = library->image(k);
        if (image.data() < library->buffer().data() ||
            image.data() + image.size() > library->buffer().data() + library->buffer().size())
            std::abort();
        (void)library->memoryName(k);
        (void)DecodeDeviceImage(image, k);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kvr::core;
    walk(std::span<const uint8_t>(data, size));
    static Bytes buffer(kLibrarySize);
    std::fill(buffer.begin(), buffer.end(), 0);
    std::copy_n(data, std::min(size, kLibrarySize), buffer.begin());
    walk(buffer);
    return 0;
}
