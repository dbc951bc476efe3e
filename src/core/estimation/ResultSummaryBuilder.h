// Builds the summary of a finished estimation (ResultSummary.h) from the state it left, the run's
// outcome and the fit settings it ran under, and tells whether a summary still describes the data.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/estimation/FitControls.h"
#include "core/estimation/FitOutcome.h"
#include "core/state/AnalysisState.h"
#include "core/state/ResultSummary.h"

namespace tolvex {

enum class EstimationMethod { TrialRun, Simplex, LeastSquares, JacobStraightLine, BouwerRice };

// The key the document and the command line use ("trial", "simplex", "lsq", "jacob", "bouwer-rice")
// and the method in words ("least squares", "Jacob's straight line", ...).
[[nodiscard]] std::string_view methodKey(EstimationMethod method);
[[nodiscard]] std::string_view methodName(EstimationMethod method);
// The method of a key, or nothing for a key that is none of them.
[[nodiscard]] std::optional<EstimationMethod> methodFromKey(std::string_view key);
// The words of a summary's method key ("least squares"); the key itself when it is unknown.
[[nodiscard]] std::string methodNameOfKey(std::string_view key);

// The least-squares command runs Jacob's straight line for model 9 and Bouwer and Rice for model 10.
[[nodiscard]] EstimationMethod leastSquaresMethod(int modelKind);

// The summary of the estimation that just finished on `state`. Parameters are shown in the document's
// units; least squares of models 0..8 adds standard errors, 95 % intervals and the correlation warnings
// (estimateUncertainty, with the fit settings' bounds as the ranges the parameters may end on).
[[nodiscard]] ResultSummary buildResultSummary(const AnalysisState& state, EstimationMethod method,
                                               const FitOutcome& outcome, const FitControls& controls);

// A digest of what a fit depends on and what it gave: the model, the measurements of every series and
// their used ranges, weights and switches, the pumping rate and schedule, the radii and the fitted
// parameters' stored values. A different digest means the summary no longer describes the document.
[[nodiscard]] std::uint64_t resultInputsFingerprint(const AnalysisState& state);

// Whether the state's summary still describes the document: there is one, it was not found stale, and
// the fingerprint of the state is the one the summary was made with.
[[nodiscard]] bool resultsCurrent(const AnalysisState& state);

}  // namespace tolvex
