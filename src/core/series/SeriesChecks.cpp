#include "core/series/SeriesChecks.h"

#include <cmath>
#include <cstdio>

namespace tolvex {
namespace {

std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", v);
    return buffer;
}

std::string labelOf(const ObservationSeries& s) {
    return s.settings.name.empty() ? std::string("the series") : "series \"" + s.settings.name + "\"";
}

}  // namespace

std::optional<std::string> checkRadialDistance(double r) {
    if (std::isfinite(r) && r > 0.0) return std::nullopt;
    return "the radial distance " + number(r) + " is not a positive number";
}

std::optional<std::string> checkWeight(double weight) {
    if (std::isfinite(weight) && weight >= 0.0) return std::nullopt;
    return "the weight " + number(weight) + " is not a number of 0 or more";
}

std::optional<std::string> checkSeries(const ObservationSeries& s) {
    const std::string who = labelOf(s);
    if (auto error = checkRadialDistance(s.radialDistance)) return who + ": " + *error;
    if (auto error = checkWeight(s.settings.weight)) return who + ": " + *error;
    if (s.times.size() != s.values.size()) {
        return who + " holds " + std::to_string(s.times.size()) + " times but " +
               std::to_string(s.values.size()) + " values";
    }
    for (std::size_t i = 0; i < s.times.size(); ++i) {
        if (!std::isfinite(s.times[i]) || !std::isfinite(s.values[i]))
            return who + ": measurement " + std::to_string(i + 1) + " is not a pair of finite numbers";
    }
    const auto held = static_cast<int>(s.times.size());
    if (s.useFrom < 1 || s.useTo < 0 || (s.useTo > 0 && (s.useTo < s.useFrom || s.useTo > held))) {
        return who + ": the used range " + std::to_string(s.useFrom) + " to " + std::to_string(s.useTo) +
               " is not a range of its " + std::to_string(held) + " measurements";
    }
    return std::nullopt;
}

}  // namespace tolvex
