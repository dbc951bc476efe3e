// The first lines of a measurement file as the import would read them: each split into its fields,
// with what it becomes (a header line, a measurement with its time and drawdown, a line left out).
// The window shows it as a table that follows the options; the command line prints it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/input/ImportOptions.h"

namespace tolvex {

inline constexpr std::size_t kPreviewLines = 20;

struct PreviewLine {
    enum class Role { Header, Blank, Measurement, LeftOut, NotRead };
    std::size_t number = 0;  // from 1
    std::string text;
    std::vector<std::string> fields;
    Role role = Role::NotRead;
    double time = 0.0;  // for a measurement: as imported
    double drawdown = 0.0;
};

struct ImportPreview {
    ImportReading reading;  // of the whole text: delimiter, header lines, error
    bool delimiterDetected = false;
    bool headerDetected = false;
    std::vector<PreviewLine> lines;
};

[[nodiscard]] ImportPreview previewImport(std::string_view text, const ImportOptions& options,
                                          const DisplayUnits& units, std::size_t lineCount = kPreviewLines);

// What a line becomes, in words: "header", "t = 5, s = 0.12", "before the start", ...
[[nodiscard]] std::string previewRoleText(const PreviewLine& line);

// The preview as plain text for a terminal: a summary line, then one line per file line.
[[nodiscard]] std::string previewText(const ImportPreview& preview);

}  // namespace tolvex
