// What decides whether a fit's result means anything: enough measurements for its free parameters
// before it runs, and after it, values that no aquifer has or data without any response to fit.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

// Why the used measurements cannot determine the model's parameters, or nothing: fewer of them than
// the fit varies parameters (one measurement fitted with S and T gives a "perfect" fit of any T).
// Parameters named in `fixed` are held and need no measurement.
[[nodiscard]] std::optional<std::string> checkDeterminable(const AnalysisState& state,
                                                           const std::set<std::string>& fixed = {});

// Warnings about a finished fit, one message each (the fit is still reported): a storativity or
// specific yield fitted at 1 or above, which no aquifer has; every used drawdown zero, which no
// parameters explain better than others.
[[nodiscard]] std::vector<std::string> fitWarnings(const AnalysisState& state);

}  // namespace tolvex
