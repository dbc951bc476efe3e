// OK checks in the dialog: a bad value keeps the dialog open with the cursor in the bad field (its text
// selected) and a message that names the field by the caption the user reads; a good value closes it
// and is stored. Driven as a user would: keys typed into the field and a click on OK.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "core/commands/EstimationForms.h"
#include "core/commands/FormFields.h"
#include "core/commands/TypeCurveCommands.h"
#include "core/commands/TypeCurveForms.h"
#include "core/state/CommaLocale.h"
#include "gui/FormDialog.h"
#include "gui/GuiInteraction.h"
#include "gui/SlugHeadDialog.h"

namespace tolvex::gui {
namespace {

std::size_t indexOfField(const Form& form, const std::string& field) {
    for (std::size_t i = 0; i < form.fields.size(); ++i)
        if (form.fields[i].field == field) return i;
    throw std::logic_error("no field " + field);
}

void typeInto(QLineEdit& edit, const QString& text) {
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, text);
}

void clickOk(QDialog& dialog) {
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
}

class DialogValidation : public ::testing::Test {
protected:
    FormDialog& open(const Form& form) {
        form_ = form;
        dialog_ = std::make_unique<FormDialog>(form_, state);
        dialog_->showError = [this](QWidget*, const QString& message) { errors << message; };
        dialog_->show();
        return *dialog_;
    }
    QLineEdit& edit(const std::string& field) {
        return *qobject_cast<QLineEdit*>(dialog_->fieldWidget(indexOfField(form_, field)));
    }

