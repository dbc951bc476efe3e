#include "core/input/LeadingNumber.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tolvex {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    }
    return true;
}

// Length of the decimal number at the start of `text` (after an optional sign), or 0.
std::size_t decimalPrefixLength(std::string_view text) {
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

// from_chars reports overflow and underflow without a value; atof gives +-HUGE_VAL or 0 there.
double outOfRangeValue(std::string_view number) {
    long long exponent = 0;
    const auto e = number.find_first_of("eE");
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
        for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), 1000000LL);
        if (negative) exponent = -exponent;
    }
    // The decimal magnitude of the first significant digit decides between overflow and underflow.
    const std::string_view mantissa = number.substr(0, e);
    const auto point = mantissa.find('.');
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0.0;
    const long long intDigits =
        static_cast<long long>(point == std::string_view::npos ? mantissa.size() : point);
    const long long magnitude = static_cast<long long>(first) < intDigits
                                    ? intDigits - static_cast<long long>(first)
                                    : intDigits - static_cast<long long>(first) + 1;
    return magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

std::string_view withoutSpace(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The value of a decimal number (no sign) that decimalPrefixLength has measured.
double decimalValue(std::string_view number) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) return outOfRangeValue(number);
    if (error != std::errc{}) return 0.0;
    return value;
}

}  // namespace

bool startsWithNumber(std::string_view text) {
    text = withoutSpace(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    return decimalPrefixLength(text) > 0;
}

std::optional<double> completeNumber(std::string_view text) {
    text = withoutSpace(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string number(text);
    const auto comma = number.find(',');
    if (comma != std::string::npos && number.find_first_of(",.", comma + 1) == std::string::npos &&
        number.find('.') == std::string::npos) {
        number[comma] = '.';
    }
    if (number.empty() || decimalPrefixLength(number) != number.size()) return std::nullopt;
    const double value = decimalValue(number);
    if (!std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    text.remove_prefix(i);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const double sign = negative ? -1.0 : 1.0;
    if (startsWithWord(text, "inf")) return sign * std::numeric_limits<double>::infinity();
    if (startsWithWord(text, "nan")) return std::numeric_limits<double>::quiet_NaN();

    const std::string_view number = text.substr(0, decimalPrefixLength(text));
    if (number.empty()) return 0.0;
    return sign * decimalValue(number);
}

}  // namespace tolvex
