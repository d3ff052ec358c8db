#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "comm/protocol.h"

namespace kvr::io {

// One way to the processor. Every call returns at once; results come back as signals, always
// delivered from the event loop (never from inside the call), so a driver is never re-entered.
class Link : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Link() override;

    virtual core::LinkKind kind() const = 0;
    // Ethernet: the host name shown in messages.
    virtual core::LinkInfo info() const { return {kind(), {}}; }
    int replyTimeoutMs() const { return core::replyTimeoutMs(kind()); }

    // Makes the link ready for an exchange: opened(), or opened(false, the box's text).
    virtual void open() = 0;
    virtual void send(const QByteArray& bytes) = 0;
    virtual void close() = 0;

signals:
    void opened(bool ok, const QString& error);
    void bytesReceived(const QByteArray& bytes);
    // The link broke while in use (write error, disconnect); the text is the box to show.
    void failed(const QString& error);
};

} // namespace kvr::io
