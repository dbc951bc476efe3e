// tolvex-cli report: not built yet; registers nothing until it is.
#include "cli/Cli.h"

namespace tolvex::cli {

void addReportCommand(CLI::App&, CliContext&) {}

}  // namespace tolvex::cli
