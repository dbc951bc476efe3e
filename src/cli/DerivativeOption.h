// --derivative [L] on simulate, fit and plot: the logarithmic derivative ds/d ln t of the drawdowns, in the
// drawdowns' unit, with Bourdet's L-spacing (log10 cycles, 0 to 0.5, 0.2 when no L is given) or, as
// "window:N", Spane and Wurstner's moving window of N points.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/diagnostics/LogDerivative.h"
#include "core/state/ViewSettings.h"

namespace CLI {
class App;
}

namespace tolvex::cli {

// Adds --derivative to a subcommand; `value` receives nothing when it is not given, one empty text when
// it is given alone, else its argument.
void addDerivativeOption(CLI::App& command, std::vector<std::string>& value);

// The smoothing `value` asks for, nothing without --derivative. Throws CliError
// "<command>: --derivative '<text>': <what is wrong>".
[[nodiscard]] std::optional<DerivativeSmoothing> derivativeArgument(std::string_view command,
                                                                    const std::vector<std::string>& value);

// The values as a JSON array, null where a value is left out.
[[nodiscard]] nlohmann::ordered_json derivativeJson(const std::vector<double>& values);

}  // namespace tolvex::cli
