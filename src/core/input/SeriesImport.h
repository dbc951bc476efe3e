// An observation series read from a text file of time and drawdown pairs, by the same import as the
// first series' measurements (Import.h), so the files that serve one serve the other.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "core/input/ImportOptions.h"
#include "core/series/ObservationSeries.h"
#include "core/units/DisplayUnits.h"

namespace tolvex {

struct SeriesFile {
    std::string name;
    std::string path;
    double radialDistance = 1.0;
    double weight = 1.0;
    int delimiter = 0;  // as AnalysisState::importDelimiter
    // Read with these options (columns, header lines, clock times, levels) instead of the classic import.
    std::optional<ImportOptions> options;
    // The document's units and model: the file's numbers and the distance are in those units (the
    // series keeps SI, as the state does), and the model tells drawdowns from slug-test heads.
    DisplayUnits units;
    int modelKind = 0;
};

// The series of the file's measurements, every one in use; or why not (the file's fault as the import
// words it, or a bad distance or weight). `notice` receives the import's note of skipped lines.
[[nodiscard]] std::variant<ObservationSeries, std::string> importSeries(const SeriesFile& file,
                                                                        std::string* notice = nullptr);

}  // namespace tolvex
