#include <gtest/gtest.h>

#include "core/commands/DataForms.h"
#include "core/commands/InputDrawdowns.h"
#include "core/input/MeasurementTable.h"
#include "core/persist/ScratchFolder.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScratchFolder;
using testing::ScriptedInteraction;

using Answer = std::optional<std::map<int, std::string>>;

Answer ok(std::map<int, std::string> texts = {}) {
    return texts;
}
const Answer kCancel = std::nullopt;

// A table dialog that confirms what it shows, with the given range.
std::function<bool(AnalysisState&)> confirmRange(int from, int to) {
    return [from, to](AnalysisState& s) {
        return !confirmMeasurementTable(s, measurementTableContent(s).cellTexts, from, to).has_value();
    };
}

TEST(DataForms, TitlesIdsAndBindings) {
    EXPECT_EQ(inputOptionsForm().title, "Options for inputing drawdowns");
    ASSERT_NE(inputOptionsForm().byId(211), nullptr);
    EXPECT_EQ(inputOptionsForm().byId(211)->options.at(2), "Predefined values of time and drawdown");
    EXPECT_EQ(delimiterForm().title, "Data input format");
    EXPECT_EQ(delimiterForm().byId(215)->group, "Delimiters");
    EXPECT_EQ(delimiterForm().byId(215)->options,
              (std::vector<std::string>{"Comma", "Space", "Tab", "Semicolon"}));
    EXPECT_EQ(predefinedSetForm().title, "Select predefined values of time and drawdown");
    EXPECT_EQ(predefinedSetForm().byId(214)->options.at(4), "Slug test");
    const Form count = measurementCountForm(14);
    EXPECT_EQ(count.title, "Drawdown-time from pumping test");
    EXPECT_EQ(count.byId(102)->label, "3. No. of Points");
    AnalysisState s = makeDefaultState();
    for (const Form& form : {inputOptionsForm(), delimiterForm(), predefinedSetForm(), count}) {
        EXPECT_FALSE(acceptForm(form, loadFormTexts(form, s), s)) << form.title;
    }
}

TEST(DataForms, CountFormResizesTheTableAndRefusesCountsBelowOne) {
    AnalysisState s = makeDefaultState();
    EXPECT_FALSE(acceptForm(measurementCountForm(s.allCount), {"16.7"}, s));
    EXPECT_EQ(s.allCount, 16);
    ASSERT_EQ(s.allTimes.size(), 16u);
    EXPECT_DOUBLE_EQ(s.allTimes[15], 600.0);
    const auto error = acceptForm(measurementCountForm(s.allCount), {"0"}, s);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Please enter a number between 1 and 65535.");
    EXPECT_EQ(acceptForm(measurementCountForm(s.allCount), {"many"}, s)->message, "Please enter a number.");
    EXPECT_EQ(s.allCount, 16);
}

TEST(InputDrawdowns, TypedValuesOpenTheTableAndShowTheData) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers = {ok({{211, "1"}})};
    ui.tableEditor = confirmRange(3, 10);
    std::string importPath;
    inputDrawdowns(s, ui, importPath);
    EXPECT_EQ(ui.formTitles, (std::vector<std::string>{"Options for inputing drawdowns"}));
    EXPECT_EQ(s.usedCount, 8);
    EXPECT_EQ(s.plotContent, 1);
    EXPECT_EQ(ui.redraws, 1);
}

TEST(InputDrawdowns, ImportGoesThroughFileAndDelimiterDialogs) {
    ScratchFolder folder;
    const std::string file = folder.write("m.dat", "1;2\n3;4\n5;6");
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers = {ok({{211, "0"}}), ok({{215, "3"}})};
    ui.fileAnswers = {file};
    std::string importPath = "old.dat";
    inputDrawdowns(s, ui, importPath);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_FALSE(ui.fileDialogs[0].save);
    EXPECT_EQ(ui.fileDialogs[0].filter, "Tolvex Files (*.dat)|*.dat|All Files (*.*)|*.*||");
    EXPECT_EQ(ui.fileDialogs[0].initialName, "old.dat");
    EXPECT_EQ(importPath, file);
    EXPECT_EQ(ui.formTitles.back(), "Data input format");
    EXPECT_EQ(s.importDelimiter, 3);
    EXPECT_EQ(s.allCount, 3);
    EXPECT_EQ(s.usedCount, 3);
    EXPECT_DOUBLE_EQ(s.measured[2], 6.0);
    EXPECT_EQ(s.plotContent, 1);
}

