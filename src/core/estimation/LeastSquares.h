// Least-squares estimation of models 0..8: the parameter block of the Marquardt iteration filled from
// the model's vector, and the fitted values written back.
#pragma once

#include <stop_token>

#include "core/estimation/FitControls.h"
#include "core/estimation/FitEnd.h"
#include "core/estimation/FitOutcome.h"
#include "core/jobs/Job.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

// lsParamCapacity = n; lsParams (2n+1) holds the model's vector as current (1..n) and starting
// (n+1..2n) values, in double (model 2's b'/K' unrounded); every lsParamFree flag is 1.
void prepareLeastSquares(AnalysisState& state);

// prepareLeastSquares, marquardtFit, then the fitted entries written back into the model's fields as
// floats (model 2: K' = b'/p3).
FitEnd leastSquaresEstimation(AnalysisState& state, ProgressSink& progress, std::stop_token stop);

// The same under `controls`: the fixed parameters get lsParamFree = 0; the outcome names the
// parameters that ended on a bound.
FitOutcome leastSquaresEstimation(AnalysisState& state, ProgressSink& progress, std::stop_token stop,
                                  const FitControls& controls);

}  // namespace tolvex
