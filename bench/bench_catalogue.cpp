// Cost of the catalogue's series and Laplace-inverted well functions. Each iteration evaluates one value
// at each of 16 log-spaced times; items/s counts values. The counter "inner" is the number of inner
// evaluations per value (leakyW terms, slug integrand points of four Bessel functions each, K0
// evaluations with one eigenvalue each), and "per_inner" the time of one of them, so that the cost of
// an elementary evaluation can be read off and compared between the functions.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "LogSpread.h"
#include "core/solutions/DoublePorosity.h"
#include "core/solutions/PartialPenetration.h"
#include "core/solutions/SlugTest.h"
#include "core/solutions/Unconfined.h"
#include "core/state/AnalysisState.h"

namespace {

constexpr int kTimes = 16;

std::array<double, kTimes> times(double low, double high) {
    return tolvex::bench::logSpread<kTimes>(low, high);
}

tolvex::AnalysisState defaultTables() {
    tolvex::AnalysisState state = tolvex::makeDefaultState();
    buildNumericalTables(state);
    return state;
}

// Runs f at every time per iteration; innerPerValue is the inner-evaluation count of one value.
template <class F>
void run(benchmark::State& state, const std::array<double, kTimes>& at, double innerPerValue, F&& f) {
    for (auto _ : state) {
        for (double t : at) benchmark::DoNotOptimize(f(t));
    }
    state.SetItemsProcessed(state.iterations() * kTimes);
    state.counters["inner"] = innerPerValue;
    state.counters["per_inner"] = benchmark::Counter(
        innerPerValue * kTimes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// x = a r/b in thousandths: 2000 (4 terms), 50 (128 terms), 1 (6367 terms), and 0.01 which the cap
// limits to 10000 terms.
void BM_PartialW(benchmark::State& state) {
    const double x = static_cast<double>(state.range(0)) / 1000.0;
    const int terms = tolvex::partialTermCount(x);
    run(state, times(1e-6, 1.0), terms + 1.0,
        [x](double u) { return tolvex::partialW(u, x, 0.75, 0.5, -1.0, 0.3); });
}
BENCHMARK(BM_PartialW)->Arg(2000)->Arg(50)->Arg(1);

void BM_PartialWCapped(benchmark::State& state) {
    run(state, times(1e-6, 1.0), tolvex::kPartialMaxTerms + 1.0,
        [](double u) { return tolvex::partialW(u, 1e-5, 0.75, 0.5, 0.75, 0.5); });
}
BENCHMARK(BM_PartialWCapped);

// Always 200 correction terms and the fully penetrating value: 201 leakyW.
void BM_PartialLeakyW(benchmark::State& state) {
    run(state, times(1e-6, 1.0), 201.0,
        [](double u) { return tolvex::partialLeakyW(u, 0.1, 0.2, 0.75, 0.25, -1.0, 0.5); });
}
BENCHMARK(BM_PartialLeakyW);

// alpha = 10^-range: the integration stops after a number of intervals that depends on beta.
void BM_SlugF(benchmark::State& state) {
    const tolvex::AnalysisState tables = defaultTables();
    const double alpha = std::pow(10.0, -static_cast<double>(state.range(0)));
    const auto beta = times(2e-3, 100.0);
    double points = 0.0;
    for (double b : beta) points += tolvex::slugEvaluate(b, alpha, tables).intervals * tables.gaussCount;
    run(state, beta, points / kTimes, [&](double b) { return tolvex::slugF(b, alpha, tables); });
}
BENCHMARK(BM_SlugF)->Arg(10)->Arg(5)->Arg(1);

// beta = range/1000: 7 (4 eigenvalues), 1 (7), 0.01 (30), 0.001 (60); 12 Stehfest terms each.
void BM_UnconfinedW(benchmark::State& state) {
    const tolvex::AnalysisState tables = defaultTables();
    const double beta = static_cast<double>(state.range(0)) / 1000.0;
    const tolvex::UnconfinedGeometry piezometer{0.6, 0.2, 0.5, 0.0, 1.0, 2};
    const double inner = static_cast<double>(tolvex::unconfinedTermCount(beta)) * tables.stehfestCount;
    run(state, times(0.1, 1e7), inner,
        [&](double td) { return tolvex::unconfinedW(td, beta, 0.01, piezometer, tables); });
}
BENCHMARK(BM_UnconfinedW)->Arg(7000)->Arg(1000)->Arg(10)->Arg(1);

// One K0 per Stehfest term.
void BM_DoublePorosityW(benchmark::State& state) {
    const tolvex::AnalysisState tables = defaultTables();
    const int variant = static_cast<int>(state.range(0));
    run(state, times(0.1, 1e6), tables.stehfestCount,
        [&](double td) { return tolvex::doublePorosityW(td, 0.1, 100.0, variant, tables); });
}
BENCHMARK(BM_DoublePorosityW)->Arg(tolvex::kWarrenRoot)->Arg(tolvex::kSlab);

}  // namespace
