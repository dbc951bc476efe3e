// Command-line helpers shared by the subcommands that start from, change or store an analysis.
#pragma once

#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace CLI {
class App;
class Validator;
}  // namespace CLI

namespace tolvex::cli {

// Applies FIELD=VALUE assignments in order through the field table. An unknown name is refused with
// the closest known names, a value that does not parse with the field's message; both throw CliError.
// Every assignment is checked before any is stored, so a refused list leaves the state as it was.
// A positive field refuses zero, negative and non-finite values; a text (UTF-8 on the command line) is
// stored as Latin-1 and refused when it holds characters beyond it.
void applySets(AnalysisState& state, const std::vector<std::string>& assignments);

// The document at `path` read over the default state; throws CliError naming the file and the fault.
[[nodiscard]] AnalysisState openDocumentOrThrow(const std::string& path);

// Saves the document; throws CliError naming the file and the fault (an existing file stays intact).
void saveDocumentOrThrow(const AnalysisState& state, const std::string& path);

// Adds --delimiter (comma, space, tab, semicolon) to a subcommand; `delimiter` receives the import
// delimiter code of the name given, comma unless the option is used.
void addDelimiterOption(CLI::App& command, int& delimiter, const std::string& description);

// Adds --accuracy standard|high to a subcommand; `accuracy` receives the AnalysisState::accuracy code of
// the name given, -1 when the option is not used (the state keeps its own).
void addAccuracyOption(CLI::App& command, int& accuracy);

// Refuses an empty value of an option or argument that names a file ("--save ''"): a usage error
// "--save: an empty value names no file" rather than a request quietly ignored.
[[nodiscard]] CLI::Validator nonEmptyFileName();

// A message of the core (first line the program's sentence, second the details) as one line.
[[nodiscard]] std::string oneLine(std::string message);

}  // namespace tolvex::cli
