// tolvex-cli import: not built yet; registers nothing until it is.
#include "cli/Cli.h"

namespace tolvex::cli {

void addImportCommand(CLI::App&, CliContext&) {}

}  // namespace tolvex::cli
