#pragma once

#include <QObject>
#include <QString>

#include "io/discoveredmodule.h"
#include "io/operationrunner.h"
#include "io/tcplink.h"

namespace kvr::io {

// The connection to a processor behind a chosen Ethernet module: the one TCP link of the program,
// aimed at the module, then the detect exchange over it through the program's operation runner.
// The runner's own signals carry the exchange's status, the boxes (the socket error, "ETHERNET
// Comunication Error. Connecting with: " + host name) and the connection effects, as for any
// device operation; this object reports the result and keeps the link for the operations after.
class EthernetConnection : public QObject {
    Q_OBJECT
public:
    explicit EthernetConnection(OperationRunner& runner, QObject* parent = nullptr);
    ~EthernetConnection() override;

    // The module's TCP port for the processor link (default 1001).
    void setTcpPort(quint16 port) { m_tcpPort = port; }
    quint16 tcpPort() const { return m_tcpPort; }

    bool isConnected() const { return m_connected; }
    bool isConnecting() const { return m_connecting; }
    // The link to the module; the runner uses it from a successful connect on.
    TcpLink* link() { return m_link; }
    QString moduleAddress() const { return m_link->host(); }
    QString hostName() const { return m_hostName; }
    QString localAddress() const { return m_link->localAddress(); }
    // "ETHERNET: Connected with " + host name + " from " + local address, while connected.
    QString statusText() const { return m_statusText; }

public slots:
    // Refused (false, and refused()) while the runner is busy.
    bool connectTo(const QString& moduleAddress, const QString& hostName);
    bool connectToModule(const kvr::io::DiscoveredModule& module);
    // Closes the socket.
    void goOffline();

signals:
    void connected(const QString& statusText);
    // The connect failed; its boxes and GoOffline went out through the runner.
    void connectFailed();
    // The link was closed: goOffline(), a failed connect, or an operation over it that failed.
    void offline();
    void refused(const QString& reason);

private:
    void onFinished(const core::Outcome& outcome);
    void onEffect(core::ConnectionEffect effect);
    void dropConnection();

    OperationRunner& m_runner;
    TcpLink* m_link;
    quint16 m_tcpPort = TcpLink::kDefaultPort;
    QString m_hostName;
    QString m_statusText;
    bool m_connected = false;
    bool m_connecting = false;
};

} // namespace kvr::io
