#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "sim/faultplan.h"
#include "util/result.h"

namespace kvr::sim {

struct SimOptions {
    bool tcp = false;
    QString tcpHost = QStringLiteral("127.0.0.1");
    quint16 tcpPort = 0; // 0: the system picks one
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
