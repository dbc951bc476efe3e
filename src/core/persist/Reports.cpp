#include "core/persist/Reports.h"

#include "core/input/DisplayUnitsChange.h"
#include "core/persist/FileReplace.h"

namespace tolvex {
namespace {

// The report file is text with CR LF line ends; a CR LF already in a project text stays one line end.
std::string withCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace

std::string reportText(const AnalysisState& stored) {
    // Reports print numbers only, so in the document's units; the unit names are the reader's to know.
    const AnalysisState converted = stored.units.set() ? inDisplayUnits(stored) : AnalysisState{};
    const AnalysisState& state = stored.units.set() ? converted : stored;
    switch (state.resultKind) {
        case kReportWellFunctions:
            return withCrLf(wellFunctionReport(state));
        case kReportEstimation:
            return withCrLf(estimationReport(state));
        case kReportBoth:
            return withCrLf(wellFunctionReport(state) + estimationReport(state));
        default:
            return {};
    }
}

std::optional<std::string> writeReportFile(const AnalysisState& state, const std::string& path) {
    return writeFileOrMessage(path, reportText(state));
}

}  // namespace tolvex
