// The number formats of the plot labels.
#pragma once

#include <string>

namespace tolvex::plot {

// Every label is written with a decimal point, whatever the locale.

// A linear-axis label, "%5.2f".
[[nodiscard]] std::string linearLabel(double value);

// A decade label, "1E%d" of the exponent: the decade 10^-3 reads "1E-3".
[[nodiscard]] std::string decadeLabel(int exponent);

// A legend value, "%-8.1e" with the exponent written with a sign and at least three digits, as the
// runtime the program grew up with printed it: 0.005 reads "5.0e-003", exactly 8 characters.
[[nodiscard]] std::string legendValue(double value);

}  // namespace tolvex::plot
