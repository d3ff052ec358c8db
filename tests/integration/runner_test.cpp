#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstdio>

#include "comm/operations.h"
#include "fakewire.h"
#include "io/operationrunner.h"
#include "io/seriallink.h"
#include "io/tcplink.h"
#include "runhelper.h"

using namespace kvr;
using namespace kvr::core;
using kvr::test::FakeProcessor;

namespace {

Bytes image(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 31 + 7);
    b[0] = static_cast<uint8_t>((n - 2) >> 8);
    b[1] = static_cast<uint8_t>((n - 2) & 0xFF);
    return b;
}

enum class Wire { Tcp, Pty };

// A fake processor on a real transport, with the link that reaches it.
struct Bench {
    FakeProcessor proc;
    std::unique_ptr<test::FakeTcpProcessor> tcp;
    std::unique_ptr<test::FakePtyProcessor> pty;
    std::unique_ptr<io::Link> link;

    explicit Bench(Wire wire)
    {
        if (wire == Wire::Tcp) {
            tcp = std::make_unique<test::FakeTcpProcessor>(proc);
            link = std::make_unique<io::TcpLink>("127.0.0.1", tcp->port(), "EM100-TEST");
        } else {
            pty = std::make_unique<test::FakePtyProcessor>(proc);
            link = std::make_unique<io::SerialLink>(pty->devicePath());
        }
    }
};

} // namespace

TEST(RunnerOverTcp, StoreThenReadGivesTheSameBytes)
{
    Bench bench(Wire::Tcp);
    const Bytes img = image(1702);
    const auto stored = test::runOperation(*bench.link, makeStore(bench.link->info(), 5, img));
    ASSERT_TRUE(stored.finished);
    ASSERT_TRUE(stored.outcome.completed()) << stored.outcome.reason;
    EXPECT_EQ(bench.proc.activeMemory, 5);
    const auto read = test::runOperation(*bench.link, makeMemoryRead(bench.link->info(), 5));
    ASSERT_TRUE(read.outcome.completed()) << read.outcome.reason;
    EXPECT_EQ(read.outcome.data, img);
}

TEST(RunnerOverPty, StoreThenReadGivesTheSameBytes)
{
    Bench bench(Wire::Pty);
    ASSERT_FALSE(bench.pty->devicePath().isEmpty());
    const Bytes img = image(1702);
    const auto stored = test::runOperation(*bench.link, makeStore(bench.link->info(), 2, img));
    ASSERT_TRUE(stored.outcome.completed()) << stored.outcome.reason << " / " << stored.lastStatus();
    const auto read = test::runOperation(*bench.link, makeMemoryRead(bench.link->info(), 2));
    ASSERT_TRUE(read.outcome.completed()) << read.outcome.reason;
    EXPECT_EQ(read.outcome.data, img);
}

TEST(RunnerOverTcp, RefusesASecondOperationWhileOneRuns)
{
    Bench bench(Wire::Tcp);
    io::OperationRunner runner;
    runner.setLink(bench.link.get());
    QStringList refusals;
    QObject::connect(&runner, &io::OperationRunner::refused, [&](const QString& r) { refusals << r; });
    bool done = false;
    QObject::connect(&runner, &io::OperationRunner::finished, [&](const Outcome&) { done = true; });
    ASSERT_TRUE(runner.start(makeReset(bench.link->info())));
    EXPECT_FALSE(runner.start(makeReset(bench.link->info())));
    ASSERT_EQ(refusals.size(), 1);
    EXPECT_EQ(refusals[0].toStdString(), "Another operation with the KVR 610  is running.");
    for (int i = 0; i < 2000 && !done; ++i) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    EXPECT_TRUE(done);
    EXPECT_EQ(bench.proc.resets, 1);
    EXPECT_TRUE(runner.start(makeReset(bench.link->info()))); // free again
    for (int i = 0; i < 2000 && runner.isRunning(); ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

TEST(RunnerOverTcp, RefusedConnectionShowsTheOpeningBoxAndGoesOffline)
{
    // A port nobody listens on: take one from a server and close it.
    quint16 port = 0;
    {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost, 0);
        port = s.serverPort();
    }
    io::TcpLink link("127.0.0.1", port);
    const auto run = test::runOperation(link, makeReset(link.info()));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.outcome.kind, OutcomeKind::Failed);
    ASSERT_FALSE(run.messages.empty());
    EXPECT_EQ(run.messages[0].text,
              "ETHERNET error: Opening IP: 127.0.0.1. Verify if the IP is Correct and the Processor is Switched ON");
    EXPECT_EQ(run.effects.front(), ConnectionEffect::GoOffline);
    EXPECT_LT(run.elapsedMs, 5500);
}

