// Cost of the accurate well functions given by integrals and sums, side by side with the standard
// ones on the same arguments: each benchmark runs with the argument 0 (standard, with the default
// state's Gauss table) and 1 (accurate). An iteration evaluates every point of a grid spanning the
// default type-curve ranges; items/s counts values, so 1e9 / (items/s) is the cost of a value in ns.
#include <benchmark/benchmark.h>

#include <array>
#include <utility>
#include <vector>

#include "LogSpread.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/PartialPenetration.h"
#include "core/solutions/SlugTest.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/state/AnalysisState.h"

namespace {

using Grid = std::vector<std::pair<double, double>>;

tolvex::AnalysisState defaultTables() {
    tolvex::AnalysisState state = tolvex::makeDefaultState();
    buildNumericalTables(state);
    return state;
}

// Every first argument of a log spread from low to high with every one of the second arguments.
template <int N>
Grid grid(double low, double high, const std::vector<double>& second) {
    Grid points;
    for (double a : tolvex::bench::logSpread<N>(low, high)) {
        for (double b : second) points.emplace_back(a, b);
    }
    return points;
}

template <class Standard, class Accurate>
void compare(benchmark::State& state, const Grid& points, Standard&& standard, Accurate&& accurate) {
    const bool high = state.range(0) != 0;
    for (auto _ : state) {
        for (const auto& [a, b] : points) benchmark::DoNotOptimize(high ? accurate(a, b) : standard(a, b));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
    state.SetLabel(high ? "accurate" : "standard");
}

void BM_AccuracyTheisW(benchmark::State& state) {
    compare(
        state, grid<64>(1e-4, 10.0, {0.0}), [](double u, double) { return tolvex::confinedW(u); },
        [](double u, double) { return tolvex::accurate::theisW(u); });
}
BENCHMARK(BM_AccuracyTheisW)->Arg(0)->Arg(1);

void BM_AccuracyLeakyW(benchmark::State& state) {
    compare(
        state, grid<16>(1e-4, 10.0, {0.005, 0.05, 0.5, 2.0, 5.0}),
        [](double u, double rB) { return tolvex::leakyW(u, rB); },
        [](double u, double rB) { return tolvex::accurate::leakyW(u, rB); });
}
BENCHMARK(BM_AccuracyLeakyW)->Arg(0)->Arg(1);

void BM_AccuracyStorageH(benchmark::State& state) {
    const tolvex::AnalysisState tables = defaultTables();
    compare(
        state, grid<16>(1e-4, 10.0, {0.005, 0.05, 0.5, 2.0, 5.0}),
        [&](double u, double beta) { return tolvex::storageH(u, beta, tables); },
        [](double u, double beta) { return tolvex::accurate::storageH(u, beta); });
}
BENCHMARK(BM_AccuracyStorageH)->Arg(0)->Arg(1);

void BM_AccuracySlugF(benchmark::State& state) {
    const tolvex::AnalysisState tables = defaultTables();
    compare(
        state, grid<8>(0.002, 100.0, {1e-10, 1e-7, 1e-4, 1e-2, 0.1}),
        [&](double beta, double alpha) { return tolvex::slugF(beta, alpha, tables); },
        [](double beta, double alpha) { return tolvex::accurate::slugF(beta, alpha); });
}
BENCHMARK(BM_AccuracySlugF)->Arg(0)->Arg(1);

// A piezometer below a screen in the upper half.
void BM_AccuracyPartialW(benchmark::State& state) {
    compare(
        state, grid<8>(1e-4, 10.0, {0.05, 0.2, 1.0, 2.0}),
        [](double u, double x) { return tolvex::partialW(u, x, 0.75, 0.5, -1.0, 0.3); },
        [](double u, double x) { return tolvex::accurate::partialW(u, x, 0.75, 0.5, -1.0, 0.3); });
}
BENCHMARK(BM_AccuracyPartialW)->Arg(0)->Arg(1);

// x = 0.1 with r/B over the leaky range, an observation screen.
void BM_AccuracyPartialLeakyW(benchmark::State& state) {
    compare(
        state, grid<8>(1e-4, 10.0, {0.01, 0.1, 0.5, 2.0}),
        [](double u, double rB) { return tolvex::partialLeakyW(u, 0.1, rB, 0.75, 0.25, 0.9, 0.6); },
        [](double u, double rB) {
            return tolvex::accurate::partialLeakyW(u, 0.1, rB, 0.75, 0.25, 0.9, 0.6);
        });
}
BENCHMARK(BM_AccuracyPartialLeakyW)->Arg(0)->Arg(1);

}  // namespace
