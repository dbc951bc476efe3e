// The sizes of the numerical tables that the program admits: the Integration options' ranges, applied
// wherever a count can come from (the dialog, --set, a document read from disk).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

// Stehfest's weights grow like 10^(N/2): beyond 20 terms double precision cannot hold the inversion,
// and already above 12 the rounding errors of the double-precision Bessel functions are magnified
// enough to give wrong (even negative) drawdowns for the Laplace-space models 6-8.
inline constexpr int kMinStehfestTerms = 2;
inline constexpr int kMaxStehfestTerms = 20;
inline constexpr int kAccurateStehfestTerms = 12;
// The Gauss-Legendre rule is rebuilt in O(n^2) whenever its table is unusable.
inline constexpr int kMinGaussPoints = 2;
inline constexpr int kMaxGaussPoints = 200;

// Why `value` cannot be the count of the table named by `field` ("stehfestCount": even, 2..20;
// "gaussCount": 2..200), naming the field; nothing when it can, or when `field` is neither.
[[nodiscard]] std::optional<std::string> numericalTableSizeError(std::string_view field, int value);

// The warning for a Stehfest count above kAccurateStehfestTerms, or nothing.
[[nodiscard]] std::optional<std::string> stehfestAccuracyWarning(int stehfestCount);

}  // namespace tolvex
