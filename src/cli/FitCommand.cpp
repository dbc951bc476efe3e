// tolvex-cli fit: an estimation of the model's parameters from measurements, through the same command
// flows as the desktop program ("Least Square Inversion", "Simplex Inversion", "Try and Error
// Inversion"), the dialogs answered by the state's values.
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/CliState.h"
#include "cli/DerivativeOption.h"
#include "cli/EngineInteraction.h"
#include "cli/EngineOutput.h"
#include "cli/FitAnalysis.h"
#include "cli/RatesOption.h"
#include "cli/SeriesOption.h"
#include "cli/TestDescription.h"
#include "core/commands/EstimationCommands.h"
#include "core/diagnostics/ModelDerivative.h"
#include "core/estimation/FitControls.h"
#include "core/input/Import.h"
#include "core/input/MeasurementTable.h"
#include "core/input/SampleSets.h"
#include "core/series/UsedRange.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ObservationSite.h"
#include "core/typecurves/ParameterVector.h"
#include "core/units/Units.h"

namespace tolvex::cli {
namespace {

const std::map<std::string, int> kSamples{{"pumping", kSetConfinedAquifer}, {"slug", kSetSlugTest}};

struct FitOptions {
    int model = -1;  // --model, or the test description's
    std::string test;
    std::string method = "lsq";
    std::string data, sample, open;
    int delimiter = 0;
    std::vector<int> use;
    std::vector<std::string> sets;
    int maxIterations = -1;
    std::string convergence;
    std::string report, plot, save;
    bool json = false;
    bool autoStart = false;
    std::vector<std::string> fix, bounds;
    bool runAllIterations = false;
    int accuracy = -1;
    std::string rates;
    std::string units;
    std::string h0, staticLevel;  // slug tests: raw heads or water levels instead of H/H0
    bool intercept = false;       // Bouwer and Rice: ln(H/H0) = a - b t
    std::vector<std::string> series;
    std::vector<std::string> derivative;  // --derivative [L]
};

bool isSlugModel(int model) {
    return model == static_cast<int>(ModelKind::SlugTest) || model == static_cast<int>(ModelKind::BouwerRice);
}

// --h0 VALUE|first and --static-level X into the first series' slug head; --intercept into the state.
void applySlugOptions(const FitOptions& o, AnalysisState& state) {
    if ((!o.h0.empty() || !o.staticLevel.empty()) && !isSlugModel(o.model))
        throw CliError{"fit: --h0 and --static-level serve the slug tests (models 5 and 10)"};
    if (o.intercept && o.model != static_cast<int>(ModelKind::BouwerRice))
        throw CliError{"fit: --intercept serves the Bouwer and Rice fit (model 10)"};
    if (o.intercept) state.brFitIntercept = 1;
    SlugHead& head = state.firstSeries.head;
    if (o.h0 == "first") {
        head.reference = SlugHead::Reference::FirstValue;
    } else if (!o.h0.empty()) {
        head.reference = SlugHead::Reference::Number;
        head.h0 = toSI(positiveArgument("fit", "--h0", o.h0), Dimension::Length, state.units);
    }
    if (!o.staticLevel.empty()) {
        head.waterLevels = true;
        head.staticLevel =
            toSI(numberArgument("fit", "--static-level", o.staticLevel), Dimension::Length, state.units);
    }
}

// The state the fit starts from; a notice of the import (lines skipped) goes to `err`.
AnalysisState startingState(const FitOptions& o, const std::optional<TestDescription>& test,
                            std::ostream& err) {
    AnalysisState state = o.open.empty() ? makeDefaultState() : openDocumentOrThrow(o.open);
    if (test) applyTestDescription(*test, state);
    state.modelKind = o.model;
    applyUnitsOption(state, o.units, "fit");
    if (!o.data.empty()) {
        std::string notice;
        if (auto error = importMeasurements(o.data, o.delimiter, state, &notice)) {
            throw CliError{"fit: --data " + o.data + ": " + oneLine(*error)};
        }
        if (!notice.empty()) err << "tolvex-cli: fit: --data " << o.data << ": " << oneLine(notice) << "\n";
    } else if (!o.sample.empty()) {
        installPredefinedSet(state, kSamples.at(o.sample));
    }
    if (o.accuracy >= 0) state.accuracy = o.accuracy;
    applySlugOptions(o, state);
    applySets(state, o.sets);
    applyRatesOption("fit", o.rates, state);
    addSeriesFromOptions("fit", o.series, o.delimiter, state, err);
    if (!o.use.empty()) {
        if (o.use[0] < 1 || o.use[1] < o.use[0] || o.use[1] > state.allCount) {
            throw CliError{"fit: --use " + std::to_string(o.use[0]) + " " + std::to_string(o.use[1]) +
                           " is not a range of the " + std::to_string(state.allCount) + " measurements"};
        }
        state.useFrom = o.use[0];
        state.useTo = o.use[1];
        selectUsedMeasurements(state);
    }
    if (o.maxIterations >= 0) state.maxIterations = o.maxIterations;
    if (!o.convergence.empty()) {
        state.convergenceError = floatArgument("fit", "--convergence", o.convergence);
    }
    return state;
}

// One bound of --bounds: empty text leaves that side open.
double boundValue(const std::string& text, double open) {
    return text.empty() ? open : numberArgument("fit", "--bounds", text);
}

// The fit controls of --fix, --bounds FIELD=LO:HI and --run-all-iterations. Bounds are given in the
// document's units and kept in the state's (SI when units are set).
FitControls fitControls(const FitOptions& o, const DisplayUnits& units) {
    FitControls c;
    c.stopWhenConverged = !o.runAllIterations;
    c.fixed.insert(o.fix.begin(), o.fix.end());
    for (const std::string& b : o.bounds) {
        const auto equals = b.find('=');
        const auto colon = b.find(':', equals == std::string::npos ? 0 : equals);
        if (equals == std::string::npos || colon == std::string::npos)
            throw CliError{"fit: --bounds " + b + ": give FIELD=LO:HI (either side may be empty)"};
        const double inf = std::numeric_limits<double>::infinity();
        const FieldInfo* field = findField(b.substr(0, equals));
        const double factor = siFactor(field ? field->dimension : Dimension::None, units);
        c.bounds[b.substr(0, equals)] = {boundValue(b.substr(equals + 1, colon - equals - 1), -inf) * factor,
                                         boundValue(b.substr(colon + 1), inf) * factor};
    }
    return c;
}

CommandOutcome runMethod(const FitOptions& o, AnalysisState& state, Interaction& ui, FitOutcome& outcome) {
    const std::string& method = o.method;
    if (method != "lsq" && state.modelKind > 8) {
        throw CliError{"fit: --method " + method + " serves models 0..8; model " +
                       std::to_string(state.modelKind) + " is fitted by lsq"};
    }
    const FitControls controls = fitControls(o, state.units);
    if (method == "simplex") return simplexInversionWith(state, ui, controls, outcome);
    if (method == "trial") {
        if (!controls.fixed.empty() || !controls.bounds.empty())
            throw CliError{"fit: --fix and --bounds serve lsq and simplex; the trial run fits nothing"};
        outcome = FitOutcome{FitEnd::NothingFitted, false, {}, {}};
        return trialInversion(state, ui);
    }
    return leastSquaresInversionWith(state, ui, controls, outcome);
}

// The result with "converged", "stopReason", "warnings" and "atBound" after "errorHistory".
nlohmann::ordered_json withOutcome(const nlohmann::ordered_json& result, const FitOutcome& outcome) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const auto& [key, value] : result.items()) {
        out[key] = value;
        if (key != "errorHistory") continue;
        out["converged"] = outcome.converged;
        out["stopReason"] = stopReasonText(outcome.end);
        out["warnings"] = outcome.warnings;
        out["atBound"] = outcome.atBound;
    }
    return out;
}

