#include "core/pumping/RateScheduleChecks.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/io/NumberFormat.h"

namespace tolvex {
namespace {

std::string number(double value) {
    if (!std::isfinite(value)) return scientificText(value, 6);  // "nan", "inf", "-inf"
    std::array<char, 32> buffer{};  // the shortest text that reads back, whatever the locale
    return std::string(buffer.data(), std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr);
}

std::string row(std::size_t index) {
    return "Rate step " + std::to_string(index + 1);
}

}  // namespace

std::optional<std::string> checkRateSchedule(std::span<const RateStep> steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const RateStep& step = steps[i];
        if (!std::isfinite(step.time))
            return row(i) + " has the time " + number(step.time) + ", which is not a finite number.";
        if (!std::isfinite(step.rate))
            return row(i) + " has the rate " + number(step.rate) + ", which is not a finite number.";
        if (i > 0 && !(step.time > steps[i - 1].time)) {
            return row(i) + " starts at the time " + number(step.time) + ", not after step " +
                   std::to_string(i) + " (" + number(steps[i - 1].time) +
                   "): the times of the steps must increase.";
        }
    }
    return std::nullopt;
}

}  // namespace tolvex
