// Slug-test measurements as normalised heads H/H0: the values may be displacements already divided by
// H0 (the classic case), displacements with H0 given or taken from the first value, or water levels
// around a static level (displacement = |level - static|, so rising-head and falling-head tests read
// alike). Cooper, Bredehoeft and Papadopulos (1967) and Bouwer and Rice (1976) both work on H/H0.
#pragma once

#include <span>
#include <vector>

#include "core/series/ObservationSeries.h"

namespace tolvex {

// The displacement of one value: |value - static| for water levels, the value itself otherwise.
[[nodiscard]] double slugDisplacement(double value, const SlugHead& head);

// H0 as `head` says: 1, the displacement of the first value, or the number given. 0 when the first
// value is asked for and there is none.
[[nodiscard]] double initialDisplacement(std::span<const double> values, const SlugHead& head);

// H/H0 for each value as `head` says.
[[nodiscard]] std::vector<double> normalisedHeads(std::span<const double> values, const SlugHead& head);

// Back from H/H0 to the values' own kind, for computed heads shown beside measured ones: H/H0 times
// `h0`; for water levels the level on the same side of the static level as the measured value at the
// same place in `measured` (above it when that value is missing or on it).
[[nodiscard]] std::vector<double> headsAsMeasured(std::span<const double> normalised, double h0,
                                                  std::span<const double> measured, const SlugHead& head);

}  // namespace tolvex
