// A well function is never negative: a drawdown (or the slug test's normalised head) computed below
// zero means the numerical method failed, most often a Laplace inversion with more Stehfest terms than
// double precision carries. Such values are reported as a failure, never shown as a result.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace tolvex {

// A value counts as negative when it lies below zero by more than this fraction of the largest
// magnitude among the values: the series of the partially penetrating well leave rounding noise
// around zero (measured: -9.6e-11 in the default family of model 1, whose values reach 8.6), far
// below what float results resolve, while a failed inversion gives values like -983.
inline constexpr double kNegativeNoise = 1e-6;

struct BadValue {
    std::size_t index = 0;
    double value = 0.0;
};

// The first value that is not a finite number, else the first one that is negative (kNegativeNoise).
[[nodiscard]] std::optional<BadValue> firstBadValue(std::span<const double> values);
[[nodiscard]] std::optional<BadValue> firstBadValue(std::span<const float> values);

// Why the model's well function came out negative, for a message that goes on "...: <cause>.": too
// many Stehfest terms for the Laplace-space models 6-8, else the numerical settings in general.
[[nodiscard]] std::string negativeValueCause(int modelKind, int stehfestCount, int gaussCount);

}  // namespace tolvex
