#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

#include "sim/link.h"
#include "sim/virtualprocessor.h"

namespace kvr::sim {

class StateStore;

// Runs one virtual processor behind one or more links: gives it the bytes and the time, turns its
// deadlines into a timer, paces its answers like a serial wire, writes its state back and logs
// every exchange.
class ProcessorHost : public QObject {
    Q_OBJECT
public:
    struct Settings {
        int baud = 0;    // 0: no pacing
        int delayMs = 0; // added before every answer
    };

    ProcessorHost(ProcessorState state, VirtualProcessor::Settings processorSettings, Settings settings,
                  QObject* parent = nullptr);

    // The link that last spoke (or connected) gets the answers; a switch ends the exchange.
    void attach(Link* link);
    // Written after every change; not owned. Without one the state lives in memory only.
    void setStore(const StateStore* store) { m_store = store; }
    // Log lines go to stderr unless a sink is set (tests collect them).
    void setLogSink(std::function<void(const QString&)> sink) { m_logSink = std::move(sink); }

    VirtualProcessor& processor() { return m_processor; }
    const VirtualProcessor& processor() const { return m_processor; }

private:
    struct Timed {
        uint8_t byte;
        qint64 dueNs;
    };

    void onOpened(Link* link);
    void onClosed(Link* link);
    void onReceived(Link* link, const QByteArray& bytes);
    void makeActive(Link* link);
    void deliverInFlight();
    void deliver(std::span<const uint8_t> bytes, qint64 atNs);
    void queueAnswer(const core::Bytes& bytes, qint64 atNs);
    void write(const QByteArray& bytes);
    void pump();
    void schedule();
    void flushEvents();
    void log(const QString& text);
    qint64 nowNs() const { return m_clock.nsecsElapsed(); }
    qint64 byteNs() const;

    VirtualProcessor m_processor;
    Settings m_settings;
    const StateStore* m_store = nullptr;
    std::function<void(const QString&)> m_logSink;
    QPointer<Link> m_active;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::deque<Timed> m_inbox;  // received, not yet on the far end of the wire
    std::deque<Timed> m_outbox; // answers waiting for their time
    qint64 m_lastInNs = 0;
    qint64 m_lastOutNs = 0;
    bool m_dropPending = false;
};

} // namespace kvr::sim
