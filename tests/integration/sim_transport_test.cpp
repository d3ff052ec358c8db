#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "sim/simulator.h"
#include "sim_support.h"

using namespace kvr::sim;
using simtest::Bytes;
using simtest::SendResult;

namespace {

struct InProcess {
    explicit InProcess(SimOptions options)
    {
        simtest::ensureApplication();
        if (!options.pty) options.tcp = true;
        options.stateFolder = folder.path();
        simulator = std::make_unique<Simulator>(options);
        started = simulator->start();
        if (started) simulator->host().setLogSink([this](const QString& line) { log << line; });
    }

    QTemporaryDir folder;
    std::unique_ptr<Simulator> simulator;
    kvr::core::Status started;
    QStringList log;
};

int countLines(const QStringList& log, const QString& part)
{
    int count = 0;
    for (const QString& line : log)
        count += line.contains(part) ? 1 : 0;
    return count;
}

} // namespace

TEST(SimulatorTcp, StoreAndVersionReadOverALoopbackSocket)
{
    InProcess sim({});
    ASSERT_TRUE(sim.started.ok()) << sim.started.message();
    simtest::TcpWire wire(sim.simulator->tcpPort());
    ASSERT_TRUE(wire.connected());

    const Bytes image = simtest::makeImage(100, 1);
    EXPECT_EQ(simtest::runSend(wire, 3, 5, image).kind, SendResult::Kind::Completed);
    EXPECT_EQ(simtest::runSend(wire, 2, 0, {}).kind, SendResult::Kind::Completed);
    auto version = simtest::runReceive(wire);
    ASSERT_TRUE(version.ok) << version.why;
    EXPECT_EQ(version.data, Bytes{47});

    const Counters& counters = sim.simulator->processor().counters();
    // The program's last echo gets no answer: wait until the processor has seen it.
    EXPECT_TRUE(simtest::pumpUntil([&] { return sim.simulator->processor().idle(); }));
    EXPECT_EQ(counters.stores[4], 1u);
    EXPECT_EQ(counters.send[3].completed, 1u);
    EXPECT_EQ(counters.receive[2].completed, 1u);
    EXPECT_EQ(sim.simulator->processor().state().memories[4], image);

    // One line per exchange, with transport, command, memory, length and outcome.
    ASSERT_EQ(sim.log.size(), 3);
    EXPECT_TRUE(sim.log[0].contains(QStringLiteral(" tcp send command=3 (store) memory=5 length=100 completed: M=98 "
                                                   "routes A,M,B,A unblocked system 'Hall system '")))
        << sim.log[0].toStdString();
    EXPECT_TRUE(sim.log[1].contains(QStringLiteral(" tcp send command=2 (version) memory=0 length=0 completed")));
    EXPECT_TRUE(sim.log[2].contains(QStringLiteral(" tcp receive command=2 (version) memory=0 length=1 completed")));
}

TEST(SimulatorTcp, ANewConnectionReplacesTheOldAndResetsTheExchange)
{
    InProcess sim({});
    ASSERT_TRUE(sim.started.ok());
    simtest::TcpWire first(sim.simulator->tcpPort());
    EXPECT_EQ(first.exchange({0x6F}, 1), Bytes{0x6F});
    EXPECT_EQ(first.exchange({0x03}, 1), Bytes{0x03});

    simtest::TcpWire second(sim.simulator->tcpPort());
    EXPECT_TRUE(simtest::pumpUntil([&] { return !first.connected(); }));
    EXPECT_EQ(simtest::runSend(second, 0, 0, {}).kind, SendResult::Kind::Completed);
    EXPECT_EQ(sim.simulator->processor().counters().send[3].failed, 1u);
    EXPECT_EQ(countLines(sim.log, QStringLiteral("interrupted: a new connection replaced the old one")), 1);
}

TEST(SimulatorTcp, DropAfterClosesTheConnectionOnceItsAnswersAreOut)
{
    SimOptions options;
    options.faults.dropAfterBytes = 3;
    InProcess sim(options);
    ASSERT_TRUE(sim.started.ok());
    simtest::TcpWire wire(sim.simulator->tcpPort());
    EXPECT_EQ(wire.exchange({0x6F, 0x00, 0x00}, 3), (Bytes{0x6F, 0x00, 0x00}));
    EXPECT_TRUE(simtest::pumpUntil([&] { return !wire.connected(); }));
    EXPECT_EQ(countLines(sim.log, QStringLiteral("fault drop-after 3: closing the connection")), 1);

    simtest::TcpWire again(sim.simulator->tcpPort());
    EXPECT_EQ(again.exchange({0x6F}, 1), Bytes{0x6F});
}

