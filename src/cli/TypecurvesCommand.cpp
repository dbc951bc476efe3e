// tolvex-cli typecurves: not built yet; registers nothing until it is.
#include "cli/Cli.h"

namespace tolvex::cli {

void addTypecurvesCommand(CLI::App&, CliContext&) {}

}  // namespace tolvex::cli
