// Slug-test measurements as normalised heads H/H0: the values may be displacements already divided by
// H0 (the classic case), displacements with H0 given or taken from the first value, or water levels
// around a static level.
#pragma once

#include <span>
#include <vector>

#include "core/series/ObservationSeries.h"

namespace tolvex {

// H/H0 for each value as `head` says.
[[nodiscard]] std::vector<double> normalisedHeads(std::span<const double> values, const SlugHead& head);

}  // namespace tolvex
