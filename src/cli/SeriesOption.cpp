#include "cli/SeriesOption.h"

#include <CLI/CLI.hpp>
#include <variant>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/CliState.h"
#include "core/input/SeriesImport.h"
#include "core/state/FieldTable.h"

namespace tolvex::cli {
namespace {

// Whether a part of the option reads as a number (R or WEIGHT).
bool isNumber(const std::string& text) {
    return parseNumber(text).has_value();
}

SeriesFile parseSeriesOption(const std::string& context, const std::string& text, int delimiter) {
    const std::string option = context + ": --series " + text;
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t colon; (colon = text.find(':', start)) != std::string::npos; start = colon + 1)
        parts.push_back(text.substr(start, colon - start));
    parts.push_back(text.substr(start));
    if (parts.size() < 3) throw CliError{option + ": give NAME:FILE:R or NAME:FILE:R:WEIGHT"};
    // With four or more parts the last two are R and WEIGHT when both read as numbers.
    const bool weighted =
        parts.size() >= 4 && isNumber(parts[parts.size() - 1]) && isNumber(parts[parts.size() - 2]);
    const std::size_t fileEnd = parts.size() - (weighted ? 2 : 1);
    SeriesFile file;
    file.name = parts[0];
    if (file.name.empty()) throw CliError{option + ": the series has no name"};
    for (std::size_t k = 1; k < fileEnd; ++k) file.path += (k > 1 ? ":" : "") + parts[k];
    if (file.path.empty()) throw CliError{option + ": no file is named"};
    file.radialDistance = numberArgument(context, "--series R", parts[fileEnd]);
    if (weighted) file.weight = numberArgument(context, "--series WEIGHT", parts.back());
    file.delimiter = delimiter;
    return file;
}

}  // namespace

void addSeriesOption(CLI::App& command, std::vector<std::string>& texts) {
    command
        .add_option("--series", texts,
                    "NAME:FILE:R[:WEIGHT]: a further observation series (time, drawdown per line) at "
                    "distance R (repeatable)")
        ->take_all();
}

void addSeriesFromOptions(const std::string& context, const std::vector<std::string>& texts, int delimiter,
                          AnalysisState& state, std::ostream& err) {
    std::vector<ObservationSeries> added;
    for (const std::string& text : texts) {
        SeriesFile file = parseSeriesOption(context, text, delimiter);
        file.units = state.units;
        file.modelKind = state.modelKind;
        std::string notice;
        auto result = importSeries(file, &notice);
        if (auto* error = std::get_if<std::string>(&result))
            throw CliError{context + ": --series " + text + ": " + oneLine(*error)};
        if (!notice.empty())
            err << "tolvex-cli: " << context << ": --series " << file.path << ": " << oneLine(notice) << "\n";
        added.push_back(std::move(std::get<ObservationSeries>(result)));
    }
    state.extraSeries.insert(state.extraSeries.end(), added.begin(), added.end());
}

}  // namespace tolvex::cli
