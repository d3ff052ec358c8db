#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of the processor's side of the transfer protocol.
namespace kvr::sim {

inline constexpr uint8_t kStart = 0x6F; // opens a send exchange; BEGIN of a receive exchange
inline constexpr uint8_t kEnd = 0x55;
inline constexpr uint8_t kMemoryEmpty = 0x0C;
inline constexpr uint8_t kMemoryFull = 0x0D;
inline constexpr uint8_t kMemoryProtected = 0x11;
inline constexpr uint8_t kNumberRefused = 0xFF;
inline constexpr uint8_t kOverwrite = 0x0E;
inline constexpr uint8_t kCancel = 0x0F;
inline constexpr size_t kBlockSize = 64;
inline constexpr size_t kMaxLength = 0xFFFF;

inline constexpr int kMemoryCount = 18;
inline constexpr uint8_t kDefaultDspVersion = 47;

enum class Command : uint8_t {
    Detect = 0,
    UploadOs = 1,
    Version = 2,
    Store = 3,
    Read = 4,
    Keyboard = 5,
    Password = 6,
    ChangeMemory = 7,
    Reset = 8,
    ReadOs = 10,
};

inline constexpr int kCommandSlots = 11; // codes 0..10, for per-command tables

inline bool isKnownCommand(int code)
{
    return (code >= 0 && code <= 8) || code == 10;
}

// Commands whose send exchange carries a memory status byte.
inline bool hasMemoryStatus(int code)
{
    return code == int(Command::Store) || code == int(Command::Read) || code == int(Command::ChangeMemory);
}

// Commands followed by a receive exchange towards the program.
inline bool hasReceiveExchange(int code)
{
    return code == int(Command::Version) || code == int(Command::Read) || code == int(Command::ReadOs);
}

inline const char* commandName(int code)
{
    switch (code) {
    case 0:
        return "detect";
    case 1:
        return "upload-os";
    case 2:
        return "version";
    case 3:
        return "store";
    case 4:
        return "read";
    case 5:
        return "keyboard";
    case 6:
        return "password";
    case 7:
        return "change-memory";
    case 8:
        return "reset";
    case 10:
        return "read-os";
    default:
        return "unknown";
    }
}

} // namespace kvr::sim
