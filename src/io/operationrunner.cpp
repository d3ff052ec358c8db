#include "io/operationrunner.h"

#include "util/texts.h"

namespace kvr::io {

OperationRunner::OperationRunner(QObject* parent) : QObject(parent), m_reply(this), m_timer(this)
{
    qRegisterMetaType<kvr::core::Message>();
    qRegisterMetaType<kvr::core::Question>();
    qRegisterMetaType<kvr::core::Answer>();
    qRegisterMetaType<kvr::core::Outcome>();
    qRegisterMetaType<kvr::core::ConnectionEffect>();
    for (QTimer* t : {&m_reply, &m_timer}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer); // the protocol's waits are part of its timing
    }
    connect(&m_reply, &QTimer::timeout, this, &OperationRunner::onReplyTimeout);
    connect(&m_timer, &QTimer::timeout, this, &OperationRunner::onTimer);
}

OperationRunner::~OperationRunner() = default;

void OperationRunner::setLink(Link* link)
{
    if (m_link) disconnect(m_link, nullptr, this, nullptr);
    m_link = link;
    if (!m_link) return;
    // Queued: a link that reports from inside a call cannot re-enter the operation.
    connect(m_link, &Link::opened, this, &OperationRunner::onOpened, Qt::QueuedConnection);
    connect(m_link, &Link::bytesReceived, this, &OperationRunner::onBytes, Qt::QueuedConnection);
    connect(m_link, &Link::failed, this, &OperationRunner::onFailed, Qt::QueuedConnection);
}

bool OperationRunner::start(std::unique_ptr<core::DeviceOperation> operation)
{
    if (m_operation || !operation) {
        emit refused(QString::fromUtf8(core::texts::kOperationRunning));
        return false;
    }
    if (!m_link) {
        emit refused(QString::fromUtf8(core::texts::kNotConnected));
        return false;
    }
    m_operation = std::move(operation);
    m_operation->start();
    execute();
    return true;
}

void OperationRunner::answer(const core::Answer& answer)
{
    if (!m_operation) return;
    m_operation->answered(answer);
    execute();
}

void OperationRunner::onOpened(bool ok, const QString& error)
{
    if (!m_operation) return;
    m_operation->linkOpened(ok ? core::Status() : core::Status(core::Error{error.toStdString()}));
    execute();
}

void OperationRunner::onBytes(const QByteArray& bytes)
{
    if (!m_operation) return;
    m_operation->bytesReceived(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
    execute();
}

void OperationRunner::onFailed(const QString& error)
{
    if (!m_operation) return;
    m_operation->linkFailed(error.toStdString());
    execute();
}

void OperationRunner::onReplyTimeout()
{
    if (!m_operation) return;
    m_operation->replyTimedOut();
    execute();
}

void OperationRunner::onTimer()
{
    if (!m_operation) return;
    m_operation->timerFired(m_timerId);
    execute();
}

void OperationRunner::execute()
{
    if (m_executing || !m_operation) return; // a slot of ours called back from a signal below
    m_executing = true;
    for (;;) {
        core::Actions actions = m_operation->takeActions();
        if (actions.empty()) break;
        for (core::Action& a : actions) {
            using core::ActionKind;
            switch (a.kind) {
            case ActionKind::OpenLink:
                if (m_link) m_link->open();
                break;
            case ActionKind::CloseLink:
                if (m_link) m_link->close();
                break;
            case ActionKind::Send:
                if (m_link) m_link->send(QByteArray(reinterpret_cast<const char*>(a.bytes.data()), qsizetype(a.bytes.size())));
                break;
            case ActionKind::ArmReplyTimer: m_reply.start(a.ms); break;
            case ActionKind::StopReplyTimer: m_reply.stop(); break;
            case ActionKind::StartTimer:
                m_timerId = a.timer;
                m_timer.start(a.ms);
                break;
            case ActionKind::Status: emit statusChanged(QString::fromStdString(a.text)); break;
            case ActionKind::Progress: emit progressChanged(a.position, a.maximum); break;
            case ActionKind::ShowCommWindow: emit commWindowVisibleChanged(true); break;
            case ActionKind::HideCommWindow: emit commWindowVisibleChanged(false); break;
            case ActionKind::ShowMessage: emit messageRequested(a.message); break;
            case ActionKind::Ask: emit questionAsked(a.question); break;
            case ActionKind::Connection:
                if (a.effect == core::ConnectionEffect::GoOffline && m_link) m_link->close();
                emit connectionEffect(a.effect);
                break;
            case ActionKind::MemorySelector: emit memorySelectorChanged(a.memory); break;
            case ActionKind::Finished: {
                m_reply.stop();
                m_timer.stop();
                const core::Outcome outcome = a.outcome;
                m_operation.reset();
                m_executing = false;
                emit finished(outcome);
                return;
            }
            }
        }
    }
    m_executing = false;
}

} // namespace kvr::io
