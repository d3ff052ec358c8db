#include "io/seriallink.h"

#include "util/texts.h"

namespace kvr::io {

SerialLink::SerialLink(QString device, QObject* parent) : Link(parent), m_device(std::move(device)), m_port(this)
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port.readAll();
        if (!bytes.isEmpty()) emit bytesReceived(bytes);
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError || error == QSerialPort::WriteError || error == QSerialPort::ReadError)
            emit failed(QString::fromUtf8(core::texts::kSerialNoAnswer));
    });
}

void SerialLink::open()
{
    close();
    m_port.setPortName(m_device);
    bool ok = m_port.open(QIODevice::ReadWrite);
    ok = ok && m_port.setBaudRate(QSerialPort::Baud38400) && m_port.setDataBits(QSerialPort::Data8) &&
         m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
         m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (ok) {
        m_port.setDataTerminalReady(false); // best effort: a pseudo-terminal has no DTR
        m_port.clear();
    } else if (m_port.isOpen()) {
        m_port.close();
    }
    QMetaObject::invokeMethod(
        this, [this, ok] { emit opened(ok, ok ? QString() : QString::fromUtf8(core::texts::kSerialPortInUse)); },
        Qt::QueuedConnection);
}

void SerialLink::send(const QByteArray& bytes)
{
    if (!m_port.isOpen() || m_port.write(bytes) != bytes.size())
        QMetaObject::invokeMethod(
            this, [this] { emit failed(QString::fromUtf8(core::texts::kSerialNoAnswer)); }, Qt::QueuedConnection);
}

void SerialLink::close()
{
    if (!m_port.isOpen()) return;
    m_port.flush(); // the last answer of an exchange must still go out
    m_port.close();
}

} // namespace kvr::io
