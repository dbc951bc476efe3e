// tolvex-cli match: visual type-curve matching without the window. The measurements moved by a shift
// of (dx, dy) decades onto the model's type curves give the parameters in closed form; --placement
// prints instead the shift and family value at which the document's current parameters put the data.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <stop_token>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/CliState.h"
#include "cli/EngineInteraction.h"
#include "cli/TestDescription.h"
#include "core/diagnostics/MatchPoint.h"
#include "core/input/SampleSets.h"
#include "core/jobs/Job.h"
#include "core/plot/MatchingPlot.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex::cli {
namespace {

const std::map<std::string, int> kSamples{{"pumping", kSetConfinedAquifer}, {"slug", kSetSlugTest}};

struct MatchOptions {
    int model = -1;
    std::string test, sample, open;
    std::vector<std::string> shift;  // DX DY
    std::string curve;
    std::vector<std::string> sets;
    std::string save;
    bool json = false;
    bool placement = false;
};

AnalysisState startingState(const MatchOptions& o, const std::optional<TestDescription>& test) {
    const bool testData = test && !test->series.empty();
    const int sources = !o.sample.empty() + !o.open.empty() + testData;
    if (sources != 1 && !(testData && sources == 2 && !o.open.empty()))
        throw CliError{"match: give exactly one of --open, --sample or a --test with series"};
    AnalysisState state = o.open.empty() ? makeDefaultState() : openDocumentOrThrow(o.open);
    if (test) applyTestDescription(*test, state);
    if (!o.sample.empty()) installPredefinedSet(state, kSamples.at(o.sample));
    if (o.model >= 0) state.modelKind = o.model;
    applySets(state, o.sets);
    if (state.modelKind < 0 || state.modelKind > kLastTypeCurveModel)
        throw CliError{"match: only the models with type curves (0 to 8) can be matched, not model " +
                       std::to_string(state.modelKind)};
    return state;
}

MatchShift shiftArgument(const MatchOptions& o) {
    if (o.shift.size() != 2) throw CliError{"match: give --shift DX DY (decades) or --placement"};
    return {numberArgument("match", "--shift", o.shift[0]), numberArgument("match", "--shift", o.shift[1])};
}

// The state with the model's family computed, for the curve nearest the moved data.
AnalysisState withFamily(const AnalysisState& state) {
    if (plot::familyReady(state) || state.modelKind == static_cast<int>(ModelKind::Theis)) return state;
    if (const auto fault = checkTypeCurveRanges(state)) throw CliError{"match: " + oneLine(*fault)};
    AnalysisState computed = state;
    NullProgress progress;
    if (!computeTypeCurves(computed, progress, std::stop_token{}))
        throw CliError{"match: the type curves could not be computed"};
    return computed;
}

// A fitted field as printed: in the document's units when they are set.
double fieldValue(const AnalysisState& s, std::string_view name) {
    const FieldInfo* field = findField(name);
    const float stored = s.*std::get<float AnalysisState::*>(field->member);
    return s.units.set() ? shownFloat(s, stored, field->dimension) : shortestFloat(stored);
}

void printPlacement(std::ostream& out, const AnalysisState& s, const MatchPlacement& p, bool json) {
    if (json) {
        nlohmann::ordered_json result = {{"model", s.modelKind},
                                         {"shift", {{"dx", p.shift.dx}, {"dy", p.shift.dy}}},
                                         {"familyValue", p.familyValue}};
        out << result.dump(2) << "\n";
        return;
    }
    char line[160];
    std::snprintf(line, sizeof line, "model %d\nshift %.17g %.17g\nfamilyValue %.9g\n", s.modelKind,
                  p.shift.dx, p.shift.dy, p.familyValue);
    out << line;
}

void printMatch(std::ostream& out, const AnalysisState& set, const plot::MatchResult& r, bool json) {
    const auto fields = fittedFieldNames(set.modelKind);
    if (json) {
        nlohmann::ordered_json parameters = nlohmann::ordered_json::object();
        for (std::string_view name : fields) parameters[std::string(name)] = fieldValue(set, name);
        nlohmann::ordered_json result = {
            {"model", set.modelKind},
            {"shift", {{"dx", r.placement.shift.dx}, {"dy", r.placement.shift.dy}}},
            {"familyValue", r.placement.familyValue},
            {"nearestCurve", r.nearest ? nlohmann::ordered_json(r.nearest->index) : nlohmann::ordered_json()},
            {"rmsLog10", r.nearest ? nlohmann::ordered_json(r.nearest->rmsLog10) : nlohmann::ordered_json()},
            {"parameters", parameters}};
        if (set.units.set()) result["units"] = unitsJson(set.units);
        out << result.dump(2) << "\n";
        return;
    }
    char line[160];
    std::snprintf(line, sizeof line, "model %d\nshift %.9g %.9g\nfamilyValue %.7g\n", set.modelKind,
                  r.placement.shift.dx, r.placement.shift.dy, r.placement.familyValue);
    out << line;
    if (r.nearest) out << "nearestCurve " << r.nearest->index << "\n";
    for (std::string_view name : fields) {
        std::snprintf(line, sizeof line, "%-24s %.7g\n", std::string(name).c_str(), fieldValue(set, name));
        out << line;
    }
}

int runMatch(CliContext& context, const MatchOptions& o) {
    const std::optional<TestDescription> test = testOption(o.test);
    AnalysisState state = startingState(o, test);
    if (o.placement) {
        if (!o.shift.empty() || !o.curve.empty() || !o.save.empty())
            throw CliError{
                "match: --placement prints where the current parameters put the data: leave out "
                "--shift, --curve and --save"};
        std::string reason;
        const auto placed = placementOf(state, buildParameterVectorDouble(state), &reason);
        if (!placed) throw CliError{"match: " + reason};
        printPlacement(context.out, state, *placed, o.json);
        return kExitOk;
    }
    const MatchShift shift = shiftArgument(o);
    std::optional<double> curve;
    if (!o.curve.empty()) curve = positiveArgument("match", "--curve", o.curve);
    // The fields the closed forms need are checked before any family is computed.
    std::string reason;
    if (!parametersFromMatch(state, {shift, 1.0}, &reason)) throw CliError{"match: " + reason};
    const plot::MatchResult r = plot::evaluateMatch(curve ? state : withFamily(state), shift, curve);
    if (r.parameters.empty()) throw CliError{"match: " + r.problem};
    AnalysisState set = state;
    writeParameterVector(set, std::span<const double>(r.parameters));
    printMatch(context.out, set, r, o.json);
    if (!o.save.empty()) saveDocumentOrThrow(set, o.save);
    return kExitOk;
}

}  // namespace

