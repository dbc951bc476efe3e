// tolvex-cli wellfn FUNCTION ARG...: one value of a dimensionless well function.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/state/AnalysisState.h"

namespace tolvex::cli {
namespace {

enum class Sign { Positive, NonNegative, Any };

struct Argument {
    const char* name;
    Sign sign;
};

struct WellFunction {
    const char* name;
    const char* summary;
    std::vector<Argument> arguments;
    std::function<double(const std::vector<double>&, const AnalysisState&)> evaluate;
};

std::vector<WellFunction> wellFunctions() {
    return {
        {"theis", "Theis W(u)", {{"U", Sign::Positive}},
         [](const auto& a, const auto&) { return confinedW(a[0]); }},
        {"jacob", "Cooper-Jacob straight line -0.5772 - ln u", {{"U", Sign::Positive}},
         [](const auto& a, const auto&) { return jacobW(a[0]); }},
        {"leaky", "Hantush-Jacob W(u, r/B)", {{"U", Sign::Positive}, {"RB", Sign::NonNegative}},
         [](const auto& a, const auto&) { return leakyW(a[0], a[1]); }},
        {"storage", "Hantush H(u, beta)", {{"U", Sign::Positive}, {"BETA", Sign::NonNegative}},
         [](const auto& a, const auto& s) { return storageH(a[0], a[1], s); }},
    };
}

double readArgument(const std::string& function, const Argument& argument, const std::string& text) {
    const std::string context = "wellfn " + function;
    if (argument.sign == Sign::Positive) return positiveArgument(context, argument.name, text);
    const double value = numberArgument(context, argument.name, text);
    if (argument.sign == Sign::NonNegative && value < 0.0) {
        throw CliError{context + ": " + argument.name + " must not be negative, got '" + text + "'"};
    }
    return value;
}

struct WellfnOptions {
    std::vector<std::string> words;
    int gauss = 0;
    int stehfest = 0;
};

}  // namespace

void addWellfnCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<WellfnOptions>();
    std::string footer = "Functions:\n";
    for (const WellFunction& f : wellFunctions()) {
        footer += std::string("  ") + f.name;
        for (const Argument& a : f.arguments) footer += std::string(" ") + a.name;
        footer += std::string("    ") + f.summary + "\n";
    }
    CLI::App* sub = app.add_subcommand("wellfn", "Evaluate a dimensionless well function");
    sub->footer(footer);
    sub->add_option("function_and_arguments", options->words, "FUNCTION ARG...")->required()->expected(1, -1);
    sub->add_option("--gauss", options->gauss, "Gauss-Legendre points (rebuilds the table first)")
        ->check(CLI::Range(2, 200));
    sub->add_option("--stehfest", options->stehfest, "Stehfest terms (rebuilds the table first)")
        ->check(CLI::Range(2, 20));

    sub->callback([&context, options, sub]() {
        const std::string& name = options->words.front();
        const auto functions = wellFunctions();
        const auto found =
            std::find_if(functions.begin(), functions.end(), [&](const WellFunction& f) { return name == f.name; });
        if (found == functions.end()) throw CLI::ValidationError("wellfn", "unknown function '" + name + "'");
        if (options->words.size() != found->arguments.size() + 1) {
            throw CLI::ValidationError("wellfn " + name,
                                       "expects " + std::to_string(found->arguments.size()) + " argument(s)");
        }
        (void)sub;
        const WellFunction function = *found;
        context.action = [&context, options, function]() {
            if (options->stehfest % 2 != 0) {
                throw CliError{"wellfn: --stehfest must be even, got " + std::to_string(options->stehfest)};
            }
            AnalysisState state = makeDefaultState();
            if (options->gauss > 0) state.gaussCount = options->gauss;
            if (options->stehfest > 0) state.stehfestCount = options->stehfest;
            buildNumericalTables(state);
            std::vector<double> values;
            for (std::size_t i = 0; i < function.arguments.size(); ++i) {
                values.push_back(readArgument(function.name, function.arguments[i], options->words[i + 1]));
            }
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.10g", function.evaluate(values, state));
            context.out << buffer << "\n";
            return kExitOk;
        };
    });
}

}  // namespace tolvex::cli
