#include "io/tcplink.h"

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

#include "util/texts.h"

namespace kvr::io {

namespace {

// Ends our direction of a connection (a TCP FIN) while the module's direction stays open.
bool shutDownSending(qintptr descriptor)
{
    if (descriptor < 0) return false;
#ifdef Q_OS_WIN
    return ::shutdown(static_cast<SOCKET>(descriptor), SD_SEND) == 0;
#else
    return ::shutdown(static_cast<int>(descriptor), SHUT_WR) == 0;
#endif
}

} // namespace

TcpLink::TcpLink(QString host, quint16 port, QString hostName, QObject* parent)
    : Link(parent), m_host(std::move(host)), m_port(port), m_hostName(hostName.isEmpty() ? m_host : hostName),
      m_socket(this), m_limit(this), m_leaveLimit(this)
{
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1); // one-byte answers must not wait for Nagle
    m_limit.setSingleShot(true);
    m_leaveLimit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, &TcpLink::onTimeout);
    connect(&m_leaveLimit, &QTimer::timeout, this, [this] {
        if (!m_leaving) return;
        // The module keeps its side open: what we sent has had its time to arrive.
        m_leaving = false;
        m_socket.abort();
        connectSoon();
    });
    connect(&m_socket, &QTcpSocket::connected, this, &TcpLink::onConnected);
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        m_leaving = false;
        m_leaveLimit.stop();
        if (m_opening) connectSoon();
    });
    connect(&m_socket, &QTcpSocket::bytesWritten, this, [this] {
        if (m_leaving && !m_sendingShut && m_socket.bytesToWrite() == 0) shutSending();
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

core::LinkInfo TcpLink::info() const
{
    return {core::LinkKind::Ethernet, m_hostName.toStdString()};
}

QString TcpLink::errorText() const
{
    return QString::fromUtf8(core::texts::kEthernetOpenErrorPrefix) + m_host +
           QString::fromUtf8(core::texts::kEthernetOpenErrorSuffix);
}

void TcpLink::open()
{
    // Reconnect: a new connection for every exchange.
    m_opening = true;
    m_limit.start(kConnectLimitMs);
    if (m_socket.state() == QAbstractSocket::UnconnectedState) return connectNow();
    if (m_socket.state() == QAbstractSocket::ConnectedState) return leaveConnection();
    m_socket.disconnectFromHost();
    if (m_socket.state() == QAbstractSocket::UnconnectedState) return connectNow();
    // connectNow() follows from the disconnected signal.
}

// The last byte of an exchange may be the program's own (the END echo of a receive exchange),
// and it is written just before the next exchange reconnects. A module may take a new connection
// as the end of the old one and drop what it has not yet read from it; the processor would then
// never see that byte. Hence: write everything, shut our direction, and connect again once the
// module has closed its side, which it does after reading up to our shutdown.
void TcpLink::leaveConnection()
{
    m_leaving = true;
    m_sendingShut = false;
    m_leaveLimit.start(kLeaveLimitMs);
    // The flush may already have shut it (bytesWritten), or failed and dropped the connection.
    m_socket.flush();
    if (m_leaving && !m_sendingShut && m_socket.bytesToWrite() == 0) shutSending();
    // Otherwise bytesWritten shuts it once the rest is out.
}

void TcpLink::shutSending()
{
    // Only the connection being left: a socket already connecting anew must keep both directions.
    if (m_socket.state() != QAbstractSocket::ConnectedState) return;
    m_sendingShut = true;
    if (shutDownSending(m_socket.socketDescriptor())) return; // disconnected follows the module's close
    // No half-close here: close as before, after what is written.
    m_leaving = false;
    m_leaveLimit.stop();
    m_socket.disconnectFromHost();
    if (m_socket.state() == QAbstractSocket::UnconnectedState) connectSoon();
}

// The socket's own signals may be on the stack (a close emits disconnected at once): the new
// connection starts from the event loop, once they have returned.
void TcpLink::connectSoon()
{
    QTimer::singleShot(0, this, &TcpLink::connectNow);
}

void TcpLink::connectNow()
{
    if (!m_opening || m_socket.state() != QAbstractSocket::UnconnectedState) return;
    m_limit.start(kConnectLimitMs); // the close took its own wait
    m_socket.connectToHost(m_host, m_port);
}

void TcpLink::send(const QByteArray& bytes)
{
    if (m_socket.state() != QAbstractSocket::ConnectedState || m_socket.write(bytes) != bytes.size())
        QMetaObject::invokeMethod(
            this, [this] { emit failed(errorText()); }, Qt::QueuedConnection);
}

void TcpLink::close()
{
    m_opening = false;
    m_leaving = false;
    m_limit.stop();
    m_leaveLimit.stop();
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
    // Whatever ends the connection we are leaving is no error: disconnected (or the leave limit)
    // goes on with the new one.
    if (m_leaving) return;
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
    m_leaving = false;
    m_leaveLimit.stop();
    m_socket.abort();
    emit opened(false, errorText());
}

} // namespace kvr::io