TEST(SimulatorTcp, DelayHoldsEveryAnswer)
{
    SimOptions options;
    options.delayMs = 120;
    InProcess sim(options);
    ASSERT_TRUE(sim.started.ok());
    simtest::TcpWire wire(sim.simulator->tcpPort());
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(wire.exchange({0x6F}, 1), Bytes{0x6F});
    EXPECT_EQ(wire.exchange({0x00}, 1), Bytes{0x00});
    EXPECT_GE(clock.elapsed(), 2 * 120); // two answers, each held 120 ms; a timer never fires early
}

TEST(SimulatorTcp, SilenceMidExchangeReturnsToIdleOnTheSameConnection)
{
    SimOptions options;
    options.silenceTimeoutMs = 80;
    InProcess sim(options);
    ASSERT_TRUE(sim.started.ok());
    simtest::TcpWire wire(sim.simulator->tcpPort());
    EXPECT_EQ(wire.exchange({0x6F, 0x03}, 2), (Bytes{0x6F, 0x03}));
    EXPECT_TRUE(simtest::pumpUntil([&] { return countLines(sim.log, QStringLiteral("timed out")) == 1; }));
    EXPECT_TRUE(sim.simulator->processor().idle());
    EXPECT_EQ(simtest::runSend(wire, 0, 0, {}).kind, SendResult::Kind::Completed);
}

TEST(SimulatorPty, DetectAndVersionReadThroughThePseudoTerminal)
{
    SimOptions options;
    options.pty = true;
    InProcess sim(options);
    ASSERT_TRUE(sim.started.ok()) << sim.started.message();
    ASSERT_TRUE(sim.simulator->ptyPath().startsWith(QLatin1String("/dev/pts/")));
    simtest::PtyWire wire(sim.simulator->ptyPath());
    ASSERT_GE(wire.fd, 0);
    termios settings{};
    ASSERT_EQ(tcgetattr(wire.fd, &settings), 0);
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(settings.c_iflag & (ICRNL | IXON | ISTRIP), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(simtest::runSend(wire, 0, 0, {}).kind, SendResult::Kind::Completed);
    EXPECT_EQ(simtest::runSend(wire, 2, 0, {}).kind, SendResult::Kind::Completed);
    auto version = simtest::runReceive(wire);
    ASSERT_TRUE(version.ok) << version.why;
    EXPECT_EQ(version.data, Bytes{47});
    // Bytes that a cooked terminal would eat or translate pass unchanged.
    const Bytes image = {0x00, 0x0D, 0x0A, 0x03, 0x04, 0x11, 0x13, 0x7F, 0xFF, 0x1A, 0x15, 0x12, 0x17, 0x16, 0x0F};
    EXPECT_EQ(simtest::runSend(wire, 3, 18, image).kind, SendResult::Kind::Completed);
    EXPECT_EQ(sim.simulator->processor().state().memories[17], image);
    EXPECT_EQ(countLines(sim.log, QStringLiteral(" pty send command=3 (store) memory=18 length=15 completed")), 1);
    const Bytes readBack = {0x6F, 0x04, 0x12, 0x12};
    EXPECT_EQ(wire.exchange(readBack, 4), (Bytes{0x6F, 0x04, 0x12, 0x0D}));
}

TEST(SimulatorPty, DropAfterHangsUpOnceItsAnswersAreOut)
{
    SimOptions options;
    options.pty = true;
    options.faults.dropAfterBytes = 3;
    InProcess sim(options);
    ASSERT_TRUE(sim.started.ok()) << sim.started.message();
    simtest::PtyWire wire(sim.simulator->ptyPath());
    ASSERT_GE(wire.fd, 0);
    EXPECT_EQ(wire.exchange({0x6F, 0x00, 0x00}, 3), (Bytes{0x6F, 0x00, 0x00}));
    // After the hang-up a read ends with end-of-file or an I/O error instead of "try again".
    EXPECT_TRUE(simtest::pumpUntil([&] {
        uint8_t byte;
        const ssize_t count = ::read(wire.fd, &byte, 1);
        return count == 0 || (count < 0 && errno == EIO);
    }));
    EXPECT_EQ(countLines(sim.log, QStringLiteral("pty fault drop-after 3: closing the connection")), 1);
}
