// Reading measurements from a delimited text file: one (time, drawdown) pair per line, no header.
//
// Per line: leading blanks are skipped; the time is the run of characters up to the first delimiter
// or blank, the drawdown everything after that one character; both are read with the atof rules
// (leadingNumber). So with a comma "5,3.41", "5, 3.41" and "5 3.41" all give (5, 3.41), while
// "5 , 3.41" gives (5, 0.0) because the drawdown field then starts with the comma. A line with a
// single field has drawdown 0.0, for correction in the table. Lines that hold only white space are
// skipped, the last line counts whether or not it ends with a line end, and a line is a line however
// long it is. Line ends may be LF, CR LF or a lone CR. The file is read as ImportText.h says: a UTF-8
// byte-order mark is skipped, UTF-16 of ASCII characters is decoded, and other UTF-16 or NUL bytes
// refuse the file.
//
// A line whose time field does not start with a number (a header "time,drawdown", a "# comment", an
// empty first field) is not a measurement: it is skipped, and the import says how many and which. A
// file in which no line has a number after the time was written with another delimiter (a semicolon
// file read with the comma gives plausible garbage, every drawdown 0): it is refused, naming the
// delimiter that splits its lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/input/ImportOptions.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

// Values of importDelimiter, in the order of the "Data input format" dialog.
enum ImportDelimiter : int {
    kDelimiterComma = 0,
    kDelimiterSpace = 1,
    kDelimiterTab = 2,
    kDelimiterSemicolon = 3,
};

// Largest measurement file read.
inline constexpr std::size_t kMaxImportBytes = 64u * 1024u * 1024u;

// The character of a delimiter index, or nothing for an unknown index.
[[nodiscard]] std::optional<char> delimiterCharacter(int delimiter);

struct ParsedMeasurements {
    std::vector<double> times;
    std::vector<double> drawdowns;
    std::vector<std::size_t> skippedLines;  // line numbers (from 1) of lines whose time is not a number
    std::string firstSkipped;               // the text of the first of them
    std::size_t linesWithDrawdown = 0;      // measurements whose drawdown field starts with a number
};

// Parses the text of a measurement file, as decodeImportText gives it (delimiter character as from
// delimiterCharacter).
[[nodiscard]] ParsedMeasurements parseMeasurementText(std::string_view text, char delimiter);

// The name of a delimiter as its button in the "Data input format" dialog says it ("Comma", ...).
[[nodiscard]] std::string delimiterName(int delimiter);

// Reads the file into the table and the used set (rows 1..n). On failure returns the message to show
// and leaves the state unchanged: "Cannot open input file!" with the file and the reason on a second
// line, or a message naming the file when it is not text (NUL bytes, naming the line; UTF-16 beyond
// ASCII), holds no measurements, none with a drawdown after the
// time (naming the delimiter that would split its lines), or more than the document can keep.
// When lines were skipped, `notice` (if given) receives the message that says so; otherwise it is
// cleared.
[[nodiscard]] std::optional<std::string> importMeasurements(const std::string& path, int delimiter,
                                                            AnalysisState& state,
                                                            std::string* notice = nullptr);

// Reads the file as `options` say (ImportOptions.h) into the table and the used set, times in the
// document's time unit (state.units). On failure returns the message naming the file and, for a line
// that is not a measurement, the line, and leaves the state unchanged. `notice` (if given) receives
// what was detected or left out, or is cleared.
[[nodiscard]] std::optional<std::string> importWithOptions(const std::string& path,
                                                           const ImportOptions& options, AnalysisState& state,
                                                           std::string* notice = nullptr);

}  // namespace tolvex
