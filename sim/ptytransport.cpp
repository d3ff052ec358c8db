#include "sim/ptytransport.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <QTimer>

namespace kvr::sim {

PtyTransport::PtyTransport(QObject* parent) : Link(parent) {}

PtyTransport::~PtyTransport()
{
    closeAll();
}

core::Status PtyTransport::open()
{
    auto fail = [this](const char* what) {
        const std::string text = std::string("cannot open a pseudo-terminal (") + what + "): " + std::strerror(errno);
        closeAll();
        return core::Status(core::Error{text});
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) return fail("posix_openpt");
    if (grantpt(m_master) != 0) return fail("grantpt");
    if (unlockpt(m_master) != 0) return fail("unlockpt");
    char name[128];
    if (ptsname_r(m_master, name, sizeof name) != 0) return fail("ptsname");
    m_path = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) return fail("open");

    termios settings{};
    if (tcgetattr(m_slave, &settings) != 0) return fail("tcgetattr");
    cfmakeraw(&settings);
    cfsetispeed(&settings, B38400);
    cfsetospeed(&settings, B38400);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (tcsetattr(m_slave, TCSANOW, &settings) != 0) return fail("tcsetattr");

    const int flags = fcntl(m_master, F_GETFL);
    if (flags < 0 || fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl");

    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyTransport::readAvailable);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyTransport::writePending);
    return {};
}

void PtyTransport::readAvailable()
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, qsizetype(count));
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK) m_readNotifier->setEnabled(false);
        break;
    }
    if (!bytes.isEmpty()) emit received(bytes);
}

void PtyTransport::send(const QByteArray& bytes)
{
    if (m_master < 0) return;
    m_pending.append(bytes);
    writePending();
}

void PtyTransport::writePending()
{
    while (!m_pending.isEmpty()) {
        const ssize_t count = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
        if (count > 0) {
            m_pending.remove(0, qsizetype(count));
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        break;
    }
    m_writeNotifier->setEnabled(!m_pending.isEmpty());
}

void PtyTransport::drop()
{
    if (m_master < 0 || m_dropping) return;
    // A hang-up discards what the client has not read yet, so give it a moment to take the
    // last answers; meanwhile nothing more is read.
    m_dropping = true;
    m_readNotifier->setEnabled(false);
    QTimer::singleShot(kHangUpDelayMs, this, [this] {
        closeAll();
        emit closed();
    });
}

void PtyTransport::closeAll()
{
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
    m_slave = -1;
    m_master = -1;
    m_pending.clear();
}

} // namespace kvr::sim
