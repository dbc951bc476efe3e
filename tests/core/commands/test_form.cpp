#include <gtest/gtest.h>

#include "core/commands/CommandIds.h"
#include "core/commands/EstimationForms.h"
#include "core/commands/Form.h"
#include "core/state/AnalysisState.h"
#include "core/state/CommaLocale.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

Form sampleForm() {
    Form form;
    form.title = "Sample";
    form.fields = {
        {102, "Pumping rate (Q)", "pumpingRate", FormFieldKind::Float, "", {}, std::nullopt, std::nullopt},
        {110,
         "No. of points ",
         "tcTheisCount",
         FormFieldKind::TruncatedInt,
         "",
         {},
         std::nullopt,
         std::nullopt},
        {120, "Iterations", "maxIterations", FormFieldKind::Integer, "", {}, 0.0, 1000.0},
        {160,
         "Piezometer",
         "ppObsKind",
         FormFieldKind::Radio,
         "",
         {"Piezometer", "Observation well"},
         std::nullopt,
         std::nullopt},
        {170, "Operator's name", "operatorName", FormFieldKind::Text, "", {}, std::nullopt, std::nullopt},
    };
    form.onAccept = [](AnalysisState& s) { s.paramCount = 7; };
    return form;
}

TEST(Form, LoadsTheStateAsTheDialogShowsIt) {
    const AnalysisState s = makeDefaultState();
    const auto texts = loadFormTexts(sampleForm(), s);
    EXPECT_EQ(texts, (std::vector<std::string>{"75.53", "50", "20", "0", "John Doe"}));
    AnalysisState tiny = s;
    tiny.pumpingRate = 1.0e-5f;
    EXPECT_EQ(loadFormTexts(sampleForm(), tiny)[0], "1e-05");

    // A dialog shows six digits; the command line loads every float so that it comes back unchanged.
    AnalysisState precise = s;
    precise.pumpingRate = 75.123456f;
    EXPECT_EQ(loadFormTexts(sampleForm(), precise)[0], "75.1235");
    const auto exact = loadFormTexts(sampleForm(), precise, kExactFloatDigits);
    ASSERT_FALSE(acceptForm(sampleForm(), exact, precise));
    EXPECT_EQ(precise.pumpingRate, 75.123456f);
}

TEST(Form, StoresEverythingOnlyWhenEveryFieldParses) {
    AnalysisState s = makeDefaultState();
    const AnalysisState before = s;
    const Form form = sampleForm();

    auto error = acceptForm(form, {"80", "x", "20", "1", "Me"}, s);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fieldIndex, 1u);
    EXPECT_EQ(error->message, "Please enter a number.");
    EXPECT_EQ(s.pumpingRate, before.pumpingRate);

    error = acceptForm(form, {"80", "12", "2.5", "1", "Me"}, s);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Please enter an integer.");

    error = acceptForm(form, {"80", "12", "5000", "1", "Me"}, s);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fieldIndex, 2u);
    EXPECT_EQ(error->message, "Please enter a number between 0 and 1000.");
    EXPECT_EQ(s.paramCount, before.paramCount);

    ASSERT_FALSE(acceptForm(form, {" 80.25", "12.7", "30", "1", "Me"}, s));
    EXPECT_EQ(s.pumpingRate, 80.25f);
    EXPECT_EQ(s.tcTheisCount, 12);  // edited as a decimal number, stored truncated
    EXPECT_EQ(s.maxIterations, 30);
    EXPECT_EQ(s.ppObsKind, 1);
    EXPECT_EQ(s.operatorName, "Me");
    EXPECT_EQ(s.paramCount, 7);
}

// A user under a comma locale types "75,53": a comma that is the field's only separator is the decimal
// point; with a point or a second comma beside it the text is no number.
TEST(Form, ADecimalCommaIsReadWhenItIsTheOnlySeparator) {
    struct Row {
        const char* rate;   // pumping rate, a float field
        const char* count;  // number of points, edited as a decimal number and truncated
        std::optional<float> storedRate;
    };
    const std::vector<Row> rows{{"75,53", "12,7", 75.53f}, {" 8,8 ", "12", 8.8f},  {"1e-5", "12", 1e-5f},
                                {",5", "12", 0.5f},        {"1,234.5", "12", {}},  {"1.234,5", "12", {}},
                                {"1,2,3", "12", {}},       {"75,53", "1,2,3", {}}, {"7,5x", "12", {}}};
    for (const Row& row : rows) {
        AnalysisState s = makeDefaultState();
        const auto error = acceptForm(sampleForm(), {row.rate, row.count, "20", "0", "Me"}, s);
        EXPECT_EQ(!error, row.storedRate.has_value()) << row.rate << " / " << row.count;
        if (!error) {
            EXPECT_EQ(s.pumpingRate, *row.storedRate) << row.rate;
            EXPECT_EQ(s.tcTheisCount, 12) << row.count;
        } else {
            EXPECT_EQ(error->message, "Please enter a number.") << row.rate;
        }
    }
}

