// tolvex-cli: the batch front end. Each subcommand lives in a file of its own and registers itself
// on the CLI11 application; runCli parses, runs the chosen subcommand and maps failures to exit codes.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tolvex::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // bad input or a failed computation
inline constexpr int kExitUsage = 2;    // wrong usage

// A failure that ends the run with exit status 1 and one line "tolvex-cli: <what>" on stderr.
struct CliError {
    std::string what;
};

// What a subcommand needs at run time: where to write, and the action to run once parsing succeeded.
struct CliContext {
    std::ostream& out;
    std::ostream& err;
    std::function<int()> action;  // set by the callback of the chosen subcommand
};

void addWellfnCommand(CLI::App& app, CliContext& context);
void addTypecurvesCommand(CLI::App& app, CliContext& context);
void addSimulateCommand(CLI::App& app, CliContext& context);
void addFitCommand(CLI::App& app, CliContext& context);
void addImportCommand(CLI::App& app, CliContext& context);
void addReportCommand(CLI::App& app, CliContext& context);
void addShowCommand(CLI::App& app, CliContext& context);
void addPlotCommand(CLI::App& app, CliContext& context);
void addRecoveryCommand(CLI::App& app, CliContext& context);
void addMatchCommand(CLI::App& app, CliContext& context);

// Runs the command line; args[0] is the program name. When anything written to `out` did not get out
// (a full disk, a closed descriptor), the run ends with exit status 1 and
// "tolvex-cli: cannot write standard output: <reason>" on `err`, whatever the command did.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tolvex::cli
