#include "io/tcplink.h"

#include "util/texts.h"

namespace kvr::io {

TcpLink::TcpLink(QString host, quint16 port, QString hostName, QObject* parent)
    : Link(parent), m_host(std::move(host)), m_port(port), m_hostName(hostName.isEmpty() ? m_host : hostName),
      m_socket(this), m_limit(this)
{
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1); // one-byte answers must not wait for Nagle
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, &TcpLink::onTimeout);
    connect(&m_socket, &QTcpSocket::connected, this, &TcpLink::onConnected);
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        if (m_opening && m_socket.state() == QAbstractSocket::UnconnectedState) connectNow();
    });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpLink::onError);
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] {
        const QByteArray bytes = m_socket.readAll();
        if (!bytes.isEmpty()) emit bytesReceived(bytes);
    });
}

void TcpLink::setRemote(QString host, quint16 port, QString hostName)
{
    m_host = std::move(host);
    m_port = port;
    m_hostName = hostName.isEmpty() ? m_host : std::move(hostName);
}

core::LinkInfo TcpLink::info() const { return {core::LinkKind::Ethernet, m_hostName.toStdString()}; }

QString TcpLink::errorText() const
{
    return QString::fromUtf8(core::texts::kEthernetOpenErrorPrefix) + m_host +
           QString::fromUtf8(core::texts::kEthernetOpenErrorSuffix);
}

void TcpLink::open()
{
    // Reconnect: a new connection for every exchange. The old one is closed gracefully so that
    // the last answer of the previous exchange still reaches the processor.
    m_opening = true;
    m_limit.start(kConnectLimitMs);
    if (m_socket.state() == QAbstractSocket::UnconnectedState) return connectNow();
    if (m_socket.state() == QAbstractSocket::ConnectedState) m_socket.flush();
    m_socket.disconnectFromHost();
    if (m_socket.state() == QAbstractSocket::UnconnectedState) return connectNow();
    // connectNow() follows from the disconnected signal.
}

void TcpLink::connectNow()
{
    if (!m_opening) return;
    m_limit.start(kConnectLimitMs); // the close took its own wait
    m_socket.connectToHost(m_host, m_port);
}

void TcpLink::send(const QByteArray& bytes)
{
    if (m_socket.state() != QAbstractSocket::ConnectedState || m_socket.write(bytes) != bytes.size())
        QMetaObject::invokeMethod(this, [this] { emit failed(errorText()); }, Qt::QueuedConnection);
}

void TcpLink::close()
{
    m_opening = false;
    m_limit.stop();
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        m_socket.flush(); // the last answer of an exchange still goes out
        m_socket.disconnectFromHost();
    }
    if (m_socket.state() != QAbstractSocket::UnconnectedState && m_socket.state() != QAbstractSocket::ClosingState)
        m_socket.abort();
}

void TcpLink::onConnected()
{
    if (!m_opening) return;
    m_opening = false;
    m_limit.stop();
    m_localAddress = m_socket.localAddress().toString();
    emit opened(true, {});
}

void TcpLink::onError()
{
    // The peer closing the connection we are leaving is no error.
    if (m_opening && m_socket.error() == QAbstractSocket::RemoteHostClosedError &&
        m_socket.state() != QAbstractSocket::ConnectingState)
        return;
    if (m_opening) {
        m_opening = false;
        m_limit.stop();
        m_socket.abort();
        emit opened(false, errorText());
        return;
    }
    emit failed(errorText());
}

void TcpLink::onTimeout()
{
    if (!m_opening) return;
    m_opening = false;
    m_socket.abort();
    emit opened(false, errorText());
}

} // namespace kvr::io
