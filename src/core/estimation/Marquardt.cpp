#include "core/estimation/Marquardt.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "core/estimation/LinearSystem.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

constexpr double kBouwerRiceCeiling = 1e20;
constexpr double kDampingFloor = 1e-20;
constexpr double kDampingCeiling = 1e20;
constexpr double kStepFloor = 1e-20;
constexpr double kDiagonalFloor = 1e-20;
constexpr double kPerturbation = 1.01;
constexpr double kAcceptTolerance = 1e-8;
constexpr double kCriticalAngle = 30.0;
constexpr double kDegreesPerRadian = 57.29578;
// Accepted steps in a row that must leave the stored values unchanged before the run counts as
// converged: after a single one, ill-conditioned fits (the leaky sample) still creep 2 float ulps.
constexpr int kUnchangedIterations = 2;

double clampValue(double q, double ceiling) {
    if (!(q >= kParameterFloor)) q = kParameterFloor;
    if (q > ceiling) q = ceiling;
    return q;
}

// Working storage of one run, allocated once.
struct Work {
    int n = 0;
    int m = 0;                 // used measurements
    std::vector<double> p, b;  // current and trial points, 1-based
    std::vector<double> r;     // residuals
    std::vector<double> D;     // n rows of m drawdown differences
    std::vector<double> e;     // scratch drawdowns
    std::vector<double> g, d;  // gradient and scales, 1-based
    std::vector<double> A, M;  // normal and scaled matrices, by rows
    std::vector<double> delta, w;
    std::vector<char> free;  // 1-based: estimated (lsParamFree = 1)
    const VectorControls& controls;

    Work(int parameters, int measurements, const VectorControls& c)
        : n(parameters),
          m(measurements),
          p(n + 1),
          b(n + 1),
          r(m),
          D(static_cast<std::size_t>(n) * m),
          e(m),
          g(n + 1),
          d(n + 1),
          A(static_cast<std::size_t>(n) * n),
          M(A.size()),
          delta(n),
          w(n),
          free(n + 1, 1),
          controls(c) {}
    double& a(int j, int k) { return A[static_cast<std::size_t>(j - 1) * n + (k - 1)]; }
    double& diff(int j, int i) { return D[static_cast<std::size_t>(j - 1) * m + i]; }
};

double rmsOf(double sumOfSquares, std::size_t m) {
    return m == 0 ? 0.0 : std::sqrt(sumOfSquares / static_cast<double>(m));
}

// The square roots of the joined series' weights for m points, or nothing for the classic series (whose
// residuals are used as they are).
const double* rootWeights(const AnalysisState& s, int m) {
    const std::vector<double>& roots = s.joint.rootWeights;
    return s.joint.joined() && static_cast<int>(roots.size()) >= m ? roots.data() : nullptr;
}

// The misfit at a point: the RMS error, and the residual sum of squares accumulated in float as the
// stored sums are.
struct Misfit {
    double rms;
    float sumOfSquares;
};

// The drawdowns (s.calculated) and residuals (w.r) at the point, and their misfit. Both sums run in
// one loop: the float sum's chain of roundings is the longer, and the double sum hides in its shadow.
Misfit residualsAt(AnalysisState& s, Work& w, std::span<const double> point) {
    lsForwardDrawdowns(s, point, std::span<double>(s.calculated.data(), w.m));
    double sum = 0.0;
    float floatSum = 0.0f;
    const double* roots = rootWeights(s, w.m);
    for (int i = 0; i < w.m; ++i) {
        double r = s.measured[i] - s.calculated[i];
        if (roots != nullptr) r *= roots[i];
        w.r[i] = r;
        sum += r * r;
        floatSum = static_cast<float>(floatSum + r * r);
    }
    return {rmsOf(sum, static_cast<std::size_t>(w.m)), floatSum};
}

// Forward-difference sensitivities D, the gradient g and the scaled normal matrix A with its scales d.
void linearise(AnalysisState& s, Work& w) {
    for (int j = 1; j <= w.n; ++j) {
        if (!w.free[j]) {  // a fixed parameter: no sensitivity, so its step is zero
            std::fill_n(w.D.begin() + static_cast<std::ptrdiff_t>(j - 1) * w.m, w.m, 0.0);
            w.g[j] = 0.0;
            continue;
        }
        const double kept = w.p[j];
        w.p[j] = kPerturbation * kept;
        lsForwardDrawdowns(s, w.p, w.e);
        const double* roots = rootWeights(s, w.m);
        double gj = 0.0;
        for (int i = 0; i < w.m; ++i) {
            w.diff(j, i) =
                roots != nullptr ? (w.e[i] - s.calculated[i]) * roots[i] : w.e[i] - s.calculated[i];
            gj += w.diff(j, i) * w.r[i];
        }
        w.g[j] = 100.0 * gj / w.p[j];
        w.p[j] = kept;
    }
    for (int j = 1; j <= w.n; ++j) {
        for (int k = 1; k <= j; ++k) {
            double sum = 0.0;
            for (int i = 0; i < w.m; ++i) sum += w.diff(j, i) * w.diff(k, i);
            w.a(j, k) = w.a(k, j) = 1e4 * sum / (w.p[j] * w.p[k]);
        }
        if (std::fabs(w.a(j, j)) < kDiagonalFloor) w.a(j, j) = kDiagonalFloor;
        w.d[j] = std::sqrt(w.a(j, j));
    }
}

