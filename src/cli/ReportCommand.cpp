// tolvex-cli report DOC [--out FILE]: the report that the document's resultKind selects.
#include <CLI/CLI.hpp>
#include <filesystem>
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

// Without --out the report goes beside the document, under the file-name part of the name the document
// keeps: a document from someone else must not choose where the report lands ("/home/me/.bashrc",
// "../../x"), nor overwrite itself.
std::string defaultReportPath(const std::string& document, const std::string& reportName) {
    namespace fs = std::filesystem;
    const fs::path name = fs::path(reportName).filename();
    if (name.empty() || name == "." || name == "..") {
        throw CliError{"report: the document's report name '" + reportName +
                       "' holds no file name; give --out FILE"};
    }
    const fs::path path = fs::path(document).parent_path() / name;
    std::error_code error;
    if (fs::equivalent(path, document, error)) {
        throw CliError{"report: the document's report name '" + reportName +
                       "' names the document itself; give --out FILE"};
    }
    return path.string();
}

int runReport(CliContext& context, const ReportOptions& options) {
    const AnalysisState state = openDocumentOrThrow(options.document);
    if (options.out == "-") {
        context.out << reportText(state);
        return kExitOk;
    }
    const std::string path =
        options.out.empty() ? defaultReportPath(options.document, state.reportFileName) : options.out;
    if (auto error = writeReportFile(state, path)) throw CliError{"report: " + oneLine(*error)};
    context.out << "report written to " << path << "\n";
    return kExitOk;
}

}  // namespace

void addReportCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<ReportOptions>();
    CLI::App* sub =
        app.add_subcommand("report", "Write the report of a document (type curves or estimation)");
    sub->add_option("document", options->document, "Document (.tvx)")->required()->check(nonEmptyFileName());
    sub->add_option("--out", options->out,
                    "Report file (default: the file name of the document's reportFileName, beside the "
                    "document; - for stdout)")
        ->check(nonEmptyFileName());
    sub->callback([&context, options]() {
        context.action = [&context, options]() { return runReport(context, *options); };
    });
}

}  // namespace tolvex::cli
