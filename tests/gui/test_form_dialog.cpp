// FormDialog: renders core forms, refuses what does not parse with the form's message while staying
// open, stores on OK and nothing on Cancel.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "core/commands/DataForms.h"
#include "core/commands/EstimationForms.h"
#include "core/commands/SettingsForms.h"
#include "gui/FormDialog.h"

namespace tolvex::gui {
namespace {

class FormDialogTest : public ::testing::Test {
protected:
    // Opens `form` on the state; refusals are recorded instead of shown.
    FormDialog& open(const Form& form) {
        form_ = form;
        dialog_ = std::make_unique<FormDialog>(form_, state);
        dialog_->showError = [this](QWidget*, const QString& message) { errors << message; };
        dialog_->show();
        return *dialog_;
    }
    [[nodiscard]] std::size_t indexOf(int id) const {
        for (std::size_t i = 0; i < form_.fields.size(); ++i)
            if (form_.fields[i].id == id) return i;
        throw std::logic_error("no such field");
    }
    [[nodiscard]] const Form& form() const { return form_; }
    [[nodiscard]] QString textOf(int id) const {
        return qobject_cast<QLineEdit*>(dialog_->fieldWidget(indexOf(id)))->text();
    }

    AnalysisState state = makeDefaultState();
    QStringList errors;

private:
    Form form_;
    std::unique_ptr<FormDialog> dialog_;
};

Form theisForm() {
    return *initialGuessForm(0);
}

TEST_F(FormDialogTest, OpensWithTheTitleLabelsAndValuesInSixSignificantDigits) {
    state.storativity = 1.0e-5f;
    state.pumpingRate = 75.53f;
    state.radialDistance = 1234567.0f;
    FormDialog& dialog = open(theisForm());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Theis confined aquifer"));
    EXPECT_EQ(textOf(104), QStringLiteral("1e-05"));
    EXPECT_EQ(textOf(102), QStringLiteral("75.53"));
    EXPECT_EQ(textOf(103), QStringLiteral("1.23457e+06"));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    for (const char* expected :
         {"Pumping rate (Q)", "Radial distance (r)", "Storativity (S)", "Transmissivity (T)"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(expected))) << expected;
}

TEST_F(FormDialogTest, LettersInANumberFieldAreRefusedAndTheDialogStaysOpenOnThatField) {
    FormDialog& dialog = open(theisForm());
    dialog.setFieldText(indexOf(104), QStringLiteral("abc"));
    dialog.setFieldText(indexOf(105), QStringLiteral("99"));
    const float before = state.transmissivity;
    dialog.accept();
    EXPECT_EQ(errors, QStringList{QStringLiteral("Please enter a number.")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.focusWidget(), dialog.fieldWidget(indexOf(104)));
    EXPECT_EQ(state.transmissivity, before);  // nothing is stored while one field is refused
}

TEST_F(FormDialogTest, OkStoresEveryFieldAndTheFormsOwnAction) {
    FormDialog& dialog = open(theisForm());
    dialog.setFieldText(indexOf(104), QStringLiteral("2e-4"));
    dialog.setFieldText(indexOf(105), QStringLiteral("12.5"));
    dialog.accept();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(state.storativity, 2e-4f);
    EXPECT_FLOAT_EQ(state.transmissivity, 12.5f);
    EXPECT_EQ(state.paramCount, 2);
    EXPECT_FLOAT_EQ(state.paramVector[1], 12.5f);
}

TEST_F(FormDialogTest, CancelStoresNothing) {
    const float before = state.storativity;
    FormDialog& dialog = open(theisForm());
    dialog.setFieldText(indexOf(104), QStringLiteral("0.5"));
    dialog.reject();
    EXPECT_EQ(state.storativity, before);
}

TEST_F(FormDialogTest, StorageDialogRefusesAZeroThicknessWithTheRangeMessage) {
    FormDialog& dialog = open(*initialGuessForm(4));
    dialog.setFieldText(indexOf(162), QStringLiteral("0"));
    dialog.accept();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.first(), QStringLiteral("Please enter a number between 1e-10 and 1e+10."));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.fieldWidget(indexOf(162)));
}

TEST_F(FormDialogTest, IntegerFieldsRefuseDecimalsWithTheIntegerMessage) {
    FormDialog& dialog = open(matchingCriteriaForm());
    dialog.setFieldText(0, QStringLiteral("2.5"));
    dialog.accept();
    EXPECT_EQ(errors, QStringList{QStringLiteral("Please enter an integer.")});
    dialog.setFieldText(0, QStringLiteral("5"));
    dialog.accept();
    EXPECT_EQ(state.maxIterations, 5);
    EXPECT_EQ(state.errorHistory.size(), 5u);
}

TEST_F(FormDialogTest, RadioGroupShowsTheStoredChoiceAndStoresTheNewOne) {
    state.modelKind = 9;
    FormDialog& dialog = open(modelSelectionForm());
    const auto buttons = dialog.findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 11);
    EXPECT_EQ(dialog.texts().front(), "9");
    const auto groups = dialog.findChildren<QButtonGroup*>();
    ASSERT_EQ(groups.size(), 1);
    // The buttons sit in the boxes of their aquifer kinds; the fourth is the leaky partially penetrating
    // well.
    EXPECT_EQ(groups.front()->button(3)->text(), QStringLiteral("A Partially Penetrating Well"));
    EXPECT_EQ(qobject_cast<QGroupBox*>(groups.front()->button(3)->parentWidget())->title(),
              QStringLiteral("A leaky confined aquifer"));
    groups.front()->button(3)->click();
    dialog.accept();
    EXPECT_EQ(state.modelKind, 3);
}

