// What tolvex-cli fit adds to an estimation: start values computed from the measurements
// (--auto-start) before it, and after least squares the parameters' standard errors and 95 %
// intervals, their correlation matrix and the residuals' lag-1 autocorrelation: as JSON keys
// "uncertainty", "correlation" and "residualAutocorrelation", and as plain text on stderr.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "core/estimation/Uncertainty.h"
#include "core/state/AnalysisState.h"

namespace tolvex::cli {

// Replaces the model's parameters by start values from the used measurements and says on `err`
// which they are; throws CliError when none can be computed.
void applyAutoStart(AnalysisState& state, std::ostream& err);

// The uncertainty of a finished fit: least squares of models 0..8 only.
[[nodiscard]] std::optional<FitUncertainty> fitUncertainty(const AnalysisState& state,
                                                           const std::string& method,
                                                           const ParameterRanges& ranges = {});

// `result` with "uncertainty", "correlation" and "residualAutocorrelation" added and the uncertainty's
// warnings appended to its "warnings" array (made when missing); unchanged when fitUncertainty gives
// nothing.
[[nodiscard]] nlohmann::ordered_json withUncertainty(nlohmann::ordered_json result,
                                                     const AnalysisState& state, const std::string& method,
                                                     const ParameterRanges& ranges = {});

// The same as text lines on `err`; nothing when fitUncertainty gives nothing.
void printUncertainty(std::ostream& err, const AnalysisState& state, const std::string& method,
                      const ParameterRanges& ranges = {});

}  // namespace tolvex::cli
