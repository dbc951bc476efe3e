// Command-line helpers shared by the subcommands that start from, change or store an analysis.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"
#include "core/units/Units.h"

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

// Adds --units time=UNIT,length=UNIT,rate=UNIT|none to a subcommand; `units` receives the text given.
void addUnitsOption(CLI::App& command, std::string& units);

// Sets the units of --units (nothing when it was not given). From none to units, the numbers already in
// the state are read as being in the new units. A text that names no units throws CliError
// "<command>: --units: ..." naming the part at fault; the state is then unchanged.
void applyUnitsOption(AnalysisState& state, const std::string& units, const std::string& command);

// {"time": "min", "length": "m", "rate": "m3/d"} of units that are set, null otherwise.
[[nodiscard]] nlohmann::json unitsJson(const DisplayUnits& units);

// A float of the state as JSON shows it: the shortest decimal that reads back as the same float, in
// the document's units when units are set and the value has a dimension.
[[nodiscard]] double shownFloat(const AnalysisState& state, float stored, Dimension dimension);
// A measurement (double) in the document's units.
[[nodiscard]] double shownMeasurement(const AnalysisState& state, double stored, Dimension dimension);

// Refuses an empty value of an option or argument that names a file ("--save ''"): a usage error
// "--save: an empty value names no file" rather than a request quietly ignored.
[[nodiscard]] CLI::Validator nonEmptyFileName();

// A message of the core (first line the program's sentence, second the details) as one line.
[[nodiscard]] std::string oneLine(std::string message);

}  // namespace tolvex::cli
