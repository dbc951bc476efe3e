#include "core/input/Import.h"

#include "core/input/LeadingNumber.h"
#include "core/input/MeasurementTable.h"
#include "core/persist/FileBytes.h"

namespace tolvex {
namespace {

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r\v\f") == std::string_view::npos;
}

void parseLine(std::string_view line, char delimiter, ParsedMeasurements& out) {
    const auto start = line.find_first_not_of(' ');
    line.remove_prefix(start == std::string_view::npos ? line.size() : start);
    const auto end = line.find_first_of(std::string{delimiter, ' '});
    const std::string_view time = line.substr(0, end);
    const std::string_view drawdown =
        end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
    out.times.push_back(leadingNumber(time));
    out.drawdowns.push_back(leadingNumber(drawdown));
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

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
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!isBlankLine(line)) parseLine(line, delimiter, out);
    }
    return out;
}

std::optional<std::string> importMeasurements(const std::string& path, int delimiter, AnalysisState& state) {
    const auto character = delimiterCharacter(delimiter);
    if (!character) return "Unknown delimiter " + std::to_string(delimiter) + " for " + quoted(path) + ".";
    const FileRead file = readFileBytes(path, kMaxImportBytes);
    if (!file.bytes) return "Cannot open input file!\n" + quoted(path) + ": " + file.error;
    const ParsedMeasurements parsed = parseMeasurementText(*file.bytes, *character);
    if (parsed.times.empty()) return "No measurements in " + quoted(path) + ".";
    if (parsed.times.size() > static_cast<std::size_t>(kMaxMeasurements)) {
        return quoted(path) + " holds " + std::to_string(parsed.times.size()) + " measurements; at most " +
               std::to_string(kMaxMeasurements) + " can be kept.";
    }
    replaceMeasurements(state, parsed.times, parsed.drawdowns);
    return std::nullopt;
}

}  // namespace tolvex
