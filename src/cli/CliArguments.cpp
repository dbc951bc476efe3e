#include "cli/CliArguments.h"

#include <cmath>
#include <limits>

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

float floatArgument(std::string_view context, std::string_view name, const std::string& text) {
    const double value = numberArgument(context, name, text);
    if (!fitsFloat(value)) {
        throw CliError{std::string(context) + ": " + std::string(name) + " '" + text +
                       "' is beyond the float range (magnitude at most " +
                       formatGeneral(std::numeric_limits<float>::max(), 6) + ")"};
    }
    return static_cast<float>(value);
}

}  // namespace tolvex::cli
