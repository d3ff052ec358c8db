#pragma once

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUdpSocket>
#include <functional>

#include "util/result.h"

namespace kvr::sim {

class ProcessorHost;
class TcpTransport;

// What a module was asked, for assertions.
struct ModuleCounters {
    int discoveries = 0; // "X" answered
    int identifies = 0;  // "B"
    int ipChanges = 0;   // answered "A"
    int nameChanges = 0; // answered "A"
    int refusedChanges = 0;
    int ignoredChanges = 0; // --ignore-changes
    int ignoredDatagrams = 0;
};

// One emulated Ethernet module on its own loopback address: its UDP socket on the discovery port
// and, unless it fronts another kind of device, the TCP port of the processor behind it. A change
// of IP address moves both sockets to the new address.
class EthernetModule : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QString hostName;
        QString identifier;
        bool foreign = false;
        quint16 udpPort = 0;
        quint16 tcpPort = 0; // 0: the system picks one (read it back with tcpPort())
        bool ignoreChanges = false;
    };

    // `host` runs the processor behind the module (not owned); null for a foreign module.
    EthernetModule(Settings settings, ProcessorHost* host, QObject* parent = nullptr);
    ~EthernetModule() override;

    core::Status start(const QHostAddress& address);

    // A datagram for this module, from its own socket or the shared broadcast socket.
    void handle(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort);

    QHostAddress address() const { return m_address; }
    QString hostName() const { return m_settings.hostName; }
    QString identifier() const { return m_settings.identifier; }
    bool foreign() const { return m_settings.foreign; }
    quint16 tcpPort() const;
    const ModuleCounters& counters() const { return m_counters; }
    ProcessorHost* processorHost() const { return m_host; }
    // "module HOSTNAME ID ADDRESS:TCPPORT" or "foreign-module HOSTNAME ID ADDRESS".
    QString endpointLine() const;

    // The datagram a module answers a discovery with.
    QByteArray discoveryReply() const;

    void setLogSink(std::function<void(const QString&)> sink) { m_logSink = std::move(sink); }

private:
    struct Sockets {
        QUdpSocket* udp = nullptr;
        TcpTransport* tcp = nullptr;
    };
    core::Result<Sockets> bindAt(const QHostAddress& address);
    void install(Sockets sockets);
    void release();
    void onReadyRead();
    void changeIp(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort);
    void answer(char byte, const QHostAddress& to, quint16 port);
    void log(const QString& text);

    Settings m_settings;
    ProcessorHost* m_host;
    QHostAddress m_address;
    Sockets m_sockets;
    bool m_namePending = false;
    ModuleCounters m_counters;
    std::function<void(const QString&)> m_logSink;
};

} // namespace kvr::sim
