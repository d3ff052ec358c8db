#pragma once

#include <QTimer>

#include "io/link.h"

struct ftdi_context;

namespace kvr::io {

// The first FTDI USB-serial device, through libftdi1: 38400 8N1, no flow control, timeouts
// 1000/1000, opened and closed around every exchange. Replies are polled from a timer with
// short reads, so no call blocks the event loop for long.
class UsbLink final : public Link {
    Q_OBJECT
public:
    explicit UsbLink(QObject* parent = nullptr);
    ~UsbLink() override;

    core::LinkKind kind() const override { return core::LinkKind::Usb; }
    void open() override;
    void send(const QByteArray& bytes) override;
    void close() override;

    // The D2XX status (1..6) that a libftdi result stands for, and the box text of an operation.
    enum class Call { Open, Close, Rts, Dtr, BaudRate, DataCharacteristics, FlowControl, Chars, Timeouts, Write, Read };
    static int statusOf(Call call, int libftdiResult);
    static QString errorText(Call call, int status);

private:
    void poll();
    void fail(Call call, int result);

    ftdi_context* m_ftdi = nullptr;
    bool m_open = false;
    QTimer m_poll;
};

} // namespace kvr::io
