// What a rate schedule must be before drawdowns are computed from it or it is stored: step times
// finite and increasing (each step starts where the previous one ends), rates finite (negative rates
// inject, 0 is recovery).
#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/pumping/RateStep.h"

namespace tolvex {

// Why the schedule cannot stand, naming the first bad step by its 1-based row, or nothing.
[[nodiscard]] std::optional<std::string> checkRateSchedule(std::span<const RateStep> steps);

}  // namespace tolvex
