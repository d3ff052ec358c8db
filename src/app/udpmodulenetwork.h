#pragma once

#include "app/modulenetwork.h"

namespace kvr::io {
class ModuleDiscovery;
}

namespace kvr::gui {

// The Ethernet modules on the network, found and changed over UDP.
class UdpModuleNetwork final : public ModuleNetwork {
    Q_OBJECT
public:
    explicit UdpModuleNetwork(QObject* parent = nullptr);
    ~UdpModuleNetwork() override;

    // Where discoveries go (empty: this computer's directed broadcast) and the modules' UDP port.
    void setTarget(const QString& address, quint16 port);
    io::ModuleDiscovery& discovery() { return *m_discovery; }

    void scan() override;
    void stopScan() override {}
    void identify(const EthernetModule& module) override;
    void changeIp(const EthernetModule& module, const QString& address) override;
    void changeHostName(const EthernetModule& module, const QString& hostName) override;

private:
    io::ModuleDiscovery* m_discovery;
    // A change awaits its answer: its boxes are the window's.
    bool m_changing = false;
};

} // namespace kvr::gui
