// The Units dialog and what it changes in the window: the numbers already entered are read in the chosen
// units, the forms and the table speak them (also under a comma locale), and Undo takes the change back.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "core/commands/CommandIds.h"
#include "core/commands/EstimationForms.h"
#include "core/input/MeasurementTable.h"
#include "core/persist/Document.h"
#include "core/state/CommaLocale.h"
#include "gui/FormDialog.h"
#include "gui/MainWindow.h"
#include "gui/ScriptedGuiInteraction.h"
#include "gui/UnitsDialog.h"

namespace tolvex::gui {
namespace {

// Picks the item whose text is `label` ("m³/d"); fails the test when there is none.
void pick(QComboBox* box, const QString& label) {
    const int index = box->findText(label);
    ASSERT_GE(index, 0) << label.toStdString();
    box->setCurrentIndex(index);
}

TEST(UnitsDialog, OpensOnNoneWithTheChoicesDisabled) {
    UnitsDialog dialog(DisplayUnits{});
    EXPECT_TRUE(dialog.noneButton()->isChecked());
    EXPECT_FALSE(dialog.timeBox()->isEnabled());
    EXPECT_FALSE(dialog.chosen().set());
    EXPECT_EQ(dialog.timeBox()->count(), 4);
    EXPECT_EQ(dialog.lengthBox()->count(), 5);
    EXPECT_EQ(dialog.rateBox()->count(), 7);
    dialog.unitsButton()->setChecked(true);
    EXPECT_TRUE(dialog.rateBox()->isEnabled());
    pick(dialog.timeBox(), QStringLiteral("min"));
    pick(dialog.rateBox(), QStringLiteral("US gpm"));
    EXPECT_EQ(dialog.chosen(), (DisplayUnits{"min", "m", "gpm"}));
}

TEST(UnitsDialog, OpensOnTheDocumentsUnits) {
    UnitsDialog dialog(DisplayUnits{"d", "ft", "ft3/d"});
    EXPECT_TRUE(dialog.unitsButton()->isChecked());
    EXPECT_EQ(dialog.lengthBox()->currentText(), QStringLiteral("ft"));
    EXPECT_EQ(dialog.rateBox()->currentText(), QStringLiteral("ft³/d"));
    EXPECT_EQ(dialog.chosen(), (DisplayUnits{"d", "ft", "ft3/d"}));
    dialog.noneButton()->setChecked(true);
    EXPECT_FALSE(dialog.chosen().set());
}

// Answers the Units dialog as soon as its exec() shows it.
void answerUnitsDialog(const std::function<void(UnitsDialog&)>& answer) {
    QTimer::singleShot(10, [answer] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<UnitsDialog*>(widget);
            if (dialog != nullptr && dialog->isVisible()) return answer(*dialog);
        }
        answerUnitsDialog(answer);
    });
}

QString labelOf(FormDialog& dialog, QWidget* field) {
    for (auto* layout : dialog.findChildren<QFormLayout*>()) {
        if (auto* label = qobject_cast<QLabel*>(layout->labelForField(field))) return label->text();
    }
    return {};
}

TEST(UnitsInTheWindow, ChosenUnderACommaLocaleReadTheNumbersInThemAndUndoTakesThemBack) {
    tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "the locale " << tolvex::testing::kCommaLocale << " is not installed";
    AnalysisState state = makeDefaultState();
    auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
    MainWindow window(state, std::move(scripted));
    const std::string before = documentBytes(state);

    answerUnitsDialog([](UnitsDialog& dialog) {
        dialog.unitsButton()->setChecked(true);
        pick(dialog.timeBox(), QStringLiteral("min"));
        pick(dialog.lengthBox(), QStringLiteral("m"));
        pick(dialog.rateBox(), QStringLiteral("m³/d"));
        dialog.accept();
    });
    window.runCommand(kCmdUnits);
    EXPECT_EQ(state.units, (DisplayUnits{"min", "m", "m3/d"}));
    EXPECT_EQ(state.pumpingRate, static_cast<float>(75.53 / 86400.0));
    EXPECT_EQ(state.allTimes[0], 300.0);  // 5 min
    EXPECT_TRUE(window.document().changed());

    // The Theis dialog shows the numbers as entered, with their units, and reads a decimal comma.
    const Form theis = *initialGuessForm(0);
    FormDialog dialog(theis, state);
    dialog.showError = [](QWidget*, const QString& message) { ADD_FAILURE() << message.toStdString(); };
    dialog.show();
    auto* rate = qobject_cast<QLineEdit*>(dialog.fieldWidget(0));
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(rate->text(), QStringLiteral("75.53"));
    EXPECT_EQ(labelOf(dialog, rate), QStringLiteral("Pumping rate (Q) (m³/d)"));
    EXPECT_EQ(labelOf(dialog, dialog.fieldWidget(3)), QStringLiteral("Transmissivity (T) (m²/min)"));
    EXPECT_EQ(labelOf(dialog, dialog.fieldWidget(2)), QStringLiteral("Storativity (S)"));
    rate->setText(QStringLiteral("108763,2"));
    dialog.accept();
    EXPECT_EQ(state.pumpingRate, static_cast<float>(108763.2 / 86400.0));
    EXPECT_EQ(measurementTableContent(state).cellTexts[0], "5.0000 ");

    // Undo restores the document as it was before the units' change (the form above was opened outside
    // the window's commands, so it is part of the same step).
    window.action(kCmdEditUndo)->trigger();
    EXPECT_EQ(documentBytes(state), before);
    EXPECT_FALSE(state.units.set());
}

TEST(UnitsInTheWindow, CancelChangesNothing) {
    AnalysisState state = makeDefaultState();
    MainWindow window(state, std::make_unique<testing::ScriptedGuiInteraction>());
    const std::string before = documentBytes(state);
    answerUnitsDialog([](UnitsDialog& dialog) {
        dialog.unitsButton()->setChecked(true);
        dialog.reject();
    });
    window.runCommand(kCmdUnits);
    EXPECT_EQ(documentBytes(state), before);
    EXPECT_FALSE(window.action(kCmdEditUndo)->isEnabled());
}

}  // namespace
}  // namespace tolvex::gui
