#pragma once

#include <QByteArray>
#include <QSocketNotifier>
#include <memory>

#include "sim/link.h"
#include "util/result.h"

namespace kvr::sim {

// A pseudo-terminal in raw mode that a program opens like a serial port.
class PtyTransport : public Link {
    Q_OBJECT
public:
    explicit PtyTransport(QObject* parent = nullptr);
    ~PtyTransport() override;

    core::Status open();
    QString path() const { return m_path; }
    bool isOpen() const { return m_master >= 0; }

    QString transportName() const override { return QStringLiteral("pty"); }
    void send(const QByteArray& bytes) override;
    // Hangs up: the terminal is gone for good, as when a cable is pulled.
    void drop() override;

private:
    void readAvailable();
    void writePending();
    void closeAll();

    static constexpr int kHangUpDelayMs = 100;

    bool m_dropping = false;
    int m_master = -1;
    int m_slave = -1; // kept open so the terminal survives clients opening and closing it
    QString m_path;
    QByteArray m_pending;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
};

} // namespace kvr::sim
