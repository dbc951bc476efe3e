// tolvex-cli import FILE: "Input drawdowns" from a delimited text file into a new document, through
// the same command flow as the desktop program, with the answers given on the command line. The options
// of logger exports (header lines, columns, clock times, water levels, slug-test H0) read the file with
// the import options of core/input/ImportOptions.h instead; --preview shows how, importing nothing.
#include <CLI/CLI.hpp>
#include <map>
#include <memory>
#include <optional>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/CliState.h"
#include "cli/TestDescription.h"
#include "core/commands/DataForms.h"
#include "core/commands/InputDrawdowns.h"
#include "core/input/Import.h"
#include "core/input/ImportPreview.h"
#include "core/input/ImportText.h"
#include "core/input/MeasurementTable.h"
#include "core/io/FileBytes.h"
#include "core/units/Units.h"

namespace tolvex::cli {
namespace {

// --delimiter auto: detected from the first lines (comma stays the default, as it always was).
constexpr int kDelimiterAuto = -1;

struct ImportOptions {
    std::string file;
    std::string test;  // a test description instead of the file
    int delimiter = 0;
    std::vector<int> use;
    std::vector<std::string> sets;
    std::string units;
    std::string save;
    std::optional<int> headerLines;
    std::vector<int> columns;
    std::string timeFormat, start, values, staticLevel, h0;
    bool preview = false;

