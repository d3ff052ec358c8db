#pragma once

// Wires for driving a simulator from a test: a TCP client socket and a pseudo-terminal, both
// waiting by pumping the event loop so an in-process simulator keeps running meanwhile.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <termios.h>
#include <unistd.h>

#include "sim_programside.h"

namespace simtest {

inline void ensureApplication()
{
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "io_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

inline bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 3000)
{
    ensureApplication();
    QElapsedTimer clock;
    clock.start();
    QTimer tick; // wakes the loop so the clock is looked at
    tick.start(2);
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline void pumpFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    pumpUntil([&] { return clock.elapsed() >= ms; }, ms + 1000);
}

class TcpWire : public Wire {
public:
    explicit TcpWire(quint16 port, int replyTimeoutMs = 2000) : m_timeoutMs(replyTimeoutMs)
    {
        ensureApplication();
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        pumpUntil([this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }

    bool connected() const { return socket.state() == QAbstractSocket::ConnectedState; }

    Bytes exchange(const Bytes& out, size_t expect) override
    {
        send(out);
        return take(expect);
    }

    void send(const Bytes& out) override
    {
        socket.write(reinterpret_cast<const char*>(out.data()), qint64(out.size()));
        socket.flush();
    }

    Bytes take(size_t expect)
    {
        pumpUntil([&] { return size_t(socket.bytesAvailable()) >= expect; }, m_timeoutMs);
        const QByteArray got = socket.read(qint64(expect));
        return Bytes(got.begin(), got.end());
    }

    QTcpSocket socket;

private:
    int m_timeoutMs;
};

class PtyWire : public Wire {
public:
    // Leaves the terminal's settings as the simulator made them.
    explicit PtyWire(const QString& path)
    {
        fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~PtyWire() override
    {
        if (fd >= 0) ::close(fd);
    }

    Bytes exchange(const Bytes& out, size_t expect) override
    {
        send(out);
        pumpUntil([&] {
            readAvailable();
            return m_in.size() >= expect;
        });
        const size_t count = std::min(expect, m_in.size());
        Bytes got(m_in.begin(), m_in.begin() + long(count));
        m_in.erase(m_in.begin(), m_in.begin() + long(count));
        return got;
    }

    void send(const Bytes& out) override
    {
        size_t done = 0;
        while (done < out.size()) {
            const ssize_t count = ::write(fd, out.data() + done, out.size() - done);
            if (count > 0)
                done += size_t(count);
            else if (errno != EAGAIN && errno != EINTR)
                return;
        }
    }

    int fd = -1;

private:
    void readAvailable()
    {
        uint8_t buffer[256];
        ssize_t count;
        while ((count = ::read(fd, buffer, sizeof buffer)) > 0)
            m_in.insert(m_in.end(), buffer, buffer + count);
    }

    Bytes m_in;
};

// Starts the simulator program and reads the lines it prints about its transports.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments, int lines = 1)
    {
        ensureApplication();
        process.start(QStringLiteral(KVR_SIM_PATH), arguments);
        process.waitForStarted(5000);
        QElapsedTimer clock;
        clock.start();
        while (endpoints.size() < lines && clock.elapsed() < 5000) {
            if (!process.canReadLine() && !process.waitForReadyRead(200)) {
                if (process.state() != QProcess::Running) break;
                continue;
            }
            while (process.canReadLine())
                endpoints << QString::fromLocal8Bit(process.readLine()).trimmed();
        }
    }
    ~SimProcess() { stop(); }

    quint16 tcpPort() const
    {
        for (const QString& line : endpoints)
            if (line.startsWith(QLatin1String("tcp "))) return quint16(line.section(QLatin1Char(':'), -1).toUInt());
        return 0;
    }

    // SIGTERM, as a user's Ctrl-C; returns what it logged.
    QString stop()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(5000)) process.kill();
            process.waitForFinished(2000);
        }
        m_log += QString::fromLocal8Bit(process.readAllStandardError());
        return m_log;
    }

    QProcess process;
    QStringList endpoints;

private:
    QString m_log;
};

} // namespace simtest
