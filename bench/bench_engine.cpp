// Speed of the analysis engine: every model's default type-curve family on one thread and on every
// core, each estimation method on the default measurements, and the allocations of one misfit call.
// The replacement operators below pair malloc with free; where GCC inlines them it still takes the
// free for a mismatch with the builtin operator new, for the whole file.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/estimation/LeastSquares.h"
#include "core/estimation/Simplex.h"
#include "core/estimation/TrialRun.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace {

// Counts the allocations of the whole benchmark program, so that a benchmark can tell how many one
// call made. A replaced global allocator needs a counter outside any object; it is only read here.
std::atomic<long>& allocationCount() {
    static std::atomic<long> count{0};
    return count;
}

}  // namespace

void* operator new(std::size_t size) {
    allocationCount().fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace tolvex {
namespace {

// range(0): model; range(1): OpenMP threads (1 serial, 0 every core).
void BM_TypeCurveFamily(benchmark::State& bench) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(bench.range(0));
    const TypeCurveOptions options{static_cast<int>(bench.range(1))};
    NullProgress progress;
    // A family run overwrites only the family (and the ranges of a table run, with the same values
    // each time), so it repeats on one state: copying the whole state would be timed as serial work.
    for (auto _ : bench) benchmark::DoNotOptimize(computeTypeCurves(s, progress, {}, options));
}
BENCHMARK(BM_TypeCurveFamily)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8}, {1, 0}})
    ->ArgNames({"model", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ForwardMisfit(benchmark::State& bench) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(bench.range(0));
    std::vector<float> p = buildParameterVector(s);
    long allocations = 0;
    for (auto _ : bench) {
        const long before = allocationCount().load();
        benchmark::DoNotOptimize(forwardMisfit(s, p, s.modelKind));
        allocations += allocationCount().load() - before;
    }
    bench.counters["allocsPerCall"] =
        benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(bench.iterations()));
}
BENCHMARK(BM_ForwardMisfit)->DenseRange(0, 8)->ArgName("model");

enum Method { kTrial, kSimplex, kLeastSquares };

void BM_Estimation(benchmark::State& bench) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(bench.range(0));
    const auto method = static_cast<Method>(bench.range(1));
    NullProgress progress;
    for (auto _ : bench) {
        AnalysisState run = s;
        switch (method) {
            case kTrial:
                trialRun(run);
                break;
            case kSimplex:
                run.modelParams = buildParameterVector(run);
                benchmark::DoNotOptimize(simplexEstimation(run, progress, {}));
                break;
            case kLeastSquares:
                benchmark::DoNotOptimize(leastSquaresEstimation(run, progress, {}));
                break;
        }
        benchmark::DoNotOptimize(run.rmsError);
    }
}
BENCHMARK(BM_Estimation)
    ->ArgsProduct({{0, 2, 6, 7}, {kTrial, kSimplex, kLeastSquares}})
    ->ArgNames({"model", "method"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvex
