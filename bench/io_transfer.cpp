// Store and read of a full device image through the runner over loopback TCP and a
// pseudo-terminal. Until the virtual processor is available this runs against the unit tests'
// fake processor, which answers at once: the figures are the program's own cost per exchange
// and per acknowledged byte. The floor of a paced processor is printed beside them.

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include "../tests/integration/fakewire.cpp"
#include "../tests/integration/runhelper.h"
#include "../tests/integration/simprocess.h"
#include "comm/operations.h"
#include "io/seriallink.h"
#include "io/tcplink.h"

using namespace kvr;

namespace {

constexpr size_t kImageBytes = 1702;

core::Bytes image()
{
    core::Bytes b(kImageBytes);
    for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 29 + 3);
    b[0] = static_cast<uint8_t>((kImageBytes - 2) >> 8);
    b[1] = static_cast<uint8_t>((kImageBytes - 2) & 0xFF);
    return b;
}

// Bytes on the wire, both directions, for a send exchange with `data` bytes and a status byte.
double sendExchangeBytes(size_t data, bool status)
{
    const size_t blocks = (data + 63) / 64;
    const double program = 4 + 2 + double(data) + 1;         // START CMD N N, LONG, data, END
    const double processor = 3 + (status ? 1 : 0) + 1 + double(blocks) + 1; // echoes, status, LONG, acks, END
    return program + processor;
}

double receiveExchangeBytes(size_t data)
{
    const size_t blocks = (data + 63) / 64;
    const double processor = 1 + 2 + 2 + double(data) + 1; // BEGIN, headers, LONG, data, END
    const double program = 1 + 1 + 2 + 2 + double(blocks) + 1; // request, echoes, acks, END echo
    return processor + program;
}

template <typename MakeLink>
void storeAndRead(benchmark::State& state, MakeLink makeLink)
{
    test::FakeProcessor proc;
    auto [server, link] = makeLink(proc);
    const core::Bytes img = image();
    double wireBytes = 0;
    double busyMs = 0; // time outside the protocol's fixed waits
    int rounds = 0;
    for (auto _ : state) {
        auto readBack = [&] { return test::runOperation(*link, core::makeMemoryRead(link->info(), 1)); };
        state.PauseTiming();
        proc.memories.erase(1);
        state.ResumeTiming();
        auto store = test::runOperation(*link, core::makeStore(link->info(), 1, img));
        auto read = readBack();
        busyMs += double(store.elapsedMs + read.elapsedMs) - core::protocol::kStorePauseMs - core::protocol::kPresetLoadMs;
        ++rounds;
        if (!store.outcome.completed() || read.outcome.data != img) state.SkipWithError("transfer failed");
    }
    // Version read + store + change, then the read.
    wireBytes = sendExchangeBytes(0, false) + receiveExchangeBytes(1) + sendExchangeBytes(kImageBytes, true) +
                sendExchangeBytes(0, true) + sendExchangeBytes(0, true) + receiveExchangeBytes(kImageBytes);
    state.counters["wire_bytes"] = wireBytes;
    state.counters["floor_38400_ms"] = wireBytes * 10.0 / 38400.0 * 1000.0 + 250 + 400;
    state.counters["us_per_wire_byte"] = rounds ? busyMs / rounds * 1000.0 / wireBytes : 0.0;
}

} // namespace

static void BM_StoreReadTcp(benchmark::State& state)
{
    storeAndRead(state, [](test::FakeProcessor& proc) {
        auto server = std::make_unique<test::FakeTcpProcessor>(proc);
        std::unique_ptr<io::Link> link = std::make_unique<io::TcpLink>("127.0.0.1", server->port());
        return std::make_pair(std::move(server), std::move(link));
    });
}
BENCHMARK(BM_StoreReadTcp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_StoreReadPty(benchmark::State& state)
{
    storeAndRead(state, [](test::FakeProcessor& proc) {
        auto server = std::make_unique<test::FakePtyProcessor>(proc);
        std::unique_ptr<io::Link> link = std::make_unique<io::SerialLink>(server->devicePath());
        return std::make_pair(std::move(server), std::move(link));
    });
}
BENCHMARK(BM_StoreReadPty)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Against kvr610-sim pacing its bytes as a 38400-baud wire: the time should come close to the
// floor (bytes on the wire at 10 bits a byte, plus the store's 250 ms pause and 400 ms preset load).
static void simPaced(benchmark::State& state, bool tcp)
{
    test::SimProcess sim(tcp ? QStringList{"--baud", "38400", "--tcp", "127.0.0.1:0"}
                             : QStringList{"--baud", "38400", "--pty"});
    if (!sim.ready()) return state.SkipWithError("kvr610-sim did not start");
    std::unique_ptr<io::Link> link;
    if (tcp)
        link = std::make_unique<io::TcpLink>(sim.host(), sim.port());
    else
        link = std::make_unique<io::SerialLink>(sim.pty());
    const core::Bytes img = image();
    for (auto _ : state) {
        auto answer = [](const core::Question&) {
            core::Answer a;
            a.button = core::Button::Yes;
            return a;
        };
        auto store = test::runOperation(*link, core::makeStore(link->info(), 1, img), answer);
        auto read = test::runOperation(*link, core::makeMemoryRead(link->info(), 1));
        if (!store.outcome.completed() || read.outcome.data != img) state.SkipWithError("transfer failed");
    }
    // The memory is full after the first round: the store then answers 0x0E (one more byte).
    const double wireBytes = sendExchangeBytes(0, false) + receiveExchangeBytes(1) +
                             sendExchangeBytes(kImageBytes, true) + 1 + sendExchangeBytes(0, true) +
                             sendExchangeBytes(0, true) + receiveExchangeBytes(kImageBytes);
    const double floorMs = wireBytes * 10.0 / 38400.0 * 1000.0 + 250 + 400;
    state.counters["wire_bytes"] = wireBytes;
    state.counters["floor_ms"] = floorMs;
}

static void BM_StoreReadSimTcp38400(benchmark::State& state) { simPaced(state, true); }
BENCHMARK(BM_StoreReadSimTcp38400)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
static void BM_StoreReadSimPty38400(benchmark::State& state) { simPaced(state, false); }
BENCHMARK(BM_StoreReadSimPty38400)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
