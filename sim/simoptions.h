#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "sim/faultplan.h"
#include "util/result.h"

namespace kvr::sim {

// One emulated Ethernet module: its host name, its identifier, and whether a processor of another
// kind stands behind it (then it answers the discovery with another device type and has no TCP port).
struct ModuleSpec {
    QString hostName;
    QString identifier;
    bool foreign = false;
};

// The processors' TCP port behind the modules unless --tcp names another.
inline constexpr quint16 kModuleTcpPort = 1001;

struct SimOptions {
    bool tcp = false;
    bool tcpHostGiven = false;
    QString tcpHost = QStringLiteral("127.0.0.1");
    quint16 tcpPort = 0; // 0: the system picks one; with modules the default is 1001
    std::vector<ModuleSpec> modules;
    quint16 discoveryPort = 65535; // 0: the system picks one
    bool ignoreChanges = false;
    bool pty = false;
    QString stateFolder; // empty: a temporary folder, removed at exit
    std::optional<uint8_t> dspVersion;
    std::optional<std::vector<int>> protectedMemories;
    int baud = 0;
    int delayMs = 0;
    int silenceTimeoutMs = 5000;
    FaultPlan faults;
    bool help = false;
};

// The arguments after the program name.
core::Result<SimOptions> parseSimOptions(const QStringList& arguments);
QString simUsage();

} // namespace kvr::sim