void printWarnings(std::ostream& err, const FitOutcome& outcome) {
    for (const std::string& w : outcome.warnings) err << "tolvex-cli: warning: " << w << "\n";
}

// A fitted field as printed: in the document's units when they are set.
double fieldValue(const AnalysisState& s, std::string_view name) {
    const FieldInfo* field = findField(name);
    const float stored = s.*std::get<float AnalysisState::*>(field->member);
    return s.units.set() ? shownFloat(s, stored, field->dimension) : shortestFloat(stored);
}

// A misfit of the fit (rmsError, the error history) in the document's units: slug tests compare H/H0.
double errorValue(const AnalysisState& s, float stored) {
    return s.units.set() ? shownFloat(s, stored, fitErrorDimension(s.modelKind)) : shortestFloat(stored);
}

// Values in the document's units.
std::vector<double> inShownUnits(const AnalysisState& s, std::vector<double> values, Dimension dimension) {
    for (double& x : values) x = shownMeasurement(s, x, dimension);
    return values;
}

// The first series' measurements in use.
UsedRange firstSeriesUsed(const AnalysisState& s) {
    return {0, static_cast<std::size_t>(std::max(s.usedCount, 0))};
}

// The measurements and drawdowns of the fit in the document's units.
std::vector<double> shownValues(const AnalysisState& s, const std::vector<double>& v, Dimension dimension) {
    return inShownUnits(s, usedValues(v, firstSeriesUsed(s)), dimension);
}

