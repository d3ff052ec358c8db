#pragma once

#include <QMetaType>
#include <QString>

#include "comm/moduletable.h"

namespace kvr::io {

// One module listed by a scan. The identifier and host name hold the module's bytes one to one
// (Latin-1), so that the identifier goes back to the module exactly as it came.
struct DiscoveredModule {
    QString ipAddress;
    QString hostName;
    QString deviceType;
    QString identifier;

    static DiscoveredModule fromEntry(const core::ModuleEntry& entry)
    {
        return {QString::fromStdString(entry.ipAddress), QString::fromLatin1(entry.hostName),
                QString::fromLatin1(entry.deviceType), QString::fromLatin1(entry.identifier)};
    }
    // The line of the module list: host name, "=", IP address.
    QString listLine() const { return hostName + QLatin1Char('=') + ipAddress; }
};

} // namespace kvr::io

Q_DECLARE_METATYPE(kvr::io::DiscoveredModule)
