// Cost of one well-function value, against std::exp in the same run as the yardstick.
// Each benchmark evaluates a fixed spread of 64 arguments per iteration; items/s counts values.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "LogSpread.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/state/AnalysisState.h"

namespace {

constexpr int kSpread = 64;

std::array<double, kSpread> logSpread(double low, double high) {
    return tolvex::bench::logSpread<kSpread>(low, high);
}

template <class F>
void evaluateSpread(benchmark::State& state, const std::array<double, kSpread>& args, F&& f) {
    for (auto _ : state) {
        for (double x : args) benchmark::DoNotOptimize(f(x));
    }
    state.SetItemsProcessed(state.iterations() * kSpread);
}

void BM_StdExp(benchmark::State& state) {
    evaluateSpread(state, logSpread(1e-3, 50.0), [](double x) { return std::exp(-x); });
}
BENCHMARK(BM_StdExp);

void BM_ConfinedW(benchmark::State& state) {
    evaluateSpread(state, logSpread(1e-6, 50.0), [](double u) { return tolvex::confinedW(u); });
}
BENCHMARK(BM_ConfinedW);

void BM_JacobW(benchmark::State& state) {
    evaluateSpread(state, logSpread(1e-6, 50.0), [](double u) { return tolvex::jacobW(u); });
}
BENCHMARK(BM_JacobW);

// r/B = 0.05: series below u = 0.000625, K0 symmetry below u = 1... and quadrature above.
void BM_LeakyW(benchmark::State& state) {
    const double rOverB = static_cast<double>(state.range(0)) / 100.0;
    evaluateSpread(state, logSpread(1e-6, 10.0), [rOverB](double u) { return tolvex::leakyW(u, rOverB); });
}
BENCHMARK(BM_LeakyW)->Arg(0)->Arg(5)->Arg(100)->Arg(300);

void BM_LeakyTail(benchmark::State& state) {
    evaluateSpread(state, logSpread(1.0, 10.0), [](double u) { return tolvex::leakyTail(u, 0.25); });
}
BENCHMARK(BM_LeakyTail);

void BM_StorageH(benchmark::State& state) {
    const tolvex::AnalysisState s = tolvex::makeDefaultState();
    const double beta = static_cast<double>(state.range(0)) / 100.0;
    evaluateSpread(state, logSpread(1e-6, 5.0), [&](double u) { return tolvex::storageH(u, beta, s); });
}
BENCHMARK(BM_StorageH)->Arg(1)->Arg(100);

}  // namespace
