// tolvex-cli simulate: not built yet; registers nothing until it is.
#include "cli/Cli.h"

namespace tolvex::cli {

void addSimulateCommand(CLI::App&, CliContext&) {}

}  // namespace tolvex::cli
