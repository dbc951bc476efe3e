#include <gtest/gtest.h>

#include <algorithm>

#include "core/commands/EstimationForms.h"
#include "core/commands/SettingsForms.h"
#include "core/commands/TypeCurveForms.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

// Every form binds only known fields and loads on the default state.
TEST(EngineForms, EveryFormLoadsTheDefaults) {
    const AnalysisState s = makeDefaultState();
    std::vector<Form> forms{bouwerRiceForm(),        matchingCriteriaForm(), timeInputForm(),
                            modelSelectionForm(),    projectForm(),          integrationForm(),
                            typeCurveSelectionForm()};
    for (int m = 0; m <= 8; ++m) {
        forms.push_back(*initialGuessForm(m));
        forms.push_back(*typeCurveRangeForm(m));
        if (auto option = typeCurveOptionForm(m)) forms.push_back(*option);
    }
    for (const Form& f : forms) EXPECT_EQ(loadFormTexts(f, s).size(), f.fields.size()) << f.title;
    EXPECT_FALSE(initialGuessForm(9));
    EXPECT_FALSE(typeCurveRangeForm(10));
    EXPECT_FALSE(typeCurveOptionForm(1));
    EXPECT_EQ(modelSelectionGroups().size(), modelSelectionForm().fields[0].options.size());
    EXPECT_EQ(typeCurveSelectionGroups().size(), typeCurveSelectionForm().fields[0].options.size());
}

TEST(EngineForms, TitlesAndLabelsAsTheDialogsShowThem) {
    EXPECT_EQ(initialGuessForm(3)->title, "-");
    EXPECT_EQ(initialGuessForm(7)->title, initialGuessForm(8)->title);
    EXPECT_EQ(bouwerRiceForm().title, "Slug test  (Bower and Rice, 1976)");
    EXPECT_EQ(bouwerRiceForm().byId(173)->label, "Well screen length ");
    EXPECT_EQ(initialGuessForm(4)->byId(164)->label,
              "Hydraulic conductivity of uppper confining layer  (K')");
    EXPECT_EQ(initialGuessForm(6)->byId(149)->label, "Specifc yield");
    EXPECT_EQ(typeCurveSelectionForm().title, "Type Curve Selection  for Hydraulic Testing");
    EXPECT_EQ(typeCurveSelectionForm().fields[0].options[0], "A Fully Penetrating Well ");
    EXPECT_EQ(typeCurveSelectionForm().fields[0].options[3], " A Partially Penetrating Well");
    EXPECT_EQ(modelSelectionForm().fields[0].options[10], "Bouwer and Rice, 1976");
    EXPECT_EQ(typeCurveRangeForm(0)->byId(kFirstAxisId + 2)->label, "No. of points ");
    EXPECT_EQ(typeCurveOptionForm(6)->fields[0].options[1], "Calculate the Neuman's table (1975)");
    EXPECT_EQ(integrationForm().fields[0].label, "No. of Stehfest'terms in Laplace inversion");
    // exchange order of the partially penetrating dialog
    const Form partial = *initialGuessForm(1);
    std::vector<int> ids;
    for (const FormField& f : partial.fields) ids.push_back(f.id);
    EXPECT_EQ(ids, (std::vector<int>{153, 150, 154, 158, 156, 149, 157, 155, 160, 152, 151, 147, 148, 159}));
}

// Both unconfined dialogs: the observation kinds named for what they compute, the well and aquifer
// values before the geometry, and z/b, z1/b, z2/b enabled only for the kind that uses them.
TEST(EngineForms, UnconfinedDialogsOrderTheGeometryAndEnableWhatTheKindUses) {
    const Form guess = *initialGuessForm(6);
    const Form range = *typeCurveRangeForm(6);
    std::vector<std::string> labels;
    for (std::size_t i : guess.layoutOrder()) labels.push_back(guess.fields[i].label);
    EXPECT_EQ(labels, (std::vector<std::string>{"Pumping rate", "Radial distance", "Aquifer thickness",
                                                "Transmissivity", "Storativity", "Specifc yield",
                                                "Vertical hydraulic conductivity", "l/b", "d/b", "", "z/b",
                                                "z1/b", "z2/b"}));
    std::vector<int> ids;
    for (const FormField& f : guess.fields) ids.push_back(f.id);  // the exchange order stays
    EXPECT_EQ(ids, (std::vector<int>{150, 190, 152, 189, 151, 113, 167, 147, 149, 148, 191, 194, 195}));
    labels.clear();
    for (std::size_t i : range.layoutOrder()) labels.push_back(range.fields[i].label);
    EXPECT_EQ(std::vector<std::string>(labels.begin() + 6, labels.end()),
              (std::vector<std::string>{"S/Sy", "l/b", "d/b", "", "z/b", "z1/b", "z2/b"}));
    const std::vector<std::string> kinds{"Fully penetrating observation well", "Piezometer at z/b",
                                         "Observation well screened from z1/b to z2/b"};
    // enabled[kind] lists the labels enabled for that observation kind among l/b, d/b, z/b, z1/b, z2/b.
    const std::vector<std::vector<bool>> enabled{
        {true, true, false, false, false}, {true, true, true, false, false}, {true, true, false, true, true}};
    const std::vector<std::string> geometry{"l/b", "d/b", "z/b", "z1/b", "z2/b"};
    for (const Form& form : {guess, range}) {
        const auto radio = std::find_if(form.fields.begin(), form.fields.end(),
                                        [](const FormField& f) { return f.field == "mnObsKind"; });
        ASSERT_NE(radio, form.fields.end()) << form.title;
        EXPECT_EQ(radio->options, kinds) << form.title;
        EXPECT_EQ(radio->group, "Observation");
        EXPECT_EQ(form.byLabel("l/b")->group, "Pumping well screen");
        std::vector<std::string> texts = loadFormTexts(form, makeDefaultState());
        for (int kind = 0; kind < 3; ++kind) {
            texts[static_cast<std::size_t>(radio - form.fields.begin())] = std::to_string(kind);
            for (std::size_t g = 0; g < geometry.size(); ++g) {
                const std::size_t index =
                    static_cast<std::size_t>(form.byLabel(geometry[g]) - form.fields.data());
                EXPECT_EQ(form.isEnabled(index, texts), enabled[kind][g])
                    << form.title << ": " << geometry[g] << " for kind " << kind;
            }
            EXPECT_TRUE(form.isEnabled(0, texts));
        }
    }
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers.push_back(std::map<int, std::string>{{113, "2"}, {194, "0.25"}, {195, "0.75"}});
    ASSERT_TRUE(ui.edit(guess, s));
    EXPECT_EQ(s.mnObsKind, 2);
    EXPECT_FLOAT_EQ(s.mnZ1, 0.25f);
    EXPECT_FLOAT_EQ(s.mnZ2, 0.75f);
}

