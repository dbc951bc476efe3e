#include "cli/DerivativeOption.h"

#include <CLI/CLI.hpp>
#include <cmath>

#include "cli/Cli.h"
#include "cli/CliArguments.h"

namespace tolvex::cli {
namespace {

constexpr std::string_view kWindowPrefix = "window:";

[[noreturn]] void refuse(std::string_view command, const std::string& text, const std::string& why) {
    throw CliError{std::string(command) + ": --derivative '" + text + "': " + why};
}

}  // namespace

void addDerivativeOption(CLI::App& command, std::vector<std::string>& value) {
    command
        .add_option("--derivative", value,
                    "Add ds/d ln t: L-spacing L in log cycles (0..0.5, 0.2 if omitted) or window:N")
        ->expected(0, 1);
}

std::optional<DerivativeSmoothing> derivativeArgument(std::string_view command,
                                                      const std::vector<std::string>& value) {
    if (value.empty()) return std::nullopt;
    const std::string& text = value.front();
    DerivativeSmoothing smoothing;
    if (text.empty()) {
        smoothing.lSpacing = kDefaultDerivativeLSpacing;
    } else if (text.starts_with(kWindowPrefix)) {
        const std::string count = text.substr(kWindowPrefix.size());
        const double n = numberArgument(command, "--derivative window:N", count);
        if (n != std::floor(n) || std::fabs(n) > 1e6)
            refuse(command, text, "N must be an odd integer of at least 3");
        smoothing.kind = DerivativeSmoothing::Kind::MovingWindow;
        smoothing.window = static_cast<int>(n);
    } else {
        smoothing.lSpacing = numberArgument(command, "--derivative L", text);
    }
    if (const std::string why = checkDerivativeSmoothing(smoothing); !why.empty()) refuse(command, text, why);
    return smoothing;
}

nlohmann::ordered_json derivativeJson(const std::vector<double>& values) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (double v : values)
        list.push_back(std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json());
    return list;
}

}  // namespace tolvex::cli
