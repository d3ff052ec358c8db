#pragma once

#include <QTcpSocket>
#include <QTimer>

#include "io/link.h"

namespace kvr::io {

// The Ethernet module: a TCP client, reconnected at the start of every send exchange. The previous
// connection is left only once the module has read all of it (see leaveConnection), at most
// kLeaveLimitMs; connecting is limited to 5 s and ends, like any socket error, with the
// "ETHERNET error: Opening IP: " box.
class TcpLink final : public Link {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 1001;
    static constexpr int kConnectLimitMs = 5000;
    // How long the module has to close its side of the connection we leave.
    static constexpr int kLeaveLimitMs = 500;

    explicit TcpLink(QString host, quint16 port = kDefaultPort, QString hostName = {}, QObject* parent = nullptr);

    core::LinkKind kind() const override { return core::LinkKind::Ethernet; }
    core::LinkInfo info() const override;
    void open() override;
    void send(const QByteArray& bytes) override;
    void close() override;

    // Aims the link at another module; the next open() closes the current connection first.
    void setRemote(QString host, quint16 port, QString hostName = {});
    QString host() const { return m_host; }
    quint16 port() const { return m_port; }
    QString localAddress() const { return m_localAddress; }
    QString errorText() const;

private:
    void leaveConnection();
    void shutSending();
    void connectSoon();
    void connectNow();
    void onConnected();
    void onError();
    void onTimeout();

    QString m_host;
    quint16 m_port;
    QString m_hostName;
    QString m_localAddress;
    QTcpSocket m_socket;
    QTimer m_limit;
    QTimer m_leaveLimit;
    bool m_opening = false;
    bool m_leaving = false; // the old connection is being left: waiting for the module to close it
    bool m_sendingShut = false;
};

} // namespace kvr::io
