#include <gtest/gtest.h>

#include "core/commands/CalculateDrawdownsCommand.h"
#include "core/commands/CommandIds.h"
#include "core/commands/EngineCommands.h"
#include "core/commands/EstimationCommands.h"
#include "core/commands/EstimationForms.h"
#include "core/commands/SettingsCommands.h"
#include "core/commands/TypeCurveCommands.h"
#include "core/commands/TypeCurveForms.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;
using Answer = std::optional<std::map<int, std::string>>;
const Answer kOk = std::map<int, std::string>{};
const Answer kCancel = std::nullopt;

// A state whose every field a command could touch is compared through the fields that tell.
void expectUnchanged(const AnalysisState& a, const AnalysisState& b) {
    EXPECT_EQ(a.plotContent, b.plotContent);
    EXPECT_EQ(a.resultKind, b.resultKind);
    EXPECT_EQ(a.modified, b.modified);
    EXPECT_EQ(a.iterationsDone, b.iterationsDone);
    EXPECT_EQ(a.curveY, b.curveY);
    EXPECT_EQ(a.measured, b.measured);
    EXPECT_EQ(a.storativity, b.storativity);
    EXPECT_EQ(a.transmissivity, b.transmissivity);
    EXPECT_EQ(a.maxIterations, b.maxIterations);
    EXPECT_EQ(a.tcLeakyCount, b.tcLeakyCount);
    EXPECT_EQ(a.usedCount, b.usedCount);
}

using Command = CommandOutcome (*)(AnalysisState&, Interaction&);

// Cancel in the n-th dialog of each command (after OK in the earlier ones) changes nothing.
TEST(EngineFlows, CancelInAnyDialogChangesNothing) {
    const std::vector<std::pair<Command, int>> commands{
        {trialInversion, 1},        {simplexInversion, 2},
        {leastSquaresInversion, 2}, {calculateDrawdownsCommand, 2},
        {modelSelection, 1},        {integrationOptions, 1}};
    for (const auto& [command, dialogs] : commands) {
        for (int cancelled = 0; cancelled < dialogs; ++cancelled) {
            AnalysisState s = makeDefaultState();
            s.modelKind = 2;
            const AnalysisState before = s;
            ScriptedInteraction ui;
            for (int d = 0; d < cancelled; ++d)
                ui.formAnswers.push_back(std::map<int, std::string>{{146, "3"}});
            ui.formAnswers.push_back(kCancel);
            EXPECT_EQ(command(s, ui), CommandOutcome::Cancelled);
            expectUnchanged(s, before);
        }
    }
}

TEST(EngineFlows, TypeCurveCancelInTheRangeDialogKeepsTheOption) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 2;
    const AnalysisState before = s;
    ScriptedInteraction ui;
    ui.formAnswers = {std::map<int, std::string>{{kOptionId, "0"}}, kCancel};
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Cancelled);
    expectUnchanged(s, before);
    EXPECT_EQ(ui.formTitles, (std::vector<std::string>{
                                 "Options for calculating type curves in leaky confined aquifer",
                                 "Constant discharge from a fully penetrating well in a leaky aquifer"}));
}

TEST(EngineFlows, TypeCurveTableRunSkipsTheRangeDialog) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 2;
    ScriptedInteraction ui;
    ui.formAnswers = {std::map<int, std::string>{{kOptionId, "1"}}};
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Done);
    EXPECT_EQ(ui.formTitles.size(), 1u);
    EXPECT_EQ(s.familyCount, 20);
    EXPECT_EQ(s.tcLeakyCount, 29);
    EXPECT_EQ(s.plotContent, 0);
    EXPECT_EQ(s.resultKind, 0);
    EXPECT_EQ(s.yAxisLog, 1);
    EXPECT_EQ(s.typeCurvesReady, 1);
    EXPECT_EQ(s.modified, 1);
    EXPECT_EQ(ui.progressSteps.front(), 1);
}

TEST(EngineFlows, ACancelledTypeCurveRunLeavesThePreviousFamily) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ASSERT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Done);  // the confined family
    s.modelKind = 7;
    s.modified = 0;
    const AnalysisState before = s;
    ui.cancelJobs = true;
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Cancelled);
    expectUnchanged(s, before);
    EXPECT_EQ(s.familyCount, 1);
}

TEST(EngineFlows, TypeCurveRangesWithoutAFamilyAreRefused) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 7;
    ScriptedInteraction ui;
    ui.formAnswers = {std::map<int, std::string>{{kSecondAxisId + 2, "150"}}};
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("tcWrLambdaCount"), std::string::npos);
    EXPECT_EQ(s.typeCurvesReady, 0);
    EXPECT_EQ(s.tcWrLambdaCount, 150);  // the confirmed value stays for the next try
}

TEST(EngineFlows, TypeCurvesOfJacobAndBouwerRiceDoNotExist) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 9;
    s.typeCurvesReady = 1;
    ScriptedInteraction ui;
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Refused);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"No implementation of the type curves!."}));
    EXPECT_EQ(s.typeCurvesReady, 0);
    EXPECT_EQ(s.modified, 1);
}

