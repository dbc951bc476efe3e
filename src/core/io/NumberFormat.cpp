#include "core/io/NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>

namespace tolvex {
namespace {

std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "nan";
    return value < 0 ? "-inf" : "inf";
}

std::string charsText(double value, std::chars_format format, int precision) {
    // The longest fixed text of a double has 309 integer digits; the precisions used are small.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::string scientificText(double value, int precision) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    std::string text = charsText(value, std::chars_format::scientific, precision);
    const auto e = text.find('e');
    if (e == std::string::npos || e + 2 > text.size()) return text;
    const std::size_t digits = text.size() - (e + 2);  // after 'e' and the sign
    if (digits < 3) text.insert(e + 2, 3 - digits, '0');
    return text;
}

std::string fixedText(double value, int precision) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    return charsText(value, std::chars_format::fixed, precision);
}

std::string padLeft(std::string_view text, int width) {
    const auto size = static_cast<int>(text.size());
    std::string out(size < width ? static_cast<std::size_t>(width - size) : 0u, ' ');
    out += text;
    return out;
}

std::string padRight(std::string_view text, int width) {
    std::string out(text);
    const auto size = static_cast<int>(text.size());
    if (size < width) out.append(static_cast<std::size_t>(width - size), ' ');
    return out;
}

}  // namespace tolvex
