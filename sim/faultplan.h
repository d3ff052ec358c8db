#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/protocol.h"
#include "util/result.h"

namespace kvr::sim {

// The places where the processor can be told to put a wrong byte on the wire. The first seven are
// its answers in a send exchange, the rest the bytes it sends in a receive exchange.
enum class FaultStep : uint8_t {
    Start,
    Command,
    Number,
    Status,
    Long,
    Data,
    End,
    Begin,
    Header1,
    Header2,
    LongHigh,
    LongLow,
    ReceiveData,
    ReceiveEnd,
};

const char* faultStepName(FaultStep step);

struct WrongByte {
    std::vector<FaultStep> steps;   // "data" and "end" name a step of both exchanges
    std::optional<uint8_t> value;   // default: the right byte with every bit inverted
    std::optional<uint8_t> command; // only in exchanges of this command
};

// Named failure modes; all may be combined.
struct FaultPlan {
    bool refuseNumber = false;              // answer every memory number with 0xFF
    std::optional<uint64_t> stopAfterBytes; // go silent after this many bytes of the run
    std::optional<uint64_t> dropAfterBytes; // close a connection after this many of its bytes
    std::vector<WrongByte> wrongBytes;
    std::array<bool, kMemoryCount> statusFull{}; // report these memories full whatever they hold
    std::array<bool, kMemoryCount> statusEmpty{};
    // Keep every stored image with the byte at this offset inverted, as a failing memory would.
    std::optional<size_t> corruptStoredByte;

    // The byte to send instead of `right` at `step` of an exchange of `command` (-1 before it is
    // known), or nothing when no fault applies there.
    std::optional<uint8_t> wrongByteFor(FaultStep step, int command, uint8_t right) const;
};

// "long", "long:0x12", "data:7@4" (value 7, only for command 4).
core::Result<WrongByte> parseWrongByte(std::string_view text);
// "5,7" → memories 5 and 7 (1..18); an empty text is an empty list.
core::Result<std::vector<int>> parseMemoryList(std::string_view text);
// A byte value in decimal or with a 0x prefix.
std::optional<uint8_t> parseByteValue(std::string_view text);

} // namespace kvr::sim