    // Whether the file is read with the import options rather than as the classic two columns.
    [[nodiscard]] bool withOptions() const {
        return delimiter == kDelimiterAuto || headerLines || !columns.empty() || !timeFormat.empty() ||
               !start.empty() || !values.empty() || !staticLevel.empty() || !h0.empty() || preview;
    }
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

std::optional<char> delimiterOf(int code) {
    if (code == kDelimiterAuto) return std::nullopt;
    return code == kDelimiterSpace ? kBlanksDelimiter : *delimiterCharacter(code);
}

// The slug-test head of --h0 (a number or "first"), with --values level|depth and --static-level the
// values are water levels kept as they are.
SlugHead slugHeadOf(const ImportOptions& o) {
    SlugHead head;
    if (o.h0 == "first") {
        head.reference = SlugHead::Reference::FirstValue;
    } else {
        head.reference = SlugHead::Reference::Number;
        head.h0 = positiveArgument("import", "--h0", o.h0);
    }
    if (!o.values.empty() && o.values != "drawdown") {
        head.waterLevels = true;
        head.staticLevel = numberArgument("import", "--static-level", o.staticLevel);
    }
    return head;
}

// The import options of the command line; a wrong value is a CliError naming the option.
tolvex::ImportOptions readerOptions(const ImportOptions& o) {
    tolvex::ImportOptions r;
    r.delimiter = delimiterOf(o.delimiter);
    r.headerLines = o.headerLines;
    if (!o.columns.empty()) {
        r.timeColumn = o.columns[0];
        r.valueColumn = o.columns[1];
    }
    if (!o.timeFormat.empty()) r.timeFormat = *importTimeFormatNamed(o.timeFormat);
    r.start = o.start;
    const bool slug = !o.h0.empty();
    if (!o.values.empty() && !slug) r.values = *importValuesNamed(o.values);
    if (!o.staticLevel.empty()) {
        if (o.values.empty() || o.values == "drawdown")
            throw CliError{"import: --static-level serves --values level or depth"};
        r.staticLevel = numberArgument("import", "--static-level", o.staticLevel);
    } else if (!o.values.empty() && o.values != "drawdown") {
        throw CliError{"import: --values " + o.values + " needs --static-level"};
    }
    return r;
}

int printPreview(CliContext& context, const ImportOptions& o, const tolvex::ImportOptions& reader) {
    const FileRead file = readFileBytes(o.file, kMaxImportBytes);
    if (!file.bytes) throw CliError{"import: cannot open " + o.file + ": " + file.error};
    const tolvex::ImportText decoded = decodeImportText(*file.bytes);
    if (!decoded.text) throw CliError{"import: \"" + o.file + "\" " + decoded.error};
    AnalysisState state = makeDefaultState();
    applyUnitsOption(state, o.units, "import");
    context.out << previewText(previewImport(*decoded.text, reader, state.units));
    return kExitOk;
}

void importWithReader(AnalysisState& state, const ImportOptions& o, const tolvex::ImportOptions& reader,
                      CliContext& context) {
    // The head is checked before the file is read, so a wrong --h0 is named first.
    const std::optional<SlugHead> head = o.h0.empty() ? std::nullopt : std::optional<SlugHead>(slugHeadOf(o));
    std::string notice;
    if (auto error = importWithOptions(o.file, reader, state, &notice))
        throw CliError{"import: " + oneLine(*error)};
    if (!notice.empty()) context.err << "tolvex-cli: import: " << oneLine(notice) << "\n";
    if (head) {  // lengths of the document's unit, kept in SI as every length
        state.firstSeries.head = *head;
        state.firstSeries.head.h0 = toSI(head->h0, Dimension::Length, state.units);
        state.firstSeries.head.staticLevel = toSI(head->staticLevel, Dimension::Length, state.units);
    }
    ImportAnswers answers(o.file, o.use);
    prepareMeasurementTable(state);
    (void)answers.editMeasurementTable(state);
    state.plotContent = 1;
}

// The --set assignments, then the document saved and the import told.
int saveImported(CliContext& context, const ImportOptions& options, AnalysisState& state) {
    applySets(state, options.sets);
    saveDocumentOrThrow(state, options.save);
    context.out << "imported " << state.allCount << " measurements from " << options.file << " (using "
                << state.useFrom << " to " << state.useTo << ", " << state.usedCount << " used) into "
                << options.save << "\n";
    return kExitOk;
}

// The whole test of a description (series, units, rates, settings) into a new document.
int importTest(CliContext& context, const ImportOptions& options) {
    const std::optional<TestDescription> test = testOption(options.test);
    AnalysisState state = makeDefaultState();
    state.drawdownInputMode = kInputImport;
    applyTestDescription(*test, state);
    applyUnitsOption(state, options.units, "import");
    applySets(state, options.sets);
    state.plotContent = 1;
    saveDocumentOrThrow(state, options.save);
    context.out << "imported " << state.allCount << " measurements";
    if (!state.extraSeries.empty()) context.out << " and " << state.extraSeries.size() << " further series";
    context.out << " from " << options.test << " into " << options.save << "\n";
    return kExitOk;
}

int runImport(CliContext& context, const ImportOptions& options) {
    if (options.save.empty() && !options.preview) {
        context.err << "tolvex-cli: import: --save is required (only --preview imports nothing)\n";
        return kExitUsage;
    }
    if (options.file.empty() == options.test.empty()) {
        context.err << "tolvex-cli: import: give a file or --test, not both\n";
        return kExitUsage;
    }
    if (!options.test.empty()) return importTest(context, options);
    if (options.withOptions()) {
        const tolvex::ImportOptions reader = readerOptions(options);
        if (options.preview) return printPreview(context, options, reader);
        AnalysisState state = makeDefaultState();
        state.drawdownInputMode = kInputImport;
        applyUnitsOption(state, options.units, "import");  // the file's numbers are in these units
        importWithReader(state, options, reader, context);
        return saveImported(context, options, state);
    }
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
    return saveImported(context, options, state);
}

}  // namespace

void addImportCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<ImportOptions>();
    CLI::App* sub =
        app.add_subcommand("import", "Input drawdowns from a delimited text file into a new document");
    sub->add_option("file", options->file, "Text file of time and drawdown, one pair per line")
        ->check(nonEmptyFileName());
    addTestOption(*sub, options->test);
    const std::map<std::string, int> delimiters{{"comma", kDelimiterComma},
                                                {"space", kDelimiterSpace},
                                                {"tab", kDelimiterTab},
                                                {"semicolon", kDelimiterSemicolon},
                                                {"auto", kDelimiterAuto}};
    sub->add_option("--delimiter", options->delimiter,
                    "Character between the columns (comma unless given; auto: detected)")
        ->transform(CLI::CheckedTransformer(delimiters));
    sub->add_option("--use", options->use, "First and last measurement used (1-based)")->expected(2);
    sub->add_option("--set", options->sets, "FIELD=VALUE, any scalar field of the analysis");
    addUnitsOption(*sub, options->units);
    sub->add_option("--save", options->save, "Document (.tvx) to write")->check(nonEmptyFileName());
    sub->add_option("--header-lines", options->headerLines,
                    "Lines skipped at the top (detected when not given)")
        ->check(CLI::NonNegativeNumber);
    sub->add_option("--columns", options->columns, "T,V: the time and value columns (1-based)")
        ->delimiter(',')
        ->expected(2)
        ->check(CLI::PositiveNumber);
    sub->add_option("--time-format", options->timeFormat, "elapsed (numbers) or clock (hh:mm[:ss], dates)")
        ->check(CLI::IsMember({"elapsed", "clock"}));
    sub->add_option("--start", options->start,
                    "The time that is time 0 (clock time or number); default the first row");
    sub->add_option("--values", options->values, "drawdown, level (above a datum) or depth (to water)")
        ->check(CLI::IsMember({"drawdown", "level", "depth"}));
    sub->add_option("--static-level", options->staticLevel, "The static water level (or depth) of --values");
    sub->add_option(
        "--h0", options->h0,
        "Slug test: the initial displacement H0, or 'first' (the first value's); values kept raw");
    sub->add_flag("--preview", options->preview, "Print how the first lines are read; import nothing");
    sub->callback([&context, options]() {
        context.action = [&context, options]() { return runImport(context, *options); };
    });
}

}  // namespace tolvex::cli
