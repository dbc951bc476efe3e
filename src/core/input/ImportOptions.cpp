#include "core/input/ImportOptions.h"

#include <algorithm>
#include <array>
#include <variant>

#include "core/input/ClockTime.h"
#include "core/input/ImportText.h"
#include "core/input/LeadingNumber.h"
#include "core/units/Units.h"

namespace tolvex {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kSecondsPerMinute = 60.0;
// Lines looked at to detect the delimiter.
constexpr std::size_t kDetectionLines = 50;
// Longest piece of a line quoted in a message.
constexpr std::size_t kQuotedLength = 60;
constexpr std::array<char, 4> kDetectionOrder = {'\t', ';', ',', kBlanksDelimiter};

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r\v\f") == std::string_view::npos;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string quoted(std::string_view line) {
    if (line.size() > kQuotedLength) return "\"" + std::string(line.substr(0, kQuotedLength)) + "...\"";
    return "\"" + std::string(line) + "\"";
}

// A time as read from its column: an elapsed number or a clock time.
using RawTime = std::variant<double, ClockTime>;

struct LineCells {
    std::optional<RawTime> time;
    std::optional<double> value;
    std::string problem;  // why the line is not a measurement
};

std::string timeText(const std::vector<std::string>& fields, const ImportOptions& o) {
    const auto at = static_cast<std::size_t>(o.timeColumn - 1);
    std::string text = fields[at];
    if (o.timeFormat == ImportTimeFormat::Clock && isDateOnly(text) && at + 1 < fields.size())
        text += " " + fields[at + 1];
    return text;
}

LineCells readCells(std::string_view line, char delimiter, const ImportOptions& o) {
    LineCells cells;
    const std::vector<std::string> fields = splitImportFields(line, delimiter);
    const auto count = static_cast<int>(fields.size());
    for (const int column : {o.timeColumn, o.valueColumn}) {
        if (column > count) {
            cells.problem = "it has no column " + std::to_string(column);
            return cells;
        }
    }
    const std::string time = timeText(fields, o);
    if (o.timeFormat == ImportTimeFormat::Clock) {
        if (const auto clock = parseClockTime(time)) cells.time = *clock;
    } else if (const auto number = completeNumber(time)) {
        cells.time = *number;
    }
    if (!cells.time) {
        cells.problem = "column " + std::to_string(o.timeColumn) + " " + quoted(time) +
                        (o.timeFormat == ImportTimeFormat::Clock
                             ? " is not a clock time (hh:mm[:ss], optionally after yyyy-mm-dd)"
                             : " is not a number");
        return cells;
    }
    cells.value = completeNumber(fields[static_cast<std::size_t>(o.valueColumn - 1)]);
    if (!cells.value) {
        cells.problem = "column " + std::to_string(o.valueColumn) + " " +
                        quoted(fields[static_cast<std::size_t>(o.valueColumn - 1)]) + " is not a number";
    }
    return cells;
}

bool isMeasurement(std::string_view line, char delimiter, const ImportOptions& o) {
    return readCells(line, delimiter, o).problem.empty();
}

std::vector<std::string_view> allLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) lines.push_back(takeLine(text));
    return lines;
}

std::optional<char> detectDelimiter(const std::vector<std::string_view>& lines, std::size_t first,
                                    const ImportOptions& o) {
    std::optional<char> best;
    std::size_t bestCount = 0;
    for (const char candidate : kDetectionOrder) {
        std::size_t count = 0, seen = 0;
        for (std::size_t i = first; i < lines.size() && seen < kDetectionLines; ++i) {
            if (isBlank(lines[i])) continue;
            ++seen;
            if (isMeasurement(lines[i], candidate, o)) ++count;
        }
        if (count > bestCount) {
            best = candidate;
            bestCount = count;
        }
    }
    return best;
}

int detectHeaderLines(const std::vector<std::string_view>& lines, char delimiter, const ImportOptions& o) {
    std::size_t i = 0;
    while (i < lines.size() && (isBlank(lines[i]) || !isMeasurement(lines[i], delimiter, o))) ++i;
    return static_cast<int>(i);
}

