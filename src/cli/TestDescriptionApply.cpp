// Installing a test description into the state: every number is in the description's units and is
// stored in SI when units are set, as the window and --set store them.
#include <string>
#include <type_traits>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "cli/TestDescription.h"
#include "core/input/Import.h"
#include "core/input/ImportOptions.h"
#include "core/input/MeasurementTable.h"
#include "core/input/SeriesImport.h"
#include "core/pumping/RateScheduleChecks.h"
#include "core/pumping/RateStepUnits.h"
#include "core/series/GeometryFields.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"

namespace tolvex::cli {
namespace {

std::string seriesKey(std::size_t index, const char* key = nullptr) {
    std::string s = "series[" + std::to_string(index) + "]";
    return key ? s + "." + key : s;
}

ImportOptions readerOptions(const SeriesDescription& d) {
    ImportOptions o;
    if (d.delimiter) o.delimiter = importDelimiterNamed(*d.delimiter);
    o.headerLines = d.headerLines;
    if (d.columns) {
        o.timeColumn = (*d.columns)[0];
        o.valueColumn = (*d.columns)[1];
    }
    return o;
}

SlugHead slugHead(const SeriesDescription& d, const DisplayUnits& units) {
    SlugHead head;
    if (!d.h0) return head;
    if (std::holds_alternative<FirstValue>(*d.h0)) {
        head.reference = SlugHead::Reference::FirstValue;
    } else {
        head.reference = SlugHead::Reference::Number;
        head.h0 = toSI(std::get<double>(*d.h0), Dimension::Length, units);
    }
    return head;
}

void checkUse(const TestDescription& t, std::size_t index, const std::array<int, 2>& use, std::size_t count) {
    if (static_cast<std::size_t>(use[1]) > count) {
        throw CliError{t.path + ": " + seriesKey(index, "use") + ": ends at " + std::to_string(use[1]) +
                       ", beyond the " + std::to_string(count) + " measurements of the file"};
    }
}

void installFirstSeries(const TestDescription& t, const SeriesDescription& d, AnalysisState& state) {
    std::string notice;
    if (auto error = importWithOptions(d.file, readerOptions(d), state, &notice)) {
        throw CliError{t.path + ": " + seriesKey(0, "file") + ": " + oneLine(*error)};
    }
    if (d.r > 0.0) state.radialDistance = static_cast<float>(toSI(d.r, Dimension::Length, state.units));
    state.firstSeries.name = d.name;
    state.firstSeries.weight = d.weight;
    state.firstSeries.head = slugHead(d, state.units);
    std::vector<std::string> geometry;
    for (const auto& [field, value] : d.geometry) geometry.push_back(field + "=" + value);
    try {
        applySets(state, geometry);
    } catch (const CliError& e) {
        throw CliError{t.path + ": " + seriesKey(0, "geometry") + ": " + e.what};
    }
    if (d.use) {
        checkUse(t, 0, *d.use, static_cast<std::size_t>(state.allCount));
        state.useFrom = (*d.use)[0];
        state.useTo = (*d.use)[1];
        selectUsedMeasurements(state);
    }
}

void addFurtherSeries(const TestDescription& t, std::size_t index, const SeriesDescription& d,
                      AnalysisState& state) {
    SeriesFile file;
    file.name = d.name;
    file.path = d.file;
    file.radialDistance = d.r > 0.0 ? d.r : fromSI(state.radialDistance, Dimension::Length, state.units);
    file.weight = d.weight;
    file.options = readerOptions(d);
    file.units = state.units;
    file.modelKind = state.modelKind;
    auto result = importSeries(file);
    if (const auto* error = std::get_if<std::string>(&result)) {
        throw CliError{t.path + ": " + seriesKey(index, "file") + ": " + oneLine(*error)};
    }
    ObservationSeries series = std::move(std::get<ObservationSeries>(result));
    series.settings.head = slugHead(d, state.units);
    for (const auto& [name, value] : d.geometry) {
        forEachGeometryField(series.geometry, [&](const char* field, auto& member) {
            if (name == field)
                member = static_cast<std::decay_t<decltype(member)>>(parseNumber(value).value_or(0.0));
        });
    }
    if (d.use) {
        checkUse(t, index, *d.use, series.times.size());
        series.useFrom = (*d.use)[0];
        series.useTo = (*d.use)[1];
    }
    state.extraSeries.push_back(std::move(series));
}

void installRates(const TestDescription& t, AnalysisState& state) {
    if (t.rate) state.pumpingRate = static_cast<float>(toSI(*t.rate, Dimension::Rate, state.units));
    if (t.rates.empty()) return;
    std::vector<RateStep> steps = rateStepsToSI(t.rates, state.units);
    if (auto error = checkRateSchedule(steps)) throw CliError{t.path + ": rates: " + *error};
    // The drawdowns are superposed on the model's response to pumpingRate: any rate of the schedule
    // serves; the first non-zero one keeps the reference of the order of the test's.
    for (const RateStep& step : steps) {
        if (step.rate != 0.0) {
            state.pumpingRate = static_cast<float>(step.rate);
            break;
        }
    }
    state.rateSchedule = std::move(steps);
}

}  // namespace

void applyTestDescription(const TestDescription& t, AnalysisState& state) {
    if (t.model) state.modelKind = *t.model;
    if (t.units) state.units = *t.units;
    installRates(t, state);
    if (!t.series.empty()) state.extraSeries.clear();
    for (std::size_t i = 0; i < t.series.size(); ++i) {
        if (i == 0)
            installFirstSeries(t, t.series[i], state);
        else
            addFurtherSeries(t, i, t.series[i], state);
    }
    std::vector<std::string> sets;
    for (const auto& [field, value] : t.sets) sets.push_back(field + "=" + value);
    try {
        applySets(state, sets);
    } catch (const CliError& e) {
        throw CliError{t.path + ": set: " + e.what};
    }
}

}  // namespace tolvex::cli
