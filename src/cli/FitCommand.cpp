// tolvex-cli fit: not built yet; registers nothing until it is.
#include "cli/Cli.h"

namespace tolvex::cli {

void addFitCommand(CLI::App&, CliContext&) {}

}  // namespace tolvex::cli