std::optional<std::string> checkOptions(const ImportOptions& o) {
    if (o.timeColumn < 1 || o.valueColumn < 1)
        return "Columns are counted from 1: the time column is " + std::to_string(o.timeColumn) +
               " and the value column " + std::to_string(o.valueColumn) + ".";
    if (o.timeColumn == o.valueColumn)
        return "The time and the value cannot both be column " + std::to_string(o.timeColumn) + ".";
    if (o.headerLines && *o.headerLines < 0)
        return "The number of header lines cannot be negative (" + std::to_string(*o.headerLines) + ").";
    if (o.values != ImportValues::Drawdown && !o.staticLevel)
        return std::string("Water levels and depths to water need the static level to give drawdowns.");
    return std::nullopt;
}

double drawdownOf(double value, const ImportOptions& o) {
    switch (o.values) {
        case ImportValues::Level:
            return *o.staticLevel - value;
        case ImportValues::Depth:
            return value - *o.staticLevel;
        case ImportValues::Drawdown:
            break;
    }
    return value;
}

struct RawRows {
    std::vector<RawTime> times;
    std::vector<double> values;
    std::vector<std::size_t> lines;
};

// Elapsed numbers: minus the start, if one is given.
std::optional<std::string> elapsedTimes(const RawRows& rows, const ImportOptions& o,
                                        std::vector<double>& out) {
    double start = 0.0;
    if (!o.start.empty()) {
        const auto number = completeNumber(o.start);
        if (!number)
            return "The start " + quoted(o.start) + " is not a number (the times are elapsed numbers).";
        start = *number;
    }
    for (const RawTime& t : rows.times) out.push_back(std::get<double>(t) - start);
    return std::nullopt;
}

// Clock times: seconds after the start, undated times that go back moved to the next day.
std::optional<std::string> clockTimes(const RawRows& rows, const ImportOptions& o, double unitSeconds,
                                      std::vector<double>& out) {
    const bool dated = std::get<ClockTime>(rows.times.front()).day.has_value();
    std::vector<double> seconds;
    double dayOffset = 0.0, previous = 0.0;
    for (std::size_t i = 0; i < rows.times.size(); ++i) {
        const ClockTime& t = std::get<ClockTime>(rows.times[i]);
        if (t.day.has_value() != dated)
            return "Line " + std::to_string(rows.lines[i]) + " has a clock time " +
                   (dated ? "without" : "with") + " a date, unlike the first measurement.";
        const double s = clockSeconds(t);
        if (!dated && i > 0 && s < previous) dayOffset += kSecondsPerDay;
        previous = s;
        seconds.push_back(s + dayOffset);
    }
    double start = seconds.front();
    if (!o.start.empty()) {
        const auto clock = parseClockTime(o.start);
        if (!clock)
            return "The start " + quoted(o.start) +
                   " is not a clock time (hh:mm[:ss], optionally after yyyy-mm-dd).";
        if (clock->day && !dated)
            return "The start " + quoted(o.start) + " has a date but the clock times have none.";
        ClockTime on = *clock;
        if (dated && !on.day) on.day = std::get<ClockTime>(rows.times.front()).day;
        start = clockSeconds(on);
    }
    for (const double s : seconds) out.push_back((s - start) / unitSeconds);
    return std::nullopt;
}

std::optional<std::string> readRows(const std::vector<std::string_view>& lines, ImportReading& r,
                                    const ImportOptions& o, RawRows& rows) {
    for (std::size_t i = static_cast<std::size_t>(r.headerLines); i < lines.size(); ++i) {
        if (isBlank(lines[i])) continue;
        const LineCells cells = readCells(lines[i], r.delimiter, o);
        if (!cells.problem.empty())
            return "Line " + std::to_string(i + 1) + " " + quoted(lines[i]) +
                   " is not a measurement: " + cells.problem + ".";
        rows.times.push_back(*cells.time);
        rows.values.push_back(*cells.value);
        rows.lines.push_back(i + 1);
    }
    if (rows.times.empty()) return std::string("No measurements after the header lines.");
    return std::nullopt;
}

