// tolvex-cli simulate: "Calculate drawdowns" at COUNT log-spaced times.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/CliState.h"
#include "cli/EngineInteraction.h"
#include "cli/EngineOutput.h"
#include "cli/RatesOption.h"
#include "core/commands/CalculateDrawdownsCommand.h"

namespace tolvex::cli {
namespace {

struct SimulateOptions {
    int model = 0;
    std::vector<std::string> times;
    int accuracy = -1;
    std::vector<std::string> sets;
    std::string csv, save;
    std::string rates;
};

int runSimulate(CliContext& context, const SimulateOptions& o) {
    checkModel("simulate", o.model, 0, 8);
    AnalysisState state = makeDefaultState();
    state.modelKind = o.model;
    if (o.accuracy >= 0) state.accuracy = o.accuracy;
    applySets(state, o.sets);
    applyRatesOption("simulate", o.rates, state);
    const double count = numberArgument("simulate", "--times COUNT", o.times[0]);
    if (count != static_cast<int>(count))
        throw CliError{"simulate: --times COUNT '" + o.times[0] + "' is not an integer"};
    state.usedCount = static_cast<int>(count);
    state.calcTimeMin = floatArgument("simulate", "--times MIN", o.times[1]);
    state.calcTimeMax = floatArgument("simulate", "--times MAX", o.times[2]);
    EngineInteraction ui("simulate", context.err, false);
    ui.conclude(calculateDrawdownsCommand(state, ui), context.err);

    std::vector<std::vector<double>> rows;
    char line[64];
    for (int i = 0; i < state.usedCount; ++i) {
        std::snprintf(line, sizeof line, "%.9g %.9g\n", state.times[i], state.measured[i]);
        context.out << line;
        rows.push_back({state.times[i], state.measured[i]});
    }
    if (!o.csv.empty()) writeCsvOrThrow(o.csv, {"time", "drawdown"}, rows);
    if (!o.save.empty()) saveDocumentOrThrow(state, o.save);
    return kExitOk;
}

}  // namespace

void addSimulateCommand(CLI::App& app, CliContext& context) {
    auto o = std::make_shared<SimulateOptions>();
    CLI::App* sub = app.add_subcommand("simulate", "Calculate drawdowns at log-spaced times");
    sub->add_option("--model", o->model, "Model 0..8")->required();
    sub->add_option("--times", o->times, "COUNT MIN MAX")->required()->expected(3);
    sub->add_option("--set", o->sets, "FIELD=VALUE, any scalar field of the state")->take_all();
    addAccuracyOption(*sub, o->accuracy);
    addRatesOption(*sub, o->rates);
    sub->add_option("--csv", o->csv, "Write time,drawdown as CSV")->check(nonEmptyFileName());
    sub->add_option("--save", o->save, "Save the document")->check(nonEmptyFileName());
    sub->callback([&context, o]() { context.action = [&context, o]() { return runSimulate(context, *o); }; });
}

}  // namespace tolvex::cli
