#include "core/input/ImportPreview.h"

#include <algorithm>

#include "core/input/ImportText.h"
#include "core/state/FieldTable.h"

namespace tolvex {
namespace {

constexpr int kPreviewDigits = 6;

PreviewLine::Role roleOf(std::size_t number, std::string_view line, const ImportReading& r,
                         std::size_t& next) {
    if (number <= static_cast<std::size_t>(r.headerLines)) return PreviewLine::Role::Header;
    if (line.find_first_not_of(" \t\r\v\f") == std::string_view::npos) return PreviewLine::Role::Blank;
    if (!r.error.empty()) return PreviewLine::Role::NotRead;
    if (next < r.lines.size() && r.lines[next] == number) return PreviewLine::Role::Measurement;
    return PreviewLine::Role::LeftOut;
}

}  // namespace

ImportPreview previewImport(std::string_view text, const ImportOptions& options, const DisplayUnits& units,
                            std::size_t lineCount) {
    ImportPreview preview;
    preview.reading = readImportText(text, options, units);
    preview.delimiterDetected = !options.delimiter.has_value();
    preview.headerDetected = !options.headerLines.has_value();
    const ImportReading& r = preview.reading;
    std::size_t next = 0;
    for (std::size_t number = 1; number <= lineCount && !text.empty(); ++number) {
        PreviewLine line;
        line.number = number;
        line.text = std::string(takeLine(text));
        line.fields = splitImportFields(line.text, r.delimiter);
        line.role = roleOf(number, line.text, r, next);
        if (line.role == PreviewLine::Role::Measurement) {
            line.time = r.times[next];
            line.drawdown = r.drawdowns[next];
            ++next;
        }
        preview.lines.push_back(std::move(line));
    }
    return preview;
}

std::string previewRoleText(const PreviewLine& line) {
    switch (line.role) {
        case PreviewLine::Role::Header:
            return "header (skipped)";
        case PreviewLine::Role::Blank:
            return "blank";
        case PreviewLine::Role::Measurement:
            return "t = " + formatGeneral(line.time, kPreviewDigits) +
                   ", s = " + formatGeneral(line.drawdown, kPreviewDigits);
        case PreviewLine::Role::LeftOut:
            return "before the start (left out)";
        case PreviewLine::Role::NotRead:
            break;
    }
    return "not read";
}

std::string previewText(const ImportPreview& p) {
    const ImportReading& r = p.reading;
    std::string out =
        "delimiter: " + importDelimiterLabel(r.delimiter) + (p.delimiterDetected ? " (detected)" : "") +
        ", header lines: " + std::to_string(r.headerLines) + (p.headerDetected ? " (detected)" : "") +
        ", measurements: " + std::to_string(r.times.size());
    if (r.beforeStart > 0) out += ", before the start: " + std::to_string(r.beforeStart);
    out += "\n";
    if (!r.error.empty()) out += "cannot import: " + r.error + "\n";
    for (const PreviewLine& line : p.lines) {
        std::string fields;
        for (std::size_t i = 0; i < line.fields.size(); ++i) {
            if (i > 0) fields += " | ";
            fields += line.fields[i];
        }
        out += std::to_string(line.number) + ": " + previewRoleText(line) + "  <-  " + fields + "\n";
    }
    return out;
}

}  // namespace tolvex