    AnalysisState state = makeDefaultState();
    QStringList errors;

private:
    Form form_;
    std::unique_ptr<FormDialog> dialog_;
};

// Each kind of field: a range of the form itself (classic message in the box), an integer count, a
// positive bound, a min and max pair and the family's size. The box shows `box`, the line below the
// fields names the field by its caption; then a good value closes the dialog and is stored.
TEST_F(DialogValidation, ABadValueKeepsTheDialogOpenOnTheFieldAndAGoodOneIsStored) {
    struct Row {
        int model;  // -1: the matching criteria
        const char* field;
        const char* bad;
        const char* box;
        const char* line;
        const char* good;
    };
    const Row rows[] = {
        {-1, "maxIterations", "70000", "Please enter a number between 0 and 65535.",
         "Maximum Number of Iteration: Please enter a number between 0 and 65535.", "40"},
        {2, "tcLeakyRbCount", "101",
         "No. of Points (r/B): enter at most 100: a family holds at most 100 curves.",
         "No. of Points (r/B): enter at most 100: a family holds at most 100 curves.", "100"},
        {0, "tcTheisCount", "1", "No. of points: enter an integer of at least 2.",
         "No. of points: enter an integer of at least 2.", "2"},
        {0, "tcTheisMin", "0", "1/u (min): enter a number greater than 0.",
         "1/u (min): enter a number greater than 0.", "0.5"},
        {0, "tcTheisMin", "20000", "1/u (min): enter a number not above the maximum (10000).",
         "1/u (min): enter a number not above the maximum (10000).", "10000"},
        {5, "tcSlugAlphaMax", "-1", "max (alpha): enter a number greater than 0.",
         "max (alpha): enter a number greater than 0.", "0.25"},
        {1, "tcPpCount", "7000",
         "No. of Points (1/u): enter at most 6553 with 10 curves: the document cannot save more points.",
         "No. of Points (1/u): enter at most 6553 with 10 curves: the document cannot save more points.",
         "6553"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        state = makeDefaultState();
        errors.clear();
        state.modelKind = std::max(row.model, 0);
        const AnalysisState before = state;
        FormDialog& dialog = open(row.model < 0 ? matchingCriteriaForm() : *typeCurveRangeForm(row.model));
        QLineEdit& field = edit(row.field);
        typeInto(field, QString::fromLatin1(row.bad));
        clickOk(dialog);
        EXPECT_EQ(errors, QStringList{QString::fromUtf8(row.box)});
        EXPECT_EQ(dialog.problemText(), QString::fromUtf8(row.line));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.focusWidget(), &field);
        EXPECT_EQ(field.selectedText(), QString::fromLatin1(row.bad));
        EXPECT_EQ(state.maxIterations, before.maxIterations);  // nothing stored
        EXPECT_EQ(state.tcTheisMin, before.tcTheisMin);
        EXPECT_EQ(state.tcLeakyRbCount, before.tcLeakyRbCount);

        typeInto(field, QString::fromLatin1(row.good));
        clickOk(dialog);
        EXPECT_EQ(errors.size(), 1);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(dialog.problemText().isEmpty());
        const Form shown = row.model < 0 ? matchingCriteriaForm() : *typeCurveRangeForm(row.model);
        EXPECT_EQ(loadFormTexts(shown, state)[indexOfField(shown, row.field)], row.good);
    }
}

// A choice the command refuses: the radio group takes the focus on its selected button.
TEST_F(DialogValidation, ARefusedChoiceTakesTheFocusOnItsSelectedButton) {
    Form form;
    form.title = "Observation point";
    form.fields = {radioField(160, "ppObsKind", {"Piezometer", "Observation well"}),
                   floatField(161, "l/b", "ppPiezoL")};
    form.laterCheck = [](const AnalysisState& s) -> std::optional<FieldFault> {
        if (s.ppObsKind == 1) return FieldFault{"ppObsKind", "choose the piezometer for this test"};
        return std::nullopt;
    };
    state.ppObsKind = 0;
    FormDialog& dialog = open(form);
    const QList<QRadioButton*> buttons = dialog.fieldWidget(0)->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    clickOk(dialog);
    EXPECT_EQ(
        errors,
        QStringList{QStringLiteral("Piezometer / Observation well: choose the piezometer for this test.")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), buttons[1]);
    EXPECT_EQ(state.ppObsKind, 0);
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    clickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// The dialogs take a decimal comma as they always did (the comma being the number's only separator),
// whatever the locale; under a comma locale too. A comma with a point is no number.
TEST_F(DialogValidation, ADecimalCommaIsTakenUnderACommaLocale) {
    tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "the locale " << tolvex::testing::kCommaLocale << " is not installed";
    state.modelKind = 2;
    FormDialog& dialog = open(*typeCurveRangeForm(2));
    typeInto(edit("tcLeakyRbMin"), QStringLiteral("1.000,5"));
    clickOk(dialog);
    EXPECT_EQ(errors, QStringList{QStringLiteral("Please enter a number.")});
    EXPECT_EQ(dialog.problemText(), QStringLiteral("min (r/B): Please enter a number."));
    EXPECT_EQ(dialog.focusWidget(), &edit("tcLeakyRbMin"));
    // 0,5 above the maximum of 5 is not; 0,05 is.
    typeInto(edit("tcLeakyRbMin"), QStringLiteral("7,5"));
    clickOk(dialog);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors.last(), QStringLiteral("min (r/B): enter a number not above the maximum (5)."));
    typeInto(edit("tcLeakyRbMin"), QStringLiteral("0,05"));
    clickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(state.tcLeakyRbMin, 0.05f);
}

// The whole command in the window's own dialogs: the range dialog refuses the bad count itself (the
// command's message after the dialog never comes), then the family is computed from the mended value.
TEST(DialogValidationInTheCommand, TheTypeCurveRangeDialogRefusesBeforeItCloses) {
    AnalysisState state = makeDefaultState();
    state.modelKind = 5;
    GuiInteraction ui;
    QStringList errors;
    QStringList lines;
    int ticks = 0;
    QTimer driver;
    // Each tick acts on the modal dialog open at that moment: first a bad count, then a good one.
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<FormDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        dialog->showError = [&](QWidget*, const QString& message) { errors << message; };
        // The alpha axis comes first in the slug-test dialog: its count is the third control.
        auto* count = dialog->findChild<QLineEdit*>(QStringLiteral("field%1").arg(kFirstAxisId + 2));
        if (count == nullptr) return;
        typeInto(*count, ++ticks == 1 ? QStringLiteral("1") : QStringLiteral("4"));
        clickOk(*dialog);
        lines << dialog->problemText();
    });
    driver.start(20);
    const CommandOutcome outcome = typeCurveCalculation(state, ui);
    driver.stop();
    EXPECT_EQ(outcome, CommandOutcome::Done);
    EXPECT_EQ(errors, QStringList{QStringLiteral("No. of Points (alpha): enter an integer of at least 2.")});
    EXPECT_EQ(lines.first(), errors.first());
    EXPECT_EQ(state.tcSlugAlphaCount, 4);
    EXPECT_EQ(state.familyCount, 4);
    EXPECT_EQ(state.typeCurvesReady, 1);
}

// The slug-test heads dialog names its numbers itself; a refused one takes the cursor, selected.
TEST(SlugHeadValidation, ARefusedNumberIsSelectedForRetyping) {
    struct Row {
        const char* h0;
        const char* level;
        const char* message;
        bool h0AtFault;
    };
    const Row rows[] = {
        {"-2", "0", "H0 must be a positive number: \"-2\".", true},
        {"1,5", "level", "The static level must be a number: \"level\".", false},
    };
    for (const Row& row : rows) {
        SlugHead head;
        SlugHeadDialog dialog(head);
        QStringList errors;
        dialog.showError = [&errors](QWidget*, const QString& message) { errors << message; };
        dialog.show();
        dialog.referenceButton(SlugHead::Reference::Number)->setChecked(true);
        dialog.levelsBox()->setChecked(true);
        typeInto(*dialog.h0Edit(), QString::fromLatin1(row.h0));
        typeInto(*dialog.staticLevelEdit(), QString::fromLatin1(row.level));
        clickOk(dialog);
        QLineEdit* bad = row.h0AtFault ? dialog.h0Edit() : dialog.staticLevelEdit();
        EXPECT_EQ(errors, QStringList{QString::fromLatin1(row.message)});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), bad);
        EXPECT_EQ(bad->selectedText(), bad->text());
        EXPECT_EQ(head, SlugHead{});
    }
}

}  // namespace
}  // namespace tolvex::gui
