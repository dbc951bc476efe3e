// Settings under which a well function is undefined (a zero casing radius, sigma of zero, a screen of
// no length) are refused with a message; the state, the previous family included, stays as it was.
#include <gtest/gtest.h>

#include <cmath>

#include "core/commands/CalculateDrawdownsCommand.h"
#include "core/commands/EstimationCommands.h"
#include "core/commands/TypeCurveCommands.h"
#include "core/typecurves/ForwardModel.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

TEST(UndefinedResults, TypeCurvesWithSigmaZeroKeepThePreviousFamily) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    s.modelKind = 7;
    ASSERT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Done);
    const std::vector<float> family = s.curveY;
    const int modified = s.modified;
    s.tcWrSigma = 0.0f;
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Refused);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("previous curves are kept"), std::string::npos);
    EXPECT_EQ(s.curveY, family);
    EXPECT_EQ(s.modified, modified);
    EXPECT_EQ(s.tcWrSigma, 0.0f);  // what the dialog stored stays, for the user to correct
    for (float v : s.curveY) EXPECT_TRUE(std::isfinite(v));
}

TEST(UndefinedResults, DrawdownsWithAZeroCasingRadiusAreRefused) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 5;
    s.casingRadius = 0.0f;
    const AnalysisState before = s;
    ScriptedInteraction ui;
    EXPECT_TRUE(checkDrawdownsDefined(s, 5).has_value());
    EXPECT_FALSE(checkDrawdownsDefined(before, 0).has_value());

    // The slug-test dialog refuses the zero radius by name before anything is computed.
    EXPECT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Cancelled);
    ASSERT_FALSE(ui.formErrors.empty());
    EXPECT_NE(ui.formErrors.back().find("Radius of the well case"), std::string::npos);
    EXPECT_EQ(s.measured, before.measured);
    EXPECT_EQ(s.times, before.times);
    EXPECT_EQ(s.plotContent, before.plotContent);

    for (auto command : {trialInversion, simplexInversion, leastSquaresInversion}) {
        ScriptedInteraction fit;
        EXPECT_NE(command(s, fit), CommandOutcome::Done);
        ASSERT_FALSE(fit.formErrors.empty());
        EXPECT_NE(fit.formErrors.back().find("positive number"), std::string::npos);
        EXPECT_EQ(s.storativity, before.storativity);
        EXPECT_EQ(s.resultKind, before.resultKind);
    }
}

TEST(UndefinedResults, AScreenOfNoLengthIsRefusedForTheUnconfinedModel) {
    AnalysisState s = makeDefaultState();
    s.mnL = s.mnD = 0.5f;
    EXPECT_TRUE(checkMisfitInputs(s, 6).has_value());
    s.mnL = 1.0f;
    EXPECT_FALSE(checkMisfitInputs(s, 6).has_value());
}

}  // namespace
}  // namespace tolvex
