// The TCP link's reconnection between exchanges, against the in-process virtual processor (whose
// module takes a new connection as the end of the old one) and against a peer that never closes.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "comm/operations.h"
#include "io/tcplink.h"
#include "runhelper.h"
#include "sim/simulator.h"
#include "sim_support.h"

using namespace kvr;
using namespace kvr::core;

namespace {

Bytes image(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(i * 13 + 3);
    b[0] = static_cast<uint8_t>((n - 2) >> 8);
    b[1] = static_cast<uint8_t>((n - 2) & 0xFF);
    return b;
}

Answer yes(const Question&)
{
    Answer a;
    a.button = Button::Yes;
    return a;
}

struct Paced {
    const char* name;
    int baud; // 0: unpaced
};

class TcpLinkAgainstSimulator : public ::testing::TestWithParam<Paced> {};

} // namespace

// Every operation that reconnects right after a receive exchange (the store after its version
// read, the version read after a store, a read after a read) leaves no exchange cut off on the
// processor's side: the program's END echo reaches the processor before the next connection.
TEST_P(TcpLinkAgainstSimulator, EveryExchangeEndsOnBothSides)
{
    simtest::ensureApplication();
    QTemporaryDir folder;
    sim::SimOptions options;
    options.tcp = true;
    options.tcpHost = QStringLiteral("127.0.0.1");
    options.tcpPort = 0;
    options.baud = GetParam().baud;
    options.stateFolder = folder.path();
    sim::Simulator simulator(options);
    ASSERT_TRUE(simulator.start().ok());
    QStringList log;
    simulator.host().setLogSink([&](const QString& line) { log << line; });
    io::TcpLink link(QStringLiteral("127.0.0.1"), simulator.tcpPort(), QStringLiteral("SIM"));

    const Bytes img = image(300);
    for (int memory : {4, 5}) {
        const auto stored = test::runOperation(link, makeStore(link.info(), memory, img), yes);
        ASSERT_TRUE(stored.outcome.completed()) << stored.outcome.reason << " / " << stored.lastStatus();
    }
    ASSERT_TRUE(test::runOperation(link, makeQuietVersionRead(link.info())).outcome.completed());
    for (int memory : {4, 5}) {
        const auto read = test::runOperation(link, makeMemoryRead(link.info(), memory));
        ASSERT_TRUE(read.outcome.completed()) << read.outcome.reason;
        EXPECT_EQ(read.outcome.data, img);
    }
    link.close();
    // The END echo of the last read has no answer: wait until the processor has seen it.
    EXPECT_TRUE(simtest::pumpUntil([&] { return simulator.processor().idle(); }));

    const sim::Counters& counters = simulator.processor().counters();
    const QString all = log.join(QLatin1Char('\n'));
    EXPECT_EQ(counters.interrupted, 0u) << all.toStdString();
    // Two stores (version read, store, change each), one version read, two memory reads.
    EXPECT_EQ(counters.send[2].completed, 3u) << all.toStdString();
    EXPECT_EQ(counters.receive[2].completed, 3u) << all.toStdString();
    EXPECT_EQ(counters.send[3].completed, 2u);
    EXPECT_EQ(counters.send[7].completed, 2u);
    EXPECT_EQ(counters.send[4].completed, 2u);
    EXPECT_EQ(counters.receive[4].completed, 2u) << all.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pacing, TcpLinkAgainstSimulator,
                         ::testing::Values(Paced{"Unpaced", 0}, Paced{"Baud38400", 38400}),
                         [](const ::testing::TestParamInfo<Paced>& p) { return std::string(p.param.name); });

namespace {

// A loopback listener whose connections the test accepts, resets and reads by hand.
class RawListener {
public:
    RawListener()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        m_ok = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
               ::listen(m_fd, 8) == 0 && ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
               ::fcntl(m_fd, F_SETFL, O_NONBLOCK) == 0;
        m_port = ntohs(address.sin_port);
    }
    ~RawListener()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool ok() const { return m_ok; }
    quint16 port() const { return m_port; }
    // The next connection waiting in the backlog (made non-blocking), or -1.
    int accept()
    {
        const int fd = ::accept(m_fd, nullptr, nullptr);
        if (fd >= 0) ::fcntl(fd, F_SETFL, O_NONBLOCK);
        return fd;
    }

private:
    int m_fd = -1;
    quint16 m_port = 0;
    bool m_ok = false;
};

// Closes with a reset (RST) instead of a FIN: the other side learns of it at its next write.
void resetConnection(int fd)
{
    const linger abortive{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(fd);
}

} // namespace

// The connection being left is already dead (the peer reset it, and the program has not heard
// yet): writing out its last byte fails and drops it, and the new connection that follows keeps
// both directions, so the next exchange goes through.
TEST(TcpLinkReconnect, ADeadConnectionLeftBehindDoesNotHurtTheNextOne)
{
    simtest::ensureApplication();
    RawListener listener;
    ASSERT_TRUE(listener.ok());
    io::TcpLink link(QStringLiteral("127.0.0.1"), listener.port());
    int opened = 0;
    int failures = 0;
    QObject::connect(&link, &io::Link::opened, [&](bool ok, const QString&) { ok ? ++opened : ++failures; });
    QObject::connect(&link, &io::Link::failed, [&](const QString&) { ++failures; });
    link.open();
    int first = -1;
    ASSERT_TRUE(simtest::pumpUntil([&] { return opened == 1 && (first = listener.accept()) >= 0; }));
    resetConnection(first);
    // No events in between: the link still takes the connection for a live one.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    link.send(QByteArray(1, char(0x55)));
    link.open();

    int second = -1;
    ASSERT_TRUE(simtest::pumpUntil([&] {
        if (second < 0) second = listener.accept();
        return second >= 0 && (opened == 2 || failures > 0);
    }));
    ASSERT_EQ(opened, 2);
    ASSERT_EQ(failures, 0);
    link.send(QByteArray(1, char(0x33)));
    char byte = 0;
    ssize_t got = -1;
    simtest::pumpUntil([&] {
        got = ::recv(second, &byte, 1, 0);
        return got >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
    });
    EXPECT_EQ(got, 1) << "the new connection ended before its first byte";
    EXPECT_EQ(byte, char(0x33));
    EXPECT_EQ(failures, 0);
    link.close();
    ::close(second);
}

// A peer whose TCP stack takes connections but whose program never reads nor closes them: the
// link leaves the old connection after its limit and still opens the new one.
TEST(TcpLinkReconnect, PeerThatNeverClosesCostsTheLeaveLimitOnly)
{
    simtest::ensureApplication();
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 8), 0); // connections wait in the backlog, never accepted
    socklen_t length = sizeof address;
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);

    io::TcpLink link(QStringLiteral("127.0.0.1"), ntohs(address.sin_port));
    int opened = 0;
    QString error;
    QObject::connect(&link, &io::Link::opened, [&](bool ok, const QString& text) {
        opened += ok ? 1 : 0;
        error = text;
    });
    link.open();
    ASSERT_TRUE(simtest::pumpUntil([&] { return opened == 1; })) << error.toStdString();
    link.send(QByteArray(1, char(0x55)));

    QElapsedTimer clock;
    clock.start();
    link.open();
    ASSERT_TRUE(simtest::pumpUntil([&] { return opened == 2; }, io::TcpLink::kConnectLimitMs)) << error.toStdString();
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, io::TcpLink::kLeaveLimitMs * 9 / 10); // a coarse timer fires up to 5 % early
    EXPECT_LT(elapsed, io::TcpLink::kLeaveLimitMs + 1000);
    link.close();
    ::close(listener);
}
