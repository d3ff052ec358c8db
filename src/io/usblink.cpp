#include "io/usblink.h"

#include <libftdi1/ftdi.h>

#include "util/texts.h"

namespace kvr::io {

namespace {

constexpr int kVendor = 0x0403;
constexpr int kProducts[] = {0x6001, 0x6010, 0x6011, 0x6014, 0x6015};
constexpr int kTimeoutMs = 1000;
constexpr int kPollMs = 2;
constexpr unsigned char kLatencyMs = 2; // the chip returns what it has after this, so reads stay short

} // namespace

UsbLink::UsbLink(QObject* parent) : Link(parent), m_poll(this)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &UsbLink::poll);
}

UsbLink::~UsbLink()
{
    close();
    if (m_ftdi) ftdi_free(m_ftdi);
}

// libftdi reports failures as negative codes that differ per call; the program speaks of the
// D2XX statuses. The mapping:
//   ftdi_new fails                                        -> 5 Insufficient Resources
//   open: -3 no device with these ids                     -> 2 Device Not Found
//         -4 cannot open, -5 cannot claim                 -> 3 Device Not Opened
//         -1, -2, -12 cannot list the USB devices         -> 5 Insufficient Resources
//         -11 invalid context                             -> 1 Invalid Handle
//         anything else (reset, description, ...)         -> 4 General IO Error
//   baud rate: -1 unsupported rate                        -> 6 Invalid Parameter
//   any call: -666 device unavailable (closed, unplugged) -> 3 Device Not Opened
//   any other negative result                             -> 4 General IO Error
int UsbLink::statusOf(Call call, int result)
{
    if (result >= 0) return 0;
    if (result == -666) return 3;
    if (call == Call::Open) {
        switch (result) {
        case -3: return 2;
        case -4:
        case -5: return 3;
        case -1:
        case -2:
        case -12: return 5;
        case -11: return 1;
        default: return 4;
        }
    }
    if (call == Call::BaudRate && result == -1) return 6;
    return 4;
}

QString UsbLink::errorText(Call call, int status)
{
    namespace t = core::texts;
    const char* op = "";
    switch (call) {
    case Call::Open: op = t::kUsbOpenFailed; break;
    case Call::Close: op = t::kUsbClose; break;
    case Call::Rts: op = t::kUsbSetRts; break;
    case Call::Dtr: op = t::kUsbSetDtr; break;
    case Call::BaudRate: op = t::kUsbSetBaudRate; break;
    case Call::DataCharacteristics: op = t::kUsbSetDataCharacteristics; break;
    case Call::FlowControl: op = t::kUsbSetFlowControl; break;
    case Call::Chars: op = t::kUsbSetChars; break;
    case Call::Timeouts: op = t::kUsbSetTimeouts; break;
    case Call::Write: op = t::kUsbWriteFailed; break;
    case Call::Read: op = t::kUsbReadFailed; break;
    }
    static const char* const kStatus[] = {"", t::kUsbStatusInvalidHandle, t::kUsbStatusDeviceNotFound,
                                          t::kUsbStatusDeviceNotOpened, t::kUsbStatusIoError,
                                          t::kUsbStatusInsufficientResources, t::kUsbStatusInvalidParameter};
    QString text = QString::fromUtf8(op);
    if (status >= 1 && status <= 6)
        text += QString::fromUtf8(kStatus[status]);
    else
        text += QString::fromUtf8(t::kUsbStatusOther) + QString::number(status);
    return text;
}

void UsbLink::open()
{
    close();
    auto report = [this](bool ok, QString text) {
        QMetaObject::invokeMethod(this, [this, ok, text] { emit opened(ok, text); }, Qt::QueuedConnection);
    };
    if (!m_ftdi) m_ftdi = ftdi_new();
    if (!m_ftdi) return report(false, errorText(Call::Open, 5));

    int result = -3;
    for (int product : kProducts) {
        result = ftdi_usb_open_desc_index(m_ftdi, kVendor, product, nullptr, nullptr, 0);
        if (result != -3) break; // found (opened, or a failure worth reporting)
    }
    if (result < 0) return report(false, errorText(Call::Open, statusOf(Call::Open, result)));
    m_open = true;

    struct Step {
        Call call;
        int result;
    };
    const Step steps[] = {
        {Call::BaudRate, ftdi_set_baudrate(m_ftdi, 38400)},
        {Call::Rts, ftdi_setrts(m_ftdi, 1)},
        {Call::Dtr, ftdi_setdtr(m_ftdi, 1)},
        {Call::DataCharacteristics, ftdi_set_line_property(m_ftdi, BITS_8, STOP_BIT_1, NONE)},
        {Call::FlowControl, ftdi_setflowctrl(m_ftdi, SIO_DISABLE_FLOW_CTRL)},
        {Call::Chars, ftdi_set_event_char(m_ftdi, 0, 0)},
        {Call::Chars, ftdi_set_error_char(m_ftdi, 0, 0)},
        {Call::Timeouts, ftdi_set_latency_timer(m_ftdi, kLatencyMs)},
    };
    for (const Step& s : steps)
        if (s.result < 0) {
            const QString text = errorText(s.call, statusOf(s.call, s.result));
            close();
            return report(false, text);
        }
    m_ftdi->usb_read_timeout = kTimeoutMs;
    m_ftdi->usb_write_timeout = kTimeoutMs;
    ftdi_tcioflush(m_ftdi);
    m_poll.start();
    report(true, {});
}

void UsbLink::send(const QByteArray& bytes)
{
    if (!m_open) return fail(Call::Write, -666);
    const int n = ftdi_write_data(m_ftdi, reinterpret_cast<const unsigned char*>(bytes.constData()),
                                  static_cast<int>(bytes.size()));
    if (n != bytes.size()) fail(Call::Write, n < 0 ? n : -1);
}

void UsbLink::close()
{
    m_poll.stop();
    if (m_open && m_ftdi) ftdi_usb_close(m_ftdi);
    m_open = false;
}

void UsbLink::poll()
{
    if (!m_open) return;
    unsigned char buffer[64];
    const int n = ftdi_read_data(m_ftdi, buffer, sizeof buffer);
    if (n < 0) return fail(Call::Read, n);
    if (n > 0) emit bytesReceived(QByteArray(reinterpret_cast<const char*>(buffer), n));
}

void UsbLink::fail(Call call, int result)
{
    m_poll.stop();
    const QString text = errorText(call, statusOf(call, result));
    QMetaObject::invokeMethod(this, [this, text] { emit failed(text); }, Qt::QueuedConnection);
}

} // namespace kvr::io
