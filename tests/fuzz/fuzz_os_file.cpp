// The DSP operating system file reader and the received-system check: accepted or refused
// cleanly; an accepted file never gives more than the image buffer holds.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "image/osimage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kvr::core;
    const std::span<const uint8_t> bytes(data, size);
    auto os = decodeOsFile(bytes, "snvd047_r.asc");
    if (os.ok() && (os->byteCount > kOsMaxBytes || os->image.size() != os->byteCount + kOsImageHead)) std::abort();
    auto received = receivedOs(bytes);
    if (received.ok() && received->bytes.data() + received->bytes.size() > data + size) std::abort();
    return 0;
}
