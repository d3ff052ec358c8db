#include "comm/discovery.h"

#include <array>

#include "util/texts.h"

namespace kvr::core {

namespace {

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// The dotted parts of an IPv4 address, or nothing when it is not one.
std::optional<std::array<std::string_view, 4>> dottedParts(std::string_view address)
{
    std::array<std::string_view, 4> parts;
    size_t start = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const size_t dot = address.find('.', start);
        const bool last = i + 1 == parts.size();
        if (last != (dot == std::string_view::npos)) return std::nullopt;
        const std::string_view part = address.substr(start, last ? std::string_view::npos : dot - start);
        if (part.empty() || part.size() > 3) return std::nullopt;
        int value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (value > 255) return std::nullopt;
        parts[i] = part;
        start = dot + 1;
    }
    return parts;
}

} // namespace

std::optional<DiscoveryReply> parseDiscoveryReply(std::span<const uint8_t> datagram)
{
    if (datagram.size() < 2) return std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(datagram.data()) + 1, datagram.size() - 1);
    std::array<std::string, 5> fields;
    size_t start = 0;
    for (std::string& field : fields) {
        const size_t slash = text.find('/', start);
        if (slash == std::string_view::npos) return std::nullopt;
        field.assign(text.substr(start, slash - start));
        start = slash + 1;
    }
    DiscoveryReply reply;
    reply.identifier = std::move(fields[0]);
    reply.field2 = std::move(fields[1]);
    reply.field3 = std::move(fields[2]);
    reply.field4 = std::move(fields[3]);
    reply.deviceType = std::move(fields[4]);
    reply.hostName.assign(text.substr(start));
    return reply;
}

bool isKvr610(const DiscoveryReply& reply)
{
    return reply.deviceType == discovery::kDeviceType;
}

Bytes discoveryMessage()
{
    return {uint8_t(discovery::kDiscover)};
}

Bytes identifyMessage()
{
    return {uint8_t(discovery::kIdentify)};
}

Result<Bytes> changeIpMessage(std::string_view identifier, std::string_view address)
{
    if (identifier.empty()) return Error{texts::kModuleIdentifierEmpty};
    if (!isDottedIpv4(address)) return Error{texts::kModuleAddressInvalid};
    const size_t size = 1 + identifier.size() + 2 + address.size() + 1;
    if (size > discovery::kSendBufferSize) return Error{texts::kModuleIdentifierTooLong};
    Bytes message;
    message.reserve(size);
    message.push_back(uint8_t(discovery::kChangeIp));
    message.insert(message.end(), identifier.begin(), identifier.end());
    message.push_back('/');
    message.push_back('/');
    message.insert(message.end(), address.begin(), address.end());
    message.push_back(0x00);
    return message;
}

Bytes hostNameSelectMessage()
{
    return {uint8_t(discovery::kHostNameSelect)};
}

Result<Bytes> hostNameMessage(std::string_view hostName)
{
    const std::string_view prefix = discovery::kHostNamePrefix;
    if (prefix.size() + hostName.size() > discovery::kSendBufferSize) return Error{texts::kModuleHostNameTooLong};
    Bytes message = bytesOf(prefix);
    message.insert(message.end(), hostName.begin(), hostName.end());
    return message;
}

Result<std::string> hostNameFromEdit(std::string_view text)
{
    if (text.empty()) return Error{texts::kModuleHostNameEmpty};
    if (text.size() > discovery::kHostNameEditLength) return Error{texts::kModuleHostNameTooLong};
    std::string name(text);
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return name;
}

bool changeAccepted(std::span<const uint8_t> answer)
{
    return !answer.empty() && answer[0] == uint8_t(discovery::kAccepted);
}

bool isDottedIpv4(std::string_view address)
{
    return dottedParts(address).has_value();
}

Result<std::string> directedBroadcast(std::string_view localAddress)
{
    const auto parts = dottedParts(localAddress);
    if (!parts) return Error{texts::kModuleAddressInvalid};
    std::string broadcast;
    for (size_t i = 0; i < 3; ++i) {
        broadcast.append((*parts)[i]);
        broadcast.push_back('.');
    }
    broadcast.append("255");
    return broadcast;
}

} // namespace kvr::core
