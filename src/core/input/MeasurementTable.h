// The rules of the measurement table ("Time-drawdown input dialog box"): the table arrays allTimes
// and allDrawdowns hold everything entered, rows useFrom..useTo (1-based) of them are the used set in
// times and measured. The grid dialog of the desktop program calls these functions; they keep the
// counts, the range and the arrays consistent whatever the user typed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

// Counts are 16-bit Words in the document file.
inline constexpr int kMaxMeasurements = 65535;
// Used times below this, after the first used one, are left out of the used set.
inline constexpr double kZeroTime = 1e-20;

// Grid columns: the fixed row number, then the three value columns.
inline constexpr int kTableColumns = 4;
inline constexpr int kCellsPerRow = 3;  // "Time", "Drawdown(m)", "Drawdown(c)"
inline constexpr int kTimeColumn = 1;
inline constexpr int kMeasuredColumn = 2;

// Installs new measurements as both the table and the used set (rows 1..n); calculated is zeroed.
// The values are as entered, in the document's units: they are stored in SI (measurementsToSI).
void replaceMeasurements(AnalysisState& state, const std::vector<double>& times,
                         const std::vector<double>& drawdowns);

// Opening the table: a table shorter than the used set becomes the used set.
void prepareMeasurementTable(AnalysisState& state);

// What the grid shows, in the document's units: the count, three cell texts per row (row r uses 3r, 3r+1,
// 3r+2) and the range. "Drawdown(c)" is filled only when drawdowns were calculated for the used rows
// (calculatedShown).
struct MeasurementTableContent {
    int count = 0;
    std::vector<std::string> cellTexts;
    int rangeFrom = 1;
    int rangeTo = 1;
};
[[nodiscard]] MeasurementTableContent measurementTableContent(const AnalysisState& state);

// Header of a grid column, "%-12s": "No.", "Time", "Drawdown(m)", "Drawdown(c)".
[[nodiscard]] std::string tableHeaderText(int column);
// Row number, "%-d".
[[nodiscard]] std::string tableRowNumberText(int row);
// A value cell, left-aligned in 7 characters: "%.4f" when that text reads back as the same double
// (5 -> "5.0000", 3.41 -> "3.4100"), otherwise the shortest text that does (5.8e-05, 0.123456789),
// so that no value is rounded by showing it.
[[nodiscard]] std::string tableValueText(double value);

// Whether "Drawdown(c)" holds drawdowns calculated for the used measurements: an estimation ran
// (plotContent 2) and has not been undone by new measurements, which leave calculated all zero.
[[nodiscard]] bool calculatedShown(const AnalysisState& state);

// The count button: resizes the table to `newCount` rows (1..65535), new rows repeating the last one
// (0 in an empty table). The used set shrinks with the table. Returns the message when the count is
// refused; the state is then unchanged.
[[nodiscard]] std::optional<std::string> changeMeasurementCount(AnalysisState& state, int newCount);

// A cell the table refuses: row (from 1) and grid column (kColumn... values: 1 "Time", 2 "Drawdown(m)").
struct TableCellError {
    int row = 0;
    int column = 0;
    std::string message;
};

// OK in the table dialog, given the texts of every grid row (three per row, as measurementTableContent
// gives them). A cell whose text is still the one shown for its value keeps that value exactly; any
// other text must be one complete number (completeNumber), else the cell is refused with a message
// naming its row and column and nothing is stored. Rows beyond the table (added by a paste) extend it
// by the count rules first. Then the range is taken when it is valid (1 <= from <= count;
// from < to <= count), and the used set selected. "Drawdown(c)" texts are never read.
[[nodiscard]] std::optional<TableCellError> confirmMeasurementTable(AnalysisState& state,
                                                                    const std::vector<std::string>& cellTexts,
                                                                    int rangeFrom, int rangeTo);

// Rebuilds times/measured from rows useFrom..useTo, leaving out every used time after the first that
// is below kZeroTime; usedCount follows, and calculated is sized to it. When the used measurements
// change, calculated is cleared to zeros: drawdowns calculated for other data are no result for these.
void selectUsedMeasurements(AnalysisState& state);

}  // namespace tolvex
