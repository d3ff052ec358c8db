#include "sim/processorhost.h"

#include <QDateTime>
#include <cstdio>

#include "sim/statestore.h"

namespace kvr::sim {

namespace {

constexpr qint64 kNsPerMs = 1000000;
constexpr int kBitsPerByte = 10; // start bit, 8 data bits, stop bit

QString field(int value)
{
    return value < 0 ? QStringLiteral("-") : QString::number(value);
}

} // namespace

ProcessorHost::ProcessorHost(ProcessorState state, VirtualProcessor::Settings processorSettings, Settings settings,
                             QObject* parent)
    : QObject(parent), m_processor(std::move(state), std::move(processorSettings)), m_settings(settings)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ProcessorHost::pump);
}

qint64 ProcessorHost::byteNs() const
{
    return m_settings.baud > 0 ? qint64(kBitsPerByte) * 1000000000 / m_settings.baud : 0;
}

void ProcessorHost::attach(Link* link)
{
    connect(link, &Link::opened, this, [this, link] { onOpened(link); });
    connect(link, &Link::closed, this, [this, link] { onClosed(link); });
    connect(link, &Link::received, this, [this, link](const QByteArray& bytes) { onReceived(link, bytes); });
}

void ProcessorHost::makeActive(Link* link)
{
    deliverInFlight();
    m_dropPending = false;
    m_active = link;
    m_processor.linkOpened();
    flushEvents();
}

void ProcessorHost::onOpened(Link* link)
{
    makeActive(link);
    schedule();
}

void ProcessorHost::onClosed(Link* link)
{
    if (link != m_active) return;
    deliverInFlight();
    m_dropPending = false;
    m_processor.linkClosed();
    flushEvents();
    m_active = nullptr;
    schedule();
}

void ProcessorHost::onReceived(Link* link, const QByteArray& bytes)
{
    if (link != m_active) makeActive(link);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const std::span<const uint8_t> span(data, size_t(bytes.size()));
    if (m_settings.baud <= 0) {
        deliver(span, nowNs());
    } else {
        // A byte is only complete at the far end once its ten bits have crossed the wire.
        const qint64 now = nowNs();
        for (uint8_t byte : span) {
            m_lastInNs = std::max(now, m_lastInNs) + byteNs();
            m_inbox.push_back({byte, m_lastInNs});
        }
    }
    pump();
}

void ProcessorHost::deliverInFlight()
{
    // Bytes that left the connection are on the wire: closing or replacing the connection does
    // not stop them. Whatever the processor answers has no connection to go to. They arrive now
    // at the latest, so the processor's clock never runs ahead of what comes after them.
    const qint64 now = nowNs();
    while (!m_inbox.empty()) {
        const Timed next = m_inbox.front();
        m_inbox.pop_front();
        deliver(std::span<const uint8_t>(&next.byte, 1), std::min(next.dueNs, now));
    }
    m_lastInNs = std::min(m_lastInNs, now);
    m_outbox.clear();
}

void ProcessorHost::deliver(std::span<const uint8_t> bytes, qint64 atNs)
{
    VirtualProcessor::Reply reply = m_processor.receive(bytes, atNs / kNsPerMs);
    flushEvents();
    queueAnswer(reply.bytes, atNs);
    if (reply.dropLink) m_dropPending = true;
}