// The unit of each fitted parameter ("transmissivity": "m²/d"); storage coefficients have none ("").
nlohmann::ordered_json parameterUnits(const AnalysisState& s) {
    nlohmann::ordered_json units = nlohmann::ordered_json::object();
    for (std::string_view name : fittedFieldNames(s.modelKind))
        units[std::string(name)] = unitLabel(findField(name)->dimension, s.units);
    units["rmsError"] = unitLabel(fitErrorDimension(s.modelKind), s.units);
    units["times"] = unitLabel(Dimension::Time, s.units);
    units["drawdowns"] = unitLabel(measuredDimension(s), s.units);
    return units;
}

// The further series of a joint fit: their used measurements and the model there, in the document's
// units like the first series'.
nlohmann::ordered_json furtherSeriesJson(const AnalysisState& s) {
    const Dimension drawdown = measuredDimension(s);
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ObservationSeries& x : s.extraSeries) {
        const UsedRange used = usedRange(x);
        list.push_back({{"name", x.settings.name},
                        {"radialDistance", shownFloat(s, x.radialDistance, Dimension::Length)},
                        {"on", x.settings.on},
                        {"weight", x.settings.weight},
                        {"times", inShownUnits(s, usedValues(x.times, used), Dimension::Time)},
                        {"measured", inShownUnits(s, usedValues(x.values, used), drawdown)},
                        {"calculated", inShownUnits(s, x.calculated, drawdown)}});
    }
    return list;
}

nlohmann::ordered_json resultJson(const AnalysisState& s, const std::string& method) {
    nlohmann::ordered_json parameters = nlohmann::ordered_json::object();
    for (std::string_view name : fittedFieldNames(s.modelKind))
        parameters[std::string(name)] = fieldValue(s, name);
    std::vector<double> history;
    for (int i = 0; i < s.iterationsDone && i < static_cast<int>(s.errorHistory.size()); ++i) {
        history.push_back(errorValue(s, s.errorHistory[i]));
    }
    const Dimension drawdown = measuredDimension(s);
    nlohmann::ordered_json result = {{"model", s.modelKind},
                                     {"method", method},
                                     {"parameters", parameters},
                                     {"rmsError", errorValue(s, s.rmsError)},
                                     {"iterations", s.iterationsDone},
                                     {"errorHistory", history},
                                     {"times", shownValues(s, s.times, Dimension::Time)},
                                     {"measured", shownValues(s, s.measured, drawdown)},
                                     {"calculated", shownValues(s, s.calculated, drawdown)}};
    if (s.units.set()) {
        result["units"] = unitsJson(s.units);
        result["parameterUnits"] = parameterUnits(s);
    }
    if (!s.extraSeries.empty()) result["series"] = furtherSeriesJson(s);
    return result;
}

