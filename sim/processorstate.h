#pragma once

#include <array>
#include <cstdint>

#include "sim/protocol.h"
#include "util/bytes.h"

namespace kvr::sim {

// Everything the virtual processor remembers between exchanges and between runs.
struct ProcessorState {
    std::array<core::Bytes, kMemoryCount> memories; // an empty image is an empty memory
    int activeMemory = 1;
    uint8_t dspVersion = kDefaultDspVersion;
    core::Bytes operatingSystem; // [len hi, len lo, version, N bytes], len = N + 3
    uint8_t keyboardLock = 0x00; // 0xFF locked
    std::array<uint8_t, 7> password{};
    std::array<bool, kMemoryCount> protectedMemories{};

    bool memoryFull(int memory) const { return memory >= 1 && memory <= kMemoryCount && !memories[memory - 1].empty(); }
};

// A small stand-in operating system with the given version byte.
core::Bytes defaultOperatingSystem(uint8_t version);

ProcessorState defaultProcessorState(uint8_t version = kDefaultDspVersion);

} // namespace kvr::sim
