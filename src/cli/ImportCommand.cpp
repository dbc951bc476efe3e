// tolvex-cli import FILE: "Input drawdowns" from a delimited text file into a new document, through
// the same command flow as the desktop program, with the answers given on the command line.
#include <CLI/CLI.hpp>
#include <map>
#include <memory>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/commands/DataForms.h"
#include "core/commands/InputDrawdowns.h"
#include "core/input/Import.h"
#include "core/input/MeasurementTable.h"

namespace tolvex::cli {
namespace {

struct ImportOptions {
    std::string file;
    int delimiter = 0;
    std::vector<int> use;
    std::vector<std::string> sets;
    std::string units;
    std::string save;
};

// Answers the flow's dialogs: forms keep what the state holds, the file dialog names FILE, and the
// table dialog confirms the table with the --use range. Messages are kept: the flow's outcome tells
// whether one was the failure of the import or a notice (lines skipped) for stderr.
class ImportAnswers final : public Interaction {
public:
    ImportAnswers(std::string file, std::vector<int> use) : file_(std::move(file)), use_(std::move(use)) {}

    bool edit(const Form& form, AnalysisState& state) override {
        return !acceptForm(form, loadFormTexts(form, state, kExactFloatDigits), state).has_value();
    }
    void message(std::string_view text) override { messages_.emplace_back(text); }
    bool askYesNo(std::string_view) override { return false; }
    std::optional<std::string> chooseFile(const FileDialog&) override { return file_; }
    bool editMeasurementTable(AnalysisState& state) override {
        const MeasurementTableContent table = measurementTableContent(state);
        if (use_.empty()) return confirm(state, table.cellTexts, table.rangeFrom, table.rangeTo);
        const int from = use_[0];
        const int to = use_[1];
        if (from < 1 || to <= from || to > table.count) {
            throw CliError{"import: --use " + std::to_string(from) + " " + std::to_string(to) +
                           " is not a range of at least two of the " + std::to_string(table.count) +
                           " measurements in " + file_};
        }
        return confirm(state, table.cellTexts, from, to);
    }
    bool runJob(Job& job) override {
        NullProgress progress;
        runJobInline(job, progress);
        return true;
    }

    [[nodiscard]] const std::vector<std::string>& messages() const { return messages_; }

private:
    bool confirm(AnalysisState& state, const std::vector<std::string>& cells, int from, int to) {
        if (const auto refusal = confirmMeasurementTable(state, cells, from, to)) {
            throw CliError{"import: " + refusal->message};
        }
        return true;
    }

    std::string file_;
    std::vector<int> use_;
    std::vector<std::string> messages_;
};

int runImport(CliContext& context, const ImportOptions& options) {
    AnalysisState state = makeDefaultState();
    state.drawdownInputMode = kInputImport;
    state.importDelimiter = options.delimiter;
    applyUnitsOption(state, options.units, "import");  // the file's numbers are in these units
    ImportAnswers answers(options.file, options.use);
    std::string importPath;
    const InputOutcome outcome = inputDrawdowns(state, answers, importPath);
    if (outcome.importFailed) throw CliError{"import: " + oneLine(answers.messages().front())};
    for (const std::string& notice : answers.messages())
        context.err << "tolvex-cli: import: " << oneLine(notice) << "\n";
    applySets(state, options.sets);
    saveDocumentOrThrow(state, options.save);
    context.out << "imported " << state.allCount << " measurements from " << options.file << " (using "
                << state.useFrom << " to " << state.useTo << ", " << state.usedCount << " used) into "
                << options.save << "\n";
    return kExitOk;
}

}  // namespace

void addImportCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<ImportOptions>();
    CLI::App* sub =
        app.add_subcommand("import", "Input drawdowns from a delimited text file into a new document");
    sub->add_option("file", options->file, "Text file of time and drawdown, one pair per line")
        ->required()
        ->check(nonEmptyFileName());
    addDelimiterOption(*sub, options->delimiter, "Character between time and drawdown");
    sub->add_option("--use", options->use, "First and last measurement used (1-based)")->expected(2);
    sub->add_option("--set", options->sets, "FIELD=VALUE, any scalar field of the analysis");
    addUnitsOption(*sub, options->units);
    sub->add_option("--save", options->save, "Document (.tvx) to write")
        ->required()
        ->check(nonEmptyFileName());
    sub->callback([&context, options]() {
        context.action = [&context, options]() { return runImport(context, *options); };
    });
}

}  // namespace tolvex::cli
