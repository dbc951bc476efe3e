// Files the engine's subcommands write besides the document: the report, the plot picture, CSV tables.
#pragma once

#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex::cli {

// The report that resultKind selects, to `path`; throws CliError naming the file.
void writeReportOrThrow(const AnalysisState& state, const std::string& path);
// The plot as a picture (the extension picks the format); refused when the program was built without
// the picture renderer.
void writePlotOrThrow(AnalysisState& state, const std::string& path);
// A table of numbers with a header line, comma-separated, %.9g.
void writeCsvOrThrow(const std::string& path, const std::vector<std::string>& header,
                     const std::vector<std::vector<double>>& rows);

}  // namespace tolvex::cli
