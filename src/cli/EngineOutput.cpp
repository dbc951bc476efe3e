#include "cli/EngineOutput.h"

#include <cstdio>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/persist/FileReplace.h"
#include "core/persist/Reports.h"
#ifdef TOLVEX_HAVE_RENDER
#include "render/PlotExport.h"
#endif

namespace tolvex::cli {

#ifdef TOLVEX_HAVE_RENDER
namespace {
constexpr int kPlotWidth = 1200;  // the plot's logical page
constexpr int kPlotHeight = 1000;
}  // namespace
#endif

void writeReportOrThrow(const AnalysisState& state, const std::string& path) {
    if (auto error = writeReportFile(state, path)) throw CliError{oneLine(*error)};
}

void writePlotOrThrow([[maybe_unused]] AnalysisState& state, const std::string& path) {
#ifdef TOLVEX_HAVE_RENDER
    if (auto error = render::exportPlot(state, path, kPlotWidth, kPlotHeight))
        throw CliError{oneLine(*error)};
#else
    throw CliError{"--plot " + path + ": this tolvex-cli was built without the picture renderer"};
#endif
}

void writeCsvOrThrow(const std::string& path, const std::vector<std::string>& header,
                     const std::vector<std::vector<double>>& rows) {
    std::string text;
    for (std::size_t i = 0; i < header.size(); ++i) text += (i ? "," : "") + header[i];
    text += "\n";
    char buffer[32];
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            std::snprintf(buffer, sizeof buffer, "%.9g", row[i]);
            text += (i ? "," : "");
            text += buffer;
        }
        text += "\n";
    }
    if (auto error = writeFileOrMessage(path, text)) throw CliError{"--csv: " + oneLine(*error)};
}

}  // namespace tolvex::cli
