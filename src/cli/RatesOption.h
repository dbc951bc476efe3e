// --rates on simulate and fit: the pumping well's rate schedule, as a file of two columns (time, rate)
// or inline as "t1:Q1,t2:Q2,...". Recovery is a last step to rate 0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/pumping/RateStep.h"
#include "core/state/AnalysisState.h"

namespace CLI {
class App;
}

namespace tolvex::cli {

// Adds --rates to a subcommand; `value` receives its text.
void addRatesOption(CLI::App& command, std::string& value);

// The steps `value` gives: the file of that name when one exists, else the inline list. Throws
// CliError "<command>: --rates ...: <what is wrong>" naming the line or entry at fault.
[[nodiscard]] std::vector<RateStep> rateScheduleArgument(std::string_view command, const std::string& value);

// Stores the steps of a non-empty `value` into the state and checks them against the state's model
// (checkRateScheduleInputs); throws CliError when refused, the state then as it was.
void applyRatesOption(std::string_view command, const std::string& value, AnalysisState& state);

}  // namespace tolvex::cli
