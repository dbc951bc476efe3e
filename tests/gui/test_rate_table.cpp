// The "Rate steps" table: rows shown and read back, rows added and removed, a bad row refused with its
// number (and the dialog left open), comma decimals under a comma locale, and the schedule stored into
// the window's analysis with an Undo entry and the change mark.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>

#include "core/persist/Document.h"
#include "gui/MainWindow.h"
#include "gui/RateTableDialog.h"
#include "gui/RecoveryView.h"
#include "gui/ScriptedGuiInteraction.h"
#include "gui/UndoHistory.h"

namespace tolvex::gui {
namespace {

void setCell(RateTableDialog& dialog, int row, int column, const char* text) {
    dialog.table()->setItem(row, column, new QTableWidgetItem(QString::fromUtf8(text)));
}

// A dialog whose rows hold the texts given, then OK.
std::unique_ptr<RateTableDialog> acceptedWith(const std::vector<std::pair<const char*, const char*>>& rows) {
    auto dialog = std::make_unique<RateTableDialog>(std::vector<RateStep>{});
    for (const auto& [time, rate] : rows) {
        dialog->addRow();
        const int row = dialog->table()->rowCount() - 1;
        setCell(*dialog, row, 0, time);
        setCell(*dialog, row, 1, rate);
    }
    dialog->accept();
    return dialog;
}

TEST(RateTable, ShowsTheStepsAndReadsThemBackExactly) {
    const std::vector<RateStep> steps{{0.0, 0.004}, {600.0, 1.0 / 3.0}, {1800.0, 0.0}};
    RateTableDialog dialog(steps);
    ASSERT_EQ(dialog.table()->rowCount(), 3);
    EXPECT_EQ(dialog.table()->item(1, 0)->text(), QStringLiteral("600"));
    EXPECT_EQ(dialog.table()->item(0, 1)->text(), QStringLiteral("0.004")) << "a decimal point in any locale";
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.steps(), steps) << "the shown texts read back to the same doubles";
}

TEST(RateTable, TheHeadersNameTheDocumentsUnits) {
    RateTableDialog plain({{0.0, 1.0}});
    EXPECT_EQ(plain.table()->horizontalHeaderItem(0)->text(), QStringLiteral("Time"));
    EXPECT_EQ(plain.table()->horizontalHeaderItem(1)->text(), QStringLiteral("Rate"));
    RateTableDialog withUnits({{0.0, 1.0}}, nullptr, DisplayUnits{"min", "m", "m3/d"});
    EXPECT_EQ(withUnits.table()->horizontalHeaderItem(0)->text(), QStringLiteral("Time [min]"));
    EXPECT_EQ(withUnits.table()->horizontalHeaderItem(1)->text(), QString::fromUtf8("Rate [m\u00b3/d]"));
}

TEST(RateTable, RowsAreAddedAfterTheCurrentOneAndRemoved) {
    RateTableDialog dialog({{0.0, 1.0}, {10.0, 2.0}, {20.0, 0.0}});
    dialog.table()->setCurrentCell(0, 0);
    dialog.addRow();
    EXPECT_EQ(dialog.table()->rowCount(), 4);
    EXPECT_EQ(dialog.table()->item(1, 0), nullptr) << "the new row follows the current one";
    dialog.removeRows();  // the new row is current
    dialog.table()->setCurrentCell(2, 1);
    dialog.removeRows();
    dialog.accept();
    EXPECT_EQ(dialog.steps(), (std::vector<RateStep>{{0.0, 1.0}, {10.0, 2.0}}));
}

struct BadRows {
    std::vector<std::pair<const char*, const char*>> rows;
    const char* message;
    int focusRow;
};

TEST(RateTable, ABadRowIsNamedAndTheDialogStaysOpen) {
    const BadRows cases[] = {
        {{{"0", "5"}, {"", "0"}}, "Row 2: the time is empty.", 1},
        {{{"0", "5"}, {"100", "abc"}}, "Row 2: the rate \"abc\" is not a number.", 1},
        {{{"0", "5"}, {"100", "0"}, {"50", "3"}}, "Row 3 starts at the time 50, not after row 2 (100)", 2},
        {{{"0", "5"}, {"100", "nan"}}, "Row 2", 1},
    };
    for (const BadRows& c : cases) {
        const auto dialog = acceptedWith(c.rows);
        EXPECT_NE(dialog->result(), QDialog::Accepted) << c.message;
        EXPECT_TRUE(dialog->errorLine()->text().startsWith(QString::fromUtf8(c.message)))
            << dialog->errorLine()->text().toStdString();
        EXPECT_EQ(dialog->table()->currentRow(), c.focusRow) << c.message;
        EXPECT_TRUE(dialog->steps().empty()) << "nothing is taken from a refused table";
    }
}

TEST(RateTable, TypedCommaDecimalsAndAnEmptyTableAreAccepted) {
    const auto typed = acceptedWith({{"0", "7,5"}, {"1,5e2", "0"}});
    EXPECT_EQ(typed->result(), QDialog::Accepted) << typed->errorLine()->text().toStdString();
    EXPECT_EQ(typed->steps(), (std::vector<RateStep>{{0.0, 7.5}, {150.0, 0.0}}));
    const auto none = acceptedWith({});
    EXPECT_EQ(none->result(), QDialog::Accepted);
    EXPECT_TRUE(none->steps().empty()) << "no rows: the constant pumping rate";
}

TEST(RateTable, TheScheduleIsStoredWithAnUndoEntryAndTheChangeMark) {
    AnalysisState state = makeDefaultState();
    MainWindow window(state, std::make_unique<testing::ScriptedGuiInteraction>());
    const auto* open = window.findChild<QAction*>(QStringLiteral("rateStepsAction"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), QStringLiteral("Rate steps..."));
    ASSERT_NE(window.findChild<QAction*>(QStringLiteral("agarwalAction")), nullptr);
    const std::string classic = documentBytes(state);
    ASSERT_FALSE(window.document().changed());

    applyRateSchedule(window, {{0.0, 0.01}, {3600.0, 0.0}});
    EXPECT_EQ(state.rateSchedule, (std::vector<RateStep>{{0.0, 0.01}, {3600.0, 0.0}}));
    EXPECT_TRUE(window.document().changed());
    EXPECT_NE(documentBytes(state), classic) << "the document keeps the history";
    ASSERT_TRUE(window.undoHistory().canUndo());
    window.undoHistory().undo();
    EXPECT_TRUE(state.rateSchedule.empty());
    EXPECT_EQ(documentBytes(state), classic);
}

// Readings at 1000 s and 3600 s of pumping and 400 s and 3600 s after the stop at 3600 s.
AnalysisState recoveryReadings() {
    AnalysisState s = makeDefaultState();
    s.allTimes = {1000.0, 3600.0, 4000.0, 7200.0};
    s.allDrawdowns = {1.0, 1.5, 0.6, 0.25};
    s.allCount = 4;
    s.useFrom = 1, s.useTo = 4;
    s.rateSchedule = {{0.0, 0.02}, {3600.0, 0.0}};
    return s;
}

TEST(RateTable, ARecoveryBecomesAgarwalsDrawdownRecord) {
    AnalysisState s = recoveryReadings();
    ASSERT_FALSE(convertRecoveryToAgarwal(s));
    ASSERT_EQ(s.allCount, 2);
    // t_e = t_p t'/(t_p + t'): 3600 * 400/4000 and 3600 * 3600/7200; recovery 1.5 - s'.
    EXPECT_DOUBLE_EQ(s.allTimes[0], 360.0);
    EXPECT_DOUBLE_EQ(s.allTimes[1], 1800.0);
    EXPECT_DOUBLE_EQ(s.allDrawdowns[0], 0.9);
    EXPECT_DOUBLE_EQ(s.allDrawdowns[1], 1.25);
    EXPECT_EQ(s.usedCount, 2);
    EXPECT_EQ(s.pumpingRate, 0.02f) << "the record is that of the rate before the stop";
    EXPECT_TRUE(s.rateSchedule.empty());
}

TEST(RateTable, AgarwalsViewIsRefusedWithoutARecoveryAndNothingChanges) {
    const auto refused = [](AnalysisState s, const char* message) {
        const std::string before = documentBytes(s);
        const auto error = convertRecoveryToAgarwal(s);
        ASSERT_TRUE(error) << message;
        EXPECT_NE(error->find(message), std::string::npos) << *error;
        EXPECT_EQ(documentBytes(s), before);
    };
    AnalysisState s = recoveryReadings();
    s.rateSchedule = {{0.0, 0.02}};
    refused(s, "hold no recovery");
    s = recoveryReadings();
    s.allTimes[0] = 3700.0, s.allTimes[1] = 3800.0;
    refused(s, "as early as the stop");
    s = recoveryReadings();
    s.allCount = 2;
    refused(s, "later than the stop");
}

}  // namespace
}  // namespace tolvex::gui
