#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "util/bytes.h"
#include "util/result.h"

namespace kvr::core {

// The datagrams exchanged with the processor's Ethernet modules. Texts taken from the modules
// (identifier, host name) are kept as raw bytes in std::string: the identifier must go back to
// the module exactly as it came.
namespace discovery {
inline constexpr uint16_t kPort = 65535;
inline constexpr size_t kMaxModules = 101;
inline constexpr size_t kSendBufferSize = 101; // every outgoing message must fit
inline constexpr size_t kMaxDatagram = 2048;   // a received datagram is read up to this size
inline constexpr int kScanWindowMs = 3000;
inline constexpr int kChangeAnswerLimitMs = 3000;
inline constexpr size_t kHostNameEditLength = 8;
inline constexpr char kDeviceType[] = "KVR610";
inline constexpr char kDiscover = 'X';
inline constexpr char kIdentify = 'B';
inline constexpr char kChangeIp = 'A';
inline constexpr char kHostNameSelect = 'L';
inline constexpr char kHostNamePrefix[] = "SDN";
inline constexpr char kAccepted = 'A';
} // namespace discovery

// The fields of a discovery reply. Byte 0 is not interpreted; from byte 1 on the fields are
// separated by "/", and everything after the fifth "/" is the host name, "/" included.
struct DiscoveryReply {
    std::string identifier; // field 1
    std::string field2;
    std::string field3;
    std::string field4;
    std::string deviceType; // field 5
    std::string hostName;   // field 6: the rest of the datagram
};

// Any reply with its five separators; nothing else is required of it.
std::optional<DiscoveryReply> parseDiscoveryReply(std::span<const uint8_t> datagram);
// Whether a reply comes from a module of this processor (device type "KVR610").
bool isKvr610(const DiscoveryReply& reply);

Bytes discoveryMessage();
Bytes identifyMessage();
// "A", the identifier, "//", the dotted address, one 0x00 byte. Refused when the identifier is
// empty or the message would not fit the send buffer, and when the address is not dotted IPv4.
Result<Bytes> changeIpMessage(std::string_view identifier, std::string_view address);
// The two messages of a host-name change: "L", then "SDN" + the name.
Bytes hostNameSelectMessage();
Result<Bytes> hostNameMessage(std::string_view hostName);
// The host-name edit: upper case, at most 8 characters.
Result<std::string> hostNameFromEdit(std::string_view text);
// An answer to a change: a first byte "A" is success, anything else (or nothing) failure.
bool changeAccepted(std::span<const uint8_t> answer);

// Four decimal numbers 0..255 joined by "." (one to three digits each).
bool isDottedIpv4(std::string_view address);
// The directed broadcast of a local IPv4 address: its first three parts and ".255".
Result<std::string> directedBroadcast(std::string_view localAddress);

} // namespace kvr::core
