// tolvex-cli simulate: "Calculate drawdowns" at COUNT log-spaced times.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/CliState.h"
#include "cli/DerivativeOption.h"
#include "cli/EngineInteraction.h"
#include "cli/EngineOutput.h"
#include "cli/RatesOption.h"
#include "cli/SeriesOption.h"
#include "cli/TestDescription.h"
#include "core/commands/CalculateDrawdownsCommand.h"
#include "core/diagnostics/ModelDerivative.h"
#include "core/estimation/JointSeries.h"
#include "core/series/SlugHeads.h"
#include "core/series/UsedRange.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/units/Units.h"

namespace tolvex::cli {
namespace {

struct SimulateOptions {
    int model = -1;  // --model, or the test description's
    std::string test;
    std::vector<std::string> times;
    int accuracy = -1;
    std::string units;
    std::vector<std::string> sets;
    std::string csv, save;
    std::string rates;
    std::string h0, staticLevel;  // slug test: heads as displacements or water levels
    std::vector<std::string> series;
    std::vector<std::string> derivative;  // --derivative [L]
};

// The slug test's H/H0 as displacements H0 H/H0 (--h0) or water levels static + H0 H/H0
// (--static-level); the document keeps the head setting so that a fit of it reads them back.
void applySlugHead(const SimulateOptions& o, AnalysisState& state) {
    if (o.h0.empty() && o.staticLevel.empty()) return;
    if (state.modelKind != static_cast<int>(ModelKind::SlugTest))
        throw CliError{"simulate: --h0 and --static-level serve the slug test (model 5)"};
    SlugHead head;
    head.reference = SlugHead::Reference::Number;
    if (!o.h0.empty())
        head.h0 = toSI(positiveArgument("simulate", "--h0", o.h0), Dimension::Length, state.units);
    if (!o.staticLevel.empty()) {
        head.waterLevels = true;
        head.staticLevel =
            toSI(numberArgument("simulate", "--static-level", o.staticLevel), Dimension::Length, state.units);
    }
    state.measured = headsAsMeasured(state.measured, head.h0, {}, head);
    state.allDrawdowns = state.calculated = state.measured;
    state.firstSeries.head = head;
}

// The model at each further series' times and distance, printed after the first series under a
// "# NAME" line and kept as the series' values (as the first series' simulated drawdowns are). The
// CSV rows gain the series number in front (1 the first series).
void simulateFurtherSeries(CliContext& context, AnalysisState& state,
                           std::vector<std::vector<double>>& rows) {
    for (auto& row : rows) row.insert(row.begin(), 1.0);
    calculateFurtherSeries(state);
    char line[64];
    for (std::size_t k = 0; k < state.extraSeries.size(); ++k) {
        ObservationSeries& x = state.extraSeries[k];
        context.out << "# " << x.settings.name << "\n";
        const UsedRange used = usedRange(x);
        for (std::size_t i = 0; i < x.calculated.size(); ++i) {
            const double t = x.times[used.first + i];
            x.values[used.first + i] = x.calculated[i];
            std::snprintf(line, sizeof line, "%.9g %.9g\n", t, x.calculated[i]);
            context.out << line;
            rows.push_back({static_cast<double>(k + 2), t, x.calculated[i]});
        }
    }
}

// One series' rows (time and drawdown in the last two columns) gain the derivative of the listed
// drawdowns and the model's own derivative at `times` (SI) and `site`, both in the drawdowns' unit.
// A slug test's heads listed as H0 H/H0 (or levels around a static one) have H0 times the model's.
void appendDerivatives(const AnalysisState& state, const DerivativeSmoothing& smoothing,
                       const ObservationSite& site, std::span<const double> times,
                       std::span<std::vector<double>> rows) {
    std::vector<double> t, s;
    for (const auto& row : rows) {
        t.push_back(row[row.size() - 2]);
        s.push_back(row.back());
    }
    const std::vector<double> measured = logDerivative(t, s, smoothing);
    const std::vector<double> model = calculatedLogDerivative(state, site, times);
    const bool slug = state.modelKind == static_cast<int>(ModelKind::SlugTest);
    const double scale = slug ? state.firstSeries.head.h0 : 1.0;
    const Dimension drawdown = measuredDimension(state);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].push_back(measured[i]);
        rows[i].push_back(fromSI(scale * model[i], drawdown, state.units));
    }
}

