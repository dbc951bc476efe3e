#include "cli/Cli.h"

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/StandardOutput.h"

namespace tolvex::cli {
namespace {

int parseAndRun(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"Tolvex: interpretation of pumping and slug tests (batch front end)", "tolvex-cli"};
    app.require_subcommand(1);
    CliContext context{out, err, {}};
    registerAllCommands(app, context);

    std::vector<std::string> reversed(args.rbegin(), args.rend() - (args.empty() ? 0 : 1));
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << "tolvex-cli: " << e.what() << "\n";
        const CLI::App* sub = app.get_subcommands().empty() ? &app : app.get_subcommands().front();
        err << sub->help();
        return kExitUsage;
    }
    if (!context.action) return kExitUsage;
    try {
        return context.action();
    } catch (const CliError& e) {
        err << "tolvex-cli: " << e.what << "\n";
        return kExitFailure;
    } catch (const std::exception& e) {
        err << "tolvex-cli: " << e.what() << "\n";
        return kExitFailure;
    }
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const int status = parseAndRun(args, out, err);
    if (const auto failure = outputFailure(out)) {
        err << "tolvex-cli: cannot write standard output: " << *failure << "\n";
        return kExitFailure;
    }
    return status;
}

}  // namespace tolvex::cli
