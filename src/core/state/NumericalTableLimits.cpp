#include "core/state/NumericalTableLimits.h"

namespace tolvex {
namespace {

std::string outsideRange(std::string_view field, int value, int minimum, int maximum) {
    return std::string(field) + " = " + std::to_string(value) + " is outside the range " +
           std::to_string(minimum) + " to " + std::to_string(maximum) + " of the Integration options";
}

}  // namespace

std::optional<std::string> numericalTableSizeError(std::string_view field, int value) {
    if (field == "gaussCount" && (value < kMinGaussPoints || value > kMaxGaussPoints)) {
        return outsideRange(field, value, kMinGaussPoints, kMaxGaussPoints);
    }
    if (field != "stehfestCount") return std::nullopt;
    if (value < kMinStehfestTerms || value > kMaxStehfestTerms) {
        return outsideRange(field, value, kMinStehfestTerms, kMaxStehfestTerms);
    }
    // Stehfest's weights pair the terms: an odd count is no inversion formula at all.
    if (value % 2 != 0)
        return std::string(field) + " = " + std::to_string(value) + " is odd; it must be even";
    return std::nullopt;
}

std::optional<std::string> stehfestAccuracyWarning(int stehfestCount) {
    if (stehfestCount <= kAccurateStehfestTerms) return std::nullopt;
    return "More than " + std::to_string(kAccurateStehfestTerms) +
           " Stehfest terms lose accuracy: the Laplace inversion with " + std::to_string(stehfestCount) +
           " terms magnifies the rounding errors of the double-precision Bessel functions, so the "
           "unconfined and fractured-aquifer models may give wrong or negative drawdowns.";
}

}  // namespace tolvex
