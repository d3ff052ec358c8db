#include "sim/processorstate.h"

namespace kvr::sim {

core::Bytes defaultOperatingSystem(uint8_t version)
{
    // 100 bytes: one full block and a partial one when read back, so both paths get exercised.
    constexpr size_t kBody = 100;
    core::Bytes image;
    image.reserve(kBody + 3);
    image.push_back(static_cast<uint8_t>((kBody + 3) >> 8));
    image.push_back(static_cast<uint8_t>((kBody + 3) & 0xFF));
    image.push_back(version);
    for (size_t i = 0; i < kBody; ++i)
        image.push_back(static_cast<uint8_t>((i * 37 + 11) & 0xFF));
    return image;
}

ProcessorState defaultProcessorState(uint8_t version)
{
    ProcessorState state;
    state.dspVersion = version;
    state.operatingSystem = defaultOperatingSystem(version);
    return state;
}

} // namespace kvr::sim
