// The number formats of the plot labels.
#pragma once

#include <string>

namespace tolvex::plot {

// Every label is written with a decimal point, whatever the locale.

// A linear-axis label, "%5.2f".
[[nodiscard]] std::string linearLabel(double value);

// A decade label, "1E%d" of the exponent: the decade 10^-3 reads "1E-3".
[[nodiscard]] std::string decadeLabel(int exponent);

// The clear style's labels: a linear label with up to four significant digits and no padding ("0.3",
// "12.5", "1e-05"); a decade written out from 0.0001 to 100000 ("0.01", "1000") and as "1E6" beyond.
[[nodiscard]] std::string clearLinearLabel(double value);
[[nodiscard]] std::string clearDecadeLabel(int exponent);

// A legend value, "%-8.1e" with the exponent written with a sign and at least three digits, as the
// runtime the program grew up with printed it: 0.005 reads "5.0e-003", exactly 8 characters.
[[nodiscard]] std::string legendValue(double value);

}  // namespace tolvex::plot