TEST(EngineForms, TheisAndLeakyDialogsRecordTheStartingVector) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers.push_back(std::map<int, std::string>{{104, "2e-5"}, {105, "12"}});
    ASSERT_TRUE(ui.edit(*initialGuessForm(0), s));
    EXPECT_EQ(s.paramCount, 2);
    EXPECT_FLOAT_EQ(s.paramVector[0], 2e-5f);
    EXPECT_FLOAT_EQ(s.paramVector[1], 12.0f);
    ASSERT_TRUE(ui.edit(*initialGuessForm(2), s));
    EXPECT_EQ(s.paramCount, 4);
    EXPECT_FLOAT_EQ(s.paramVector[2], 0.042f);
    EXPECT_FLOAT_EQ(s.paramVector[3], 21.0f);
}

TEST(EngineForms, StorageDialogRefusesAZeroThicknessOnly) {
    AnalysisState s = makeDefaultState();
    const AnalysisState before = s;
    ScriptedInteraction ui;
    ui.formAnswers.push_back(std::map<int, std::string>{{161, "0"}});
    EXPECT_FALSE(ui.edit(*initialGuessForm(4), s));
    EXPECT_EQ(ui.formErrors.back(), "Please enter a number between 1e-10 and 1e+10.");
    EXPECT_EQ(s.upperBedThickness, before.upperBedThickness);
    // A conductivity or storativity of zero or below describes no confining bed: refused by name.
    ui.formAnswers.push_back(std::map<int, std::string>{{164, "0"}, {169, "-1"}});
    EXPECT_FALSE(ui.edit(*initialGuessForm(4), s));
    EXPECT_NE(ui.formErrors.back().find("positive number"), std::string::npos);
    ui.formAnswers.push_back(std::map<int, std::string>{{164, "0.5"}, {169, "1e-3"}});
    EXPECT_TRUE(ui.edit(*initialGuessForm(4), s));
}

TEST(EngineForms, CriteriaResizeTheErrorHistory) {
    AnalysisState s = makeDefaultState();
    s.errorHistory[0] = 7.0f;
    ScriptedInteraction ui;
    ui.formAnswers.push_back(std::map<int, std::string>{{146, "5"}});
    ASSERT_TRUE(ui.edit(matchingCriteriaForm(), s));
    EXPECT_EQ(s.errorHistory.size(), 5u);
    EXPECT_EQ(s.errorHistory[0], 7.0f);
    ui.formAnswers.push_back(std::map<int, std::string>{{146, "-3"}});
    EXPECT_FALSE(ui.edit(matchingCriteriaForm(), s));
}

TEST(EngineForms, IntegrationRefusesCountsWithoutARuleAndRebuildsTheTables) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    for (const auto& [id, text] : std::vector<std::pair<int, std::string>>{{kStehfestId, "11"},
                                                                           {kStehfestId, "0"},
                                                                           {kStehfestId, "22"},
                                                                           {kGaussId, "1"},
                                                                           {kGaussId, "201"}}) {
        ui.formAnswers.push_back(std::map<int, std::string>{{id, text}});
        EXPECT_FALSE(ui.edit(integrationForm(), s)) << text;
    }
    EXPECT_EQ(ui.formErrors[0], "The number of Stehfest terms must be even.");
    EXPECT_EQ(s.stehfestCount, 12);
    ui.formAnswers.push_back(std::map<int, std::string>{{kStehfestId, "8"}, {kGaussId, "10"}});
    ASSERT_TRUE(ui.edit(integrationForm(), s));
    EXPECT_EQ(s.stehfestWeights.size(), 9u);
    EXPECT_EQ(s.gaussNodes.size(), 11u);
}

TEST(EngineForms, TimeInputRefusesTimesWithoutAGrid) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers.push_back(std::map<int, std::string>{{kTimeCountId, "1"}});
    ui.formAnswers.push_back(std::map<int, std::string>{{kTimeMinId, "0"}});
    EXPECT_FALSE(ui.edit(timeInputForm(), s));
    EXPECT_FALSE(ui.edit(timeInputForm(), s));
    EXPECT_NE(ui.formErrors[1].find("calcTimeMin"), std::string::npos);
    EXPECT_EQ(s.usedCount, 14);
}

TEST(EngineForms, ConfinedCountIsTruncated) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ui.formAnswers.push_back(std::map<int, std::string>{{kFirstAxisId + 2, "12.7"}});
    ASSERT_TRUE(ui.edit(*typeCurveRangeForm(0), s));
    EXPECT_EQ(s.tcTheisCount, 12);
}

}  // namespace
}  // namespace tolvex