TEST(InputDrawdowns, FailedImportSaysSoAndTheTableShowsTheDataAsTheyWere) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers = {ok({{211, "0"}}), ok()};
    ui.fileAnswers = {folder.file("missing.dat")};
    bool tableShown = false;
    ui.tableEditor = [&](AnalysisState& state) {
        tableShown = true;
        return state.allCount == 14;
    };
    std::string importPath;
    inputDrawdowns(s, ui, importPath);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].substr(0, ui.messages[0].find('\n')), "Cannot open input file!");
    EXPECT_TRUE(tableShown);
    EXPECT_EQ(s.allCount, 14);
}

// Cancel in the table after an import or a predefined set keeps what was there, count changes and all;
// the import's notice of skipped lines was shown before the table.
TEST(InputDrawdowns, CancelledTableAfterAnImportKeepsWhatWasThere) {
    ScratchFolder folder;
    const std::string file = folder.write("m.dat", "time,drawdown\n1,2\n3,4\n");
    const std::vector<std::pair<std::deque<Answer>, int>> scripts{
        {{ok({{211, "0"}}), ok()}, 2},               // the file's two measurements
        {{ok({{211, "2"}}), ok({{214, "4"}})}, 21},  // the slug test
    };
    for (const auto& [forms, rows] : scripts) {
        AnalysisState s = makeDefaultState();
        confirmRange(3, 10)(s);
        const AnalysisState before = s;
        ScriptedInteraction ui;
        ui.formAnswers = forms;
        ui.fileAnswers = {file};
        int rowsShown = 0;
        ui.tableEditor = [&](AnalysisState& state) {
            rowsShown = state.allCount;
            EXPECT_FALSE(acceptForm(measurementCountForm(state.allCount), {"30"}, state));
            return false;
        };
        std::string importPath;
        const InputOutcome outcome = inputDrawdowns(s, ui, importPath);
        EXPECT_EQ(rowsShown, rows);
        EXPECT_FALSE(outcome.importFailed);
        EXPECT_FALSE(outcome.changed);
        EXPECT_EQ(s.allCount, 14);
        EXPECT_EQ(s.allTimes, before.allTimes);
        EXPECT_EQ(s.times, before.times);
        EXPECT_EQ(s.useFrom, 3);
        EXPECT_EQ(s.useTo, 10);
        EXPECT_EQ(s.plotContent, 0);
        EXPECT_EQ(ui.redraws, 0);
    }
}

TEST(InputDrawdowns, ImportNoticeIsShownAndAFailedImportSaysSo) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers = {ok({{211, "0"}}), ok()};
    ui.fileAnswers = {folder.write("m.dat", "# drawdown in m\n1,2\n3,4\n")};
    std::string importPath;
    InputOutcome outcome = inputDrawdowns(s, ui, importPath);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].substr(0, 15), "Skipped 1 line ");
    EXPECT_FALSE(outcome.importFailed);
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(s.allCount, 2);

    ui.formAnswers = {ok({{211, "0"}}), ok()};
    ui.fileAnswers = {folder.file("none.dat")};
    outcome = inputDrawdowns(s, ui, importPath);
    EXPECT_TRUE(outcome.importFailed);
    EXPECT_EQ(s.allCount, 2);
}

