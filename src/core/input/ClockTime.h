// Clock times of data-logger exports: "hh:mm", "hh:mm:ss" (seconds may have a fraction), optionally
// after a date "yyyy-mm-dd" and a blank or a 'T' (ISO 8601, as loggers and spreadsheets write them).
#pragma once

#include <optional>
#include <string_view>

namespace tolvex {

struct ClockTime {
    double secondOfDay = 0.0;
    std::optional<long long> day;  // days since 1970-01-01 when a date was given
};

// The clock time the whole text spells (blanks around it allowed), or nothing.
[[nodiscard]] std::optional<ClockTime> parseClockTime(std::string_view text);

// Whether the text is a date "yyyy-mm-dd" alone (a logger column of its own).
[[nodiscard]] bool isDateOnly(std::string_view text);

// Seconds since 1970-01-01 00:00 of a dated clock time, or the second of the day of an undated one.
[[nodiscard]] double clockSeconds(const ClockTime& time);

}  // namespace tolvex
