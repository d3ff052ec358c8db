#include "sim/modulenetwork.h"

#include <QHostAddress>
#include <QNetworkDatagram>

#include "comm/discovery.h"

namespace kvr::sim {

ModuleNetwork::ModuleNetwork(QObject* parent) : QObject(parent), m_broadcast(this)
{
    connect(&m_broadcast, &QUdpSocket::readyRead, this, &ModuleNetwork::onBroadcast);
}

ModuleNetwork::~ModuleNetwork()
{
    for (EthernetModule* module : m_modules)
        delete module;
}

core::Status ModuleNetwork::listen(quint16 udpPort)
{
    const QHostAddress address(QString::fromLatin1(kBroadcastAddress));
    if (!m_broadcast.bind(address, udpPort, QAbstractSocket::DontShareAddress))
        return core::Error{QStringLiteral("cannot bind UDP %1:%2: %3")
                               .arg(address.toString())
                               .arg(udpPort)
                               .arg(m_broadcast.errorString())
                               .toStdString()};
    return {};
}

core::Status ModuleNetwork::add(EthernetModule* module)
{
    module->setParent(nullptr);
    m_modules.push_back(module);
    const int host = kFirstHost + int(m_modules.size()) - 1;
    if (host > 254) return core::Error{"at most 253 modules fit 127.0.0.2 .. 127.0.0.254"};
    return module->start(QHostAddress(QStringLiteral("127.0.0.%1").arg(host)));
}

QStringList ModuleNetwork::endpoints() const
{
    QStringList lines{QStringLiteral("discovery %1:%2").arg(QString::fromLatin1(kBroadcastAddress)).arg(udpPort())};
    for (const EthernetModule* module : m_modules)
        lines << module->endpointLine();
    return lines;
}

void ModuleNetwork::onBroadcast()
{
    while (m_broadcast.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_broadcast.receiveDatagram(qint64(core::discovery::kMaxDatagram));
        for (EthernetModule* module : m_modules)
            module->handle(datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort()));
    }
}

} // namespace kvr::sim
