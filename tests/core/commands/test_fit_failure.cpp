// An estimation that ends with a parameter or an RMS error that is not a finite number has failed: the
// user is told so, the command does not end as done (the command line exits 1), and the parameters
// stay as they were before the run.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/commands/EstimationCommands.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

TEST(FitFailure, ANonFiniteResultIsReportedAsFailed) {
    using Command = CommandOutcome (*)(AnalysisState&, Interaction&);
    for (Command command : {trialInversion, simplexInversion, leastSquaresInversion}) {
        AnalysisState s = makeDefaultState();
        s.measured[3] = 1.0e300;  // its squared residual overflows: the RMS error is infinite
        s.rmsError = 0.25f;
        const AnalysisState before = s;
        ScriptedInteraction ui;
        EXPECT_EQ(command(s, ui), CommandOutcome::Refused);
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().rfind("The estimation failed: rmsError came out as inf", 0), 0u)
            << ui.messages.back();
        EXPECT_EQ(s.transmissivity, before.transmissivity);
        EXPECT_EQ(s.storativity, before.storativity);
        EXPECT_EQ(s.rmsError, 0.25f);
        EXPECT_EQ(s.resultKind, before.resultKind);
    }
}

TEST(FitFailure, AFiniteFitStillEndsAsDone) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done);
    EXPECT_TRUE(std::isfinite(s.rmsError));
    EXPECT_TRUE(std::isfinite(s.transmissivity));
}

}  // namespace
}  // namespace tolvex