// Solves the damped scaled system for the step and returns the angle (degrees) between the step and
// the scaled gradient.
double dampedStep(Work& w, double lambda) {
    for (int j = 1; j <= w.n; ++j) {
        for (int k = 1; k <= w.n; ++k) {
            w.M[static_cast<std::size_t>(j - 1) * w.n + (k - 1)] = w.a(j, k) / (w.d[j] * w.d[k]);
        }
        w.delta[j - 1] = w.g[j] / w.d[j];
        w.w[j - 1] = w.delta[j - 1];
        w.M[static_cast<std::size_t>(j - 1) * w.n + (j - 1)] += lambda;
    }
    solveLinearSystem(w.M, w.delta, w.n);
    double dw = 0.0, dd = 0.0, ww = 0.0;
    for (int j = 0; j < w.n; ++j) {
        dw += w.delta[j] * w.w[j];
        dd += w.delta[j] * w.delta[j];
        ww += w.w[j] * w.w[j];
    }
    const double cosine = dw / std::sqrt(dd * ww);
    return std::atan2(std::sqrt(std::max(0.0, 1.0 - cosine * cosine)), cosine) * kDegreesPerRadian;
}

// The trial point at step fraction kappa, clamped into the bounds; admissible when no estimated
// parameter reaches zero or changes sign.
bool trialPoint(Work& w, double kappa) {
    bool admissible = true;
    for (int j = 1; j <= w.n; ++j) {
        w.b[j] = w.controls.clamp(j, kappa * w.delta[j - 1] / w.d[j] + w.p[j]);
        if (w.free[j] && !(w.p[j] * w.b[j] > 0.0)) admissible = false;
    }
    return admissible;
}

// A parameter on a bound whose gradient points outwards is held for this iteration: its row and
// column of the normal equations are decoupled and its gradient is zero, so its step is zero and the
// others take the step of the reduced problem.
void holdAtBounds(Work& w) {
    for (int j = 1; j <= w.n; ++j) {
        if (!w.free[j]) continue;
        const bool atLower = w.p[j] <= w.controls.clamp(j, -std::numeric_limits<double>::infinity());
        const bool atUpper = w.p[j] >= w.controls.clamp(j, std::numeric_limits<double>::infinity());
        if (!((atLower && w.g[j] < 0.0) || (atUpper && w.g[j] > 0.0))) continue;
        w.g[j] = 0.0;
        for (int k = 1; k <= w.n; ++k) {
            if (k != j) w.a(j, k) = w.a(k, j) = 0.0;
        }
    }
}

// The parameters in the precision they are stored in (float) and the RMS error left unchanged by an
// accepted step: the iteration has converged.
bool unchanged(const Work& w, const std::vector<double>& before, float rmsBefore, float rms) {
    if (rms != rmsBefore) return false;
    for (int j = 1; j <= w.n; ++j) {
        if (static_cast<float>(before[j]) != static_cast<float>(w.p[j])) return false;
    }
    return true;
}

enum class StepSearch { Accepted, NoStep, Stopped };

// Steps 5-13 of an iteration: damped solves with shrinking steps until a trial does not raise the sum
// of squares.
StepSearch searchStep(AnalysisState& s, Work& w, double& lambda, std::stop_token stop) {
    int attempts = 0;
    for (;;) {
        const double angle = dampedStep(w, lambda);
        double kappa = 1.0;
        for (;;) {
            if (++attempts > kMaxStepAttempts) return StepSearch::NoStep;
            if (stop.stop_requested()) return StepSearch::Stopped;
            const bool admissible = trialPoint(w, kappa);
            if (admissible) {
                const Misfit trial = residualsAt(s, w, w.b);
                s.rmsError = static_cast<float>(trial.rms);
                s.lsTrialSumSquares = trial.sumOfSquares;
                const double rise = static_cast<double>(s.lsTrialSumSquares) - s.lsSumSquares;
                if (rise <= kAcceptTolerance) return StepSearch::Accepted;
            }
            if (!(angle <= kCriticalAngle)) break;
            kappa *= 0.5;
            if (kappa < kStepFloor) kappa = 0.0;
        }
        lambda = std::min(lambda * 10.0, kDampingCeiling);
    }
}

}  // namespace

