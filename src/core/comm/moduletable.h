#pragma once

#include <span>
#include <string>
#include <vector>

#include "comm/discovery.h"

namespace kvr::core {

// One module listed by a scan.
struct ModuleEntry {
    std::string ipAddress; // the sender of the reply
    std::string hostName;
    std::string deviceType;
    std::string identifier;
};

// The modules of one scan: replies of this processor's modules, in arrival order, at most 101.
class ModuleTable {
public:
    void clear() { m_entries.clear(); }
    // Lists the module a reply comes from. False when the reply is unparsable, from another
    // kind of device, or the table is full; such replies are dropped.
    bool offer(std::span<const uint8_t> datagram, std::string senderAddress);

    const std::vector<ModuleEntry>& entries() const { return m_entries; }
    size_t count() const { return m_entries.size(); }
    bool full() const { return m_entries.size() >= discovery::kMaxModules; }

private:
    std::vector<ModuleEntry> m_entries;
};

} // namespace kvr::core
