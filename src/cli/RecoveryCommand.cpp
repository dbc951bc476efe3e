// tolvex-cli recovery: the classic views of a recovery test from measurements taken since the start of
// pumping. "theis": the residual drawdown s' against t/t' and the transmissivity of its straight line
// (Cooper and Jacob 1946); "agarwal": Agarwal's (1980) equivalent time and the recovery s(t_p) - s',
// which --save keeps as a drawdown record of a constant rate, to be fitted as any other.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/CliState.h"
#include "cli/EngineOutput.h"
#include "cli/RatesOption.h"
#include "core/input/Import.h"
#include "core/input/MeasurementTable.h"
#include "core/pumping/RecoveryViews.h"

namespace tolvex::cli {
namespace {

struct RecoveryOptions {
    std::string data, open;
    int delimiter = 0;
    std::string view = "theis";
    std::string rates, pumpingTime, rate, drawdownAtStop, maxRatio;
    std::vector<std::string> sets;
    std::string csv, save;
    bool json = false;
};

AnalysisState measuredState(const RecoveryOptions& o) {
    if ((o.data.empty()) == (o.open.empty())) throw CliError{"recovery: give exactly one of --data, --open"};
    AnalysisState state = o.open.empty() ? makeDefaultState() : openDocumentOrThrow(o.open);
    if (!o.data.empty()) {
        if (auto error = importMeasurements(o.data, o.delimiter, state)) {
            throw CliError{"recovery: --data " + o.data + ": " + oneLine(*error)};
        }
    }
    applySets(state, o.sets);
    if (!o.rates.empty()) state.rateSchedule = rateScheduleArgument("recovery", o.rates);
    return state;
}

// The value of an option, else what the pumping history or the measurements say, else a CliError.
double chosen(const std::string& option, const char* name, std::optional<double> otherwise,
              const char* hint) {
    if (!option.empty()) return numberArgument("recovery", name, option);
    if (otherwise) return *otherwise;
    throw CliError{std::string("recovery: give ") + name + " (" + hint + ")"};
}

std::vector<double> tableColumn(const std::vector<double>& column, int count) {
    return {column.begin(), column.begin() + std::min<std::size_t>(column.size(), std::max(count, 0))};
}

int runRecovery(CliContext& context, const RecoveryOptions& o) {
    AnalysisState state = measuredState(o);
    const std::vector<double> times = tableColumn(state.allTimes, state.allCount);
    const std::vector<double> drawdowns = tableColumn(state.allDrawdowns, state.allCount);
    const double tp = chosen(o.pumpingTime, "--pumping-time", recoveryStart(state.rateSchedule),
                             "the document's rate steps do not end in a recovery");
    if (!(tp > 0.0)) throw CliError{"recovery: --pumping-time must be positive, got " + std::to_string(tp)};
    const bool theis = o.view == "theis";
    nlohmann::ordered_json json{{"view", o.view}, {"pumpingTime", tp}};
    RecoveryView view;
    if (theis) {
        view = theisResidualView(times, drawdowns, tp);
        const double q = chosen(o.rate, "--rate", rateBeforeRecovery(state.rateSchedule),
                                "the rate before the stop, or --rates");
        const double maxRatio = o.maxRatio.empty() ? std::numeric_limits<double>::infinity()
                                                   : positiveArgument("recovery", "--max-ratio", o.maxRatio);
        if (const auto line = theisRecoveryLine(view, q, maxRatio)) {
            json["line"] = {{"points", line->points},
                            {"perLogCycle", line->perLogCycle},
                            {"intercept", line->intercept},
                            {"transmissivity", line->transmissivity}};
            if (!o.json) {
                char text[200];
                std::snprintf(text, sizeof text,
                              "tolvex-cli: recovery: %d points, %.7g per log cycle, T %.7g\n", line->points,
                              line->perLogCycle, line->transmissivity);
                context.err << text;
            }
        }
    } else {
        const double sp = chosen(o.drawdownAtStop, "--drawdown-at-stop", drawdownAtStop(times, drawdowns, tp),
                                 "no measurement is as early as the stop");
        view = agarwalView(times, drawdowns, tp, sp);
        json["drawdownAtStop"] = sp;
    }
    if (view.x.empty()) throw CliError{"recovery: no measurement is later than the pumping time"};
    json["x"] = view.x;
    json["y"] = view.y;
    std::vector<std::vector<double>> rows;
    for (std::size_t k = 0; k < view.x.size(); ++k) rows.push_back({view.x[k], view.y[k]});
    if (o.json) {
        context.out << json.dump(2) << "\n";
    } else {
        char line[64];
        for (const auto& row : rows) {
            std::snprintf(line, sizeof line, "%.9g %.9g\n", row[0], row[1]);
            context.out << line;
        }
    }
    if (!o.csv.empty()) {
        writeCsvOrThrow(o.csv,
                        theis ? std::vector<std::string>{"t_over_t_since_stop", "residual_drawdown"}
                              : std::vector<std::string>{"equivalent_time", "recovery"},
                        rows);
    }
    if (!o.save.empty()) {
        if (theis)
            throw CliError{"recovery: --save keeps the agarwal view, a drawdown record; use --view agarwal"};
        // The record is that of the rate before the stop.
        if (!o.rate.empty()) {
            state.pumpingRate = floatArgument("recovery", "--rate", o.rate);
        } else if (const auto q = rateBeforeRecovery(state.rateSchedule)) {
            state.pumpingRate = static_cast<float>(*q);
        }
        state.rateSchedule.clear();  // the record is now that of a constant rate from time 0
        replaceMeasurements(state, view.x, view.y);
        saveDocumentOrThrow(state, o.save);
    }
    return kExitOk;
}

}  // namespace

void addRecoveryCommand(CLI::App& app, CliContext& context) {
    auto o = std::make_shared<RecoveryOptions>();
    CLI::App* sub =
        app.add_subcommand("recovery", "Theis residual drawdown or Agarwal view of a recovery test");
    sub->add_option("--data", o->data, "Measurement file (time since the start of pumping, drawdown)")
        ->check(nonEmptyFileName());
    addDelimiterOption(*sub, o->delimiter, "Field delimiter of --data");
    sub->add_option("--open", o->open, "The measurements and rate steps of this document")
        ->check(nonEmptyFileName());
    sub->add_option("--view", o->view, "theis (s' against t/t') or agarwal (recovery against t_e)")
        ->check(CLI::IsMember({"theis", "agarwal"}));
    addRatesOption(*sub, o->rates);
    sub->add_option("--pumping-time", o->pumpingTime, "When the pump stopped (default: the last rate step)");
    sub->add_option("--rate", o->rate, "The rate before the stop, for T (default: from the rate steps)");
    sub->add_option("--drawdown-at-stop", o->drawdownAtStop,
                    "s(t_p) of the agarwal view (default: the last measurement at or before t_p)");
    sub->add_option("--max-ratio", o->maxRatio, "The Theis line takes the points with t/t' up to this");
    sub->add_option("--set", o->sets, "FIELD=VALUE, any scalar field of the state")->take_all();
    sub->add_option("--csv", o->csv, "Write the view as CSV")->check(nonEmptyFileName());
    sub->add_option("--save", o->save, "Save the agarwal view as a drawdown document")
        ->check(nonEmptyFileName());
    sub->add_flag("--json", o->json, "Print the view as one JSON object");
    sub->callback([&context, o]() { context.action = [&context, o]() { return runRecovery(context, *o); }; });
}

}  // namespace tolvex::cli
