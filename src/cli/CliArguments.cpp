#include "cli/CliArguments.h"

#include <cmath>

#include "cli/Cli.h"
#include "core/state/FieldTable.h"

namespace tolvex::cli {

double numberArgument(std::string_view context, std::string_view name, const std::string& text) {
    const auto value = parseNumber(text);
    if (!value || !std::isfinite(*value)) {
        throw CliError{std::string(context) + ": " + std::string(name) + " '" + text + "' is not a number"};
    }
    return *value;
}

double positiveArgument(std::string_view context, std::string_view name, const std::string& text) {
    const double value = numberArgument(context, name, text);
    if (value <= 0.0) {
        throw CliError{std::string(context) + ": " + std::string(name) + " must be positive, got '" + text +
                       "'"};
    }
    return value;
}

}  // namespace tolvex::cli