// The unconfined model's observation kinds: z/b serves only the point observation, z1/b and z2/b only the
// screen average; the other fields stay greyed out, follow each click, and are still stored.
TEST_F(FormDialogTest, UnconfinedGeometryFieldsFollowTheObservationKind) {
    state.mnObsKind = 0;
    FormDialog& dialog = open(*initialGuessForm(6));
    const auto enabled = [&](int id) { return dialog.fieldWidget(indexOf(id))->isEnabled(); };
    const auto* kinds = dialog.fieldWidget(indexOf(113))->findChild<QButtonGroup*>();
    ASSERT_NE(kinds, nullptr);
    ASSERT_EQ(kinds->buttons().size(), 3);
    const bool full[] = {false, false, false}, point[] = {true, false, false}, screen[] = {false, true, true};
    for (const auto& [kind, expected] : {std::pair{0, full}, {1, point}, {2, screen}, {0, full}}) {
        kinds->button(kind)->click();
        EXPECT_EQ(enabled(191), expected[0]) << "z/b, kind " << kind;
        EXPECT_EQ(enabled(194), expected[1]) << "z1/b, kind " << kind;
        EXPECT_EQ(enabled(195), expected[2]) << "z2/b, kind " << kind;
    }
    kinds->button(2)->click();
    dialog.setFieldText(indexOf(191), QStringLiteral("0.25"));
    dialog.accept();
    EXPECT_EQ(state.mnObsKind, 2);
    EXPECT_EQ(state.mnZ, 0.25f) << "a greyed-out field is still stored";
}

TEST_F(FormDialogTest, TextFieldsAreLineAndMultiLineEdits) {
    state.projectDescription = "Well field\nNorth";
    FormDialog& dialog = open(projectForm());
    const auto* description = qobject_cast<QPlainTextEdit*>(dialog.fieldWidget(1));
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->toPlainText(), QStringLiteral("Well field\nNorth"));
    dialog.setFieldText(0, QStringLiteral("A. Hydro"));
    dialog.accept();
    EXPECT_EQ(state.operatorName, "A. Hydro");
}

