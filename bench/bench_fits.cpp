// Fits a user waits for: least squares on the 14-point pumping sample, on a long Theis record (65,535
// points), on 1,000 points of an unconfined test and of a slug test, each stopping at convergence
// (FitControls{}) and running every iteration (FitControls::fullRun()) side by side; and the cost of
// one value of the unconfined well function.
//
// The long records are simulated with the forward model itself at known parameters, with a small
// deterministic ripple standing in for measurement noise; each fit starts from parameters a fixed
// factor away, as a user's rough guess would be.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "LogSpread.h"
#include "core/estimation/LeastSquares.h"
#include "core/input/MeasurementTable.h"
#include "core/solutions/Unconfined.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

// n times equally spaced in the logarithm from t0 to t1.
std::vector<double> logTimes(int n, double t0, double t1) {
    std::vector<double> t(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) t[i] = t0 * std::pow(t1 / t0, i / (n - 1.0));
    return t;
}

// The model's values at `times` for the 1-based `truth`, rippled by 0.5 % as noise; then the state's
// fitted fields set to `start`.
AnalysisState simulated(AnalysisState s, const std::vector<double>& times, const std::vector<double>& truth,
                        const std::vector<double>& start) {
    std::vector<double> values(times.size());
    s.times = times;
    s.usedCount = static_cast<int>(times.size());
    computeDrawdowns(s, s.modelKind, truth, values);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] *= 1.0 + 0.005 * std::sin(12.9898 * i);
    replaceMeasurements(s, times, values);
    writeParameterVector(s, std::span<const double>(start));
    return s;
}

AnalysisState pumpingSample() {
    return makeDefaultState();
}

AnalysisState theisLong() {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    return simulated(s, logTimes(65535, 0.5, 1.0e4), {0.0, 2.0e-5, 11.0}, {0.0, 1.0e-5, 8.8});
}

AnalysisState unconfinedThousand() {
    AnalysisState s = makeDefaultState();
    s.modelKind = 6;
    s.radialDistance = 20.0f;
    return simulated(s, logTimes(1000, 0.1, 1.0e4), {0.0, 1.0e-3, 10.0, 0.1, 0.1},
                     {0.0, 1.5e-3, 8.0, 0.07, 0.13});
}

// The slug sample's geometry and least-squares optimum, read every 0.063 time units.
AnalysisState slugThousand() {
    AnalysisState s = makeDefaultState();
    s.modelKind = 5;
    std::vector<double> times(1000);
    for (std::size_t i = 0; i < times.size(); ++i) times[i] = 0.063 * static_cast<double>(i + 1);
    return simulated(s, times, {0.0, 1.7676e-3, 4.7345}, {0.0, 1.0e-3, 3.0});
}

using Maker = AnalysisState (*)();
constexpr std::array<Maker, 4> kSets{pumpingSample, theisLong, unconfinedThousand, slugThousand};

// range(0): the data set of kSets; range(1): 1 stops at convergence, 0 runs every iteration.
void BM_LeastSquaresFit(benchmark::State& bench) {
    const AnalysisState s = kSets[static_cast<std::size_t>(bench.range(0))]();
    const FitControls controls = bench.range(1) != 0 ? FitControls{} : FitControls::fullRun();
    NullProgress progress;
    for (auto _ : bench) {
        bench.PauseTiming();
        AnalysisState run = s;
        bench.ResumeTiming();
        benchmark::DoNotOptimize(leastSquaresEstimation(run, progress, {}, controls));
        bench.counters["iterations"] = run.iterationsDone;
        bench.counters["rms"] = run.rmsError;
    }
}
BENCHMARK(BM_LeastSquaresFit)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 0}})
    ->ArgNames({"set", "stop"})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// range(0): 1000 beta; 64 dimensionless times from 1e-2 to 1e5 per iteration, sigma 0.01.
void BM_UnconfinedWFullyPenetrating(benchmark::State& bench) {
    const AnalysisState s = makeDefaultState();
    const double beta = static_cast<double>(bench.range(0)) / 1000.0;
    const UnconfinedGeometry g = unconfinedGeometry(s);
    const auto times = bench::logSpread<64>(1.0e-2, 1.0e5);
    for (auto _ : bench) {
        for (double td : times) benchmark::DoNotOptimize(unconfinedW(td, beta, 0.01, g, s));
    }
    bench.SetItemsProcessed(bench.iterations() * static_cast<std::int64_t>(times.size()));
}
BENCHMARK(BM_UnconfinedWFullyPenetrating)->Arg(1)->Arg(100)->Arg(1000)->ArgName("beta_x1000");

}  // namespace
}  // namespace tolvex
