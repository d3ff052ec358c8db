#include "io/modulediscovery.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>

#include "util/texts.h"

namespace kvr::io {

namespace {

constexpr int kProgressSteps = 100;

QString text(const char* t)
{
    return QString::fromUtf8(t);
}

bool isIpv4(const QString& address)
{
    return core::isDottedIpv4(address.toStdString());
}

} // namespace

ModuleDiscovery::ModuleDiscovery(QObject* parent)
    : QObject(parent), m_socket(this), m_scanTimer(this), m_progressTimer(this), m_answerTimer(this)
{
    qRegisterMetaType<kvr::io::DiscoveredModule>();
    qRegisterMetaType<QList<kvr::io::DiscoveredModule>>();
    qRegisterMetaType<kvr::io::ModuleChange>();
    qRegisterMetaType<kvr::core::Message>();
    m_scanTimer.setSingleShot(true);
    m_scanTimer.setTimerType(Qt::PreciseTimer);
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_scanTimer, &QTimer::timeout, this, &ModuleDiscovery::onScanWindowClosed);
    connect(&m_progressTimer, &QTimer::timeout, this, &ModuleDiscovery::onProgressTick);
    connect(&m_answerTimer, &QTimer::timeout, this, [this] { finishChange(false); });
    connect(&m_socket, &QUdpSocket::readyRead, this, &ModuleDiscovery::onReadyRead);
}

ModuleDiscovery::~ModuleDiscovery() = default;

void ModuleDiscovery::setTarget(const QString& address, quint16 port)
{
    m_target = address.trimmed();
    m_port = port;
}

core::Result<QString> ModuleDiscovery::defaultTarget()
{
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() != QAbstractSocket::IPv4Protocol || ip.isLoopback()) continue;
            auto broadcast = core::directedBroadcast(ip.toString().toStdString());
            if (broadcast) return QString::fromStdString(*broadcast);
        }
    }
    return core::Error{core::texts::kNoLocalIpv4Address};
}

core::Result<QString> ModuleDiscovery::resolvedTarget() const
{
    if (m_target.isEmpty()) return defaultTarget();
    return m_target;
}

bool ModuleDiscovery::ensureBound()
{
    if (m_socket.state() == QAbstractSocket::BoundState) return true;
    return m_socket.bind(QHostAddress::AnyIPv4, 0);
}

bool ModuleDiscovery::sendTo(const QString& address, const core::Bytes& bytes)
{
    const QHostAddress to(address);
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    if (to.isNull() || !ensureBound() || m_socket.writeDatagram(data, to, m_port) != data.size()) {
        emit messageRequested(core::errorBox(core::texts::kDiscoverySendFailedPrefix + address.toStdString() + ":" +
                                             std::to_string(m_port) + "."));
        return false;
    }
    return true;
}

bool ModuleDiscovery::refuse(const QString& reason)
{
    emit refused(reason);
    return false;
}

bool ModuleDiscovery::scan()
{
    if (m_state == State::AwaitingAnswer) return refuse(text(core::texts::kModuleExchangeRunning));
    m_state = State::Scanning;
    m_table.clear();
    m_modules.clear();
    m_lastProgress = -1;
    m_scanClock.start();
    m_scanTimer.start(m_scanWindowMs);
    m_progressTimer.start(std::max(1, m_scanWindowMs / kProgressSteps));
    emit scanStarted();
    onProgressTick();
    // Without an address to send to, the box is shown and the window runs out with nothing found.
    const auto target = resolvedTarget();
    if (!target)
        emit messageRequested(core::errorBox(target.message()));
    else
        sendTo(*target, core::discoveryMessage());
    return true;
}

bool ModuleDiscovery::identify(const QString& moduleAddress)
{
    if (!isIpv4(moduleAddress)) return refuse(text(core::texts::kModuleAddressInvalid));
    return sendTo(moduleAddress, core::identifyMessage());
}

