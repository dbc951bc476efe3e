#include "core/input/MeasurementTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "core/input/LeadingNumber.h"
#include "core/io/NumberFormat.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"

namespace tolvex {
namespace {

std::size_t index(int i) {
    return static_cast<std::size_t>(i);
}

bool rangeValid(int from, int to, int count) {
    return from >= 1 && from <= to && to <= count;
}

// Puts the used range back inside the table: a range that no longer fits is cut at the table's end,
// and one that is beyond repair becomes the whole table.
void keepRangeInTable(AnalysisState& s) {
    if (s.allCount <= 0) {
        s.useFrom = 1;
        s.useTo = 0;
        return;
    }
    s.useTo = std::clamp(s.useTo, 1, s.allCount);
    if (!rangeValid(s.useFrom, s.useTo, s.allCount)) {
        s.useFrom = 1;
        s.useTo = s.allCount;
    }
}

// Values whose "%.4f" text would run longer than a cell can sensibly show are written the shortest way.
constexpr double kFixedTextLimit = 1e15;

// The shortest text that reads back as `value` (std::to_chars without a precision).
std::string shortestText(double value) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc{} ? std::string(buffer.data(), end) : fixedText(value, 4);
}

bool readsBackAs(const std::string& text, double value) {
    double back = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), back);
    return error == std::errc{} && end == text.data() + text.size() && back == value;
}

const char* columnName(int column) {
    return column == kTimeColumn ? "Time" : "Drawdown(m)";
}

// What a column holds: times, or drawdowns (normalised heads for the slug tests).
Dimension columnDimension(const AnalysisState& s, int column) {
    return column == kTimeColumn ? Dimension::Time : measuredDimension(s);
}

// The text of a stored (SI) value in the document's units.
std::string cellText(const AnalysisState& s, int column, double stored) {
    return tableValueText(fromSI(stored, columnDimension(s, column), s.units));
}

// The value of a cell in SI: the stored one while the cell shows it unchanged, else the number typed
// (in the document's units).
std::optional<double> cellValue(const AnalysisState& s, int column, const std::string& text,
                                std::optional<double> stored) {
    if (stored && text == cellText(s, column, *stored)) return stored;
    const auto typed = completeNumber(text);
    if (!typed) return std::nullopt;
    return toSI(*typed, columnDimension(s, column), s.units);
}

}  // namespace

void replaceMeasurements(AnalysisState& s, const std::vector<double>& times,
                         const std::vector<double>& drawdowns) {
    const std::size_t count = std::min(times.size(), drawdowns.size());
    s.allTimes.assign(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(count));
    s.allDrawdowns.assign(drawdowns.begin(), drawdowns.begin() + static_cast<std::ptrdiff_t>(count));
    measurementsToSI(s.allTimes, s.allDrawdowns, measuredDimension(s), s.units);
    s.times = s.allTimes;
    s.measured = s.allDrawdowns;
    s.calculated.assign(count, 0.0);
    s.allCount = s.usedCount = static_cast<int>(count);
    s.useFrom = 1;
    s.useTo = s.allCount;
}

void prepareMeasurementTable(AnalysisState& s) {
    if (s.allCount >= s.usedCount) return;
    s.allCount = s.usedCount;
    s.useFrom = 1;
    s.useTo = s.usedCount;
    s.allTimes = s.times;
    s.allDrawdowns = s.measured;
    s.allTimes.resize(index(s.allCount));
    s.allDrawdowns.resize(index(s.allCount));
}

MeasurementTableContent measurementTableContent(const AnalysisState& s) {
    MeasurementTableContent content;
    content.count = s.allCount;
    content.rangeFrom = s.useFrom;
    content.rangeTo = s.useTo;
    const int rows = std::max(s.allCount, 0);
    content.cellTexts.assign(index(rows) * kCellsPerRow, std::string{});
    for (int r = 0; r < rows; ++r) {
        if (index(r) < s.allTimes.size())
            content.cellTexts[index(r) * kCellsPerRow] = cellText(s, kTimeColumn, s.allTimes[index(r)]);
        if (index(r) < s.allDrawdowns.size()) {
            content.cellTexts[index(r) * kCellsPerRow + 1] =
                cellText(s, kMeasuredColumn, s.allDrawdowns[index(r)]);
        }
    }
    if (calculatedShown(s)) {
        for (int k = 0; k < s.usedCount && index(k) < s.calculated.size(); ++k) {
            const int row = s.useFrom - 1 + k;
            if (row < 0 || row >= rows) continue;
            content.cellTexts[index(row) * kCellsPerRow + 2] =
                cellText(s, kMeasuredColumn, s.calculated[index(k)]);
        }
    }
    return content;
}

std::string tableHeaderText(int column) {
    static constexpr std::array<const char*, kTableColumns> kHeaders{"No.", "Time", "Drawdown(m)",
                                                                     "Drawdown(c)"};
    if (column < 0 || column >= kTableColumns) return {};
    return padRight(kHeaders[index(column)], 12);
}

std::string tableRowNumberText(int row) {
    return std::to_string(row);
}

