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

std::vector<double> usedValues(const std::vector<double>& values, const UsedRange& used) {
    const std::size_t first = std::min(used.first, values.size());
    const std::size_t count = std::min(used.count, values.size() - first);
    const auto from = values.begin() + static_cast<std::ptrdiff_t>(first);
    return {from, from + static_cast<std::ptrdiff_t>(count)};
}

}  // namespace tolvex
