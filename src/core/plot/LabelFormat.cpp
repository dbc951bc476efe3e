#include "core/plot/LabelFormat.h"

#include <cstdio>
#include <cstdlib>

namespace tolvex::plot {
namespace {

constexpr int kLegendWidth = 8;

std::string printed(const char* format, double value) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    return length < 0 ? std::string{} : std::string(buffer);
}

}  // namespace

std::string linearLabel(double value) {
    return printed("%5.2f", value);
}

std::string decadeLabel(int exponent) {
    return "1E" + std::to_string(exponent);
}

std::string legendValue(double value) {
    std::string text = printed("%.1e", value);
    const auto e = text.find('e');
    if (e != std::string::npos && e + 2 < text.size()) {
        const char sign = text[e + 1];
        const int exponent = std::atoi(text.c_str() + e + 2);
        char digits[16];
        std::snprintf(digits, sizeof digits, "%c%03d", sign, exponent);
        text = text.substr(0, e + 1) + digits;
    }
    if (text.size() < kLegendWidth) text.append(kLegendWidth - text.size(), ' ');
    return text;
}

}  // namespace tolvex::plot
