// How the well functions are evaluated: the standard algorithms (the default, whose results the
// program's reports and documents have always held) or the high-accuracy ones
// (core/solutions/accurate), which agree with the exact functions to nine digits or better.
#pragma once

#include <optional>
#include <string_view>

#include "core/state/AnalysisState.h"

namespace tolvex {

enum class Accuracy : int { Standard = 0, High = 1 };

[[nodiscard]] inline bool highAccuracy(const AnalysisState& state) {
    return state.accuracy == static_cast<int>(Accuracy::High);
}

// "standard" or "high", as the command line and the JSON output spell them.
[[nodiscard]] inline std::string_view accuracyName(int accuracy) {
    return accuracy == static_cast<int>(Accuracy::High) ? "high" : "standard";
}

[[nodiscard]] inline std::optional<int> accuracyFromName(std::string_view name) {
    if (name == "standard") return static_cast<int>(Accuracy::Standard);
    if (name == "high") return static_cast<int>(Accuracy::High);
    return std::nullopt;
}

}  // namespace tolvex
