#pragma once

#include <QSerialPort>

#include "io/link.h"

namespace kvr::io {

// A serial port by device path (a pseudo-terminal works too): 38400 8N1, no handshake, DTR low.
// Reopened at the start of every send exchange and let go at the end of an operation.
class SerialLink final : public Link {
    Q_OBJECT
public:
    explicit SerialLink(QString device, QObject* parent = nullptr);

    core::LinkKind kind() const override { return core::LinkKind::Serial; }
    void open() override;
    void send(const QByteArray& bytes) override;
    void close() override;

private:
    QString m_device;
    QSerialPort m_port;
};

} // namespace kvr::io
