#include "core/typecurves/WellFunctionValues.h"

#include <algorithm>
#include <cmath>

#include "core/state/ModelKind.h"
#include "core/state/NumericalTableLimits.h"

namespace tolvex {
namespace {

template <class Value>
std::optional<BadValue> firstBad(std::span<const Value> values) {
    double largest = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double v = values[i];
        if (!std::isfinite(v)) return BadValue{i, v};
        largest = std::max(largest, std::fabs(v));
    }
    const double floor = -kNegativeNoise * largest;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] < floor) return BadValue{i, static_cast<double>(values[i])};
    }
    return std::nullopt;
}

bool invertsLaplaceTransform(int modelKind) {
    return modelKind >= static_cast<int>(ModelKind::Unconfined) &&
           modelKind <= static_cast<int>(ModelKind::BoultonStreltsova);
}

}  // namespace

std::optional<BadValue> firstBadValue(std::span<const double> values) {
    return firstBad(values);
}

std::optional<BadValue> firstBadValue(std::span<const float> values) {
    return firstBad(values);
}

std::string negativeValueCause(int modelKind, int stehfestCount, int gaussCount) {
    if (invertsLaplaceTransform(modelKind) && stehfestCount > kAccurateStehfestTerms) {
        return "too many Stehfest terms (" + std::to_string(stehfestCount) +
               ") for the Laplace inversion in double precision; choose at most " +
               std::to_string(kAccurateStehfestTerms) + " in the Integration options";
    }
    return "the numerical method does not hold for these settings (" + std::to_string(stehfestCount) +
           " Stehfest terms, " + std::to_string(gaussCount) + " Gauss points in the Integration options)";
}

}  // namespace tolvex