TEST(Form, ADialogShowsAndTakesBackItsOwnTextsUnderACommaLocale) {
    const testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << testing::kCommaLocale << " cannot be set: run scripts/install-deps";
    for (int model = 0; model <= 10; ++model) {
        const auto form = initialGuessForm(model);
        if (!form) continue;
        AnalysisState s = makeDefaultState();
        const std::vector<std::string> texts = loadFormTexts(*form, s);
        for (const std::string& text : texts)
            EXPECT_EQ(text.find(','), std::string::npos) << model << ": " << text;
        const auto error = acceptForm(*form, texts, s);
        EXPECT_FALSE(error) << model << ": " << (error ? error->message : "");
    }
    EXPECT_EQ(loadFormTexts(sampleForm(), makeDefaultState())[0], "75.53");
}

// Every field that only a positive value describes refuses zero, negative, non-finite values and values
// that round to the float 0, naming the field; nothing is stored.
TEST(Form, PositiveFieldsRefuseOtherValuesByName) {
    const Form theis = *initialGuessForm(0);
    const std::vector<std::pair<int, std::string>> refused{{105, "-8.8"}, {105, "0"},    {104, "1e-50"},
                                                           {103, "nan"},  {102, "-inf"}, {102, "-75,53"}};
    for (const auto& [id, text] : refused) {
        AnalysisState s = makeDefaultState();
        const AnalysisState before = s;
        std::vector<std::string> texts = loadFormTexts(theis, s);
        std::size_t index = 0;
        while (theis.fields[index].id != id) ++index;
        texts[index] = text;
        const auto error = acceptForm(theis, texts, s);
        ASSERT_TRUE(error) << id << " = " << text;
        EXPECT_EQ(error->fieldIndex, index);
        EXPECT_EQ(error->message,
                  "Please enter a positive number for \"" + theis.fields[index].label + "\".");
        EXPECT_EQ(s.transmissivity, before.transmissivity);
        EXPECT_EQ(s.paramCount, before.paramCount);
    }
}

TEST(Form, LayoutOrderPutsTheNamedFieldsFirst) {
    Form form = sampleForm();
    EXPECT_EQ(form.layoutOrder(), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    form.displayOrder = {170, 110, 999};
    EXPECT_EQ(form.layoutOrder(), (std::vector<std::size_t>{4, 1, 0, 2, 3}));
}

TEST(Form, FindsFieldsByIdAndLabel) {
    const Form form = sampleForm();
    ASSERT_NE(form.byId(110), nullptr);
    EXPECT_EQ(form.byId(110)->field, "tcTheisCount");
    ASSERT_NE(form.byLabel("Operator's name"), nullptr);
    EXPECT_EQ(form.byLabel("nothing"), nullptr);
}

TEST(Form, ScriptedInteractionCancelStoresNothing) {
    AnalysisState s = makeDefaultState();
    testing::ScriptedInteraction ui;
    ui.formAnswers.push_back(std::nullopt);
    ui.formAnswers.push_back(std::map<int, std::string>{{102, "99"}});
    EXPECT_FALSE(ui.edit(sampleForm(), s));
    EXPECT_EQ(s.pumpingRate, 75.53f);
    EXPECT_TRUE(ui.edit(sampleForm(), s));
    EXPECT_EQ(s.pumpingRate, 99.0f);
    EXPECT_EQ(ui.formTitles.size(), 2u);
}

TEST(CommandEnabling, GuardedCommandsFollowTheModel) {
    for (int model = 0; model <= 10; ++model) {
        EXPECT_TRUE(isCommandEnabled(kCmdLeastSquaresInversion, model));
        EXPECT_EQ(isCommandEnabled(kCmdTypeCurveCalculation, model), model <= 8);
        EXPECT_EQ(isCommandEnabled(kCmdSimplexInversion, model), model <= 8);
        EXPECT_EQ(isCommandEnabled(kCmdTrialInversion, model), model <= 8);
        EXPECT_TRUE(isCommandEnabled(kCmdReport, model));
    }
    EXPECT_FALSE(isCommandEnabled(kCmdLeastSquaresInversion, 11));
    EXPECT_TRUE(isCommandEnabled(kCmdTypeCurveCalculation, -1));  // signed comparison
}

}  // namespace
}  // namespace tolvex
