// The decoder of memory images received from a processor: accepted or refused cleanly, and an
// accepted image gives a Configuration that builds an image again.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "image/deviceimage.h"
#include "image/generatext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kvr::core;
    const std::span<const uint8_t> bytes(data, size);
    (void)generaText(bytes);
    auto decoded = DecodeDeviceImage(bytes, 1);
    if (!decoded.ok()) return 0;
    auto image = BuildDeviceImage(*decoded, false);
    if (!image.ok() || !DecodeDeviceImage(*image, 1).ok()) std::abort();
    return 0;
}
