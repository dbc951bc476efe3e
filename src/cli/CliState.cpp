#include "cli/CliState.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <map>

#include "core/input/Import.h"
#include "core/state/Accuracy.h"

#include "cli/Cli.h"
#include "core/commands/EstimationForms.h"
#include "core/commands/SettingsForms.h"
#include "core/input/DisplayUnitsChange.h"
#include "core/persist/Archive.h"
#include "core/persist/Document.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"

namespace tolvex::cli {
namespace {

std::string unknownFieldMessage(const std::string& name) {
    std::string message = "--set: unknown field '" + name + "'";
    const auto closest = closestFieldNames(name);
    if (!closest.empty()) {
        message += "; did you mean";
        for (std::size_t i = 0; i < closest.size(); ++i) {
            message += (i == 0 ? " " : ", ") + std::string(closest[i]);
        }
        message += "?";
    }
    return message;
}

// A size the program builds arrays from was set: rebuild them through the dialog that owns the size,
// with its checks (an odd Stehfest count, 500 Gauss points or a negative iteration limit are refused).
void rebuildTables(AnalysisState& state, const std::vector<const FieldInfo*>& changed) {
    for (const Form& form : {integrationForm(), matchingCriteriaForm()}) {
        const bool touched = std::any_of(changed.begin(), changed.end(), [&](const FieldInfo* f) {
            return std::any_of(form.fields.begin(), form.fields.end(),
                               [&](const FormField& ff) { return ff.field == f->name; });
        });
        if (!touched) continue;
        if (auto error = acceptForm(form, loadFormTexts(form, state, kExactFloatDigits), state)) {
            throw CliError{"--set: " + form.fields[error->fieldIndex].field + ": " + error->message};
        }
    }
}

}  // namespace

void applySets(AnalysisState& state, const std::vector<std::string>& assignments) {
    AnalysisState changed = state;
    std::vector<const FieldInfo*> tables;
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            throw CliError{"--set: '" + assignment + "' is not of the form FIELD=VALUE"};
        }
        const std::string name = assignment.substr(0, equals);
        const FieldInfo* field = findField(name);
        if (field == nullptr) throw CliError{unknownFieldMessage(name)};
        if (field->access == FieldAccess::Count) {
            throw CliError{
                "--set: " + name +
                " is the size of data the program keeps; it changes with the data (import, --use)"};
        }
        std::string value = assignment.substr(equals + 1);
        if (field->type() == FieldType::Text) {
            // The document keeps one byte per character (Latin-1); the command line speaks UTF-8.
            auto latin1 = utf8ToLatin1(value);
            if (!latin1) {
                throw CliError{"--set: " + name + ": '" + value +
                               "' holds characters beyond Latin-1, which the document cannot keep"};
            }
            value = std::move(*latin1);
        }
        if (auto error = setFieldText(changed, *field, value)) {
            throw CliError{"--set: " + *error};
        }
        if (field->access == FieldAccess::Table) tables.push_back(field);
    }
    rebuildTables(changed, tables);
    state = std::move(changed);
}

AnalysisState openDocumentOrThrow(const std::string& path) {
    AnalysisState state = makeDefaultState();
    if (auto error = loadDocument(path, state)) throw CliError{oneLine(*error)};
    return state;
}

void saveDocumentOrThrow(const AnalysisState& state, const std::string& path) {
    if (auto error = saveDocument(state, path)) throw CliError{oneLine(*error)};
}

std::string oneLine(std::string message) {
    for (char& c : message) {
        if (c == '\n') c = ' ';
    }
    return message;
}

CLI::Validator nonEmptyFileName() {
    return CLI::Validator(
        [](std::string& value) {
            return value.empty() ? std::string("an empty value names no file") : std::string();
        },
        "FILE");
}

void addDelimiterOption(CLI::App& command, int& delimiter, const std::string& description) {
    const std::map<std::string, int> names{{"comma", kDelimiterComma},
                                           {"space", kDelimiterSpace},
                                           {"tab", kDelimiterTab},
                                           {"semicolon", kDelimiterSemicolon}};
    delimiter = kDelimiterComma;
    command.add_option("--delimiter", delimiter, description)->transform(CLI::CheckedTransformer(names));
}

void addUnitsOption(CLI::App& command, std::string& units) {
    command.add_option("--units", units,
                       "Units of the numbers entered and shown: time=s|min|h|d,length=mm|cm|m|ft|in,"
                       "rate=m3/s|m3/h|m3/d|L/s|L/min|gpm|ft3/d (any subset; the SI unit for the rest), "
                       "or none (consistent units, the default)");
}

void applyUnitsOption(AnalysisState& state, const std::string& units, const std::string& command) {
    if (units.empty()) return;
    const UnitsParse parsed = parseUnits(units);
    if (!parsed.units) throw CliError{command + ": --units: " + parsed.error};
    changeDisplayUnits(state, *parsed.units);
}

nlohmann::json unitsJson(const DisplayUnits& units) {
    if (!units.set()) return nullptr;
    const auto name = [](const std::string& n, std::span<const UnitChoice> choices) {
        return n.empty() ? std::string(choices.front().name) : n;
    };
    return {{"time", name(units.time, timeUnits())},
            {"length", name(units.length, lengthUnits())},
            {"rate", name(units.rate, rateUnits())}};
}

double shownFloat(const AnalysisState& state, float stored, Dimension dimension) {
    if (dimension != Dimension::None && state.units.set()) {
        return parseNumber(shownFloatText(stored, dimension, state.units)).value_or(0.0);
    }
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), stored).ptr;
    double result = stored;
    std::from_chars(buffer.data(), end, result);
    return result;
}

double shownMeasurement(const AnalysisState& state, double stored, Dimension dimension) {
    return fromSI(stored, dimension, state.units);
}

void addAccuracyOption(CLI::App& command, int& accuracy) {
    const std::map<std::string, int> names{{"standard", static_cast<int>(Accuracy::Standard)},
                                           {"high", static_cast<int>(Accuracy::High)}};
    accuracy = -1;  // not given: the document's accuracy, standard for a new analysis
    command
        .add_option("--accuracy", accuracy,
                    "Well functions: standard (the program's algorithms, the default) or high (nine digits "
                    "or better)")
        ->transform(CLI::CheckedTransformer(names));
}

}  // namespace tolvex::cli
