// Downhill simplex search of Nelder and Mead (1965) on the RMS misfit of the forward model: reflection
// 1, expansion 2, contraction 0.5 and shrinking towards the best vertex. Vertices, their misfits and
// the coordinate sums are 32-bit floats, as the stored parameters are.
#pragma once

#include <stop_token>

#include "core/estimation/FitControls.h"
#include "core/estimation/FitEnd.h"
#include "core/estimation/FitOutcome.h"
#include "core/jobs/Job.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

inline constexpr float kSimplexScale = 100.0f;  // each initial vertex multiplies one parameter by 100

// The whole estimation on modelParams (n = parameterCount(modelKind) entries): records paramCount and
// paramVector, builds and evaluates the initial simplex in simplexVertices/simplexValues, searches,
// leaves the best vertex in modelParams and its misfit in rmsError (calculated holds its drawdowns).
// `stop` ends the search early; the best vertex reached is still chosen.
FitEnd simplexEstimation(AnalysisState& state, ProgressSink& progress, std::stop_token stop);

// The same under `controls` (in the vector's units): the fixed parameters keep their values and the
// simplex spans the free ones only (m free parameters, m + 1 vertices of m entries); trial points and
// initial vertices are clamped into the bounds. The search has converged when the misfits of its
// vertices agree to float precision and the vertices coincide to 1e-6 relative; with
// stopWhenConverged it ends there (FitEnd::Settled).
FitOutcome simplexEstimation(AnalysisState& state, ProgressSink& progress, std::stop_token stop,
                             const VectorControls& controls);

// The search passes on the simplex already in the state (vertex v, parameter j at
// simplexVertices[(v-1)*n + j-1]). Sets iterationsDone and errorHistory (the mean of the best and the
// worst misfit per pass).
FitEnd simplexSearch(AnalysisState& state, int n, ProgressSink& progress, std::stop_token stop);

}  // namespace tolvex
