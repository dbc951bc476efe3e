// Reading numbers from command-line words with messages that name the argument at fault.
#pragma once

#include <string>
#include <string_view>

namespace tolvex::cli {

// The number in `text`, or a CliError "<context>: <name> '<text>' is not a number".
[[nodiscard]] double numberArgument(std::string_view context, std::string_view name, const std::string& text);
// As numberArgument, and also refuses values <= 0 ("... must be positive").
[[nodiscard]] double positiveArgument(std::string_view context, std::string_view name,
                                      const std::string& text);

// As numberArgument, for a value stored into a float field: refuses what rounds beyond the float
// range ("... is beyond the float range"), as --set does.
[[nodiscard]] float floatArgument(std::string_view context, std::string_view name, const std::string& text);

}  // namespace tolvex::cli
