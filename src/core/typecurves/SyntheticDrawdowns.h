// "Calculate drawdowns": a synthetic measurement set from the current parameters, at log-spaced times
// between calcTimeMin and calcTimeMax.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex {

// A refused time range: which input is at fault (0 the count, 1 the minimum, 2 the maximum) and why.
struct TimeRangeError {
    std::size_t field = 0;
    std::string message;
};

// Why `count` times from `min` to `max` cannot be computed: fewer than 2 times (the grid step divides
// by n - 1), more than 65535, a limit that is not a positive number, or a minimum above the maximum.
[[nodiscard]] std::optional<TimeRangeError> checkSyntheticTimeRange(long long count, float min, float max);

// Why usedCount, calcTimeMin and calcTimeMax cannot give synthetic times, or nothing.
[[nodiscard]] std::optional<std::string> checkSyntheticTimes(const AnalysisState& state);

// Replaces the measurement set by usedCount drawdowns of the current model (0..8) at the grid times:
// the times become calcTimeMin .. calcTimeMax, the computed drawdowns become both the measured and
// the table values, the whole table is in use, modelParams holds the (clamped) vector, rmsError and
// iterationsDone are 0, plotContent = resultKind = modified = 1. The inputs must pass
// checkSyntheticTimes.
void calculateDrawdowns(AnalysisState& state);

}  // namespace tolvex
