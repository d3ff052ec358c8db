#include "sim/ethernetmodule.h"

#include <QNetworkDatagram>
#include <vector>

#include "comm/discovery.h"
#include "sim/processorhost.h"
#include "sim/tcptransport.h"

namespace kvr::sim {

namespace {

// Fields 2 to 4 of a reply mean nothing to the program; these stand where a module puts its
// model, firmware and serial port speed.
constexpr char kReplyByte0 = 'X';
constexpr char kModel[] = "EM100";
constexpr char kFirmware[] = "3.30";
constexpr char kSerialSpeed[] = "38400";
constexpr char kForeignDeviceType[] = "KVR410";
constexpr char kRefused = 'N';

QString printable(const QByteArray& bytes)
{
    QString text;
    for (char c : bytes) {
        const auto u = uchar(c);
        text +=
            u >= 0x20 && u < 0x7F ? QString(QLatin1Char(c)) : QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return text;
}

} // namespace

EthernetModule::EthernetModule(Settings settings, ProcessorHost* host, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)), m_host(host)
{
}

EthernetModule::~EthernetModule()
{
    if (m_sockets.tcp) m_sockets.tcp->drop(); // the processor hears that its client is gone
    delete m_sockets.tcp;
    delete m_sockets.udp;
}

quint16 EthernetModule::tcpPort() const
{
    return m_sockets.tcp ? m_sockets.tcp->port() : 0;
}

core::Status EthernetModule::start(const QHostAddress& address)
{
    auto sockets = bindAt(address);
    if (!sockets) return core::Error{sockets.message()};
    install(*sockets);
    m_address = address;
    return {};
}

core::Result<EthernetModule::Sockets> EthernetModule::bindAt(const QHostAddress& address)
{
    Sockets s;
    s.udp = new QUdpSocket(this);
    if (!s.udp->bind(address, m_settings.udpPort, QAbstractSocket::DontShareAddress)) {
        const QString why = s.udp->errorString();
        delete s.udp;
        return core::Error{QStringLiteral("module %1: cannot bind UDP %2:%3: %4")
                               .arg(m_settings.hostName, address.toString())
                               .arg(m_settings.udpPort)
                               .arg(why)
                               .toStdString()};
    }
    if (m_host) {
        s.tcp = new TcpTransport(this);
        const quint16 port = m_sockets.tcp ? m_sockets.tcp->port() : m_settings.tcpPort;
        if (auto listening = s.tcp->listen(address, port); !listening) {
            delete s.tcp;
            delete s.udp;
            return core::Error{"module " + m_settings.hostName.toStdString() + ": " + listening.message()};
        }
    }
    return s;
}

void EthernetModule::install(Sockets sockets)
{
    m_sockets = sockets;
    connect(m_sockets.udp, &QUdpSocket::readyRead, this, &EthernetModule::onReadyRead);
    if (m_sockets.tcp) m_host->attach(m_sockets.tcp);
}

void EthernetModule::release()
{
    // Later: this runs from the old socket's own signal.
    if (m_sockets.tcp) {
        m_sockets.tcp->drop(); // the processor hears that its client is gone
        m_sockets.tcp->disconnect(m_host);
        m_sockets.tcp->deleteLater();
    }
    if (m_sockets.udp) {
        m_sockets.udp->disconnect(this);
        m_sockets.udp->close();
        m_sockets.udp->deleteLater();
    }
    m_sockets = {};
}

QString EthernetModule::endpointLine() const
{
    if (m_settings.foreign)
        return QStringLiteral("foreign-module %1 %2 %3")
            .arg(m_settings.hostName, m_settings.identifier, m_address.toString());
    return QStringLiteral("module %1 %2 %3:%4")
        .arg(m_settings.hostName, m_settings.identifier, m_address.toString())
        .arg(tcpPort());
}

QByteArray EthernetModule::discoveryReply() const
{
    QByteArray reply(1, kReplyByte0);
    reply += m_settings.identifier.toLatin1() + '/' + kModel + '/' + kFirmware + '/' + kSerialSpeed + '/';
    reply += m_settings.foreign ? kForeignDeviceType : core::discovery::kDeviceType;
    reply += '/' + m_settings.hostName.toLatin1();
    return reply;
}

void EthernetModule::onReadyRead()
{
    // Take the socket now: a change of address replaces it while its datagrams are handled.
    QUdpSocket* socket = m_sockets.udp;
    while (socket && socket == m_sockets.udp && socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram(qint64(core::discovery::kMaxDatagram));
        handle(datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort()));
    }
}

