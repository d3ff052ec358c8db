#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvr::core {

// Bytes of the lock-step transfer protocol.
namespace protocol {
inline constexpr uint8_t kStart = 0x6F; // also BEGIN, and the request for a receive exchange
inline constexpr uint8_t kEnd = 0x55;
inline constexpr uint8_t kMemoryEmpty = 0x0C;
inline constexpr uint8_t kMemoryFull = 0x0D;
inline constexpr uint8_t kMemoryProtected = 0x11;
inline constexpr uint8_t kNumberProtected = 0xFF;
inline constexpr uint8_t kOverwrite = 0x0E;
inline constexpr uint8_t kCancel = 0x0F;
inline constexpr size_t kBlockSize = 64;
inline constexpr uint8_t kRequiredDspVersion = 47;
inline constexpr int kMemoryCount = 18;
// The DSP operating system image: two length bytes, the version byte and at most 6144 bytes.
inline constexpr size_t kOsImageCapacity = 6144 + 3;
// Large enough for a full device image (at most 2 x 2048 + 710 bytes) and an operating system.
inline constexpr size_t kReceiveBufferSize = 8192;
// Waits the protocol imposes.
inline constexpr int kDetectPauseMs = 3000;
inline constexpr int kPresetLoadMs = 400;
inline constexpr int kStorePauseMs = 250;
inline constexpr int kChangeWaitMs = 2000;
inline constexpr int kUploadWaitMs = 4000;
} // namespace protocol

enum class Command : uint8_t {
    Detect = 0,
    UploadOs = 1,
    GetVersion = 2,
    Store = 3,
    Read = 4,
    Keyboard = 5,
    Password = 6,
    Change = 7,
    Reset = 8,
    ReadOs = 10,
};

enum class LinkKind : uint8_t { Usb, Ethernet, Serial };

struct LinkInfo {
    LinkKind kind = LinkKind::Usb;
    std::string hostName; // Ethernet: the module's host name, for messages
};

// How long the program waits for each answer byte.
constexpr int replyTimeoutMs(LinkKind kind) { return kind == LinkKind::Usb ? 1000 : 2000; }

} // namespace kvr::core
