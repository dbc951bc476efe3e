// The two plain-text reports: the well-function report (type-curve ranges and table of the current
// model) and the report of aquifer parameter estimations (model data, starting and fitted values,
// measured and calculated drawdowns, convergence history). Their texts, widths and three-digit
// exponents are those that users' post-processing scripts have always read; keep them byte for byte.
#pragma once

#include <optional>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex {

// Which report resultKind selects.
enum ReportKind : int {
    kReportWellFunctions = 0,
    kReportEstimation = 1,
    kReportBoth = 2,  // the well-function report followed by the estimation report
};

// The well-function report, with "\n" line ends.
[[nodiscard]] std::string wellFunctionReport(const AnalysisState& state);
// The estimation report, with "\n" line ends.
[[nodiscard]] std::string estimationReport(const AnalysisState& state);

// The report file's contents as resultKind selects (empty for any other value), with CR LF line ends.
[[nodiscard]] std::string reportText(const AnalysisState& state);

// Writes reportText to `path` through writeFileOrMessage (an existing report survives a failure).
// Returns "Not able to create file." and, on a second line, the file and the reason; or nothing.
[[nodiscard]] std::optional<std::string> writeReportFile(const AnalysisState& state, const std::string& path);

}  // namespace tolvex
