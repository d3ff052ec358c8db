#include <benchmark/benchmark.h>

#include "config/configfile.h"
#include "config/editing.h"

using namespace kvr::core;

namespace {

// A setup with every block in use, so the load redesigns real filters.
Bytes busyRecord()
{
    Configuration c;
    for (InputChannelSettings& in : c.inputs) {
        in.peqBandCount = 6;
        for (int k = 0; k < 6; ++k) {
            TSOS& s = in.peq[static_cast<size_t>(k)];
            s.Tipo = 1;
            s.Frec = 100.0 * (k + 1);
            s.Gain = k - 3.0;
            s.Q = 1.5;
        }
    }
    for (int n = 1; n <= 4; ++n) {
        for (int k = 0; k < 6; ++k) {
            TSOS& s = c.output(n).peqx[static_cast<size_t>(k)];
            s.Tipo = static_cast<uint8_t>(1 + k % 5);
            s.Frec = 200.0 * (k + 1);
            s.Gain = 2.0;
        }
        setCrossoverFamily(c, n, CrossoverSide::Low, 2);
        setCrossoverOrder(c, n, CrossoverSide::Low, 8);
        setCrossoverFamily(c, n, CrossoverSide::High, 3);
        setCrossoverOrder(c, n, CrossoverSide::High, 7);
        c.output(n).dynamics.CriKnee = 1;
        c.output(n).dynamics.Ratio = 4;
        selectDynamicsOutput(c, n);
    }
    return encodeConfigurationFile(c, "/bench/busy.kv4");
}

void BM_OpenConfigurationFile(benchmark::State& state)
{
    const Bytes record = busyRecord();
    for (auto _ : state) {
        auto loaded = decodeConfigurationFile(record, "/bench/busy.kv4");
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_OpenConfigurationFile)->Unit(benchmark::kMicrosecond);

void BM_SaveConfigurationRecord(benchmark::State& state)
{
    auto loaded = decodeConfigurationFile(busyRecord(), "p");
    for (auto _ : state) {
        Bytes b = encodeConfigurationFile(loaded->config, "/bench/busy.kv4");
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_SaveConfigurationRecord)->Unit(benchmark::kMicrosecond);

} // namespace