TEST(EngineFlows, GuessOnNewAsksTheTheisDialogFirst) {
    AnalysisState s = makeDefaultState();
    s.guessOnNew = 1;
    ScriptedInteraction ui;
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Done);
    EXPECT_EQ(ui.formTitles.front(), "Theis confined aquifer");
}

TEST(EngineFlows, TrialRunSetsTheEstimationFields) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers = {std::map<int, std::string>{{105, "5"}}};
    EXPECT_EQ(trialInversion(s, ui), CommandOutcome::Done);
    EXPECT_EQ(s.plotContent, 2);
    EXPECT_EQ(s.resultKind, 1);
    EXPECT_EQ(s.iterationsDone, 1);
    EXPECT_EQ(s.modified, 1);
    EXPECT_EQ(s.transmissivity, 5.0f);
    EXPECT_FLOAT_EQ(s.paramVector[1], 5.0f);
    EXPECT_EQ(s.errorHistory[0], s.rmsError);
}

TEST(EngineFlows, SimplexAndLeastSquaresFitTheDefaultTest) {
    for (Command command : {simplexInversion, leastSquaresInversion}) {
        AnalysisState s = makeDefaultState();
        AnalysisState trial = s;
        ScriptedInteraction ui;
        ASSERT_EQ(trialInversion(trial, ui), CommandOutcome::Done);
        ui.formAnswers = {std::map<int, std::string>{{146, "30"}}, kOk};
        EXPECT_EQ(command(s, ui), CommandOutcome::Done);
        EXPECT_EQ(s.plotContent, 2);
        EXPECT_EQ(s.resultKind, 1);
        EXPECT_EQ(s.modified, 1);
        EXPECT_EQ(s.errorHistory.size(), 30u);
        EXPECT_GT(s.iterationsDone, 0);
        EXPECT_LT(s.rmsError, trial.rmsError);
        EXPECT_NE(s.transmissivity, 8.8f);
        EXPECT_FALSE(ui.progressSteps.empty());
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST(EngineFlows, AStoppedEstimationKeepsTheBestParametersAndSaysSo) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.cancelJobs = true;
    EXPECT_EQ(simplexInversion(s, ui), CommandOutcome::Done);
    EXPECT_EQ(s.iterationsDone, 1);
    EXPECT_EQ(s.plotContent, 2);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("stopped after 1 iterations"), std::string::npos);
}

TEST(EngineFlows, JacobNeedsNoDialogAfterTheCriteria) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 9;
    ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done);
    EXPECT_EQ(ui.formTitles, (std::vector<std::string>{"Drawdown curve matching criteria"}));
    EXPECT_EQ(s.iterationsDone, 0);
    EXPECT_EQ(s.plotContent, 2);
    EXPECT_NE(s.transmissivity, 8.8f);
    std::fill(s.times.begin(), s.times.end(), 1.0);
    const AnalysisState before = s;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Refused);
    EXPECT_EQ(s.transmissivity, before.transmissivity);
}

TEST(EngineFlows, BouwerRiceRefusesAZeroHeadAndLeavesTheMeasurements) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 10;
    s.measured[0] = 0.0;
    const AnalysisState before = s;
    ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Refused);
    EXPECT_EQ(ui.formTitles.back(), "Slug test  (Bower and Rice, 1976)");
    EXPECT_EQ(s.measured, before.measured);
    EXPECT_EQ(s.hydraulicConductivity, before.hydraulicConductivity);
}

TEST(EngineFlows, CalculateDrawdownsReplacesTheMeasurements) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers = {std::map<int, std::string>{{kTimeCountId, "20"}}, kOk};
    EXPECT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Done);
    EXPECT_EQ(s.usedCount, 20);
    EXPECT_EQ(s.measured, s.calculated);
    EXPECT_EQ(s.plotContent, 1);
    EXPECT_EQ(s.resultKind, 1);
    EXPECT_EQ(s.iterationsDone, 0);
    EXPECT_EQ(s.modified, 1);
    s = makeDefaultState();
    s.modelKind = 10;
    const AnalysisState before = s;
    EXPECT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Refused);
    EXPECT_EQ(ui.messages.back(), "This function has not yet implemented!.");
    expectUnchanged(s, before);
}

TEST(EngineFlows, CommandsFollowTheEnablingRules) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 9;
    ScriptedInteraction ui;
    EXPECT_FALSE(runEngineCommand(kCmdSimplexInversion, s, ui));
    EXPECT_FALSE(runEngineCommand(kCmdTypeCurveCalculation, s, ui));
    EXPECT_EQ(runEngineCommand(kCmdLeastSquaresInversion, s, ui), CommandOutcome::Done);
    EXPECT_FALSE(runEngineCommand(kCmdFileSave, s, ui));
    ui.formAnswers = {std::map<int, std::string>{{kModelChoiceId, "4"}}};
    EXPECT_EQ(runEngineCommand(kCmdModelSelection, s, ui), CommandOutcome::Done);
    EXPECT_EQ(s.modelKind, 4);
}

}  // namespace
}  // namespace tolvex
