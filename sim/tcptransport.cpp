#include "sim/tcptransport.h"

namespace kvr::sim {

TcpTransport::TcpTransport(QObject* parent) : Link(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TcpTransport::accept);
}

TcpTransport::~TcpTransport()
{
    // Quietly: nobody is left to hear about the closed connection.
    if (QTcpSocket* socket = m_client) {
        m_client = nullptr;
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
    m_server.close();
}

core::Status TcpTransport::listen(const QHostAddress& address, quint16 port)
{
    if (!m_server.listen(address, port))
        return core::Error{QStringLiteral("cannot listen on %1:%2: %3")
                               .arg(address.toString())
                               .arg(port)
                               .arg(m_server.errorString())
                               .toStdString()};
    return {};
}

void TcpTransport::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_client) release(false); // opened() below tells that it was replaced
        m_client = socket;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket == m_client) emit received(socket->readAll());
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket != m_client) return;
            release(false);
            emit closed();
        });
        emit opened();
        if (socket->bytesAvailable() > 0) emit received(socket->readAll());
    }
}

void TcpTransport::release(bool flush)
{
    QTcpSocket* socket = m_client;
    m_client = nullptr;
    if (!socket) return;
    socket->disconnect(this);
    if (flush) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
    } else {
        socket->abort();
        socket->deleteLater();
    }
}

void TcpTransport::send(const QByteArray& bytes)
{
    if (m_client && m_client->state() == QAbstractSocket::ConnectedState) m_client->write(bytes);
}

void TcpTransport::drop()
{
    if (!m_client) return;
    release(true);
    emit closed();
}

} // namespace kvr::sim
