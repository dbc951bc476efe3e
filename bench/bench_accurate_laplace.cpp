// Cost of the Laplace-domain well functions, standard (Stehfest, 12 terms, the state's tables) and
// accurate (de Hoog for the unconfined model, the fixed Talbot contour for double porosity) side by
// side: each iteration evaluates one value at each of 16 log-spaced times over the type-curve range,
// items/s counts values. Compare the pairs with the same arguments:
//   tolvex_bench --benchmark_filter='Laplace'
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <complex>

#include "LogSpread.h"
#include "core/solutions/DoublePorosity.h"
#include "core/solutions/Unconfined.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/solutions/accurate/ComplexBessel.h"
#include "core/state/AnalysisState.h"

namespace {

constexpr int kTimes = 16;

tolvex::AnalysisState defaultTables() {
    tolvex::AnalysisState state = tolvex::makeDefaultState();
    buildNumericalTables(state);
    return state;
}

template <class F>
void run(benchmark::State& state, double low, double high, F&& f) {
    const std::array<double, kTimes> at = tolvex::bench::logSpread<kTimes>(low, high);
    for (auto _ : state) {
        for (double t : at) benchmark::DoNotOptimize(f(t));
    }
    state.SetItemsProcessed(state.iterations() * kTimes);
}

// beta in thousandths; the piezometer of a partially penetrating well (the slowest series) and the
// full-thickness average of a fully penetrating one (Neuman's type curves).
const tolvex::UnconfinedGeometry kPiezometer{0.6, 0.2, 0.5, 0.0, 1.0, tolvex::kPiezometer};
const tolvex::UnconfinedGeometry kFullAverage{};

void BM_LaplaceUnconfinedStandard(benchmark::State& state) {
    const tolvex::AnalysisState tables = defaultTables();
    const double beta = static_cast<double>(state.range(0)) / 1000.0;
    const tolvex::UnconfinedGeometry& g = state.range(1) == 0 ? kFullAverage : kPiezometer;
    run(state, 0.1, 1e7, [&](double td) { return tolvex::unconfinedW(td, beta, 0.01, g, tables); });
}

void BM_LaplaceUnconfinedAccurate(benchmark::State& state) {
    const double beta = static_cast<double>(state.range(0)) / 1000.0;
    const tolvex::UnconfinedGeometry& g = state.range(1) == 0 ? kFullAverage : kPiezometer;
    run(state, 0.1, 1e7, [&](double td) { return tolvex::accurate::unconfinedW(td, beta, 0.01, g); });
}

void unconfinedArguments(benchmark::internal::Benchmark* b) {
    for (int form : {0, 1}) {
        for (int beta : {7000, 1000, 30, 1}) b->Args({beta, form});
    }
}
BENCHMARK(BM_LaplaceUnconfinedStandard)->Apply(unconfinedArguments)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LaplaceUnconfinedAccurate)->Apply(unconfinedArguments)->Unit(benchmark::kMicrosecond);

// Variant and the family value (lambda, or gamma^2 for slabs) as a power of ten: -5, -2, 0, 2.
double familyParameter(const benchmark::State& state) {
    const double family = std::pow(10.0, static_cast<double>(state.range(1)));
    return state.range(0) == tolvex::kSlab ? std::sqrt(family) : family;
}

void BM_LaplaceDoublePorosityStandard(benchmark::State& state) {
    const tolvex::AnalysisState tables = defaultTables();
    const int variant = static_cast<int>(state.range(0));
    const double param = familyParameter(state);
    run(state, 0.1, 1e6,
        [&](double td) { return tolvex::doublePorosityW(td, param, 100.0, variant, tables); });
}

void BM_LaplaceDoublePorosityAccurate(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    const double param = familyParameter(state);
    run(state, 0.1, 1e6,
        [&](double td) { return tolvex::accurate::doublePorosityW(td, param, 100.0, variant); });
}

void doublePorosityArguments(benchmark::internal::Benchmark* b) {
    for (int variant : {tolvex::kWarrenRoot, tolvex::kSlab}) {
        for (int power : {-5, -2, 0, 2}) b->Args({variant, power});
    }
}
BENCHMARK(BM_LaplaceDoublePorosityStandard)->Apply(doublePorosityArguments);
BENCHMARK(BM_LaplaceDoublePorosityAccurate)->Apply(doublePorosityArguments);

// The complex K0 at one modulus (the argument of the benchmark) and 16 arguments over 0..pi/2: the
// series (1), the Taylor centres (3, 10, 20) and the asymptotic expansion (40).
void BM_LaplaceComplexK0(benchmark::State& state) {
    std::array<tolvex::accurate::Complex, kTimes> at;
    for (int k = 0; k < kTimes; ++k) {
        at[static_cast<std::size_t>(k)] =
            std::polar(static_cast<double>(state.range(0)), 1.5707963267948966 * k / (kTimes - 1));
    }
    for (auto _ : state) {
        for (const tolvex::accurate::Complex& z : at)
            benchmark::DoNotOptimize(tolvex::accurate::complexK0(z));
    }
    state.SetItemsProcessed(state.iterations() * kTimes);
}
BENCHMARK(BM_LaplaceComplexK0)->Arg(1)->Arg(3)->Arg(10)->Arg(20)->Arg(40);

}  // namespace
