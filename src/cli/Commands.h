// The list of subcommands, in the order `tolvex-cli --help` shows them. Each new subcommand adds its
// registration function to Cli.h and one line to registerAllCommands.
#pragma once

#include "cli/Cli.h"

namespace tolvex::cli {

inline void registerAllCommands(CLI::App& app, CliContext& context) {
    addWellfnCommand(app, context);
    addTypecurvesCommand(app, context);
    addSimulateCommand(app, context);
    addFitCommand(app, context);
    addRecoveryCommand(app, context);
    addImportCommand(app, context);
    addReportCommand(app, context);
    addShowCommand(app, context);
    addPlotCommand(app, context);
    addMatchCommand(app, context);
}

}  // namespace tolvex::cli
