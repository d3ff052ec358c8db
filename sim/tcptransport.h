#pragma once

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include "sim/link.h"
#include "util/result.h"

namespace kvr::sim {

// A TCP server with one client at a time; a new connection replaces the old one.
class TcpTransport : public Link {
    Q_OBJECT
public:
    explicit TcpTransport(QObject* parent = nullptr);
    ~TcpTransport() override;

    core::Status listen(const QHostAddress& address, quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    QHostAddress address() const { return m_server.serverAddress(); }
    bool hasClient() const { return m_client != nullptr; }

    QString transportName() const override { return QStringLiteral("tcp"); }
    void send(const QByteArray& bytes) override;
    void drop() override;

private:
    void accept();
    void release(bool flush);

    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
};

} // namespace kvr::sim
