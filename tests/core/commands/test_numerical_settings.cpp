// The dialogs' side of the numerical limits: the Integration options warn (without refusing) above 12
// Stehfest terms, and a float field refuses a number that would become infinity when stored.
#include <gtest/gtest.h>

#include "core/commands/CommandIds.h"
#include "core/commands/EngineCommands.h"
#include "core/commands/EstimationForms.h"
#include "core/commands/SettingsCommands.h"
#include "core/commands/SettingsForms.h"
#include "core/commands/TypeCurveForms.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

TEST(NumericalSettings, MoreThanTwelveStehfestTermsAreAcceptedWithAWarning) {
    for (const auto& [terms, warned] :
         {std::pair{"12", false}, std::pair{"14", true}, std::pair{"20", true}}) {
        AnalysisState s = makeDefaultState();
        ScriptedInteraction ui;
        ui.formAnswers.push_back(std::map<int, std::string>{{kStehfestId, terms}});
        EXPECT_EQ(integrationOptions(s, ui), CommandOutcome::Done) << terms;
        EXPECT_EQ(s.stehfestCount, std::stoi(terms));
        EXPECT_EQ(s.stehfestWeights.size(), static_cast<std::size_t>(s.stehfestCount) + 1);
        ASSERT_EQ(ui.messages.size(), warned ? 1u : 0u) << terms;
        if (warned) {
            EXPECT_EQ(ui.messages[0].rfind("More than 12 Stehfest terms lose accuracy", 0), 0u)
                << ui.messages[0];
        }
    }
    AnalysisState s = makeDefaultState();
    ScriptedInteraction cancelled;
    cancelled.formAnswers.push_back(std::nullopt);
    s.stehfestCount = 16;  // already stored: Cancel warns about nothing
    EXPECT_EQ(integrationOptions(s, cancelled), CommandOutcome::Cancelled);
    EXPECT_TRUE(cancelled.messages.empty());
}

TEST(NumericalSettings, AFloatFieldRefusesWhatWouldBecomeInfinity) {
    const std::string range = "Please enter a number between -3.40282e+38 and 3.40282e+38.";
    const Form ranges = *typeCurveRangeForm(0);
    const Form theis = *initialGuessForm(0);
    ASSERT_EQ(ranges.fields[0].kind, FormFieldKind::Float);
    struct Row {
        const Form& form;
        std::size_t index;
        const char* text;
        std::string error;  // empty: stored
    };
    const std::size_t storativity = 2;  // "Storativity (S)", a field only a positive value describes
    ASSERT_EQ(theis.fields[storativity].field, "storativity");
    const std::vector<Row> rows{
        {ranges, 0, "1e39", range},
        {ranges, 0, "-1e39", range},
        {ranges, 0, "inf", range},
        {ranges, 0, "nan", range},
        {theis, storativity, "1e39", range},
        {theis, storativity, "3e38", ""},
        {theis, storativity, "-inf", "Please enter a positive number for \"Storativity (S)\"."},
    };
    for (const Row& row : rows) {
        AnalysisState s = makeDefaultState();
        const AnalysisState before = s;
        std::vector<std::string> texts = loadFormTexts(row.form, s);
        texts[row.index] = row.text;
        const auto error = acceptForm(row.form, texts, s);
        EXPECT_EQ(error ? error->message : "", row.error) << row.text;
        if (error) {
            EXPECT_EQ(error->fieldIndex, row.index);
            EXPECT_EQ(s.tcTheisMin, before.tcTheisMin);
            EXPECT_EQ(s.storativity, before.storativity);
        }
    }
}

}  // namespace
}  // namespace tolvex