// "derivative": ds/d ln t of the used measurements as listed under "measured" (the time unit cancels);
// "calculatedDerivative": the fitted model's own derivative at those times (models 0-8) at the series'
// own site, or the straight lines' drawdowns differentiated as the measurements are (models 9 and 10).
// The first series' keys sit beside its "measured", each further series' in its own entry.
void addSeriesDerivative(nlohmann::ordered_json& entry, const AnalysisState& s, const ObservationSite& site,
                         const std::vector<double>& times, const std::vector<double>& measured,
                         const std::vector<double>& calculated, const DerivativeSmoothing& smoothing) {
    const Dimension drawdown = measuredDimension(s);
    entry["derivative"] =
        derivativeJson(logDerivative(times, inShownUnits(s, measured, drawdown), smoothing));
    std::vector<double> model;
    if (s.modelKind >= 0 && s.modelKind <= 8) {
        model = inShownUnits(s, calculatedLogDerivative(s, site, times), drawdown);
    } else {
        model = logDerivative(times, inShownUnits(s, calculated, drawdown), smoothing);
    }
    entry["calculatedDerivative"] = derivativeJson(model);
}

void addDerivativeJson(nlohmann::ordered_json& result, const AnalysisState& s,
                       const DerivativeSmoothing& smoothing) {
    const UsedRange first = firstSeriesUsed(s);
    addSeriesDerivative(result, s, firstSeriesSite(s), usedValues(s.times, first),
                        usedValues(s.measured, first), usedValues(s.calculated, first), smoothing);
    if (!result.contains("series")) return;
    for (std::size_t k = 0; k < s.extraSeries.size() && k < result["series"].size(); ++k) {
        const ObservationSeries& x = s.extraSeries[k];
        const UsedRange used = usedRange(x);
        addSeriesDerivative(result["series"][k], s, seriesSite(x), usedValues(x.times, used),
                            usedValues(x.values, used), x.calculated, smoothing);
    }
}

void printText(std::ostream& out, const AnalysisState& s, const std::string& method) {
    out << "model " << s.modelKind << ", method " << method << "\n";
    char line[128];
    for (std::string_view name : fittedFieldNames(s.modelKind)) {
        std::snprintf(line, sizeof line, "%-24s %.7g\n", std::string(name).c_str(), fieldValue(s, name));
        out << line;
    }
    std::snprintf(line, sizeof line, "%-24s %.7g\n%-24s %d\n", "rmsError",
                  s.units.set() ? errorValue(s, s.rmsError) : static_cast<double>(s.rmsError), "iterations",
                  s.iterationsDone);
    out << line;
}

// The ranges a fitted parameter may end on, in the units of the parameter vector: the user's bounds,
// else the forward model's clamping range for the entries it clamps.
ParameterRanges endRanges(const AnalysisState& s, const FitOptions& o) {
    const VectorControls v = vectorControls(s, fitControls(o, s.units));
    ParameterRanges r{v.lower, v.upper};
    const double none = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t k = 1; k < r.lower.size(); ++k) {
        const bool clamped = static_cast<int>(k) <= clampedCount(s.modelKind);
        if (std::isinf(r.lower[k])) r.lower[k] = clamped ? kParameterFloor : none;
        if (std::isinf(r.upper[k])) r.upper[k] = clamped ? kParameterCeiling : none;
    }
    return r;
}

