// "Estimate start values": the model's fields set from the measurements, the method named, refused with
// the reason and nothing changed when there are too few measurements, and only for models 0..8.
#include <gtest/gtest.h>

#include "core/commands/CommandIds.h"
#include "core/commands/EngineCommands.h"
#include "core/commands/StartValuesCommand.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

TEST(StartValuesCommand, SetsTheFittedFieldsAndNamesTheMethod) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    s.transmissivity = 1000.0f;
    s.storativity = 0.9f;
    ScriptedInteraction ui;
    EXPECT_EQ(runEngineCommand(kCmdEstimateStartValues, s, ui), CommandOutcome::Done);
    EXPECT_NE(s.transmissivity, 1000.0f);
    EXPECT_NE(s.storativity, 0.9f);
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0];
    EXPECT_EQ(text.rfind("Start values estimated from the used measurements (", 0), 0u) << text;
    EXPECT_NE(text.find("\nstorativity = "), std::string::npos) << text;
    EXPECT_NE(text.find("\ntransmissivity = "), std::string::npos) << text;
    EXPECT_EQ(ui.redraws, 1);
}

// With units the message speaks them: the stored (SI) T of the same measurements read in minutes is the
// message's T in m²/min divided by 60.
TEST(StartValuesCommand, ShowsTheValuesInTheDocumentsUnits) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    s.units = DisplayUnits{"min", "m", "m3/min"};
    ScriptedInteraction ui;
    EXPECT_EQ(runEngineCommand(kCmdEstimateStartValues, s, ui), CommandOutcome::Done);
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0];
    const auto at = text.find("\ntransmissivity = ");
    ASSERT_NE(at, std::string::npos) << text;
    const double shown = std::stod(text.substr(at + 18));
    EXPECT_NEAR(shown / 60.0 / s.transmissivity, 1.0, 1e-5) << text;
    EXPECT_NE(text.find(" m²/min"), std::string::npos) << text;
}

TEST(StartValuesCommand, TooFewMeasurementsAreRefusedAndNothingChanges) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    s.usedCount = 1;
    const float before = s.transmissivity;
    ScriptedInteraction ui;
    EXPECT_EQ(estimateStartValuesCommand(s, ui), CommandOutcome::Refused);
    EXPECT_EQ(s.transmissivity, before);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Start values need at least two measurements with a positive time and a finite value.");
}

TEST(StartValuesCommand, IsACommandOfModelsZeroToEightOnly) {
    for (int model = -1; model <= 11; ++model)
        EXPECT_EQ(isCommandEnabled(kCmdEstimateStartValues, model), model >= 0 && model <= 8) << model;
    AnalysisState s = makeDefaultState();
    s.modelKind = 9;
    ScriptedInteraction ui;
    EXPECT_FALSE(runEngineCommand(kCmdEstimateStartValues, s, ui).has_value());
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace tolvex
