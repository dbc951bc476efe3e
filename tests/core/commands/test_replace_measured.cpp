// "Calculate drawdowns" over measured data: the question before the measurements are replaced.
#include <gtest/gtest.h>

#include <functional>

#include "core/commands/CalculateDrawdownsCommand.h"
#include "core/commands/EstimationForms.h"
#include "core/input/SampleSets.h"
#include "core/persist/Document.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

// Which measurement tables are "measured data": only those the program cannot give back by itself.
TEST(ReplaceMeasured, AskedOnlyForDataThatWouldBeLost) {
    struct Row {
        const char* table;
        std::function<void(AnalysisState&)> prepare;
        bool asks;
    };
    const std::vector<Row> rows{
        {"the start-up set", [](AnalysisState&) {}, false},
        {"the slug-test sample", [](AnalysisState& s) { installPredefinedSet(s, kSetSlugTest); }, false},
        {"one drawdown typed over the start-up set", [](AnalysisState& s) { s.allDrawdowns[3] = 0.5; }, true},
        {"one time typed over the start-up set", [](AnalysisState& s) { s.allTimes[13] *= 2.0; }, true},
        {"a shorter table", [](AnalysisState& s) { s.allCount = 5; }, true},
        {"drawdowns of an earlier calculation",
         [](AnalysisState& s) {
             ScriptedInteraction ui;
             ASSERT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Done);
         },
         false},
        {"an earlier calculation typed over",
         [](AnalysisState& s) {
             ScriptedInteraction ui;
             ASSERT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Done);
             s.allDrawdowns[0] += 1.0;
         },
         true},
        {"an empty table", [](AnalysisState& s) { s.allCount = 0; }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.table);
        AnalysisState s = makeDefaultState();
        row.prepare(s);
        EXPECT_EQ(holdsMeasuredData(s), row.asks);
        ScriptedInteraction ui;
        ui.yesNoAnswers = {true};
        EXPECT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Done);
        const std::vector<std::string> asked{kReplaceMeasuredQuestion};
        EXPECT_EQ(ui.questions, row.asks ? asked : std::vector<std::string>{});
        EXPECT_EQ(s.measured, s.calculated);
    }
}

// No keeps the measurements and everything else; Yes replaces them as the command always did.
TEST(ReplaceMeasured, NoEndsTheCommandWithNothingChanged) {
    AnalysisState s = makeDefaultState();
    s.allDrawdowns[0] = 0.25;
    s.measured[0] = 0.25;
    const std::string before = documentBytes(s);
    ScriptedInteraction ui;
    ui.yesNoAnswers = {false, true};
    EXPECT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Cancelled);
    EXPECT_EQ(ui.questions, std::vector<std::string>{"Replace the measured drawdowns with calculated ones?"});
    EXPECT_TRUE(ui.formTitles.empty());  // asked before any dialog
    EXPECT_EQ(documentBytes(s), before);

    ui.formAnswers = {std::map<int, std::string>{{kTimeCountId, "20"}}};
    EXPECT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Done);
    EXPECT_EQ(s.allCount, 20);
    EXPECT_EQ(s.allDrawdowns, s.calculated);
    EXPECT_EQ(s.modified, 1);
}

}  // namespace
}  // namespace tolvex
