// Non-linear least squares by Marquardt's (1963) damped Gauss-Newton iteration: forward-difference
// derivatives (1 % steps), the normal equations scaled to unit diagonal, a damping factor that falls
// tenfold per iteration and rises tenfold on failure, and Marquardt's 30-degree test between the step
// and the gradient that decides between shortening the step and raising the damping.
#pragma once

#include <span>
#include <stop_token>

#include "core/estimation/FitControls.h"
#include "core/estimation/FitEnd.h"
#include "core/jobs/Job.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

inline constexpr double kInitialDamping = 0.02;
// Trial points tried within one iteration before the run gives up (a parameter at zero, or one whose
// every trial changes sign, admits no step at any damping).
inline constexpr int kMaxStepAttempts = 10000;

// Drawdowns of the least-squares model at the working point p (1-based, lsParamCapacity entries;
// entries whose lsParamFree flag is not 1 come from lsParams) into out, and the RMS misfit of plain
// residuals. The point is clamped on a private copy (upper bound 1e20 for the Bouwer-Rice rate,
// whose drawdown is p1 * t).
[[nodiscard]] double lsForwardMisfit(const AnalysisState& state, std::span<const double> p,
                                     std::span<double> out);
// Only the drawdowns.
void lsForwardDrawdowns(const AnalysisState& state, std::span<const double> p, std::span<double> out);

struct MarquardtResult {
    FitEnd end = FitEnd::IterationLimit;
    double damping = 0.0;    // lambda when the run ended
    bool converged = false;  // the last iteration left the parameters (as floats) and the RMS unchanged
};

// Fits entries 1..n of lsParams (n = lsParamCapacity), starting from entries n+1..2n. Sets paramCount,
// paramVector, rmsError, iterationsDone (accepted steps), errorHistory, lsSumSquares,
// lsTrialSumSquares and calculated (drawdowns of the result). `stop` ends the run with the last
// accepted point.
MarquardtResult marquardtFit(AnalysisState& state, ProgressSink& progress, std::stop_token stop);

// The same under `controls`: parameters whose lsParamFree flag is not 1 keep their starting values
// (no derivative is taken for them); the start and every trial point are clamped into the bounds, and
// a parameter on a bound with the gradient pointing outwards is held for the iteration. The run
// converges when an accepted step leaves every parameter, rounded to float, and the RMS error
// unchanged; with stopWhenConverged it ends there (FitEnd::Settled).
MarquardtResult marquardtFit(AnalysisState& state, ProgressSink& progress, std::stop_token stop,
                             const VectorControls& controls);

}  // namespace tolvex
