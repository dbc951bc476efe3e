// Reading measurements from a delimited text file: one (time, drawdown) pair per line, no header.
//
// Per line: leading blanks are skipped; the time is the run of characters up to the first delimiter
// or blank, the drawdown everything after that one character; both are read with the atof rules
// (leadingNumber). So with a comma "5,3.41", "5, 3.41" and "5 3.41" all give (5, 3.41), while
// "5 , 3.41" gives (5, 0.0) because the drawdown field then starts with the comma. A line with a
// single field has drawdown 0.0, for correction in the table. Lines that hold only white space are
// skipped, the last line counts whether or not it ends with a line end, and a line is a line however
// long it is. Line ends may be LF or CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
};

// Parses the text of a measurement file (delimiter character as from delimiterCharacter).
[[nodiscard]] ParsedMeasurements parseMeasurementText(std::string_view text, char delimiter);

// Reads the file into the table and the used set (rows 1..n). On failure returns the message to show
// and leaves the state unchanged: "Cannot open input file!" with the file and the reason on a second
// line, or a message naming the file when it holds no measurements or more than the document can keep.
[[nodiscard]] std::optional<std::string> importMeasurements(const std::string& path, int delimiter,
                                                            AnalysisState& state);

}  // namespace tolvex
