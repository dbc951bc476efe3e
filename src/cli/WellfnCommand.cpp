// tolvex-cli wellfn FUNCTION ARG...: one value of a dimensionless well function.
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/CliState.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/DoublePorosity.h"
#include "core/solutions/PartialPenetration.h"
#include "core/solutions/SlugTest.h"
#include "core/solutions/Unconfined.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/state/Accuracy.h"
#include "core/state/AnalysisState.h"
#include "core/state/NumericalTableLimits.h"

namespace tolvex::cli {
namespace {

enum class Sign { Positive, NonNegative, Any };

struct Argument {
    const char* name;
    Sign sign;
};

// What one evaluation reads besides its arguments: the numerical tables and, for the unconfined
// aquifer, the geometry (the state's, with the command line's --l ... --form on top).
struct Inputs {
    const AnalysisState& state;
    UnconfinedGeometry geometry;
};

bool high(const Inputs& in) {
    return highAccuracy(in.state);
}

struct WellFunction {
    const char* name;
    const char* summary;
    std::vector<Argument> arguments;
    std::function<double(const std::vector<double>&, const Inputs&)> evaluate;
};

std::vector<WellFunction> wellFunctions() {
    const Argument u{"U", Sign::Positive};
    const Argument td{"TD", Sign::Positive};
    const Argument sigma{"SIGMA", Sign::Positive};
    const std::vector<Argument> depths{
        {"L", Sign::Any}, {"D", Sign::Any}, {"LO", Sign::Any}, {"DZ", Sign::Any}};
    auto with = [](std::vector<Argument> head, const std::vector<Argument>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    // Each function in the accuracy the state asks for: the program's standard algorithm or the
    // accurate evaluation of the same function.
    return {
        {"theis",
         "Theis W(u)",
         {u},
         [](const auto& a, const auto& in) { return high(in) ? accurate::theisW(a[0]) : confinedW(a[0]); }},
        {"jacob",
         "Cooper-Jacob straight line -0.5772 - ln u",
         {u},
         [](const auto& a, const auto&) { return jacobW(a[0]); }},
        {"leaky",
         "Hantush-Jacob W(u, r/B)",
         {u, {"RB", Sign::NonNegative}},
         [](const auto& a, const auto& in) {
             return high(in) ? accurate::leakyW(a[0], a[1]) : leakyW(a[0], a[1]);
         }},
        {"storage",
         "Hantush H(u, beta)",
         {u, {"BETA", Sign::NonNegative}},
         [](const auto& a, const auto& in) {
             return high(in) ? accurate::storageH(a[0], a[1]) : storageH(a[0], a[1], in.state);
         }},
        {"partial", "Hantush partial penetration, nonleaky (LO <= 0: piezometer at DZ = z/b)",
         with({u, {"X", Sign::Positive}}, depths),
         [](const auto& a, const auto& in) {
             return high(in) ? accurate::partialW(a[0], a[1], a[2], a[3], a[4], a[5])
                             : partialW(a[0], a[1], a[2], a[3], a[4], a[5]);
         }},
        {"partial-leaky", "Hantush partial penetration, leaky (LO <= 0: piezometer at DZ = z/b)",
         with({u, {"X", Sign::Positive}, {"RB", Sign::NonNegative}}, depths),
         [](const auto& a, const auto& in) {
             return high(in) ? accurate::partialLeakyW(a[0], a[1], a[2], a[3], a[4], a[5], a[6])
                             : partialLeakyW(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
         }},
        {"slug",
         "Cooper-Bredehoeft-Papadopulos F(beta, alpha)",
         {{"BETA", Sign::NonNegative}, {"ALPHA", Sign::Positive}},
         [](const auto& a, const auto& in) {
             return high(in) ? accurate::slugF(a[0], a[1]) : slugF(a[0], a[1], in.state);
         }},
        {"unconfined",
         "Moench unconfined aquifer (geometry: --l --d --z --z1 --z2 --form)",
         {td, {"BETA", Sign::Positive}, {"SIGMA", Sign::NonNegative}},
         [](const auto& a, const auto& in) {
             return high(in) ? accurate::unconfinedW(a[0], a[1], a[2], in.geometry)
                             : unconfinedW(a[0], a[1], a[2], in.geometry, in.state);
         }},
        {"warren-root",
         "Warren-Root double porosity",
         {td, {"LAMBDA", Sign::NonNegative}, sigma},
         [](const auto& a, const auto& in) {
             return high(in) ? accurate::doublePorosityW(a[0], a[1], a[2], kWarrenRoot)
                             : doublePorosityW(a[0], a[1], a[2], kWarrenRoot, in.state);
         }},
        {"slab",
         "Boulton-Streltsova double porosity (slabs)",
         {td, {"GAMMA", Sign::Positive}, sigma},
         [](const auto& a, const auto& in) {
             return high(in) ? accurate::doublePorosityW(a[0], a[1], a[2], kSlab)
                             : doublePorosityW(a[0], a[1], a[2], kSlab, in.state);
         }},
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

// The geometry options of the unconfined aquifer, each overriding the state's value when given.
struct GeometryOption {
    const char* flag;
    const char* help;
    double UnconfinedGeometry::*field;
    double value = 0.0;
    bool given = false;
};

struct WellfnOptions {
    std::vector<std::string> words;
    int gauss = 0;
    int stehfest = 0;
    int accuracy = -1;
    std::vector<GeometryOption> geometry{
        {"--l", "l/b, bottom of the pumping-well screen", &UnconfinedGeometry::l},
        {"--d", "d/b, top of the pumping-well screen", &UnconfinedGeometry::d},
        {"--z", "z/b, height of the piezometer above the base (form 1)", &UnconfinedGeometry::z},
        {"--z1", "z1/b, observation screen bottom above the base (form 2)", &UnconfinedGeometry::z1},
        {"--z2", "z2/b, observation screen top above the base (form 2)", &UnconfinedGeometry::z2},
    };
    int form = kFullThicknessAverage;
    bool formGiven = false;
};

void addGeometryOptions(CLI::App& sub, WellfnOptions& options) {
    for (GeometryOption& g : options.geometry) sub.add_option(g.flag, g.value, g.help);
    sub.add_option(
           "--form", options.form,
           "unconfined observation, as the document's mnObsKind: 0 fully penetrating observation well, "
           "1 piezometer at z/b, 2 observation well screened from z1/b to z2/b")
        ->check(CLI::Range(0, 2));
}

// Records which geometry options were given; they belong to the unconfined aquifer only.
void readGeometryCounts(const CLI::App& sub, WellfnOptions& options, const std::string& function) {
    bool any = false;
    for (GeometryOption& g : options.geometry) any |= g.given = sub.count(g.flag) > 0;
    options.formGiven = sub.count("--form") > 0;
    if ((any || options.formGiven) && function != "unconfined") {
        throw CLI::ValidationError("wellfn " + function,
                                   "--l, --d, --z, --z1, --z2 and --form apply to unconfined");
    }
}

UnconfinedGeometry geometryOf(const AnalysisState& state, const WellfnOptions& options) {
    UnconfinedGeometry geometry = unconfinedGeometry(state);
    for (const GeometryOption& g : options.geometry) {
        if (g.given) geometry.*g.field = g.value;
    }
    if (options.formGiven) geometry.form = options.form;
    return geometry;
}

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
    addAccuracyOption(*sub, options->accuracy);
    addGeometryOptions(*sub, *options);

    sub->callback([&context, options, sub]() {
        const std::string& name = options->words.front();
        const auto functions = wellFunctions();
        const auto found = std::find_if(functions.begin(), functions.end(),
                                        [&](const WellFunction& f) { return name == f.name; });
        if (found == functions.end()) throw CLI::ValidationError("wellfn", "unknown function '" + name + "'");
        if (options->words.size() != found->arguments.size() + 1) {
            throw CLI::ValidationError("wellfn " + name,
                                       "expects " + std::to_string(found->arguments.size()) + " argument(s)");
        }
        readGeometryCounts(*sub, *options, name);
        const WellFunction function = *found;
        context.action = [&context, options, function]() {
            if (options->stehfest % 2 != 0) {
                throw CliError{"wellfn: --stehfest must be even, got " + std::to_string(options->stehfest)};
            }
            AnalysisState state = makeDefaultState();
            if (options->gauss > 0) state.gaussCount = options->gauss;
            if (options->stehfest > 0) state.stehfestCount = options->stehfest;
            if (options->accuracy >= 0) state.accuracy = options->accuracy;
            // The standard Laplace inversion loses digits beyond its usual count of terms, which the
            // user should know before trusting the value; the accurate evaluations take no Stehfest table.
            const std::string name = function.name;
            const bool laplace = name == "unconfined" || name == "warren-root" || name == "slab";
            if (laplace && !highAccuracy(state)) {
                if (const auto warning = stehfestAccuracyWarning(state.stehfestCount)) {
                    context.err << "tolvex-cli: wellfn: --stehfest " << state.stehfestCount << ": "
                                << *warning << "\n";
                }
            }
            buildNumericalTables(state);
            std::vector<double> values;
            for (std::size_t i = 0; i < function.arguments.size(); ++i) {
                values.push_back(readArgument(function.name, function.arguments[i], options->words[i + 1]));
            }
            const double result = function.evaluate(values, Inputs{state, geometryOf(state, *options)});
            if (std::isnan(result)) {
                throw CliError{std::string("wellfn ") + function.name +
                               ": undefined for these arguments (a screen of no length?)"};
            }
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.10g", result);
            context.out << buffer << "\n";
            return kExitOk;
        };
    });
}

}  // namespace tolvex::cli
