// "Calculate drawdowns": a synthetic measurement set from the current parameters, at log-spaced times
// between calcTimeMin and calcTimeMax.
#pragma once

#include <optional>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex {

// Why usedCount, calcTimeMin and calcTimeMax cannot give synthetic times, or nothing: fewer than 2
// times (the grid step divides by n - 1), more than 65535, a limit that is not a positive number, or
// a minimum above the maximum.
[[nodiscard]] std::optional<std::string> checkSyntheticTimes(const AnalysisState& state);

// Replaces the measurement set by usedCount drawdowns of the current model (0..8) at the grid times:
// the times become calcTimeMin .. calcTimeMax, the computed drawdowns become both the measured and
// the table values, the whole table is in use, modelParams holds the (clamped) vector, rmsError and
// iterationsDone are 0, plotContent = resultKind = modified = 1. The inputs must pass
// checkSyntheticTimes.
void calculateDrawdowns(AnalysisState& state);

}  // namespace tolvex