std::string tableValueText(double value) {
    std::string text = fixedText(value, 4);
    if (std::isfinite(value) && (std::abs(value) >= kFixedTextLimit || !readsBackAs(text, value))) {
        text = shortestText(value);
    }
    return padRight(text, 7);
}

bool calculatedShown(const AnalysisState& s) {
    return s.plotContent == 2 &&
           std::any_of(s.calculated.begin(), s.calculated.end(), [](double value) { return value != 0.0; });
}

std::optional<std::string> changeMeasurementCount(AnalysisState& s, int newCount) {
    if (newCount < 1 || newCount > kMaxMeasurements) {
        return "Please enter a number between 1 and " + std::to_string(kMaxMeasurements) + ".";
    }
    const std::size_t oldCount =
        std::min({index(std::max(s.allCount, 0)), s.allTimes.size(), s.allDrawdowns.size()});
    const double lastTime = oldCount > 0 ? s.allTimes[oldCount - 1] : 0.0;
    const double lastDrawdown = oldCount > 0 ? s.allDrawdowns[oldCount - 1] : 0.0;
    s.allTimes.resize(oldCount);
    s.allDrawdowns.resize(oldCount);
    s.allTimes.resize(index(newCount), lastTime);
    s.allDrawdowns.resize(index(newCount), lastDrawdown);
    s.allCount = newCount;
    if (!rangeValid(s.useFrom, s.useTo, s.allCount)) {
        keepRangeInTable(s);
        selectUsedMeasurements(s);
        return std::nullopt;
    }
    if (s.usedCount > s.allCount) {
        s.usedCount = s.allCount;
        s.times.resize(index(s.usedCount));
        s.measured.resize(index(s.usedCount));
        s.calculated.resize(index(s.usedCount));
    }
    return std::nullopt;
}

std::optional<TableCellError> confirmMeasurementTable(AnalysisState& s,
                                                      const std::vector<std::string>& cellTexts,
                                                      int rangeFrom, int rangeTo) {
    const int oldCount = std::max(s.allCount, 0);
    const int gridRows = static_cast<int>(cellTexts.size() / kCellsPerRow);
    const int count = std::max(oldCount, gridRows);
    if (count > kMaxMeasurements) {
        return TableCellError{count, kTimeColumn,
                              "The table holds " + std::to_string(count) + " rows; at most " +
                                  std::to_string(kMaxMeasurements) + " measurements can be kept."};
    }
    // Every cell is read before anything is stored, so a refused cell leaves the state as it was.
    std::vector<double> times = s.allTimes;
    std::vector<double> drawdowns = s.allDrawdowns;
    times.resize(index(oldCount), 0.0);
    drawdowns.resize(index(oldCount), 0.0);
    times.resize(index(count), times.empty() ? 0.0 : times.back());
    drawdowns.resize(index(count), drawdowns.empty() ? 0.0 : drawdowns.back());
    for (int r = 0; r < gridRows; ++r) {
        for (const int column : {kTimeColumn, kMeasuredColumn}) {
            const std::string& text = cellTexts[index(r) * kCellsPerRow + index(column - 1)];
            double& target = column == kTimeColumn ? times[index(r)] : drawdowns[index(r)];
            const auto value =
                cellValue(s, column, text, r < oldCount ? std::optional<double>(target) : std::nullopt);
            if (!value) {
                return TableCellError{r + 1, column,
                                      "Row " + std::to_string(r + 1) + ", column \"" + columnName(column) +
                                          "\": \"" + text + "\" is not a number."};
            }
            target = *value;
        }
    }
    if (count > oldCount) (void)changeMeasurementCount(s, count);
    s.allTimes = std::move(times);
    s.allDrawdowns = std::move(drawdowns);
    const int from = (rangeFrom >= 1 && rangeFrom <= s.allCount) ? rangeFrom : s.useFrom;
    const int to = (rangeTo > rangeFrom && rangeTo <= s.allCount) ? rangeTo : s.useTo;
    // A from beyond the kept to would leave an empty range: the range then stays as it was.
    if (rangeValid(from, to, s.allCount)) {
        s.useFrom = from;
        s.useTo = to;
    }
    keepRangeInTable(s);
    selectUsedMeasurements(s);
    return std::nullopt;
}

void selectUsedMeasurements(AnalysisState& s) {
    const std::vector<double> oldTimes = std::move(s.times);
    const std::vector<double> oldMeasured = std::move(s.measured);
    s.times.clear();
    s.measured.clear();
    const int last = std::min(
        {s.useTo, s.allCount, static_cast<int>(s.allTimes.size()), static_cast<int>(s.allDrawdowns.size())});
    for (int row = std::max(s.useFrom, 1); row <= last; ++row) {
        const double time = s.allTimes[index(row - 1)];
        if (!s.times.empty() && time < kZeroTime) continue;
        s.times.push_back(time);
        s.measured.push_back(s.allDrawdowns[index(row - 1)]);
    }
    s.usedCount = static_cast<int>(s.times.size());
    if (s.times != oldTimes || s.measured != oldMeasured) s.calculated.assign(s.times.size(), 0.0);
    s.calculated.resize(s.times.size(), 0.0);
}

}  // namespace tolvex