// ---- The fault matrix ----------------------------------------------------------------------------
// A memory read has every step of both exchanges but the send exchange's data block; a keyboard
// lock has that one. Each processor reply is, in turn, withheld, replaced or cut off.

namespace {

struct Step {
    const char* name;
    bool read; // in the memory read (else the keyboard lock)
    int reply;
};

const Step kSteps[] = {
    {"send START", true, 0},     {"send COMMAND", true, 1},   {"send NUMBER", true, 2},
    {"send status", true, 3},    {"send LONG", true, 4},      {"send block", false, 4},
    {"send END", true, 5},       {"recv BEGIN", true, 6},     {"recv header 1", true, 7},
    {"recv header 2", true, 8},  {"recv LONG high", true, 9}, {"recv LONG low", true, 10},
    {"recv data", true, 11},     {"recv END", true, 14}, // 130 bytes: blocks 11, 12, 13
};

const char* faultName(FakeProcessor::Fault f)
{
    switch (f) {
    case FakeProcessor::Fault::Silence: return "silence";
    case FakeProcessor::Fault::Wrong: return "wrong byte";
    case FakeProcessor::Fault::Disconnect: return "disconnect";
    default: return "none";
    }
}

using MatrixParam = std::tuple<Wire, FakeProcessor::Fault, int>;

std::string matrixName(const ::testing::TestParamInfo<MatrixParam>& param)
{
    const auto& [wire, fault, index] = param.param;
    std::string name =
        std::string(wire == Wire::Tcp ? "Tcp" : "Pty") + "_" + faultName(fault) + "_" + kSteps[index].name;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class FaultMatrix : public ::testing::TestWithParam<MatrixParam> {};

} // namespace

TEST_P(FaultMatrix, EndsWithinOneReplyTimeout)
{
    const auto [wire, fault, index] = GetParam();
    const Step& step = kSteps[index];
    Bench bench(wire);
    bench.proc.memories[3] = image(130);
    bench.proc.fault = fault;
    bench.proc.faultAt = step.reply;
    bench.proc.wrongByte = 0x42;
    const LinkInfo info = bench.link->info();
    auto op = step.read ? makeMemoryRead(info, 3) : makeKeyboard(info, true);
    const auto run = test::runOperation(*bench.link, std::move(op), [](const Question&) {
        Answer a;
        a.button = Button::Ok;
        return a;
    });
    ASSERT_TRUE(run.finished) << "hung";
    const int timeout = bench.link->replyTimeoutMs();
    EXPECT_LE(run.elapsedMs, timeout * 11 / 10) << "beyond one reply timeout + 10%";
    const char* outcome = run.outcome.completed() ? "completed" : run.outcome.failed() ? "failed" : "refused";
    std::printf("MATRIX | %-3s | %-10s | %-14s | %-9s | %5lld ms | %s\n", wire == Wire::Tcp ? "tcp" : "pty",
                faultName(fault), step.name, outcome, static_cast<long long>(run.elapsedMs),
                run.outcome.failed() ? (run.outcome.reason + " / " + run.lastStatus()).c_str()
                                     : run.lastStatus().c_str());
    if (fault != FakeProcessor::Fault::Wrong) {
        EXPECT_EQ(run.outcome.kind, OutcomeKind::Failed);
        if (fault == FakeProcessor::Fault::Silence) {
            EXPECT_GE(run.elapsedMs, timeout * 9 / 10);
        }
    } else {
        const std::string name = step.name;
        // The checked answers fail the exchange; a length above the buffer (0x42..) too; the
        // rest are taken as they come.
        if (name == "send START" || name == "send LONG" || name == "send END" || name == "recv LONG high") {
            EXPECT_EQ(run.outcome.kind, OutcomeKind::Failed);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tcp, FaultMatrix,
                         ::testing::Combine(::testing::Values(Wire::Tcp),
                                            ::testing::Values(FakeProcessor::Fault::Silence,
                                                              FakeProcessor::Fault::Wrong,
                                                              FakeProcessor::Fault::Disconnect),
                                            ::testing::Range(0, int(std::size(kSteps)))),
                         matrixName);
// A pseudo-terminal held by the test cannot be unplugged: its disconnect is the silence case.
INSTANTIATE_TEST_SUITE_P(Pty, FaultMatrix,
                         ::testing::Combine(::testing::Values(Wire::Pty),
                                            ::testing::Values(FakeProcessor::Fault::Silence,
                                                              FakeProcessor::Fault::Wrong),
                                            ::testing::Range(0, int(std::size(kSteps)))),
                         matrixName);
