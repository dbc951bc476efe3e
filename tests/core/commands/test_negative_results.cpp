// A well function is never negative. With 18 Stehfest terms the Laplace inversion of the unconfined
// model gives negative drawdowns (values like -4.9 where the true ones are near 0.5): the type curves,
// the synthetic drawdowns and a fit are reported as failed, naming the cause, and change nothing.
#include <gtest/gtest.h>

#include "core/commands/CalculateDrawdownsCommand.h"
#include "core/commands/EstimationCommands.h"
#include "core/commands/TypeCurveCommands.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

const std::string kCause =
    "a well function is never negative: too many Stehfest terms (18) for the Laplace "
    "inversion in double precision; choose at most 12 in the Integration options";

AnalysisState unconfinedWithTerms(int terms) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 6;
    s.stehfestCount = terms;
    buildNumericalTables(s);
    s.usedCount = 20;
    s.calcTimeMin = 1.0f;
    s.calcTimeMax = 1000.0f;
    return s;
}

TEST(NegativeResults, TypeCurvesWithEighteenTermsFailAndKeepThePreviousFamily) {
    AnalysisState s = unconfinedWithTerms(12);
    ScriptedInteraction ui;
    ASSERT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Done);
    const std::vector<float> family = s.curveY;
    s.stehfestCount = 18;
    buildNumericalTables(s);
    s.modified = 0;
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Refused);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().rfind("The type curves came out negative (", 0), 0u) << ui.messages.back();
    EXPECT_NE(ui.messages.back().find(kCause + ". The previous curves are kept."), std::string::npos)
        << ui.messages.back();
    EXPECT_EQ(s.curveY, family);
    EXPECT_EQ(s.modified, 0);
}

TEST(NegativeResults, SyntheticDrawdownsWithEighteenTermsFail) {
    AnalysisState s = unconfinedWithTerms(18);
    const AnalysisState before = s;
    ScriptedInteraction ui;
    EXPECT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("The drawdown at time ", 0), 0u) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find(kCause + "."), std::string::npos) << ui.messages[0];
    EXPECT_EQ(s.allDrawdowns, before.allDrawdowns);
    EXPECT_EQ(s.plotContent, before.plotContent);

    AnalysisState accurate = unconfinedWithTerms(12);
    EXPECT_EQ(calculateDrawdownsCommand(accurate, ui), CommandOutcome::Done);
    for (double d : accurate.measured) EXPECT_GT(d, 0.0);
}

TEST(NegativeResults, FitsWhoseDrawdownsComeOutNegativeFail) {
    AnalysisState s = unconfinedWithTerms(12);
    ScriptedInteraction ui;
    ASSERT_EQ(calculateDrawdownsCommand(s, ui), CommandOutcome::Done);  // good data at these times
    s.stehfestCount = 18;
    buildNumericalTables(s);
    using Command = CommandOutcome (*)(AnalysisState&, Interaction&);
    for (Command command : {trialInversion, simplexInversion, leastSquaresInversion}) {
        AnalysisState fit = s;
        ScriptedInteraction answers;
        EXPECT_EQ(command(fit, answers), CommandOutcome::Refused);
        ASSERT_FALSE(answers.messages.empty());
        EXPECT_NE(answers.messages.back().find(kCause), std::string::npos) << answers.messages.back();
        EXPECT_EQ(fit.storativity, s.storativity);
        EXPECT_EQ(fit.resultKind, s.resultKind);
    }
}

}  // namespace
}  // namespace tolvex
