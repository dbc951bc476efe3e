#include "core/plot/LabelFormat.h"

#include <charconv>
#include <cstdlib>

namespace tolvex::plot {
namespace {

constexpr int kLinearWidth = 5;
constexpr int kLegendWidth = 8;
constexpr int kClearDigits = 4;
constexpr int kPlainDecadeLow = -4;
constexpr int kPlainDecadeHigh = 5;

// The C library's "%.*f" and "%.*e" as the "C" locale writes them: labels read with a decimal point
// whatever locale the process runs under (the desktop program takes the user's).
std::string printed(double value, std::chars_format format, int precision) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return result.ec == std::errc{} ? std::string(buffer, result.ptr) : std::string{};
}

}  // namespace

std::string linearLabel(double value) {
    std::string text = printed(value, std::chars_format::fixed, 2);
    if (text.size() < kLinearWidth) text.insert(0, kLinearWidth - text.size(), ' ');
    return text;
}

std::string decadeLabel(int exponent) {
    return "1E" + std::to_string(exponent);
}

std::string clearLinearLabel(double value) {
    std::string text = printed(value, std::chars_format::general, kClearDigits);
    return text == "-0" ? std::string("0") : text;
}

std::string clearDecadeLabel(int exponent) {
    if (exponent < kPlainDecadeLow || exponent > kPlainDecadeHigh) return decadeLabel(exponent);
    if (exponent >= 0) return "1" + std::string(static_cast<std::size_t>(exponent), '0');
    return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + "1";
}

std::string legendValue(double value) {
    std::string text = printed(value, std::chars_format::scientific, 1);
    const auto e = text.find('e');
    if (e != std::string::npos && e + 2 < text.size()) {
        const char sign = text[e + 1];
        std::string digits = std::to_string(std::abs(std::atoi(text.c_str() + e + 2)));
        if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
        text = text.substr(0, e + 1) + sign + digits;
    }
    if (text.size() < kLegendWidth) text.append(kLegendWidth - text.size(), ' ');
    return text;
}

}  // namespace tolvex::plot
