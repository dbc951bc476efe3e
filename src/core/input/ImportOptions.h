// How a measurement file with more than two plain columns is read: data-logger exports with a header,
// several columns, clock times and water levels instead of drawdowns.
//
// Delimiters: comma, semicolon, tab or blanks (runs of spaces and tabs). When none is given it is
// detected: the one that makes the chosen columns of the most of the first lines numbers (ties go in
// the order tab, semicolon, comma, blanks). Numbers may have a decimal comma when the delimiter is not
// the comma ("12,5" with semicolons); "1,234.5" is not a number.
// Header lines: when not given, the leading lines whose chosen columns are not numbers (or clock times).
// After them every non-blank line must be a measurement; a line that is not is refused by its number.
// Times are elapsed numbers as they stand, or clock times ("hh:mm[:ss]", "yyyy-mm-dd hh:mm[:ss]", also
// with 'T'; a date alone in the time column with the clock time in the next column is read as one).
// Clock times become elapsed times from the first row, or from a given start, in the document's time
// unit, or in minutes when no units are set (the unit pumping tests are logged and plotted in). Undated
// clock times that go back are read as the next day (a log across midnight). Rows before the start
// are left out.
// Values are drawdowns, water levels above a datum (drawdown = static - level) or depths to water
// (drawdown = depth - static).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/units/DisplayUnits.h"

namespace tolvex {

enum class ImportTimeFormat { Elapsed, Clock };
enum class ImportValues { Drawdown, Level, Depth };

// Delimiter character meaning "runs of blanks".
inline constexpr char kBlanksDelimiter = ' ';

struct ImportOptions {
    std::optional<char> delimiter;   // ',', ';', '\t' or kBlanksDelimiter; nothing: detected
    std::optional<int> headerLines;  // lines skipped at the top; nothing: detected
    int timeColumn = 1;              // 1-based
    int valueColumn = 2;
    ImportTimeFormat timeFormat = ImportTimeFormat::Elapsed;
    std::string start;  // time 0: a clock time or an elapsed number; empty: the first row (elapsed: 0)
    ImportValues values = ImportValues::Drawdown;
    std::optional<double> staticLevel;  // needed for levels and depths
    friend bool operator==(const ImportOptions&, const ImportOptions&) = default;
};

// The names used on the command line and in the window.
[[nodiscard]] std::optional<ImportTimeFormat> importTimeFormatNamed(std::string_view name);
[[nodiscard]] std::optional<ImportValues> importValuesNamed(std::string_view name);
[[nodiscard]] std::optional<char> importDelimiterNamed(std::string_view name);  // comma, semicolon, ...
[[nodiscard]] std::string importDelimiterLabel(char delimiter);                 // "comma", "blanks", ...

// The fields of a line: split at the delimiter with blanks around each field removed, or at runs of
// blanks.
[[nodiscard]] std::vector<std::string> splitImportFields(std::string_view line, char delimiter);

// Seconds in the time unit that clock times are given in: the document's, or a minute.
[[nodiscard]] double clockTimeUnitSeconds(const DisplayUnits& units);

struct ImportReading {
    char delimiter = ',';  // the delimiter used (given or detected)
    int headerLines = 0;   // the lines skipped (given or detected)
    std::vector<double> times;
    std::vector<double> drawdowns;
    std::vector<std::size_t> lines;  // the line (from 1) of each measurement
    std::size_t beforeStart = 0;     // rows left out because they lie before the start
    std::string error;               // why the text cannot be read; empty when it can
};

// Reads the text (lines as decodeImportText gives them) as the options say.
[[nodiscard]] ImportReading readImportText(std::string_view text, const ImportOptions& options,
                                           const DisplayUnits& units);

}  // namespace tolvex
