// A field test described in a JSON file (`tolvex-cli fit --test FILE.json`): the model, the units, the
// pumping rate or schedule, the observation series with their files, and field settings. Documented in
// docs/test-description.md. Every key is checked when the file is read; a bad one is refused with a
// message naming the file and the key, before anything is computed.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/pumping/RateStep.h"
#include "core/state/AnalysisState.h"
#include "core/units/DisplayUnits.h"

namespace CLI {
class App;
}

namespace tolvex::cli {

// The initial displacement of a slug test: a number, or "first" (the first measured value).
struct FirstValue {};
using InitialHead = std::variant<double, FirstValue>;

struct SeriesDescription {
    std::string name;
    std::string file;  // resolved against the JSON file's folder
    double r = 0.0;
    std::optional<InitialHead> h0;
    std::optional<std::string> delimiter;       // comma, semicolon, tab, space; detected when not given
    std::optional<std::array<int, 2>> columns;  // 1-based time and value columns
    std::optional<int> headerLines;             // detected when not given
    std::optional<std::array<int, 2>> use;      // 1-based used range
    double weight = 1.0;
    // Observation geometry by field name (mnZ, ppObsKind, ...; core/series/GeometryFields.h), as text
    // for --set.
    std::vector<std::pair<std::string, std::string>> geometry;
};

struct TestDescription {
    std::string path;  // the JSON file, for messages
    std::optional<int> model;
    std::optional<DisplayUnits> units;
    std::optional<double> rate;
    std::vector<RateStep> rates;
    std::vector<SeriesDescription> series;
    std::vector<std::pair<std::string, std::string>> sets;  // FIELD, VALUE as --set takes them
};

// Reads and checks the description; throws CliError "<file>: <key>: <what is wrong>".
[[nodiscard]] TestDescription readTestDescription(const std::string& path);

// The same from JSON text; `path` names the file in messages and anchors relative series files.
[[nodiscard]] TestDescription parseTestDescription(const std::string& text, const std::string& path);

// Installs the description into `state` in this order: model, units, rate or schedule, series (the first
// into the classic records, the others as further series), then the "set" fields, every number in the
// description's units. Throws CliError naming the key (a series file's fault with its line); the state
// may then be half set, so callers apply it to a state they discard on failure.
void applyTestDescription(const TestDescription& description, AnalysisState& state);

// --test FILE.json on a subcommand; `path` receives the file name.
void addTestOption(CLI::App& command, std::string& path);

// The description of a --test path, nothing when the option was not given.
[[nodiscard]] std::optional<TestDescription> testOption(const std::string& path);

// The model of a run: --model when given (not negative), else the description's "model"; a CliError
// "<command>: give --model or a test description with \"model\"" when neither says.
[[nodiscard]] int runModel(const std::string& command, int model, const std::optional<TestDescription>& test);

}  // namespace tolvex::cli
