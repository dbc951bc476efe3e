// The fit controls of the dialogs: the Fix box and bound texts of the fitted fields parsed and checked in
// the core, the commands' dialogs carrying the controls only when the front end edits them, and the run
// using the controls as the dialogs leave them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/commands/EstimationCommands.h"
#include "core/commands/EstimationForms.h"
#include "core/commands/FitControlTexts.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

std::size_t indexOf(const Form& form, const std::string& field) {
    for (std::size_t i = 0; i < form.fields.size(); ++i)
        if (form.fields[i].field == field) return i;
    throw std::logic_error("no such field " + field);
}

TEST(FitControlTexts, TheFittedFieldsOfEachInitialGuessDialogAreThoseTheModelFits) {
    // Model 2 fits K' (upperBedConductivity), not the thickness b' its dialog also shows.
    const Form leaky = *initialGuessForm(2);
    std::vector<std::string> names;
    for (std::size_t i : fittedFieldIndices(leaky, 2)) names.push_back(leaky.fields[i].field);
    EXPECT_EQ(names, (std::vector<std::string>{"storativity", "transmissivity", "upperBedConductivity"}));
    const Form slug = bouwerRiceForm();
    ASSERT_EQ(fittedFieldIndices(slug, 10).size(), 1u);
    EXPECT_EQ(slug.fields[fittedFieldIndices(slug, 10)[0]].field, "hydraulicConductivity");
}

struct BoundCase {
    const char* lower;
    const char* upper;
    double expectedLower;  // NaN: refused
    double expectedUpper;
    const char* message;
};

class BoundTexts : public ::testing::TestWithParam<BoundCase> {};

TEST_P(BoundTexts, ParseOrRefuseNamingTheField) {
    const BoundCase& c = GetParam();
    const Form form = *initialGuessForm(0);
    std::vector<FitFieldTexts> texts(form.fields.size());
    texts[indexOf(form, "transmissivity")] = {true, c.lower, c.upper};
    FitControls controls;
    controls.stopWhenConverged = false;
    controls.bounds["storativity"] = {1e-6, 1e-2};  // replaced: its texts are empty
    const FitControls before = controls;
    const auto error = acceptFitFieldTexts(form, 0, texts, controls);
    if (std::isnan(c.expectedLower)) {
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->message, c.message);
        EXPECT_EQ(error->fieldIndex, indexOf(form, "transmissivity"));
        EXPECT_EQ(controls.bounds.size(), before.bounds.size());
        EXPECT_TRUE(controls.fixed.empty());
        return;
    }
    ASSERT_FALSE(error.has_value()) << error->message;
    EXPECT_FALSE(controls.stopWhenConverged);
    EXPECT_EQ(controls.fixed, std::set<std::string>{"transmissivity"});
    EXPECT_EQ(controls.bounds.count("storativity"), 0u);
    if (std::isinf(c.expectedLower) && std::isinf(c.expectedUpper)) {
        EXPECT_EQ(controls.bounds.count("transmissivity"), 0u);
        return;
    }
    ASSERT_EQ(controls.bounds.count("transmissivity"), 1u);
    EXPECT_EQ(controls.bounds.at("transmissivity").lower, c.expectedLower);
    EXPECT_EQ(controls.bounds.at("transmissivity").upper, c.expectedUpper);
}

constexpr double kRefused = std::numeric_limits<double>::quiet_NaN();
const char kLowerMessage[] =
    "Please enter a number as the lower bound of \"Transmissivity (T)\", or leave it empty.";
const char kUpperMessage[] =
    "Please enter a number as the upper bound of \"Transmissivity (T)\", or leave it empty.";
const char kOrderMessage[] = "The lower bound of \"Transmissivity (T)\" must lie below its upper bound.";

INSTANTIATE_TEST_SUITE_P(
    Cases, BoundTexts,
    ::testing::Values(BoundCase{"", "", -kInf, kInf, ""}, BoundCase{"  ", "", -kInf, kInf, ""},
                      BoundCase{"0.5", "", 0.5, kInf, ""}, BoundCase{"", "1e3", -kInf, 1000.0, ""},
                      BoundCase{"2,5", "7", 2.5, 7.0, ""}, BoundCase{"x", "", kRefused, 0, kLowerMessage},
                      BoundCase{"nan", "", kRefused, 0, kLowerMessage},
                      BoundCase{"", "inf", kRefused, 0, kUpperMessage},
                      BoundCase{"", "1e400", kRefused, 0, kUpperMessage},
                      BoundCase{"3", "3", kRefused, 0, kOrderMessage},
                      BoundCase{"4", "-4", kRefused, 0, kOrderMessage}));