bool ModuleDiscovery::changeIp(const QString& identifier, const QString& newAddress)
{
    if (m_state != State::Idle) return refuse(text(core::texts::kModuleExchangeRunning));
    const QByteArray id = identifier.toLatin1();
    auto message = core::changeIpMessage(std::string_view(id.constData(), size_t(id.size())), newAddress.toStdString());
    if (!message) return refuse(QString::fromStdString(message.message()));
    const auto target = resolvedTarget();
    if (!target) return refuse(QString::fromStdString(target.message()));
    m_change = ModuleChange::IpAddress;
    m_state = State::AwaitingAnswer;
    if (!sendTo(*target, *message)) {
        finishChange(false);
        return true;
    }
    m_answerTimer.start(m_answerLimitMs);
    return true;
}

bool ModuleDiscovery::changeHostName(const QString& moduleAddress, const QString& hostName)
{
    if (m_state != State::Idle) return refuse(text(core::texts::kModuleExchangeRunning));
    if (!isIpv4(moduleAddress)) return refuse(text(core::texts::kModuleAddressInvalid));
    const QByteArray name = hostName.toLatin1();
    auto message = core::hostNameMessage(std::string_view(name.constData(), size_t(name.size())));
    if (!message) return refuse(QString::fromStdString(message.message()));
    m_change = ModuleChange::HostName;
    m_state = State::AwaitingAnswer;
    if (!sendTo(moduleAddress, core::hostNameSelectMessage()) || !sendTo(moduleAddress, *message)) {
        finishChange(false);
        return true;
    }
    m_answerTimer.start(m_answerLimitMs);
    return true;
}

void ModuleDiscovery::onReadyRead()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram(qint64(core::discovery::kMaxDatagram));
        const QByteArray data = datagram.data();
        const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()));
        if (m_state == State::Scanning) {
            QHostAddress sender = datagram.senderAddress();
            bool mapped = false;
            if (const quint32 v4 = sender.toIPv4Address(&mapped); mapped) sender = QHostAddress(v4);
            if (m_table.offer(bytes, sender.toString().toStdString())) {
                m_modules.append(DiscoveredModule::fromEntry(m_table.entries().back()));
                emit moduleFound(m_modules.back());
            }
        } else if (m_state == State::AwaitingAnswer) {
            // The first datagram after the request is its answer.
            finishChange(core::changeAccepted(bytes));
        }
        // Anything else (late replies, strays) is dropped.
    }
}

void ModuleDiscovery::onProgressTick()
{
    if (m_state != State::Scanning) return;
    const qint64 elapsed = m_scanClock.elapsed();
    const int percent = int(std::min<qint64>(kProgressSteps, elapsed * kProgressSteps / std::max(1, m_scanWindowMs)));
    if (percent == m_lastProgress) return;
    m_lastProgress = percent;
    emit scanProgress(percent);
}

void ModuleDiscovery::onScanWindowClosed()
{
    if (m_state != State::Scanning) return;
    // What has already arrived was sent within the window.
    onReadyRead();
    m_state = State::Idle;
    m_progressTimer.stop();
    if (m_lastProgress != kProgressSteps) {
        m_lastProgress = kProgressSteps;
        emit scanProgress(kProgressSteps);
    }
    emit scanFinished(m_modules);
}

void ModuleDiscovery::finishChange(bool ok)
{
    if (m_state != State::AwaitingAnswer) return;
    m_answerTimer.stop();
    m_state = State::Idle;
    const bool ip = m_change == ModuleChange::IpAddress;
    if (ok)
        emit messageRequested(
            core::infoBox(ip ? core::texts::kIpChangedSuccessfully : core::texts::kHostNameChangedSuccessfully));
    else
        emit messageRequested(core::errorBox(ip ? core::texts::kErrorChangingIp : core::texts::kErrorChangingHostName));
    emit changeFinished(m_change, ok);
}

} // namespace kvr::io
