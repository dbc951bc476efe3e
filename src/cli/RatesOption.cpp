#include "cli/RatesOption.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/Cli.h"
#include "core/pumping/RateScheduleChecks.h"
#include "core/pumping/RateStepUnits.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ForwardModel.h"
#include "core/units/Units.h"

namespace tolvex::cli {
namespace {

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

// One step from its two number texts, or why not.
std::optional<RateStep> stepOf(const std::string& time, const std::string& rate) {
    const auto t = parseNumber(trimmed(time)), q = parseNumber(trimmed(rate));
    if (!t || !q) return std::nullopt;
    return RateStep{*t, *q};
}

// "0:100,1000:0"
std::vector<RateStep> inlineSteps(std::string_view command, const std::string& value) {
    std::vector<RateStep> steps;
    std::stringstream entries(value);
    int index = 0;
    for (std::string entry; std::getline(entries, entry, ',');) {
        ++index;
        const auto colon = entry.find(':');
        const auto step = colon == std::string::npos
                              ? std::nullopt
                              : stepOf(entry.substr(0, colon), entry.substr(colon + 1));
        if (!step) {
            throw CliError{std::string(command) + ": --rates: entry " + std::to_string(index) + " '" + entry +
                           "' is not TIME:RATE"};
        }
        steps.push_back(*step);
    }
    return steps;
}

// Two numbers a line, separated by blanks, a tab, a comma or a semicolon; blank lines and lines that
// start with '#' are skipped.
std::vector<RateStep> fileSteps(std::string_view command, const std::string& path) {
    std::ifstream in(path);
    if (!in) throw CliError{std::string(command) + ": --rates " + path + ": cannot be read"};
    std::vector<RateStep> steps;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::string text = trimmed(line);
        if (text.empty() || text[0] == '#') continue;
        for (char& c : text)
            if (c == ',' || c == ';' || c == '\t') c = ' ';
        std::stringstream words(text);
        std::string time, rate, extra;
        words >> time >> rate >> extra;
        const auto step = extra.empty() ? stepOf(time, rate) : std::nullopt;
        if (!step) {
            throw CliError{std::string(command) + ": --rates " + path + ": line " + std::to_string(number) +
                           " '" + trimmed(line) + "' is not two numbers (time, rate)"};
        }
        steps.push_back(*step);
    }
    if (steps.empty()) throw CliError{std::string(command) + ": --rates " + path + ": holds no rate step"};
    return steps;
}

}  // namespace

void addRatesOption(CLI::App& command, std::string& value) {
    command.add_option("--rates", value,
                       "Pumping history: a file of lines TIME RATE, or t1:Q1,t2:Q2,... (recovery: a last "
                       "step to rate 0)");
}

std::vector<RateStep> rateScheduleArgument(std::string_view command, const std::string& value) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(value, ignored)) return fileSteps(command, value);
    if (value.find(':') == std::string::npos) {
        throw CliError{std::string(command) + ": --rates " + value +
                       ": no such file, and not a list t1:Q1,t2:Q2,..."};
    }
    return inlineSteps(command, value);
}

void applyRatesOption(std::string_view command, const std::string& value, AnalysisState& state) {
    if (value.empty()) return;
    std::vector<RateStep> steps = rateScheduleArgument(command, value);
    if (auto error = checkRateSchedule(steps)) {
        throw CliError{std::string(command) + ": --rates " + value + ": " + *error};
    }
    std::vector<RateStep> before =
        std::exchange(state.rateSchedule, rateStepsToSI(std::move(steps), state.units));
    if (auto error = checkRateScheduleInputs(state, state.modelKind)) {
        state.rateSchedule = std::move(before);
        throw CliError{std::string(command) + ": --rates: " + *error};
    }
}

}  // namespace tolvex::cli
