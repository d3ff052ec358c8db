#include "fakewire.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <cstdio>

namespace kvr::test {

FakePtyProcessor::FakePtyProcessor(FakeProcessor& proc) : m_proc(proc)
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&m_master, &m_slaveKeep, name, &raw, nullptr) != 0) return;
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_path = QString::fromLocal8Bit(name);
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { onReadable(); });
}

FakePtyProcessor::~FakePtyProcessor()
{
    m_notifier.reset();
    if (m_master >= 0) ::close(m_master);
    if (m_slaveKeep >= 0) ::close(m_slaveKeep);
}

void FakePtyProcessor::onReadable()
{
    uint8_t buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) break;
        for (const auto& r : m_proc.receive(std::span<const uint8_t>(buffer, size_t(n))))
            if (::write(m_master, r.data(), r.size()) < 0) return;
        if (m_proc.disconnectRequested) {
            // A pseudo-terminal cannot be unplugged while the test holds it: the line goes quiet.
            m_proc.disconnectRequested = false;
        }
    }
}

} // namespace kvr::test
