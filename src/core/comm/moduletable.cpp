#include "comm/moduletable.h"

namespace kvr::core {

bool ModuleTable::offer(std::span<const uint8_t> datagram, std::string senderAddress)
{
    if (full()) return false;
    auto reply = parseDiscoveryReply(datagram);
    if (!reply || !isKvr610(*reply)) return false;
    m_entries.push_back({std::move(senderAddress), std::move(reply->hostName), std::move(reply->deviceType),
                         std::move(reply->identifier)});
    return true;
}

} // namespace kvr::core
