#pragma once

#include <QObject>
#include <QStringList>
#include <QUdpSocket>
#include <vector>

#include "sim/ethernetmodule.h"
#include "util/result.h"

namespace kvr::sim {

// The emulated modules of one simulator on the loopback network: 127.0.0.2, 127.0.0.3, ... in
// order, and one UDP socket bound to 127.255.255.255 that hands every broadcast to all of them.
class ModuleNetwork : public QObject {
    Q_OBJECT
public:
    static constexpr char kBroadcastAddress[] = "127.255.255.255";
    static constexpr int kFirstHost = 2; // 127.0.0.1 stays the machine's own

    explicit ModuleNetwork(QObject* parent = nullptr);
    ~ModuleNetwork() override;

    // Binds the broadcast socket (port 0: the system picks one for every module).
    core::Status listen(quint16 udpPort);
    quint16 udpPort() const { return m_broadcast.localPort(); }
    // Takes the module and starts it on the next loopback address.
    core::Status add(EthernetModule* module);

    const std::vector<EthernetModule*>& modules() const { return m_modules; }
    // "discovery 127.255.255.255:PORT", then one line per module.
    QStringList endpoints() const;

private:
    void onBroadcast();

    QUdpSocket m_broadcast;
    std::vector<EthernetModule*> m_modules;
};

} // namespace kvr::sim