void addMatchCommand(CLI::App& app, CliContext& context) {
    auto o = std::make_shared<MatchOptions>();
    CLI::App* sub = app.add_subcommand("match", "Parameters from a type-curve match point (visual matching)");
    sub->add_option("--model", o->model, "Model 0..8 (default: the document's or the test's)")
        ->check(CLI::Range(0, kLastTypeCurveModel));
    addTestOption(*sub, o->test);
    sub->add_option("--sample", o->sample, "Built-in measurements")
        ->check(CLI::IsMember({"pumping", "slug"}));
    sub->add_option("--open", o->open, "Start from this document")->check(nonEmptyFileName());
    sub->add_option("--shift", o->shift, "DX DY: decades the data move (curve x = t 10^DX, y = s 10^DY)")
        ->expected(2)
        ->allow_extra_args(false);
    sub->add_option("--curve", o->curve, "Family value of the curve (r/B, beta, ...); default the nearest");
    sub->add_option("--set", o->sets, "FIELD=VALUE, any scalar field of the state")->take_all();
    sub->add_flag("--placement", o->placement, "Print the shift and curve of the current parameters");
    sub->add_option("--save", o->save, "Save the document with the match as start values")
        ->check(nonEmptyFileName());
    sub->add_flag("--json", o->json, "Print the result as one JSON object");
    sub->callback([&context, o]() { context.action = [&context, o]() { return runMatch(context, *o); }; });
}

}  // namespace tolvex::cli