TEST(FitControlTexts, BoundsAreShownSoThatTheyReadBackUnchanged) {
    FitControls controls;
    controls.fixed.insert("storativity");
    controls.bounds["transmissivity"] = {0.1 + 0.2, 8.0};
    const FitFieldTexts t = loadFitFieldTexts(controls, "transmissivity");
    EXPECT_FALSE(t.fixed);
    EXPECT_EQ(t.upper, "8");
    EXPECT_EQ(std::stod(t.lower), 0.1 + 0.2);
    const FitFieldTexts s = loadFitFieldTexts(controls, "storativity");
    EXPECT_TRUE(s.fixed);
    EXPECT_EQ(s.lower, "");
    EXPECT_EQ(s.upper, "");
}

// With units set the controls hold SI: T between 1 and 100 m²/d is entered and shown as such, and kept
// as m²/s; a storage coefficient has no unit and is kept as typed.
TEST(FitControlTexts, BoundsAreEnteredAndShownInTheDocumentsUnits) {
    const DisplayUnits units{"d", "m", "m3/d"};
    const Form form = *initialGuessForm(0);
    std::vector<FitFieldTexts> texts(form.fields.size());
    texts[indexOf(form, "transmissivity")] = {false, "1", "100"};
    texts[indexOf(form, "storativity")] = {false, "1e-5", ""};
    FitControls controls;
    ASSERT_FALSE(acceptFitFieldTexts(form, 0, texts, controls, units));
    EXPECT_DOUBLE_EQ(controls.bounds["transmissivity"].lower, 1.0 / 86400.0);
    EXPECT_DOUBLE_EQ(controls.bounds["transmissivity"].upper, 100.0 / 86400.0);
    EXPECT_DOUBLE_EQ(controls.bounds["storativity"].lower, 1e-5);
    const FitFieldTexts shown = loadFitFieldTexts(controls, "transmissivity", units);
    EXPECT_EQ(shown.lower, "1");
    EXPECT_EQ(shown.upper, "100");
    EXPECT_EQ(loadFitFieldTexts(controls, "transmissivity").upper,
              "0.0011574074074074073");  // SI without units
}

// Records which forms carried the fit controls, and fixes S in the initial-guess dialog.
class FixingInteraction : public testing::ScriptedInteraction {
public:
    std::vector<FitControlsShown> shown;
    bool edit(const Form& form, AnalysisState& state) override {
        shown.push_back(form.fitControls != nullptr ? form.fitControlsShown : FitControlsShown::None);
        if (form.fitControls != nullptr && form.fitControlsShown == FitControlsShown::FixAndBounds)
            form.fitControls->fixed.insert("storativity");
        return ScriptedInteraction::edit(form, state);
    }
};

TEST(FitControlTexts, TheEditingCommandsRunWithTheControlsAsTheDialogsLeaveThem) {
    AnalysisState s = makeDefaultState();
    s.storativity = 2.5e-4f;
    FixingInteraction ui;
    FitControls controls;
    FitOutcome outcome;
    ASSERT_EQ(leastSquaresInversionEditing(s, ui, controls, outcome), CommandOutcome::Done);
    EXPECT_EQ(ui.shown, (std::vector<FitControlsShown>{FitControlsShown::StopWhenConverged,
                                                       FitControlsShown::FixAndBounds}));
    EXPECT_EQ(controls.fixed, std::set<std::string>{"storativity"});
    EXPECT_EQ(s.storativity, 2.5e-4f);
}

TEST(FitControlTexts, TheOtherCommandsShowNoControls) {
    AnalysisState s = makeDefaultState();
    FixingInteraction ui;
    FitOutcome outcome;
    ASSERT_EQ(simplexInversionWith(s, ui, FitControls{}, outcome), CommandOutcome::Done);
    EXPECT_EQ(ui.shown, (std::vector<FitControlsShown>{FitControlsShown::None, FitControlsShown::None}));
}

}  // namespace
}  // namespace tolvex
