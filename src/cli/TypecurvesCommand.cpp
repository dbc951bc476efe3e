// tolvex-cli typecurves: the family of a model's type curves, through the "Type-curve Calculation"
// flow with the state's ranges (or the published table with --table).
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "cli/EngineInteraction.h"
#include "cli/EngineOutput.h"
#include "cli/TestDescription.h"
#include "core/commands/TypeCurveCommands.h"

namespace tolvex::cli {
namespace {

struct TypecurvesOptions {
    int model = -1;  // --model, or the test description's
    std::string test;
    bool table = false;
    int accuracy = -1;
    std::string units;
    std::vector<std::string> sets;
    std::string open, report, csv, plot, save;
};

void chooseSpacing(AnalysisState& s, bool table) {
    int* option = s.modelKind == 0   ? &s.tcTheisUniform
                  : s.modelKind == 2 ? &s.tcLeakyUniform
                  : s.modelKind == 4 ? &s.tcStorUniform
                  : s.modelKind == 6 ? &s.tcAltUniform
                                     : nullptr;
    if (option == nullptr) {
        if (table)
            throw CliError{"typecurves: --table: model " + std::to_string(s.modelKind) +
                           " has no published table"};
        return;
    }
    *option = table ? 1 : 0;
}

void writeCsv(const AnalysisState& s, const std::string& path) {
    const int nx = s.curveXCount - 1;
    std::vector<std::string> header{"x"};
    for (int k = 0; k < s.familyCount; ++k) {
        char label[32];
        std::snprintf(label, sizeof label, "%.9g", shortestFloat(s.familyValues[k]));
        header.push_back(s.modelKind == 0 ? std::string("W") : std::string(label));
    }
    std::vector<std::vector<double>> rows;
    for (int i = 1; i <= nx; ++i) {
        std::vector<double> row{shortestFloat(s.curveX[i])};
        for (int k = 0; k < s.familyCount; ++k) row.push_back(s.curveY[static_cast<std::size_t>(k) * nx + i]);
        rows.push_back(std::move(row));
    }
    writeCsvOrThrow(path, header, rows);
}

int runTypecurves(CliContext& context, const TypecurvesOptions& given) {
    const std::optional<TestDescription> test = testOption(given.test);
    TypecurvesOptions o = given;
    o.model = runModel("typecurves", given.model, test);
    checkModel("typecurves", o.model, 0, 8);
    AnalysisState state = o.open.empty() ? makeDefaultState() : openDocumentOrThrow(o.open);
    if (test) applyTestDescription(*test, state);
    state.modelKind = o.model;
    if (o.accuracy >= 0) state.accuracy = o.accuracy;
    applyUnitsOption(state, o.units, "typecurves");  // the family is dimensionless; --set and --save use them
    applySets(state, o.sets);
    chooseSpacing(state, o.table);
    EngineInteraction ui("typecurves", context.err, isTerminal(context.err));
    ui.conclude(typeCurveCalculation(state, ui), context.err);
    context.out << "model " << state.modelKind << ": " << state.familyCount << " curve(s) of "
                << state.curveXCount - 1 << " points\n";
    if (!o.csv.empty()) writeCsv(state, o.csv);
    if (!o.report.empty()) writeReportOrThrow(state, o.report);
    if (!o.plot.empty()) writePlotOrThrow(state, o.plot);
    if (!o.save.empty()) saveDocumentOrThrow(state, o.save);
    return kExitOk;
}

}  // namespace

void addTypecurvesCommand(CLI::App& app, CliContext& context) {
    auto o = std::make_shared<TypecurvesOptions>();
    CLI::App* sub = app.add_subcommand("typecurves", "Compute the type-curve family of a model");
    sub->add_option("--model", o->model, "Model 0..8 (or the --test description's)");
    addTestOption(*sub, o->test);
    sub->add_flag("--table", o->table, "Use the published table (models 0, 2, 4, 6)");
    sub->add_option("--set", o->sets, "FIELD=VALUE, any scalar field of the state")->take_all();
    addAccuracyOption(*sub, o->accuracy);
    addUnitsOption(*sub, o->units);
    sub->add_option("--open", o->open, "Start from this document")->check(nonEmptyFileName());
    sub->add_option("--report", o->report, "Write the type-curve report")->check(nonEmptyFileName());
    sub->add_option("--csv", o->csv, "Write the family as CSV")->check(nonEmptyFileName());
    sub->add_option("--plot", o->plot, "Write a picture of the plot")->check(nonEmptyFileName());
    sub->add_option("--save", o->save, "Save the document")->check(nonEmptyFileName());
    sub->callback(
        [&context, o]() { context.action = [&context, o]() { return runTypecurves(context, *o); }; });
}

}  // namespace tolvex::cli
