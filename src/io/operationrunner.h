#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

#include "comm/action.h"
#include "comm/deviceoperation.h"
#include "io/link.h"

Q_DECLARE_METATYPE(kvr::core::Message)
Q_DECLARE_METATYPE(kvr::core::Question)
Q_DECLARE_METATYPE(kvr::core::Answer)
Q_DECLARE_METATYPE(kvr::core::Outcome)
Q_DECLARE_METATYPE(kvr::core::ConnectionEffect)

namespace kvr::io {

// Drives one device operation at a time over a link: carries out its actions, runs its timers
// as QTimers and feeds it the link's events. Never blocks and never runs a nested event loop;
// every visible effect is a signal, and questions are answered later through answer().
class OperationRunner : public QObject {
    Q_OBJECT
public:
    explicit OperationRunner(QObject* parent = nullptr);
    ~OperationRunner() override;

    // The link the next operation uses (not owned). May be changed while a connection-window
    // question is pending, before answering it.
    void setLink(Link* link);
    Link* link() const { return m_link; }
    bool isRunning() const { return m_operation != nullptr; }

    // Starts an operation; refused (false, and refused()) while another runs or without a link.
    bool start(std::unique_ptr<core::DeviceOperation> operation);

public slots:
    void answer(const kvr::core::Answer& answer);

signals:
    void statusChanged(const QString& text);
    void progressChanged(int position, int maximum);
    void commWindowVisibleChanged(bool visible);
    void messageRequested(const kvr::core::Message& message);
    void questionAsked(const kvr::core::Question& question);
    void connectionEffect(kvr::core::ConnectionEffect effect);
    void memorySelectorChanged(int memory);
    void finished(const kvr::core::Outcome& outcome);
    void refused(const QString& reason);

private:
    void execute();
    void onOpened(bool ok, const QString& error);
    void onBytes(const QByteArray& bytes);
    void onFailed(const QString& error);
    void onReplyTimeout();
    void onTimer();

    QPointer<Link> m_link;
    std::unique_ptr<core::DeviceOperation> m_operation;
    QTimer m_reply;
    QTimer m_timer;
    core::TimerId m_timerId = core::TimerId::Pause;
    bool m_executing = false;
};

} // namespace kvr::io