// Under any locale (this program also runs under de_DE.UTF-8) numbers show with a point, and a comma
// typed as the only separator is taken as the decimal point.
TEST_F(FormDialogTest, NumbersShowWithAPointAndTakeADecimalComma) {
    FormDialog& dialog = open(theisForm());
    EXPECT_EQ(textOf(102), QStringLiteral("75.53"));
    EXPECT_EQ(textOf(104), QStringLiteral("1e-05"));
    dialog.setFieldText(indexOf(105), QStringLiteral("1,234.5"));
    dialog.accept();
    EXPECT_EQ(errors, QStringList{QStringLiteral("Please enter a number.")});
    dialog.setFieldText(indexOf(105), QStringLiteral("12,5"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(state.transmissivity, 12.5f);
    EXPECT_EQ(state.pumpingRate, 75.53f);  // its own text taken back unchanged
}

TEST_F(FormDialogTest, NonPositiveValuesAreRefusedNamingTheField) {
    FormDialog& dialog = open(theisForm());
    dialog.setFieldText(indexOf(105), QStringLiteral("-8.8"));
    dialog.accept();
    EXPECT_EQ(errors,
              QStringList{QStringLiteral("Please enter a positive number for \"Transmissivity (T)\".")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.fieldWidget(indexOf(105)));
    EXPECT_EQ(state.transmissivity, 8.8f);
}

// The document keeps one Latin-1 byte per character: the dialog shows those bytes as the characters
// they stand for, gives them back unchanged, and refuses a character that Latin-1 cannot hold.
TEST_F(FormDialogTest, ProjectTextsCrossAsLatinOne) {
    state.operatorName = "M\xFCller";
    state.projectDescription =
        "12 \xB0"
        "C\nN\xE4he";
    FormDialog& dialog = open(projectForm());
    EXPECT_EQ(textOf(form().fields.front().id), QString::fromUtf8("M\xC3\xBCller"));
    dialog.accept();
    EXPECT_EQ(state.operatorName, "M\xFCller");
    EXPECT_EQ(state.projectDescription,
              "12 \xB0"
              "C\nN\xE4he");

    FormDialog& again = open(projectForm());
    again.setFieldText(0, QString::fromUtf8("Dvo\xC5\x99\xC3\xA1k"));
    again.accept();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(QStringLiteral("Operator's name"))) << errors.first().toStdString();
    EXPECT_TRUE(errors.first().contains(QChar(0x0159))) << errors.first().toStdString();
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(state.operatorName, "M\xFCller");
    again.setFieldText(0, QString::fromUtf8("Dvor\xC3\xA1k"));
    again.accept();
    EXPECT_EQ(state.operatorName, "Dvor\xE1k");
}

TEST_F(FormDialogTest, FieldsOfAGroupShareOneGroupBox) {
    FormDialog& dialog = open(*initialGuessForm(1));
    QStringList titles;
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>()) titles << box->title();
    titles.removeDuplicates();
    EXPECT_EQ(titles.size(), dialog.findChildren<QGroupBox*>().size());
}

TEST_F(FormDialogTest, NotesAreShownAsPlainTextAboveTheFields) {
    FormDialog& dialog = open(measurementCountForm(14));
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("1. Horizontal axis: Time")));
    EXPECT_TRUE(texts.contains(QStringLiteral("2. Vertical axis: drawdown")));
    EXPECT_TRUE(texts.contains(QStringLiteral("3. No. of Points")));
}

TEST_F(FormDialogTest, LaidOutInDisplayOrderButEachControlStillStoresItsOwnField) {
    FormDialog& dialog = open(*initialGuessForm(1));
    // The piezometer box shows l/b, d/b, z/b from top to bottom although the form parses d/b first.
    const auto* l = dialog.fieldWidget(indexOf(157));
    const auto* d = dialog.fieldWidget(indexOf(158));
    const auto* z = dialog.fieldWidget(indexOf(159));
    EXPECT_LT(l->mapTo(&dialog, QPoint()).y(), d->mapTo(&dialog, QPoint()).y());
    EXPECT_LT(d->mapTo(&dialog, QPoint()).y(), z->mapTo(&dialog, QPoint()).y());
    qobject_cast<QLineEdit*>(dialog.fieldWidget(indexOf(158)))->setText(QStringLiteral("0.125"));
    qobject_cast<QLineEdit*>(dialog.fieldWidget(indexOf(152)))->setText(QStringLiteral("12"));
    dialog.accept();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(state.ppPiezoD, 0.125f);
    EXPECT_EQ(state.pumpingRate, 12.0f);
    EXPECT_EQ(state.ppPiezoL, 0.75f);
}

}  // namespace
}  // namespace tolvex::gui