void ProcessorHost::queueAnswer(const core::Bytes& bytes, qint64 atNs)
{
    if (bytes.empty()) return;
    if (m_settings.baud <= 0 && m_settings.delayMs <= 0) {
        write(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        return;
    }
    const qint64 ready = atNs + qint64(std::max(0, m_settings.delayMs)) * kNsPerMs;
    for (uint8_t byte : bytes) {
        qint64 due = ready;
        if (m_settings.baud > 0) {
            due = std::max(ready, m_lastOutNs) + byteNs();
            m_lastOutNs = due;
        }
        m_outbox.push_back({byte, due});
    }
}

void ProcessorHost::write(const QByteArray& bytes)
{
    if (m_active) m_active->send(bytes);
    m_processor.noteSent(nowNs() / kNsPerMs);
}

void ProcessorHost::pump()
{
    const qint64 now = nowNs();
    while (!m_inbox.empty() && m_inbox.front().dueNs <= now) {
        const Timed next = m_inbox.front();
        m_inbox.pop_front();
        deliver(std::span<const uint8_t>(&next.byte, 1), next.dueNs);
    }
    QByteArray due;
    while (!m_outbox.empty() && m_outbox.front().dueNs <= now) {
        due.append(char(m_outbox.front().byte));
        m_outbox.pop_front();
    }
    if (!due.isEmpty()) write(due);
    if (m_dropPending && m_outbox.empty()) {
        m_dropPending = false;
        m_inbox.clear();
        if (Link* link = m_active) link->drop(); // emits closed(), which resets the processor
    }
    if (auto deadline = m_processor.deadlineMs(); deadline && *deadline * kNsPerMs <= now) {
        m_processor.handleTimeout(now / kNsPerMs);
        flushEvents();
    }
    schedule();
}

void ProcessorHost::schedule()
{
    qint64 next = -1;
    auto consider = [&next](qint64 at) { next = next < 0 ? at : std::min(next, at); };
    if (!m_inbox.empty()) consider(m_inbox.front().dueNs);
    if (!m_outbox.empty()) consider(m_outbox.front().dueNs);
    if (auto deadline = m_processor.deadlineMs()) consider(*deadline * kNsPerMs);
    if (next < 0) {
        m_timer.stop();
        return;
    }
    const qint64 waitNs = std::max<qint64>(0, next - nowNs());
    // Timers count whole milliseconds, but a byte at 38400 baud lasts 260 us: short waits are
    // polled through the event loop so the pacing stays close to the wire's own timing.
    if (waitNs < 2 * kNsPerMs) {
        m_timer.start(0);
        return;
    }
    m_timer.start(int((waitNs + kNsPerMs - 1) / kNsPerMs) - 1);
}

void ProcessorHost::flushEvents()
{
    const QString transport = m_active ? m_active->transportName() : QStringLiteral("-");
    for (const ProcessorEvent& event : m_processor.takeEvents()) {
        if (event.kind == ProcessorEvent::Kind::Exchange) {
            const ExchangeEvent* exchange = &event.exchange;
            QString line =
                QStringLiteral("%1 %2 command=%3 (%4) memory=%5 length=%6 %7")
                    .arg(transport,
                         exchange->direction == Direction::Send ? QStringLiteral("send") : QStringLiteral("receive"),
                         field(exchange->command), QString::fromLatin1(commandName(exchange->command)),
                         field(exchange->memory), field(exchange->length),
                         QString::fromLatin1(outcomeName(exchange->outcome)));
            if (!exchange->detail.empty()) line += QStringLiteral(": ") + QString::fromStdString(exchange->detail);
            log(line);
        } else if (event.kind == ProcessorEvent::Kind::Fault) {
            log(QStringLiteral("%1 fault %2").arg(transport, QString::fromStdString(event.fault.text)));
        } else {
            const StateEvent* change = &event.state;
            if (!m_store) continue;
            const ProcessorState& state = m_processor.state();
            core::Status saved = change->item == StateItem::Memory ? m_store->saveMemory(state, change->memory)
                                 : change->item == StateItem::OperatingSystem ? m_store->saveOperatingSystem(state)
                                                                              : m_store->saveSettings(state);
            if (!saved) log(QStringLiteral("state not saved: ") + QString::fromStdString(saved.message()));
        }
    }
}

void ProcessorHost::log(const QString& text)
{
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz ")) + text;
    if (m_logSink) {
        m_logSink(line);
        return;
    }
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace kvr::sim
