#include "core/input/SeriesImport.h"

#include "core/input/Import.h"
#include "core/series/SeriesChecks.h"
#include "core/state/AnalysisState.h"
#include "core/units/Units.h"

namespace tolvex {

std::variant<ObservationSeries, std::string> importSeries(const SeriesFile& file, std::string* notice) {
    if (auto error = checkRadialDistance(file.radialDistance)) return *error;
    if (auto error = checkWeight(file.weight)) return *error;
    // A scratch state: the import fills its measurement table, which becomes the series.
    AnalysisState scratch = makeDefaultState();
    scratch.units = file.units;
    scratch.modelKind = file.modelKind;
    if (auto error = file.options ? importWithOptions(file.path, *file.options, scratch, notice)
                                  : importMeasurements(file.path, file.delimiter, scratch, notice))
        return *error;
    ObservationSeries series;
    series.settings.name = file.name;
    series.settings.weight = file.weight;
    series.radialDistance = static_cast<float>(toSI(file.radialDistance, Dimension::Length, file.units));
    const auto n = static_cast<std::size_t>(std::max(scratch.allCount, 0));
    series.times.assign(scratch.allTimes.begin(), scratch.allTimes.begin() + static_cast<std::ptrdiff_t>(n));
    series.values.assign(scratch.allDrawdowns.begin(),
                         scratch.allDrawdowns.begin() + static_cast<std::ptrdiff_t>(n));
    series.useFrom = 1;
    series.useTo = static_cast<int>(n);
    return series;
}

}  // namespace tolvex
