#include "app/udpmodulenetwork.h"

#include "app/devicecontroller.h"
#include "io/modulediscovery.h"

namespace kvr::gui {

UdpModuleNetwork::UdpModuleNetwork(QObject* parent) : ModuleNetwork(parent), m_discovery(new io::ModuleDiscovery(this))
{
    connect(m_discovery, &io::ModuleDiscovery::moduleFound, this, [this](const io::DiscoveredModule& m) {
        emit moduleFound(EthernetModule{m.ipAddress, m.hostName, m.identifier});
    });
    // The window shows the result of a change itself; other boxes (a scan that could not go
    // out) are passed on.
    connect(m_discovery, &io::ModuleDiscovery::changeFinished, this, [this](io::ModuleChange, bool ok) {
        m_changing = false;
        emit changeAnswered(ok);
    });
    connect(m_discovery, &io::ModuleDiscovery::messageRequested, this, [this](const core::Message& message) {
        if (!m_changing) emit scanFailed(QString::fromStdString(message.text));
    });
    // A change refused before anything went out (a bad address or name): its reason, then the
    // change's error.
    connect(m_discovery, &io::ModuleDiscovery::refused, this, [this](const QString& reason) {
        emit scanFailed(reason);
        if (m_changing) {
            m_changing = false;
            emit changeAnswered(false);
        }
    });
}

UdpModuleNetwork::~UdpModuleNetwork() = default;

void UdpModuleNetwork::setTarget(const QString& address, quint16 port)
{
    m_discovery->setTarget(address, port);
}

void UdpModuleNetwork::scan()
{
    m_discovery->scan();
}

void UdpModuleNetwork::identify(const EthernetModule& module)
{
    m_discovery->identify(module.ip);
}

void UdpModuleNetwork::changeIp(const EthernetModule& module, const QString& address)
{
    m_changing = true;
    m_discovery->changeIp(module.identifier, address);
}

void UdpModuleNetwork::changeHostName(const EthernetModule& module, const QString& hostName)
{
    m_changing = true;
    m_discovery->changeHostName(module.ip, hostName);
}

} // namespace kvr::gui
