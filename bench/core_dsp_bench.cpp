#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "dsp/tdynamic.h"
#include "dsp/tsos.h"
#include "dsp/txover.h"

using namespace kvr::core;

namespace {

std::array<TSOS, 6> makeBank(double baseHz)
{
    std::array<TSOS, 6> bank{};
    const SectionType types[] = {SectionType::Parametric, SectionType::ShelvLow12, SectionType::Parametric,
                                 SectionType::StopBand,   SectionType::Parametric, SectionType::ShelvHigh6};
    for (int i = 0; i < 6; ++i) {
        bank[i].Tipo = static_cast<uint8_t>(types[i]);
        bank[i].Gain = (i % 2 == 0 ? 4.5 : -3.0);
        bank[i].Frec = baseHz * (1 << i);
        bank[i].Q = 1.2;
    }
    return bank;
}

} // namespace

// One output's complete chain, as the summed output view needs it: 6 input equaliser sections,
// the crossover (two Linkwitz-Riley order 8 sides, 8 sections) and 6 output equaliser sections,
// designed and evaluated over the 401-point grid.
static void BM_OutputChainDesignAndResponse(benchmark::State& state)
{
    std::array<TSOS, 6> input = makeBank(60.0);
    std::array<TSOS, 6> output = makeBank(90.0);
    TXOVER xover;
    xover.LowSide.Tipo = static_cast<uint8_t>(CrossoverType::LinkwitzRileyHighPass);
    xover.LowSide.Orden = 8;
    xover.LowSide.Frec = 80.0;
    xover.HighSide.Tipo = static_cast<uint8_t>(CrossoverType::LinkwitzRileyLowPass);
    xover.HighSide.Orden = 8;
    xover.HighSide.Frec = 3000.0;
    (void)frequencyGrid(); // built once at start-up in the program
    ChainResponse response;
    std::vector<const TSOS*> chain;
    chain.reserve(20);
    for (auto _ : state) {
        for (TSOS& s : input)
            s.Design();
        for (TSOS& s : output)
            s.Design();
        DesignSide(xover.LowSide);
        DesignSide(xover.HighSide);
        chain.clear();
        for (const TSOS& s : input)
            chain.push_back(&s);
        for (const TSOS* s : crossoverChain(xover))
            chain.push_back(s);
        for (const TSOS& s : output)
            chain.push_back(&s);
        AddChainResponse(chain, response);
        benchmark::DoNotOptimize(response.magnitudeDb.data());
        benchmark::ClobberMemory();
    }
    state.counters["sections"] = static_cast<double>(chain.size());
}
BENCHMARK(BM_OutputChainDesignAndResponse)->Unit(benchmark::kMicrosecond);

// The dynamics design alone (run after every change in the dynamics editor).
static void BM_DynamicsDesign(benchmark::State& state)
{
    TDYNAMIC dyn;
    dyn.NPuntos = kMaxCurvePoints;
    dyn.CriKnee = 1;
    dyn.Ratio = 4.0f;
    for (auto _ : state) {
        DesignDynamics(dyn);
        benchmark::DoNotOptimize(dyn.OverC0);
    }
}
BENCHMARK(BM_DynamicsDesign)->Unit(benchmark::kMicrosecond);
