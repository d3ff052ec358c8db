#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "config/configfile.h"
#include "config/configuration.h"
#include "util/bytes.h"
#include "util/result.h"

// The DeviceImage: what one processor memory holds. A header with routes and names, one block
// of processor words per DSP chip (outputs 1-2 and 3-4), and the ConfigRecord, a compact copy of
// the editable Configuration from which a memory read back becomes a Configuration again.

namespace kvr::core {

constexpr size_t kImageNamesEnd = 49;    // header: offsets 0..48
constexpr size_t kImageSystemName = 13;  // 12 characters
constexpr size_t kImageInputNames = 25;  // A, B: 4 characters each
constexpr size_t kImageOutputNames = 33; // outputs 1..4: 4 characters each
constexpr size_t kImageRoutes = 4;       // outputs 1..4
constexpr size_t kImageBlockedFlag = 8;
constexpr uint8_t kImageTag = 0x78;
constexpr size_t kDspBlockCapacity = 2048;
constexpr size_t kConfigRecordSize = 650;
constexpr uint8_t kRecordMarker = 0xAA;
constexpr uint8_t kRecordVersion = 1;
// An image is L1 + L2 + 710 bytes; its length field M is that minus 2.
constexpr size_t kImageFixedBytes = 710;
// The layout of older versions: nothing after the blocks but three bytes.
constexpr size_t kOlderLayoutExtra = 53;

// Bytes 0x02 0x8C before the record: its length plus 2.
constexpr uint16_t kRecordLengthField = kConfigRecordSize + 2;

// The sections an output's equaliser adds to its DSP block: a single bypass section adds none.
int outputEqualiserSectionCount(const OutputChannelSettings& output);
// Every section of output n in block order: its input bank, crossover high then low side, equaliser.
std::vector<const TSOS*> outputSectionChain(const Configuration& config, int output);

// Builds the image from freshly designed sections (the Configuration is copied and redesigned,
// so a changed parameter never reaches the processor with a stale coefficient). Fails only when
// a DSP block would exceed its 2048 bytes.
Result<Bytes> BuildDeviceImage(const Configuration& config, bool memoryBlocked);

// Where the parts of an image lie; every length has been checked against the bytes present.
struct DeviceImageLayout {
    size_t imageLength = 0; // M + 2
    size_t block1Offset = 0;
    size_t block1Length = 0;
    size_t block2Offset = 0;
    size_t block2Length = 0;
    size_t recordOffset = 0;
};

// Checks M, L1 and L2 against the bytes and finds the record. Refuses the older layout and a
// record without its marker with the program's message, and an incomplete image with ours.
Result<DeviceImageLayout> LocateDeviceImage(std::span<const uint8_t> bytes);

// Turns a received image into a fresh Configuration, reporting its stages through `progress`
// (text "Designing Configuration " + memoryNumber), and runs every design again. Nothing is
// decoded unless the whole record is there. The record keeps neither the input delay window's
// temperature nor the dynamics over-ranges: they are taken as those that give again the words
// the DSP blocks hold, so a memory read back and stored again programs the processor the same way.
Result<Configuration> DecodeDeviceImage(std::span<const uint8_t> bytes, int memoryNumber,
                                        const ProgressCallback& progress = {});

} // namespace kvr::core
