// --series NAME:FILE:R[:WEIGHT] of simulate and fit: further observation series read from files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tolvex::cli {

// Adds the repeatable --series option to a subcommand.
void addSeriesOption(CLI::App& command, std::vector<std::string>& texts);

// Reads each NAME:FILE:R[:WEIGHT] (split at the first colon and at the last one or two, so a path may
// hold colons) into a further series of `state`, all used, weight 1 unless given; throws CliError
// naming the option, the file or the value at fault, leaving the state without any of them. Notes of
// skipped lines go to `err`.
void addSeriesFromOptions(const std::string& context, const std::vector<std::string>& texts, int delimiter,
                          AnalysisState& state, std::ostream& err);

}  // namespace tolvex::cli
