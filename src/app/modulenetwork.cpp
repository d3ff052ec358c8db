#include "app/modulenetwork.h"

#include <QTimer>

#include "app/devicecontroller.h"

namespace kvr::gui {

void FixedModuleNetwork::setModules(QList<EthernetModule> modules)
{
    m_modules = std::move(modules);
}

void FixedModuleNetwork::scan()
{
    // Answers arrive a moment later, as from a network.
    QTimer::singleShot(10, this, [this] {
        for (const EthernetModule& m : m_modules)
            emit moduleFound(m);
    });
}

void FixedModuleNetwork::changeIp(const EthernetModule& module, const QString& address)
{
    for (EthernetModule& m : m_modules)
        if (m.identifier == module.identifier) m.ip = address;
    QTimer::singleShot(10, this, [this] { emit changeAnswered(true); });
}

void FixedModuleNetwork::changeHostName(const EthernetModule& module, const QString& hostName)
{
    for (EthernetModule& m : m_modules)
        if (m.identifier == module.identifier) m.hostName = hostName;
    QTimer::singleShot(10, this, [this] { emit changeAnswered(true); });
}

} // namespace kvr::gui