TEST(InputDrawdowns, PredefinedSetStartsAtTheFirstChoice) {
    AnalysisState s = makeDefaultState();
    s.predefinedSetChoice = 4;
    ScriptedInteraction ui;
    ui.formAnswers = {ok({{211, "2"}}), ok()};
    std::string importPath;
    inputDrawdowns(s, ui, importPath);
    EXPECT_EQ(s.allCount, 14);
    ui.formAnswers = {ok({{211, "2"}}), ok({{214, "4"}})};
    inputDrawdowns(s, ui, importPath);
    EXPECT_EQ(s.allCount, 21);
    EXPECT_DOUBLE_EQ(s.times.front(), 3.01);
    EXPECT_EQ(s.drawdownInputMode, 2);
}

TEST(InputDrawdowns, CancelInAnyDialogBeforeTheTableChangesNothing) {
    ScratchFolder folder;
    const std::string file = folder.write("m.dat", "1,2\n");
    const std::vector<std::pair<std::deque<Answer>, std::deque<std::optional<std::string>>>> scripts{
        {{kCancel}, {}},                        // input options
        {{ok({{211, "0"}})}, {std::nullopt}},   // file dialog
        {{ok({{211, "0"}}), kCancel}, {file}},  // delimiter
        {{ok({{211, "2"}}), kCancel}, {}},      // predefined set
    };
    for (const auto& [forms, files] : scripts) {
        AnalysisState s = makeDefaultState();
        ScriptedInteraction ui;
        ui.formAnswers = forms;
        ui.fileAnswers = files;
        bool tableShown = false;
        ui.tableEditor = [&](AnalysisState&) { return tableShown = true; };
        std::string importPath;
        inputDrawdowns(s, ui, importPath);
        EXPECT_FALSE(tableShown);
        EXPECT_EQ(s.drawdownInputMode, 1);
        EXPECT_EQ(s.allCount, 14);
        EXPECT_EQ(s.plotContent, 0);
        EXPECT_EQ(ui.redraws, 0);
        EXPECT_TRUE(importPath.empty() || forms.size() > 1);
    }
}

TEST(InputDrawdowns, CancelledTableKeepsACountChangeOnly) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers = {ok()};
    ui.tableEditor = [](AnalysisState&) { return false; };
    std::string importPath;
    inputDrawdowns(s, ui, importPath);
    EXPECT_EQ(s.plotContent, 0);  // nothing changed: the view stays as it was
    EXPECT_EQ(ui.redraws, 0);

    ui.formAnswers = {ok()};
    ui.tableEditor = [](AnalysisState& state) {
        EXPECT_FALSE(acceptForm(measurementCountForm(state.allCount), {"16"}, state));
        return false;
    };
    inputDrawdowns(s, ui, importPath);
    EXPECT_EQ(s.allCount, 16);
    EXPECT_EQ(s.plotContent, 1);
    EXPECT_EQ(ui.redraws, 1);
}

TEST(InputDrawdowns, TableOpensOnTheUsedSetWhenTheTableIsShorter) {
    AnalysisState s = makeDefaultState();
    s.usedCount = 30;
    s.times.assign(30, 2.0);
    s.measured.assign(30, 1.0);
    ScriptedInteraction ui;
    ui.formAnswers = {ok()};
    int rowsShown = 0;
    ui.tableEditor = [&](AnalysisState& state) {
        rowsShown = measurementTableContent(state).count;
        return true;
    };
    std::string importPath;
    inputDrawdowns(s, ui, importPath);
    EXPECT_EQ(rowsShown, 30);
}

TEST(PredefinedSetCommand, InstallsWithoutSwitchingTheView) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers = {ok({{214, "4"}}), kCancel};
    EXPECT_TRUE(predefinedSetCommand(s, ui));
    EXPECT_EQ(s.allCount, 21);
    EXPECT_EQ(s.plotContent, 0);
    EXPECT_EQ(ui.redraws, 0);
    EXPECT_FALSE(predefinedSetCommand(s, ui));
    EXPECT_EQ(s.allCount, 21);  // Cancel installs nothing
    EXPECT_EQ(s.predefinedSetChoice, 4);
}

}  // namespace
}  // namespace tolvex
