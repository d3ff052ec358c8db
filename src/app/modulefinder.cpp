#include "app/modulefinder.h"

#include <QTimer>

#include "app/application.h"

namespace kvr::gui {

void FixedModuleFinder::setModules(QList<EthernetModule> modules)
{
    m_modules = std::move(modules);
}

void FixedModuleFinder::scan()
{
    // Answers arrive a moment later, as from a network.
    QTimer::singleShot(10, this, [this] {
        for (const EthernetModule& m : m_modules)
            emit moduleFound(m);
    });
}

void FixedModuleFinder::changeIp(const EthernetModule& module, const QString& address)
{
    for (EthernetModule& m : m_modules)
        if (m.identifier == module.identifier) m.ip = address;
    QTimer::singleShot(10, this, [this] { emit changeAnswered(true); });
}

void FixedModuleFinder::changeHostName(const EthernetModule& module, const QString& hostName)
{
    for (EthernetModule& m : m_modules)
        if (m.identifier == module.identifier) m.hostName = hostName;
    QTimer::singleShot(10, this, [this] { emit changeAnswered(true); });
}

} // namespace kvr::gui
