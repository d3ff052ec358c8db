#include <benchmark/benchmark.h>

#include <cmath>

#include "config/editing.h"
#include "config/outputeqediting.h"
#include "tools/outputview.h"

using namespace kvr::core;

namespace {

// The heaviest view a setup can ask for: six active bands in every input and output bank,
// Linkwitz-Riley order 8 on both sides of every crossover, delays, inverted outputs, a measured
// response on every output and every influence on.
Configuration heaviestSetup()
{
    Configuration c;
    const SectionType types[] = {SectionType::Parametric, SectionType::ShelvLow12, SectionType::Parametric,
                                 SectionType::StopBand,   SectionType::Parametric, SectionType::ShelvHigh6};
    for (InputChannelSettings& in : c.inputs) {
        in.peqBandCount = 6;
        for (int k = 0; k < 6; ++k) {
            TSOS& s = in.peq[static_cast<size_t>(k)];
            s.Tipo = static_cast<uint8_t>(types[k]);
            s.Gain = k % 2 == 0 ? 4.5 : -3.0;
            s.Frec = 60.0 * (1 << k);
            s.Q = 1.2;
            s.Design();
        }
    }
    const RouteSource routes[] = {RouteSource::A, RouteSource::AB, RouteSource::B, RouteSource::A};
    for (int n = 1; n <= kOutputCount; ++n) {
        c.output(n).route = routes[n - 1];
        for (int k = 1; k <= 6; ++k) {
            selectOutputBand(c, n, k);
            setOutputBandType(c, n, k, k % 3 == 0 ? 8 : 1);
            setOutputBandFrequency(c, n, k, 45.0 * k * n);
            setOutputBandGain(c, n, k, k % 2 == 0 ? 3.0 : -4.5);
        }
        setCrossoverFamily(c, n, CrossoverSide::Low, 2);
        setCrossoverOrder(c, n, CrossoverSide::Low, 8);
        setCrossoverFrequency(c, n, CrossoverSide::Low, 80.0 * n);
        setCrossoverFamily(c, n, CrossoverSide::High, 2);
        setCrossoverOrder(c, n, CrossoverSide::High, 8);
        setCrossoverFrequency(c, n, CrossoverSide::High, 1500.0 * n);
        setOutputDelayPosition(c, n, 25 * n);
        c.setPolarity(n, n % 2 == 0);
        MeasuredResponse& m = c.measurement.responses[static_cast<size_t>(n - 1)];
        m.present = true;
        for (size_t i = 0; i < kGridPoints; ++i) {
            m.level[i] = static_cast<float>(3.0 * std::sin(0.05 * static_cast<double>(i)));
            m.phaseRad[i] = static_cast<float>(-0.01 * static_cast<double>(i));
        }
    }
    c.view = ViewFlags{true, true, true, true, true, true};
    return c;
}

} // namespace

// A refresh of the output view: the individual view of all four outputs and the Add sum.
static void BM_OutputViewRefreshEveryInfluence(benchmark::State& state)
{
    const Configuration c = heaviestSetup();
    (void)frequencyGrid();
    OutputViewState view;
    for (auto _ : state) {
        view.refresh(c, 1);
        benchmark::DoNotOptimize(view.addSum().levelDb.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OutputViewRefreshEveryInfluence)->Unit(benchmark::kMicrosecond);

// The same with the window's starting influences (PEQX and GAIN).
static void BM_OutputViewRefreshDefaultInfluences(benchmark::State& state)
{
    Configuration c = heaviestSetup();
    c.view = ViewFlags{};
    (void)frequencyGrid();
    OutputViewState view;
    for (auto _ : state) {
        view.refresh(c, 1);
        benchmark::DoNotOptimize(view.addSum().levelDb.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OutputViewRefreshDefaultInfluences)->Unit(benchmark::kMicrosecond);

// A drag of one band: the current output again and the Add sum, with every influence on.
static void BM_OutputViewOneOutputAndAdd(benchmark::State& state)
{
    const Configuration c = heaviestSetup();
    OutputViewState view;
    view.refresh(c, 1);
    for (auto _ : state) {
        view.computeOutput(c, 1);
        view.computeAdd(c);
        benchmark::DoNotOptimize(view.addSum().levelDb.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OutputViewOneOutputAndAdd)->Unit(benchmark::kMicrosecond);

// The delay view: the group delay of the current output and of the Add sum.
static void BM_OutputViewGroupDelays(benchmark::State& state)
{
    const Configuration c = heaviestSetup();
    OutputViewState view;
    view.refresh(c, 1);
    std::array<double, kGridPoints> one{};
    std::array<double, kGridPoints> sum{};
    for (auto _ : state) {
        groupDelayMs(view.total(1), one);
        groupDelayMs(view.addSum(), sum);
        benchmark::DoNotOptimize(one.data());
        benchmark::DoNotOptimize(sum.data());
    }
}
BENCHMARK(BM_OutputViewGroupDelays)->Unit(benchmark::kMicrosecond);

// The Add sum alone over four outputs.
static void BM_OutputViewAddSum(benchmark::State& state)
{
    const Configuration c = heaviestSetup();
    OutputViewState view;
    view.refresh(c, 1);
    for (auto _ : state) {
        view.computeAdd(c);
        benchmark::DoNotOptimize(view.addSum().levelDb.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OutputViewAddSum)->Unit(benchmark::kMicrosecond);
