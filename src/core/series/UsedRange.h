// The measurements of a series that take part in fits: its used range, kept inside its measurements.
#pragma once

#include <cstddef>
#include <vector>

#include "core/series/ObservationSeries.h"

namespace tolvex {

struct UsedRange {
    std::size_t first = 0;  // 0-based index of the first used measurement
    std::size_t count = 0;
};

// useFrom..useTo (1-based, useTo 0 meaning the last) clipped to the measurements held; a range that
// lies outside them or is reversed uses nothing.
[[nodiscard]] UsedRange usedRange(const ObservationSeries& series);

// The values of `values` in the range (as many of them as it holds), e.g. a series' times in use.
[[nodiscard]] std::vector<double> usedValues(const std::vector<double>& values, const UsedRange& used);

// Whether the series takes part in a joint fit: switched on, a positive weight, a measurement in use.
[[nodiscard]] bool takesPart(const ObservationSeries& series);

}  // namespace tolvex
