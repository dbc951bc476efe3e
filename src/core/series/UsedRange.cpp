#include "core/series/UsedRange.h"

#include <algorithm>

namespace tolvex {

UsedRange usedRange(const ObservationSeries& series) {
    const auto held = static_cast<long>(std::min(series.times.size(), series.values.size()));
    const long from = std::max(series.useFrom, 1);
    const long to = series.useTo <= 0 ? held : std::min<long>(series.useTo, held);
    if (from > to) return {};
    return {static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1)};
}

bool takesPart(const ObservationSeries& series) {
    return series.settings.on && series.settings.weight > 0.0 && usedRange(series).count > 0;
}

}  // namespace tolvex
