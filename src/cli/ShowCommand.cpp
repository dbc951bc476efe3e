// tolvex-cli show: not built yet; registers nothing until it is.
#include "cli/Cli.h"

namespace tolvex::cli {

void addShowCommand(CLI::App&, CliContext&) {}

}  // namespace tolvex::cli
