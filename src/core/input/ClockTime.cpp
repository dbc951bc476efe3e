#include "core/input/ClockTime.h"

#include <cctype>
#include <charconv>

namespace tolvex {
namespace {

constexpr double kSecondsPerDay = 86400.0;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A run of exactly `digits` decimal digits at the front of `text`, removed from it.
std::optional<int> takeDigits(std::string_view& text, std::size_t digits) {
    if (text.size() < digits) return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i])) == 0) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(digits);
    return value;
}

bool takeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar (Hinnant's days_from_civil).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool leapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : kDays[m - 1];
}

std::optional<long long> takeDate(std::string_view& text) {
    std::string_view rest = text;
    const auto y = takeDigits(rest, 4);
    if (!y || !takeChar(rest, '-')) return std::nullopt;
    const auto m = takeDigits(rest, 2);
    if (!m || !takeChar(rest, '-')) return std::nullopt;
    const auto d = takeDigits(rest, 2);
    if (!d || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(*y, *m)) return std::nullopt;
    text = rest;
    return daysFromCivil(*y, static_cast<unsigned>(*m), static_cast<unsigned>(*d));
}

// "h:mm", "hh:mm", "hh:mm:ss", "hh:mm:ss.fff": the second of the day, the whole text used.
std::optional<double> secondOfDay(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon != 1 && colon != 2) return std::nullopt;
    const auto h = takeDigits(text, colon);
    if (!h || !takeChar(text, ':')) return std::nullopt;
    const auto m = takeDigits(text, 2);
    if (!m || *h > 23 || *m > 59) return std::nullopt;
    double seconds = 0.0;
    if (takeChar(text, ':')) {
        if (text.size() < 2 || text.front() == '-' || text.front() == '+') return std::nullopt;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        if (error != std::errc{} || end != text.data() + text.size() || !(seconds < 60.0))
            return std::nullopt;
        text = {};
    }
    if (!text.empty()) return std::nullopt;
    return *h * 3600.0 + *m * 60.0 + seconds;
}

}  // namespace

std::optional<ClockTime> parseClockTime(std::string_view text) {
    text = trimmed(text);
    ClockTime time;
    if (text.size() > 10 && (text[10] == ' ' || text[10] == 'T')) {
        std::string_view date = text.substr(0, 10);
        time.day = takeDate(date);
        if (!time.day) return std::nullopt;
        text = trimmed(text.substr(11));
    }
    const auto second = secondOfDay(text);
    if (!second) return std::nullopt;
    time.secondOfDay = *second;
    return time;
}

bool isDateOnly(std::string_view text) {
    text = trimmed(text);
    return takeDate(text).has_value() && text.empty();
}

double clockSeconds(const ClockTime& time) {
    return static_cast<double>(time.day.value_or(0)) * kSecondsPerDay + time.secondOfDay;
}

}  // namespace tolvex
