#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "config/configfile.h"
#include "config/editing.h"
#include "config/library.h"
#include "image/deviceimage.h"

using namespace kvr::core;

namespace {

// A full setup: six sections in every equaliser, eighth-order crossovers, active dynamics.
Configuration fullConfiguration(int variant)
{
    Configuration c;
    c.setSystemName("Bench " + std::to_string(variant));
    for (InputChannelSettings& in : c.inputs) {
        in.peqBandCount = 6;
        for (int k = 0; k < 6; ++k) {
            TSOS& s = in.peq[static_cast<size_t>(k)];
            s.Tipo = static_cast<uint8_t>(1 + k % 5);
            s.Gain = 3.0 - k;
            s.Frec = 100.0 * (k + 1) + variant;
            s.Q = 1.5;
        }
    }
    for (int n = 1; n <= kOutputCount; ++n) {
        OutputChannelSettings& out = c.output(n);
        out.peqxCount = 6;
        for (int k = 0; k < 6; ++k) {
            TSOS& s = out.peqx[static_cast<size_t>(k)];
            s.Tipo = 1;
            s.Gain = -2.0;
            s.Frec = 500.0 * (k + 1);
            s.Q = 2.0;
        }
        setCrossoverFamily(c, n, CrossoverSide::Low, 2);
        setCrossoverOrder(c, n, CrossoverSide::Low, 8);
        setCrossoverFamily(c, n, CrossoverSide::High, 3);
        setCrossoverOrder(c, n, CrossoverSide::High, 8);
        setCrossoverFrequency(c, n, CrossoverSide::High, 8000);
        out.dynamics.CriKnee = 1;
        out.dynamics.Ratio = 4;
        selectDynamicsOutput(c, n);
    }
    return c;
}

void BM_BuildDeviceImage(benchmark::State& state)
{
    const Configuration c = fullConfiguration(0);
    for (auto _ : state) {
        auto image = BuildDeviceImage(c, false);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_BuildDeviceImage)->Unit(benchmark::kMicrosecond);

void BM_DecodeDeviceImage(benchmark::State& state)
{
    const Bytes image = *BuildDeviceImage(fullConfiguration(0), false);
    for (auto _ : state) {
        auto config = DecodeDeviceImage(image, 1);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(BM_DecodeDeviceImage)->Unit(benchmark::kMicrosecond);

// 38 configuration files read, designed and converted into one library.
void BM_BuildLibrary38(benchmark::State& state)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kvr-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::vector<std::string> paths;
    for (int i = 0; i < kMaxLibraryMemories; ++i) {
        paths.push_back((dir / ("m" + std::to_string(i) + ".kv4")).string());
        if (!saveConfigurationFile(paths.back(), fullConfiguration(i)).ok()) state.SkipWithError("cannot write files");
    }
    for (auto _ : state) {
        LibraryBuild build = buildLibrary(paths, false);
        if (build.failure) state.SkipWithError(build.failure->text.c_str());
        benchmark::DoNotOptimize(build);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_BuildLibrary38)->Unit(benchmark::kMillisecond);

} // namespace
