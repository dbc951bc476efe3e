// The printf conversions the document and the reports use, written out independently of the process
// locale (the desktop front end sets one, and a decimal comma must never reach a file). E-format
// exponents carry a sign and at least three digits, as the files of earlier versions of the program
// have them ("1.5400000e+002"); every reader of those files, people included, expects that layout.
#pragma once

#include <string>
#include <string_view>

namespace tolvex {

// "%.<precision>e" with a three-digit exponent; "inf", "-inf" or "nan" for non-finite values.
[[nodiscard]] std::string scientificText(double value, int precision);
// "%.<precision>f".
[[nodiscard]] std::string fixedText(double value, int precision);

// Right-aligns in `width` characters ("%<width>s"); longer texts are kept whole.
[[nodiscard]] std::string padLeft(std::string_view text, int width);
// Left-aligns in `width` characters ("%-<width>s").
[[nodiscard]] std::string padRight(std::string_view text, int width);

// "%<width>.<precision>e", "%<width>.<precision>f" and "%<width>d".
[[nodiscard]] inline std::string formatE(double value, int width, int precision) {
    return padLeft(scientificText(value, precision), width);
}
[[nodiscard]] inline std::string formatF(double value, int width, int precision) {
    return padLeft(fixedText(value, precision), width);
}
[[nodiscard]] inline std::string formatD(long long value, int width) {
    return padLeft(std::to_string(value), width);
}

}  // namespace tolvex
