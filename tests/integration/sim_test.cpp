#include <gtest/gtest.h>

#include <cstdio>

#include "comm/operations.h"
#include "io/seriallink.h"
#include "io/tcplink.h"
#include "runhelper.h"
#include "simprocess.h"

using namespace kvr;
using namespace kvr::core;

namespace {

Bytes image(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 17 + 5);
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

void storeThenRead(io::Link& link)
{
    const Bytes img = image(1702);
    const auto stored = test::runOperation(link, makeStore(link.info(), 7, img), yes);
    ASSERT_TRUE(stored.finished);
    ASSERT_TRUE(stored.outcome.completed()) << stored.outcome.reason << " / " << stored.lastStatus();
    const auto read = test::runOperation(link, makeMemoryRead(link.info(), 7));
    ASSERT_TRUE(read.outcome.completed()) << read.outcome.reason << " / " << read.lastStatus();
    EXPECT_EQ(read.outcome.data, img);
}

} // namespace

TEST(SimulatorTcp, StoreThenReadIsByteIdentical)
{
    test::SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready());
    io::TcpLink link(sim.host(), sim.port(), "SIM");
    storeThenRead(link);
}

TEST(SimulatorPty, StoreThenReadIsByteIdentical)
{
    test::SimProcess sim({"--pty"});
    ASSERT_TRUE(sim.ready());
    io::SerialLink link(sim.pty());
    storeThenRead(link);
}

// ---- Fault matrix against the simulator ---------------------------------------------------------
// A memory read of a stored image (every step of both exchanges but the send exchange's data) and
// a keyboard lock (that one). Wrong bytes per named step; silence and disconnect after the n-th
// byte the simulator receives.

namespace {

struct SimFault {
    std::string name;
    QStringList args;  // fault options
    bool keyboard;     // run the keyboard lock instead of the read
};

std::vector<SimFault> simFaults(bool tcp)
{
    std::vector<SimFault> out;
    for (const char* step : {"start", "command", "number", "status", "long", "send-end", "begin", "header1",
                             "header2", "long-high", "long-low", "receive-data", "receive-end"})
        out.push_back({std::string("wrong_") + step, {"--wrong-byte", QString::fromLatin1(step)}, false});
    out.push_back({"wrong_send-data", {"--wrong-byte", "send-data"}, true});
    // Bytes the simulator receives in a read: START CMD N N LONG(2) END | 0x6F, then the echoes.
    // Over the pseudo-terminal the fake wire's matrix covers silence; a pty cannot be unplugged.
    for (int n = 0; tcp && n <= 12; n += 2) {
        out.push_back({"silence_after_" + std::to_string(n), {"--stop-after", QString::number(n)}, false});
        out.push_back({"drop_after_" + std::to_string(n), {"--drop-after", QString::number(n)}, false});
    }
    return out;
}

class SimulatorFaults : public ::testing::TestWithParam<std::tuple<bool, SimFault>> {};

std::string simFaultName(const ::testing::TestParamInfo<std::tuple<bool, SimFault>>& p)
{
    std::string name = std::string(std::get<0>(p.param) ? "Tcp_" : "Pty_") + std::get<1>(p.param).name;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

} // namespace

TEST_P(SimulatorFaults, EndsWithinOneReplyTimeout)
{
    const auto& [tcp, fault] = GetParam();
    // Prepare memory 4 with a fault-free simulator on the same state folder.
    const QString state = QString::fromStdString(::testing::TempDir()) + "/kvrsim-" +
                          QString::fromStdString(simFaultName({GetParam(), 0}));
    {
        test::SimProcess clean({"--tcp", "127.0.0.1:0", "--state", state});
        ASSERT_TRUE(clean.ready());
        io::TcpLink link(clean.host(), clean.port());
        ASSERT_TRUE(test::runOperation(link, makeLibrarySend(link.info(), {image(130)})).outcome.completed());
    }
    QStringList args = fault.args;
    args << "--state" << state << (tcp ? QStringList{"--tcp", "127.0.0.1:0"} : QStringList{"--pty"});
    test::SimProcess sim(args);
    ASSERT_TRUE(sim.ready());
    std::unique_ptr<io::Link> link;
    if (tcp)
        link = std::make_unique<io::TcpLink>(sim.host(), sim.port(), "SIM");
    else
        link = std::make_unique<io::SerialLink>(sim.pty());
    // Memory 1 holds the image (the library send stored it there).
    auto op = fault.keyboard ? makeKeyboard(link->info(), true) : makeMemoryRead(link->info(), 1);
    const auto run = test::runOperation(*link, std::move(op), [](const Question&) {
        Answer a;
        a.button = Button::Ok;
        return a;
    });
    ASSERT_TRUE(run.finished) << "hung";
    const int timeout = link->replyTimeoutMs();
    EXPECT_LE(run.elapsedMs, timeout * 11 / 10);
    const char* outcome = run.outcome.completed() ? "completed" : run.outcome.failed() ? "failed" : "refused";
    std::printf("SIMMATRIX | %s | %-18s | %-9s | %5lld ms | %s\n", tcp ? "tcp" : "pty", fault.name.c_str(), outcome,
                static_cast<long long>(run.elapsedMs),
                run.outcome.failed() ? (run.outcome.reason + " / " + run.lastStatus()).c_str()
                                     : run.lastStatus().c_str());
    if (fault.name.rfind("silence", 0) == 0 || fault.name.rfind("drop", 0) == 0) {
        EXPECT_EQ(run.outcome.kind, OutcomeKind::Failed);
    }
    for (const char* checked : {"wrong_start", "wrong_long", "wrong_send-end", "wrong_long-high"}) {
        if (fault.name == checked) {
            EXPECT_EQ(run.outcome.kind, OutcomeKind::Failed);
        }
    }
    if (!run.outcome.failed() && !fault.keyboard && fault.name != "wrong_long-low" &&
        fault.name != "wrong_receive-data") {
        EXPECT_EQ(run.outcome.data, image(130));
    }
}

INSTANTIATE_TEST_SUITE_P(Tcp, SimulatorFaults,
                         ::testing::Combine(::testing::Values(true), ::testing::ValuesIn(simFaults(true))),
                         simFaultName);
INSTANTIATE_TEST_SUITE_P(Pty, SimulatorFaults,
                         ::testing::Combine(::testing::Values(false), ::testing::ValuesIn(simFaults(false))),
                         simFaultName);
