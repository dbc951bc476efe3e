#include "core/input/Import.h"

#include "core/input/ImportText.h"
#include "core/input/LeadingNumber.h"
#include "core/input/MeasurementTable.h"
#include "core/io/FileBytes.h"

namespace tolvex {
namespace {

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r\v\f") == std::string_view::npos;
}

// Longest piece of a skipped line quoted in a message.
constexpr std::size_t kQuotedLineLength = 60;
// Line numbers listed in a message; more are summed up as "...".
constexpr std::size_t kListedLines = 10;

void parseLine(std::string_view line, std::size_t number, char delimiter, ParsedMeasurements& out) {
    const std::string_view whole = line;
    const auto start = line.find_first_not_of(' ');
    line.remove_prefix(start == std::string_view::npos ? line.size() : start);
    const auto end = line.find_first_of(std::string{delimiter, ' '});
    const std::string_view time = line.substr(0, end);
    const std::string_view drawdown =
        end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
    if (!startsWithNumber(time)) {
        if (out.skippedLines.empty()) out.firstSkipped = std::string(whole);
        out.skippedLines.push_back(number);
        return;
    }
    out.times.push_back(leadingNumber(time));
    out.drawdowns.push_back(leadingNumber(drawdown));
    if (startsWithNumber(drawdown)) ++out.linesWithDrawdown;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string quotedLine(std::string_view line) {
    if (line.size() > kQuotedLineLength)
        return quoted(std::string(line.substr(0, kQuotedLineLength)) + "...");
    return quoted(line);
}

std::string lineList(const std::vector<std::size_t>& lines) {
    std::string list;
    for (std::size_t i = 0; i < lines.size() && i < kListedLines; ++i) {
        if (i > 0) list += ", ";
        list += std::to_string(lines[i]);
    }
    if (lines.size() > kListedLines) list += ", ...";
    return list;
}

std::string skippedNotice(const std::string& path, const ParsedMeasurements& parsed) {
    const std::size_t n = parsed.skippedLines.size();
    return "Skipped " + std::to_string(n) + (n == 1 ? " line" : " lines") + " of " + quoted(path) +
           " that do not start with a number (" + (n == 1 ? "line " : "lines ") +
           lineList(parsed.skippedLines) + "); the first reads " + quotedLine(parsed.firstSkipped) + ".";
}

// The delimiter, other than `chosen`, after which most lines of the text hold a drawdown; nothing when
// none does.
std::optional<int> splittingDelimiter(std::string_view text, int chosen) {
    std::optional<int> best;
    std::size_t bestLines = 0;
    for (int d = kDelimiterComma; d <= kDelimiterSemicolon; ++d) {
        if (d == chosen) continue;
        const std::size_t lines = parseMeasurementText(text, *delimiterCharacter(d)).linesWithDrawdown;
        if (lines > bestLines) {
            best = d;
            bestLines = lines;
        }
    }
    return best;
}

// What was detected or left out, for a notice; empty when nothing was.
std::string readingNotice(const std::string& path, const ImportOptions& options, const ImportReading& r) {
    std::string notice;
    if (!options.delimiter) notice += "delimiter " + importDelimiterLabel(r.delimiter) + " detected";
    if (!options.headerLines && r.headerLines > 0) {
        if (!notice.empty()) notice += ", ";
        notice +=
            std::to_string(r.headerLines) + " header line" + (r.headerLines == 1 ? "" : "s") + " skipped";
    }
    if (r.beforeStart > 0) {
        if (!notice.empty()) notice += ", ";
        notice += std::to_string(r.beforeStart) + " measurement" + (r.beforeStart == 1 ? "" : "s") +
                  " before the start left out";
    }
    return notice.empty() ? notice : quoted(path) + ": " + notice + ".";
}

}  // namespace

std::string delimiterName(int delimiter) {
    switch (delimiter) {
        case kDelimiterComma:
            return "Comma";
        case kDelimiterSpace:
            return "Space";
        case kDelimiterTab:
            return "Tab";
        case kDelimiterSemicolon:
            return "Semicolon";
        default:
            return std::to_string(delimiter);
    }
}

std::optional<char> delimiterCharacter(int delimiter) {
    switch (delimiter) {
        case kDelimiterComma:
            return ',';
        case kDelimiterSpace:
            return ' ';
        case kDelimiterTab:
            return '\t';
        case kDelimiterSemicolon:
            return ';';
        default:
            return std::nullopt;
    }
}

ParsedMeasurements parseMeasurementText(std::string_view text, char delimiter) {
    ParsedMeasurements out;
    std::size_t number = 0;
    while (!text.empty()) {
        const std::string_view line = takeLine(text);
        ++number;
        if (!isBlankLine(line)) parseLine(line, number, delimiter, out);
    }
    return out;
}

std::optional<std::string> importMeasurements(const std::string& path, int delimiter, AnalysisState& state,
                                              std::string* notice) {
    if (notice != nullptr) notice->clear();
    const auto character = delimiterCharacter(delimiter);
    if (!character) return "Unknown delimiter " + std::to_string(delimiter) + " for " + quoted(path) + ".";
    const FileRead file = readFileBytes(path, kMaxImportBytes);
    if (!file.bytes) return "Cannot open input file!\n" + quoted(path) + ": " + file.error;
    const ImportText decoded = decodeImportText(*file.bytes);
    if (!decoded.text) return quoted(path) + " " + decoded.error + ".";
    const std::string& text = *decoded.text;
    const ParsedMeasurements parsed = parseMeasurementText(text, *character);
    if (parsed.times.empty()) {
        if (parsed.skippedLines.empty()) return "No measurements in " + quoted(path) + ".";
        return "No measurements in " + quoted(path) +
               ": none of its lines starts with a number; the first reads " +
               quotedLine(parsed.firstSkipped) + ".";
    }
    if (parsed.linesWithDrawdown == 0) {
        std::string message = "No line of " + quoted(path) +
                              " has a drawdown after the time with the delimiter " +
                              delimiterName(delimiter) + ".";
        if (const auto other = splittingDelimiter(text, delimiter)) {
            message += " The delimiter " + delimiterName(*other) + " splits its lines.";
        }
        return message;
    }
    if (parsed.times.size() > static_cast<std::size_t>(kMaxMeasurements)) {
        return quoted(path) + " holds " + std::to_string(parsed.times.size()) + " measurements; at most " +
               std::to_string(kMaxMeasurements) + " can be kept.";
    }
    replaceMeasurements(state, parsed.times, parsed.drawdowns);
    if (notice != nullptr && !parsed.skippedLines.empty()) *notice = skippedNotice(path, parsed);
    return std::nullopt;
}

std::optional<std::string> importWithOptions(const std::string& path, const ImportOptions& options,
                                             AnalysisState& state, std::string* notice) {
    if (notice != nullptr) notice->clear();
    const FileRead file = readFileBytes(path, kMaxImportBytes);
    if (!file.bytes) return "Cannot open input file!\n" + quoted(path) + ": " + file.error;
    const ImportText decoded = decodeImportText(*file.bytes);
    if (!decoded.text) return quoted(path) + " " + decoded.error + ".";
    const ImportReading reading = readImportText(*decoded.text, options, state.units);
    if (!reading.error.empty()) return "Cannot import " + quoted(path) + ": " + reading.error;
    if (reading.times.size() > static_cast<std::size_t>(kMaxMeasurements)) {
        return quoted(path) + " holds " + std::to_string(reading.times.size()) + " measurements; at most " +
               std::to_string(kMaxMeasurements) + " can be kept.";
    }
    replaceMeasurements(state, reading.times, reading.drawdowns);
    if (notice != nullptr) *notice = readingNotice(path, options, reading);
    return std::nullopt;
}

}  // namespace tolvex