void keepFromStart(const RawRows& rows, const std::vector<double>& times, const ImportOptions& o,
                   ImportReading& r) {
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (times[i] < 0.0) {
            ++r.beforeStart;
            continue;
        }
        r.times.push_back(times[i]);
        r.drawdowns.push_back(drawdownOf(rows.values[i], o));
        r.lines.push_back(rows.lines[i]);
    }
    if (r.times.empty()) r.error = "Every measurement lies before the start " + quoted(o.start) + ".";
}

}  // namespace

std::optional<ImportTimeFormat> importTimeFormatNamed(std::string_view name) {
    if (name == "elapsed") return ImportTimeFormat::Elapsed;
    if (name == "clock") return ImportTimeFormat::Clock;
    return std::nullopt;
}

std::optional<ImportValues> importValuesNamed(std::string_view name) {
    if (name == "drawdown") return ImportValues::Drawdown;
    if (name == "level") return ImportValues::Level;
    if (name == "depth") return ImportValues::Depth;
    return std::nullopt;
}

std::optional<char> importDelimiterNamed(std::string_view name) {
    if (name == "comma") return ',';
    if (name == "semicolon") return ';';
    if (name == "tab") return '\t';
    if (name == "space" || name == "blanks") return kBlanksDelimiter;
    return std::nullopt;
}

std::string importDelimiterLabel(char delimiter) {
    switch (delimiter) {
        case ',':
            return "comma";
        case ';':
            return "semicolon";
        case '\t':
            return "tab";
        default:
            return "blanks";
    }
}

std::vector<std::string> splitImportFields(std::string_view line, char delimiter) {
    std::vector<std::string> fields;
    if (delimiter == kBlanksDelimiter) {
        std::size_t at = line.find_first_not_of(" \t");
        while (at != std::string_view::npos) {
            const std::size_t end = line.find_first_of(" \t", at);
            fields.emplace_back(line.substr(at, end == std::string_view::npos ? end : end - at));
            at = end == std::string_view::npos ? end : line.find_first_not_of(" \t", end);
        }
        return fields;
    }
    std::size_t at = 0;
    while (true) {
        const std::size_t end = line.find(delimiter, at);
        fields.push_back(trimmed(line.substr(at, end == std::string_view::npos ? end : end - at)));
        if (end == std::string_view::npos) return fields;
        at = end + 1;
    }
}

double clockTimeUnitSeconds(const DisplayUnits& units) {
    if (!units.time.empty()) {
        if (const UnitChoice* unit = findUnit(timeUnits(), units.time)) return unit->toSI;
    }
    return kSecondsPerMinute;
}

ImportReading readImportText(std::string_view text, const ImportOptions& o, const DisplayUnits& units) {
    ImportReading r;
    if (auto error = checkOptions(o)) {
        r.error = *error;
        return r;
    }
    const std::vector<std::string_view> lines = allLines(text);
    const std::size_t given = static_cast<std::size_t>(o.headerLines.value_or(0));
    const auto delimiter = o.delimiter ? o.delimiter : detectDelimiter(lines, given, o);
    if (!delimiter) {
        r.error = "No line has numbers in columns " + std::to_string(o.timeColumn) + " and " +
                  std::to_string(o.valueColumn) + " with any delimiter (comma, semicolon, tab, blanks).";
        return r;
    }
    r.delimiter = *delimiter;
    r.headerLines = o.headerLines ? *o.headerLines : detectHeaderLines(lines, r.delimiter, o);
    RawRows rows;
    if (auto error = readRows(lines, r, o, rows)) {
        r.error = *error;
        return r;
    }
    std::vector<double> times;
    const auto error = o.timeFormat == ImportTimeFormat::Clock
                           ? clockTimes(rows, o, clockTimeUnitSeconds(units), times)
                           : elapsedTimes(rows, o, times);
    if (error) {
        r.error = *error;
        return r;
    }
    keepFromStart(rows, times, o, r);
    return r;
}

}  // namespace tolvex
