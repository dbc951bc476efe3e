// tolvex-cli report DOC [--out FILE]: the report that the document's resultKind selects.
#include <CLI/CLI.hpp>
#include <memory>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/persist/Reports.h"

namespace tolvex::cli {
namespace {

struct ReportOptions {
    std::string document;
    std::string out;
};

int runReport(CliContext& context, const ReportOptions& options) {
    const AnalysisState state = openDocumentOrThrow(options.document);
    if (options.out == "-") {
        context.out << reportText(state);
        return kExitOk;
    }
    const std::string path = options.out.empty() ? state.reportFileName : options.out;
    if (auto error = writeReportFile(state, path)) throw CliError{"report: " + oneLine(*error)};
    context.out << "report written to " << path << "\n";
    return kExitOk;
}

}  // namespace

void addReportCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<ReportOptions>();
    CLI::App* sub =
        app.add_subcommand("report", "Write the report of a document (type curves or estimation)");
    sub->add_option("document", options->document, "Document (.tvx)")->required();
    sub->add_option("--out", options->out,
                    "Report file (default: the document's reportFileName; - for stdout)");
    sub->callback([&context, options]() {
        context.action = [&context, options]() { return runReport(context, *options); };
    });
}

}  // namespace tolvex::cli