double lsForwardMisfit(const AnalysisState& state, std::span<const double> p, std::span<double> out) {
    lsForwardDrawdowns(state, p, out);
    const double* roots = rootWeights(state, static_cast<int>(out.size()));
    double sum = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double r = state.measured[i] - out[i];
        if (roots != nullptr) r *= roots[i];
        sum += r * r;
    }
    return rmsOf(sum, out.size());
}

void lsForwardDrawdowns(const AnalysisState& state, std::span<const double> p, std::span<double> out) {
    const int kind = state.modelKind;
    const int n = state.lsParamCapacity;
    std::array<double, kMaxParameters + 1> q{};
    for (int k = 1; k <= n && k <= kMaxParameters; ++k) {
        const bool free = k < static_cast<int>(state.lsParamFree.size()) && state.lsParamFree[k] == 1;
        q[k] = free ? p[k] : state.lsParams[k];
    }
    const int clamped = kind == static_cast<int>(ModelKind::BouwerRice) ? 1 : clampedCount(kind);
    const double ceiling =
        kind == static_cast<int>(ModelKind::BouwerRice) ? kBouwerRiceCeiling : kParameterCeiling;
    for (int k = 1; k <= clamped && k <= kMaxParameters; ++k) q[k] = clampValue(q[k], ceiling);

    if (kind == static_cast<int>(ModelKind::BouwerRice)) {
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = q[1] * state.times[i];
    } else {
        computeDrawdowns(state, kind, q, out);
    }
}

MarquardtResult marquardtFit(AnalysisState& s, ProgressSink& progress, std::stop_token stop) {
    return marquardtFit(s, progress, stop, VectorControls{});
}

MarquardtResult marquardtFit(AnalysisState& s, ProgressSink& progress, std::stop_token stop,
                             const VectorControls& controls) {
    const int n = s.lsParamCapacity;
    Work w(n, std::max(s.usedCount, 0), controls);
    s.paramCount = n;
    for (int k = 1; k <= n && k <= kParamVectorCapacity; ++k)
        s.paramVector[k - 1] = static_cast<float>(s.lsParams[k]);
    for (int k = 1; k <= n; ++k) {
        w.p[k] = w.b[k] = controls.clamp(k, s.lsParams[n + k]);
        w.free[k] = k < static_cast<int>(s.lsParamFree.size()) && s.lsParamFree[k] == 1;
    }
    if (static_cast<int>(s.calculated.size()) < w.m) s.calculated.resize(w.m);

    double lambda = kInitialDamping;
    s.iterationsDone = 0;
    const Misfit start = residualsAt(s, w, w.p);
    s.rmsError = static_cast<float>(start.rms);
    s.lsSumSquares = start.sumOfSquares;
    MarquardtResult result;
    // Whether s.calculated holds the model at w.p: an accepted trial's evaluation is that of the new
    // point, so it is not computed again.
    bool evaluatedAtPoint = true;
    float lastRms = s.rmsError;
    int unchangedRuns = 0;
    progress.begin({ProgressUnit::Iteration, s.maxIterations, 0});
    while (s.iterationsDone < s.maxIterations) {
        if (stop.stop_requested()) {
            result.end = FitEnd::Stopped;
            break;
        }
        ++s.iterationsDone;
        progress.step(s.iterationsDone);
        lambda = std::max(0.1 * lambda, kDampingFloor);
        linearise(s, w);
        holdAtBounds(w);
        const StepSearch search = searchStep(s, w, lambda, stop);
        if (search != StepSearch::Accepted) {
            evaluatedAtPoint = false;
            --s.iterationsDone;  // the iteration made no step
            result.end = search == StepSearch::Stopped ? FitEnd::Stopped : FitEnd::NoAcceptableStep;
            break;
        }
        std::swap(w.p, w.b);  // s.rmsError, s.calculated and w.r are already those of the trial
        const auto index = static_cast<std::size_t>(s.iterationsDone - 1);
        if (index < s.errorHistory.size()) s.errorHistory[index] = s.rmsError;
        unchangedRuns = unchanged(w, w.b, lastRms, s.rmsError) ? unchangedRuns + 1 : 0;
        result.converged = result.converged || unchangedRuns >= kUnchangedIterations;
        lastRms = s.rmsError;
        w.b = w.p;
        if (s.rmsError < s.convergenceError) {
            result.end = FitEnd::Converged;
            result.converged = true;
            break;
        }
        s.lsSumSquares = s.lsTrialSumSquares;
        if (result.converged && controls.stopWhenConverged) {
            result.end = FitEnd::Settled;
            break;
        }
    }
    if (!evaluatedAtPoint) s.rmsError = static_cast<float>(residualsAt(s, w, w.p).rms);
    for (int k = 1; k <= n; ++k) s.lsParams[k] = w.p[k];
    result.damping = lambda;
    return result;
}

}  // namespace tolvex
