// The TCP link's reconnection between exchanges, against the in-process virtual processor (whose
// module takes a new connection as the end of the old one) and against a peer that never closes.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
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