void EthernetModule::handle(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort)
{
    if (!m_sockets.udp || datagram.isEmpty()) {
        ++m_counters.ignoredDatagrams;
        return;
    }
    const QString from = QStringLiteral("%1:%2").arg(sender.toString()).arg(senderPort);
    const char kind = datagram.at(0);
    if (datagram.size() == 1 && kind == core::discovery::kDiscover) {
        ++m_counters.discoveries;
        m_sockets.udp->writeDatagram(discoveryReply(), sender, senderPort);
        log(QStringLiteral("discovery from %1 answered").arg(from));
    } else if (datagram.size() == 1 && kind == core::discovery::kIdentify) {
        ++m_counters.identifies;
        log(QStringLiteral("identify from %1: Ethernet LEDs blink").arg(from));
    } else if (datagram.size() == 1 && kind == core::discovery::kHostNameSelect) {
        m_namePending = true;
        log(QStringLiteral("host name change announced by %1").arg(from));
    } else if (datagram.startsWith(core::discovery::kHostNamePrefix)) {
        const QString name = QString::fromLatin1(datagram.mid(int(sizeof core::discovery::kHostNamePrefix) - 1));
        if (m_settings.ignoreChanges) {
            ++m_counters.ignoredChanges;
            log(QStringLiteral("host name change to '%1' from %2 ignored (--ignore-changes)").arg(name, from));
        } else if (!m_namePending || name.isEmpty()) {
            ++m_counters.refusedChanges;
            log(QStringLiteral("host name change to '%1' from %2 refused: %3")
                    .arg(name, from, m_namePending ? QStringLiteral("empty name") : QStringLiteral("no \"L\" before")));
            answer(kRefused, sender, senderPort);
        } else {
            ++m_counters.nameChanges;
            log(QStringLiteral("host name changed from '%1' to '%2' by %3").arg(m_settings.hostName, name, from));
            m_settings.hostName = name;
            answer(core::discovery::kAccepted, sender, senderPort);
        }
        m_namePending = false;
    } else if (kind == core::discovery::kChangeIp && datagram.size() > 1) {
        changeIp(datagram, sender, senderPort);
    } else {
        ++m_counters.ignoredDatagrams;
        log(QStringLiteral("ignored %1 bytes from %2: %3")
                .arg(datagram.size())
                .arg(from, printable(datagram.left(40))));
    }
}

void EthernetModule::changeIp(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort)
{
    const qsizetype separator = datagram.indexOf("//", 1);
    if (separator < 0) {
        ++m_counters.ignoredDatagrams;
        log(QStringLiteral("ignored a change of IP address without \"//\": %1").arg(printable(datagram.left(40))));
        return;
    }
    if (datagram.mid(1, separator - 1) != m_settings.identifier.toLatin1()) return; // another module's
    QByteArray text = datagram.mid(separator + 2);
    const qsizetype end = text.indexOf('\0');
    if (end >= 0) text.truncate(end);
    const QString address = QString::fromLatin1(text);
    const QString from = QStringLiteral("%1:%2").arg(sender.toString()).arg(senderPort);
    if (m_settings.ignoreChanges) {
        ++m_counters.ignoredChanges;
        log(QStringLiteral("change of IP address to %1 from %2 ignored (--ignore-changes)").arg(address, from));
        return;
    }
    // Only loopback addresses can be emulated here.
    const QHostAddress target(address);
    const bool usable = core::isDottedIpv4(text.toStdString()) && target.isLoopback() &&
                        target != QHostAddress(QStringLiteral("127.255.255.255"));
    if (!usable) {
        ++m_counters.refusedChanges;
        log(QStringLiteral("change of IP address to '%1' from %2 refused: not a loopback address")
                .arg(printable(text), from));
        return answer(kRefused, sender, senderPort);
    }
    if (target == m_address) {
        ++m_counters.ipChanges;
        log(QStringLiteral("IP address stays %1 (asked by %2)").arg(address, from));
        return answer(core::discovery::kAccepted, sender, senderPort);
    }
    auto sockets = bindAt(target);
    if (!sockets) {
        ++m_counters.refusedChanges;
        log(QStringLiteral("change of IP address to %1 refused: %2")
                .arg(address, QString::fromStdString(sockets.message())));
        return answer(kRefused, sender, senderPort);
    }
    ++m_counters.ipChanges;
    answer(core::discovery::kAccepted, sender, senderPort); // from the old address, then move
    log(QStringLiteral("IP address changed from %1 to %2 by %3").arg(m_address.toString(), address, from));
    // What already reached the old address is still handled, after the move.
    std::vector<QNetworkDatagram> pending;
    while (m_sockets.udp->hasPendingDatagrams())
        pending.push_back(m_sockets.udp->receiveDatagram(qint64(core::discovery::kMaxDatagram)));
    release();
    install(*sockets);
    m_address = target;
    for (const QNetworkDatagram& d : pending)
        handle(d.data(), d.senderAddress(), quint16(d.senderPort()));
}

void EthernetModule::answer(char byte, const QHostAddress& to, quint16 port)
{
    if (m_sockets.udp) m_sockets.udp->writeDatagram(QByteArray(1, byte), to, port);
}

void EthernetModule::log(const QString& text)
{
    const QString line = QStringLiteral("module %1 %2: %3").arg(m_settings.hostName, m_address.toString(), text);
    if (m_logSink) m_logSink(line);
}

} // namespace kvr::sim