// The derivative columns of every series, the first series' rows first (as simulateFurtherSeries
// leaves them).
void appendAllDerivatives(const AnalysisState& state, const DerivativeSmoothing& smoothing,
                          std::vector<std::vector<double>>& rows) {
    const std::span<std::vector<double>> all(rows);
    const auto first = static_cast<std::size_t>(state.usedCount);
    appendDerivatives(state, smoothing, firstSeriesSite(state),
                      std::span<const double>(state.times.data(), first), all.first(first));
    std::size_t offset = first;
    for (const ObservationSeries& x : state.extraSeries) {
        const UsedRange used = usedRange(x);
        const std::size_t n = x.calculated.size();
        appendDerivatives(state, smoothing, seriesSite(x),
                          std::span<const double>(x.times).subspan(used.first, n), all.subspan(offset, n));
        offset += n;
    }
}

int runSimulate(CliContext& context, const SimulateOptions& given) {
    const std::optional<TestDescription> test = testOption(given.test);
    SimulateOptions o = given;
    o.model = runModel("simulate", given.model, test);
    checkModel("simulate", o.model, 0, 8);
    AnalysisState state = makeDefaultState();
    if (test) applyTestDescription(*test, state);
    state.modelKind = o.model;
    if (o.accuracy >= 0) state.accuracy = o.accuracy;
    applyUnitsOption(state, o.units, "simulate");
    applySets(state, o.sets);
    applyRatesOption("simulate", o.rates, state);
    addSeriesFromOptions("simulate", o.series, 0, state, context.err);
    const std::optional<DerivativeSmoothing> derivative = derivativeArgument("simulate", o.derivative);
    const double count = numberArgument("simulate", "--times COUNT", o.times[0]);
    if (count != static_cast<int>(count))
        throw CliError{"simulate: --times COUNT '" + o.times[0] + "' is not an integer"};
    state.usedCount = static_cast<int>(count);
    // The times are in the document's units; the state keeps them in its own (SI with units).
    const auto time = [&](const std::string& option, const std::string& text) {
        const float shown = floatArgument("simulate", option, text);
        return static_cast<float>(toSI(shown, Dimension::Time, state.units));
    };
    state.calcTimeMin = time("--times MIN", o.times[1]);
    state.calcTimeMax = time("--times MAX", o.times[2]);
    EngineInteraction ui("simulate", context.err, false);
    ui.conclude(calculateDrawdownsCommand(state, ui), context.err);
    applySlugHead(o, state);

    std::vector<std::vector<double>> rows;
    char line[64];
    const Dimension drawdown = measuredDimension(state);
    for (int i = 0; i < state.usedCount; ++i) {
        const double t = fromSI(state.times[i], Dimension::Time, state.units);
        const double s = fromSI(state.measured[i], drawdown, state.units);
        std::snprintf(line, sizeof line, "%.9g %.9g\n", t, s);
        context.out << line;
        rows.push_back({t, s});
    }
    std::vector<std::string> header{"time", "drawdown"};
    if (!o.series.empty()) {
        simulateFurtherSeries(context, state, rows);
        header.insert(header.begin(), "series");
    }
    if (derivative) {
        appendAllDerivatives(state, *derivative, rows);
        header.insert(header.end(), {"derivative", "calculatedDerivative"});
    }
    if (!o.csv.empty()) writeCsvOrThrow(o.csv, header, rows);
    if (!o.save.empty()) saveDocumentOrThrow(state, o.save);
    return kExitOk;
}

}  // namespace

void addSimulateCommand(CLI::App& app, CliContext& context) {
    auto o = std::make_shared<SimulateOptions>();
    CLI::App* sub = app.add_subcommand("simulate", "Calculate drawdowns at log-spaced times");
    sub->add_option("--model", o->model, "Model 0..8 (or the --test description's)");
    addTestOption(*sub, o->test);
    sub->add_option("--times", o->times, "COUNT MIN MAX")->required()->expected(3);
    sub->add_option("--set", o->sets, "FIELD=VALUE, any scalar field of the state")->take_all();
    addAccuracyOption(*sub, o->accuracy);
    addRatesOption(*sub, o->rates);
    addUnitsOption(*sub, o->units);
    sub->add_option("--h0", o->h0, "Slug test: write displacements H0 H/H0 instead of H/H0");
    sub->add_option("--static-level", o->staticLevel, "Slug test: write water levels static + H0 H/H0");
    addSeriesOption(*sub, o->series);
    addDerivativeOption(*sub, o->derivative);
    sub->add_option("--csv", o->csv,
                    "Write time,drawdown as CSV (series,time,drawdown with --series; with --derivative also "
                    "derivative,calculatedDerivative)")
        ->check(nonEmptyFileName());
    sub->add_option("--save", o->save, "Save the document")->check(nonEmptyFileName());
    sub->callback([&context, o]() { context.action = [&context, o]() { return runSimulate(context, *o); }; });
}

}  // namespace tolvex::cli
