#include "io/ethernetconnection.h"

#include "comm/operations.h"
#include "util/texts.h"

namespace kvr::io {

EthernetConnection::EthernetConnection(OperationRunner& runner, QObject* parent)
    : QObject(parent), m_runner(runner), m_link(new TcpLink(QString(), TcpLink::kDefaultPort, QString(), this))
{
    connect(&m_runner, &OperationRunner::finished, this, &EthernetConnection::onFinished);
    connect(&m_runner, &OperationRunner::connectionEffect, this, &EthernetConnection::onEffect);
}

EthernetConnection::~EthernetConnection()
{
    if (m_runner.link() == m_link) m_runner.setLink(nullptr);
}

bool EthernetConnection::connectToModule(const DiscoveredModule& module)
{
    return connectTo(module.ipAddress, module.hostName);
}

bool EthernetConnection::connectTo(const QString& moduleAddress, const QString& hostName)
{
    if (m_runner.isRunning()) {
        emit refused(QString::fromUtf8(core::texts::kOperationRunning));
        return false;
    }
    // One socket: the old connection is closed by the link's open, before it connects anew.
    m_connected = false;
    m_statusText.clear();
    m_hostName = hostName.isEmpty() ? moduleAddress : hostName;
    m_link->setRemote(moduleAddress, m_tcpPort, m_hostName);
    m_runner.setLink(m_link);
    m_connecting = true;
    if (!m_runner.start(core::makeDetect(m_link->info()))) {
        m_connecting = false;
        return false;
    }
    return true;
}

void EthernetConnection::onFinished(const core::Outcome& outcome)
{
    if (!m_connecting) return;
    m_connecting = false;
    if (!outcome.completed()) {
        dropConnection();
        emit connectFailed();
        emit offline();
        return;
    }
    m_connected = true;
    m_statusText = QString::fromUtf8(core::texts::kStatusEthernetConnectedPrefix) + m_hostName +
                   QString::fromUtf8(core::texts::kStatusEthernetConnectedFrom) + m_link->localAddress();
    emit connected(m_statusText);
}

void EthernetConnection::onEffect(core::ConnectionEffect effect)
{
    // During the connect the outcome decides; afterwards an operation over this link may end it.
    if (effect != core::ConnectionEffect::GoOffline || m_connecting || !m_connected) return;
    if (m_runner.link() != m_link) return;
    dropConnection();
    emit offline();
}

void EthernetConnection::goOffline()
{
    const bool wasUp = m_connected || m_connecting;
    m_connecting = false;
    dropConnection();
    if (wasUp) emit offline();
}

void EthernetConnection::dropConnection()
{
    m_connected = false;
    m_statusText.clear();
    m_link->close();
}

} // namespace kvr::io
