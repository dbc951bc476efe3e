// What an interactive dialog refuses before it closes: the form's own field checks with their classic
// messages, a choice that names no button, and the values the command would refuse once the dialog
// closed (type-curve ranges), named by the caption the user reads. The command line's acceptForm and the
// command's own check keep their classic behaviour.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/commands/EstimationForms.h"
#include "core/commands/Form.h"
#include "core/commands/TypeCurveForms.h"
#include "core/state/AnalysisState.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex {
namespace {

std::size_t indexOfField(const Form& form, const std::string& field) {
    for (std::size_t i = 0; i < form.fields.size(); ++i)
        if (form.fields[i].field == field) return i;
    ADD_FAILURE() << "no field " << field << " in " << form.title;
    return 0;
}

// The texts the dialog opens with, then the edits typed over them.
std::vector<std::string> typed(const Form& form, const AnalysisState& state,
                               const std::vector<std::pair<std::string, std::string>>& edits) {
    std::vector<std::string> texts = loadFormTexts(form, state, kExactFloatDigits);
    for (const auto& [field, text] : edits) texts[indexOfField(form, field)] = text;
    return texts;
}

TEST(FieldCaption, IsTheLabelAsShownWithTheGroupsQuantityWhereTheLabelRepeats) {
    struct Row {
        int model;
        const char* field;
        const char* caption;
    };
    const Row rows[] = {
        {0, "tcTheisMin", "1/u (min)"},  // "1/u (min)=": the trailing "=" goes
        {0, "tcTheisMax", "1/u(max)"},
        {0, "tcTheisCount", "No. of points"},  // "No. of points ": so does the trailing blank
        {2, "tcLeakyMin", "min (1/u)"},        // group "1/u=4*T*t/(r*r*S)"
        {2, "tcLeakyRbCount", "No. of Points (r/B)"},
        {3, "tcLppBetaMax", "max (beta)"},
        {5, "tcSlugAlphaMin", "min (alpha)"},
        {6, "tcMnKzMin", "min (Kz*r^2/Kr/b^2)"},  // a caption without "=" is its own quantity
        {1, "ppPiezoL", "l/b (Piezometer)"},
        {1, "ppWellL", "l/b (Observation well)"},
        {1, "ppObsKind", "Piezometer / Observation well"},  // an unlabelled radio group: its buttons
    };
    for (const Row& row : rows) {
        const Form form = *typeCurveRangeForm(row.model);
        EXPECT_EQ(fieldCaption(form, indexOfField(form, row.field)), row.caption) << row.field;
    }
    const Form criteria = matchingCriteriaForm();
    EXPECT_EQ(fieldCaption(criteria, 0), "Maximum Number of Iteration");
    EXPECT_EQ(fieldCaption(criteria, 99), "");
}

// One bad value of a type-curve range dialog: what is typed, the field that takes the focus and the
// message. The limits are those of the family (at least 2 points, at most 100 curves, positive bounds,
// min not above max, nx * nf + 1 <= 65535 so that the document can save the family).
TEST(DialogRefusal, NamesTheFieldAFamilyRangeWouldBeRefusedForByItsCaption) {
    struct Row {
        int model;
        std::vector<std::pair<std::string, std::string>> edits;
        const char* field;
        const char* message;
    };
    const std::vector<Row> rows = {
        {0, {{"tcTheisMin", "0"}}, "tcTheisMin", "1/u (min): enter a number greater than 0."},
        {0, {{"tcTheisMax", "-5"}}, "tcTheisMax", "1/u(max): enter a number greater than 0."},
        {0, {{"tcTheisCount", "1"}}, "tcTheisCount", "No. of points: enter an integer of at least 2."},
        {0,
         {{"tcTheisMin", "100000"}, {"tcTheisMax", "10000"}},
         "tcTheisMin",
         "1/u (min): enter a number not above the maximum (10000)."},
        {2,
         {{"tcLeakyRbCount", "101"}},
         "tcLeakyRbCount",
         "No. of Points (r/B): enter at most 100: a family holds at most 100 curves."},
        {2, {{"tcLeakyMax", "-3"}}, "tcLeakyMax", "max (1/u): enter a number greater than 0."},
        {5,
         {{"tcSlugAlphaMin", "2"}, {"tcSlugAlphaMax", "0.5"}},
         "tcSlugAlphaMin",
         "min (alpha): enter a number not above the maximum (0.5)."},
        // 1000 points for 100 curves: 65534 / 100 = 655 points per curve at most.
        {1,
         {{"tcPpCount", "1000"}, {"tcPpAnisCount", "100"}},
         "tcPpCount",
         "No. of Points (1/u): enter at most 655 with 100 curves: the document cannot save more points."},
    };
    for (const Row& row : rows) {
        AnalysisState state = makeDefaultState();
        state.modelKind = row.model;
        const AnalysisState before = state;
        const Form form = *typeCurveRangeForm(row.model);
        const auto error = dialogRefusal(form, typed(form, state, row.edits), state);
        ASSERT_TRUE(error) << row.field;
        EXPECT_EQ(error->fieldIndex, indexOfField(form, row.field)) << row.field;
        EXPECT_EQ(error->message, row.message);
        // Nothing is stored while the dialog refuses.
        EXPECT_EQ(state.tcTheisMin, before.tcTheisMin);
        EXPECT_EQ(state.tcLeakyRbCount, before.tcLeakyRbCount);
        EXPECT_EQ(state.tcSlugAlphaMin, before.tcSlugAlphaMin);
        EXPECT_EQ(state.tcPpCount, before.tcPpCount);
    }
}

TEST(DialogRefusal, AcceptsGoodRangesAndTheTablesOfTheOptionDialog) {
    for (int model = 0; model <= 8; ++model) {
        AnalysisState state = makeDefaultState();
        state.modelKind = model;
        const Form form = *typeCurveRangeForm(model);
        EXPECT_FALSE(dialogRefusal(form, typed(form, state, {}), state)) << model;
    }
    // With Wenzel's table chosen the ranges are not used: nothing to refuse.
    AnalysisState state = makeDefaultState();
    state.modelKind = 0;
    state.tcTheisUniform = 1;
    const Form form = *typeCurveRangeForm(0);
    EXPECT_FALSE(dialogRefusal(form, typed(form, state, {{"tcTheisCount", "1"}}), state));
}

TEST(DialogRefusal, KeepsTheClassicFieldMessagesFirst) {
    AnalysisState state = makeDefaultState();
    state.modelKind = 2;
    const Form form = *typeCurveRangeForm(2);
    // A text that is no number is the framework's refusal, before any range of the family.
    auto error =
        dialogRefusal(form, typed(form, state, {{"tcLeakyRbCount", "1"}, {"tcLeakyMax", "abc"}}), state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fieldIndex, indexOfField(form, "tcLeakyMax"));
    EXPECT_EQ(error->message, "Please enter a number.");
    error = dialogRefusal(form, typed(form, state, {{"tcLeakyCount", "2.5"}}), state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Please enter an integer.");
    // A number range of the form itself keeps its message too.
    const Form criteria = matchingCriteriaForm();
    error = dialogRefusal(criteria, {"-1", "0.001"}, state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fieldIndex, 0u);
    EXPECT_EQ(error->message, "Please enter a number between 0 and 65535.");
    EXPECT_FALSE(dialogRefusal(criteria, {"50", "0.001"}, state));
}

TEST(DialogRefusal, RefusesAChoiceThatNamesNoButton) {
    AnalysisState state = makeDefaultState();
    state.modelKind = 1;
    const Form form = *typeCurveRangeForm(1);
    for (const char* text : {"2", "-1"}) {
        const auto error = dialogRefusal(form, typed(form, state, {{"ppObsKind", text}}), state);
        ASSERT_TRUE(error) << text;
        EXPECT_EQ(error->fieldIndex, indexOfField(form, "ppObsKind"));
        EXPECT_EQ(error->message, "Piezometer / Observation well: choose one of the 2 choices (0 to 1).");
    }
    EXPECT_FALSE(dialogRefusal(form, typed(form, state, {{"ppObsKind", "1"}}), state));
}

// The command line fills the form without a dialog: acceptForm stores the ranges as before and the
// command's own check names the state field, as it always did.
TEST(DialogRefusal, LeavesAcceptFormAndTheCommandsCheckAsTheyWere) {
    AnalysisState state = makeDefaultState();
    state.modelKind = 2;
    const Form form = *typeCurveRangeForm(2);
    EXPECT_FALSE(acceptForm(form, typed(form, state, {{"tcLeakyRbCount", "101"}}), state));
    EXPECT_EQ(state.tcLeakyRbCount, 101);
    EXPECT_EQ(checkTypeCurveRanges(state), "A family holds at most 100 curves (tcLeakyRbCount = 101).");
    const auto fault = typeCurveRangeFault(state);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->field, "tcLeakyRbCount");
    EXPECT_EQ(fault->message, *checkTypeCurveRanges(state));
}

}  // namespace
}  // namespace tolvex