int runFit(CliContext& context, const FitOptions& given) {
    const std::optional<TestDescription> test = testOption(given.test);
    FitOptions o = given;
    o.model = runModel("fit", given.model, test);
    checkModel("fit", o.model, 0, 10);
    const bool testData = test && !test->series.empty();
    const int sources = !o.data.empty() + !o.sample.empty() + !o.open.empty() + testData;
    if (sources != 1 && !(testData && sources == 2 && !o.open.empty()))
        throw CliError{"fit: give exactly one of --data, --sample, --open or a --test with series"};
    const std::optional<DerivativeSmoothing> derivative = derivativeArgument("fit", o.derivative);
    if (derivative && !o.json) throw CliError{"fit: --derivative adds to the --json result: give --json too"};
    AnalysisState state = startingState(o, test, context.err);
    if (o.autoStart) applyAutoStart(state, context.err);
    EngineInteraction ui("fit", context.err, isTerminal(context.err));
    FitOutcome outcome;
    ui.conclude(runMethod(o, state, ui, outcome), context.err);
    printWarnings(context.err, outcome);
    if (o.json) {
        nlohmann::ordered_json result = resultJson(state, o.method);
        if (derivative) addDerivativeJson(result, state, *derivative);
        context.out
            << withUncertainty(withOutcome(result, outcome), state, o.method, endRanges(state, o)).dump(2)
            << "\n";
    } else {
        printText(context.out, state, o.method);
        printUncertainty(context.err, state, o.method, endRanges(state, o));
    }
    if (!o.report.empty()) writeReportOrThrow(state, o.report);
    if (!o.plot.empty()) writePlotOrThrow(state, o.plot);
    if (!o.save.empty()) saveDocumentOrThrow(state, o.save);
    return kExitOk;
}

}  // namespace

void addFitCommand(CLI::App& app, CliContext& context) {
    auto o = std::make_shared<FitOptions>();
    CLI::App* sub = app.add_subcommand("fit", "Estimate the parameters of a model from measurements");
    sub->add_option("--model", o->model, "Model 0..10 (or the --test description's)");
    addTestOption(*sub, o->test);
    sub->add_option("--method", o->method, "lsq, simplex or trial")
        ->check(CLI::IsMember({"lsq", "simplex", "trial"}));
    sub->add_option("--data", o->data, "Measurement file (time, drawdown per line)")
        ->check(nonEmptyFileName());
    addDelimiterOption(*sub, o->delimiter, "Field delimiter of --data");
    sub->add_option("--sample", o->sample, "Built-in measurements")
        ->check(CLI::IsMember({"pumping", "slug"}));
    sub->add_option("--open", o->open, "Start from this document")->check(nonEmptyFileName());
    sub->add_option("--use", o->use, "FROM TO: the measurements used (1-based)")->expected(2);
    sub->add_option("--set", o->sets, "FIELD=VALUE, any scalar field of the state")->take_all();
    addAccuracyOption(*sub, o->accuracy);
    addRatesOption(*sub, o->rates);
    addUnitsOption(*sub, o->units);
    sub->add_option("--max-iterations", o->maxIterations, "Maximum Number of Iteration")
        ->check(CLI::Range(0, 65535));
    sub->add_option("--convergence", o->convergence, "Convergence Error");
    sub->add_option("--report", o->report, "Write the estimation report")->check(nonEmptyFileName());
    sub->add_option("--plot", o->plot, "Write a picture of the plot")->check(nonEmptyFileName());
    sub->add_option("--save", o->save, "Save the document")->check(nonEmptyFileName());
    sub->add_flag("--json", o->json, "Print the result as one JSON object");
    sub->add_flag("--auto-start", o->autoStart, "Start from values computed from the measurements");
    sub->add_option("--fix", o->fix, "FIELD: hold this fitted parameter at its start (repeatable)")
        ->take_all();
    sub->add_option("--bounds", o->bounds, "FIELD=LO:HI: keep this fitted parameter in [LO, HI]")->take_all();
    sub->add_option("--h0", o->h0, "Slug tests: initial displacement H0 of raw heads, or 'first'");
    sub->add_option("--static-level", o->staticLevel,
                    "Slug tests: values are water levels around this level");
    sub->add_flag("--intercept", o->intercept,
                  "Bouwer and Rice: fit ln(H/H0) = a - b t, not through the origin");
    addSeriesOption(*sub, o->series);
    addDerivativeOption(*sub, o->derivative);
    sub->add_flag("--run-all-iterations", o->runAllIterations,
                  "Do not stop when converged: run every iteration up to --max-iterations");
    sub->callback([&context, o]() { context.action = [&context, o]() { return runFit(context, *o); }; });
}

}  // namespace tolvex::cli
