// tolvex-cli plot: not built yet; registers nothing until it is.
#include "cli/Cli.h"

namespace tolvex::cli {

void addPlotCommand(CLI::App&, CliContext&) {}

}  // namespace tolvex::cli
