// The time-drawdown table dialog and its grid: layout, in-place editing keys, the count button, the used
// range and pasting a spreadsheet block.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/FormDialog.h"
#include "gui/MeasurementGrid.h"
#include "gui/MeasurementTableDialog.h"

namespace tolvex::gui {
namespace {

class MeasurementTable : public ::testing::Test {
protected:
    MeasurementTableDialog& open() {
        dialog_ = std::make_unique<MeasurementTableDialog>(state);
        dialog_->showError = [this](QWidget*, const QString& message) { errors << message; };
        dialog_->show();
        return *dialog_;
    }
    [[nodiscard]] MeasurementGrid& grid() const { return *dialog_->grid(); }
    // The open in-place editor; a closed one may linger until its deferred deletion.
    [[nodiscard]] QLineEdit* editor() const {
        for (QLineEdit* edit : grid().findChildren<QLineEdit*>())
            if (edit->isVisible()) return edit;
        return nullptr;
    }
    [[nodiscard]] QPoint centreOf(int row, int column) const {
        return grid().visualRect(grid().model()->index(row, column)).center();
    }

    AnalysisState state = makeDefaultState();
    QStringList errors;

private:
    std::unique_ptr<MeasurementTableDialog> dialog_;
};

TEST_F(MeasurementTable, ShowsTheDefaultDataInTheGridLayout) {
    MeasurementTableDialog& dialog = open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Time-drawdown input dialog box"));
    EXPECT_EQ(dialog.countButton()->text(), QStringLiteral("14"));
    ASSERT_EQ(grid().rowCount(), 14);
    ASSERT_EQ(grid().columnCount(), 4);
    const char* headers[] = {"No.", "Time", "Drawdown(m)", "Drawdown(c)"};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid().horizontalHeaderItem(c)->text().trimmed(), QString::fromLatin1(headers[c]));
    EXPECT_EQ(grid().cellText(0, kColumnNumber), QStringLiteral("1"));
    EXPECT_EQ(grid().cellText(0, kColumnTime), QStringLiteral("5.0000 "));
    EXPECT_EQ(grid().cellText(0, kColumnMeasured), QStringLiteral("3.4100 "));
    EXPECT_EQ(grid().cellText(13, kColumnTime), QStringLiteral("600.0000"));
    EXPECT_EQ(grid().cellText(13, kColumnMeasured), QStringLiteral("6.4700 "));
    EXPECT_TRUE(grid().cellText(0, kColumnCalculated).isEmpty());
    EXPECT_EQ(dialog.fromEdit()->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.toEdit()->text(), QStringLiteral("14"));
    // Filling ends on the last measured drawdown, so typing right away edits that cell.
    EXPECT_EQ(grid().currentRow(), 13);
    EXPECT_EQ(grid().currentColumn(), kColumnMeasured);
}

TEST_F(MeasurementTable, CalculatedDrawdownsAppearOnlyAfterAnEstimation) {
    state.calculated.assign(static_cast<std::size_t>(state.usedCount), 1.5);
    state.plotContent = 1;
    open();
    EXPECT_TRUE(grid().cellText(0, kColumnCalculated).isEmpty());
    state.plotContent = 2;
    open();
    EXPECT_EQ(grid().cellText(0, kColumnCalculated), QStringLiteral("1.5000 "));
    EXPECT_EQ(grid().currentColumn(), kColumnCalculated);
}

TEST_F(MeasurementTable, TypingACharacterStartsAnEditHoldingIt) {
    open();
    grid().setCurrentCell(2, kColumnTime);
    QTest::keyClick(&grid(), Qt::Key_7);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("7"));
    QTest::keyClick(editor(), Qt::Key_Return);
    QCoreApplication::processEvents();  // the item delegate commits through a queued call
    EXPECT_EQ(grid().cellText(2, kColumnTime), QStringLiteral("7"));
}

TEST_F(MeasurementTable, EscapeLeavesTheCellUnchanged) {
    open();
    grid().setCurrentCell(2, kColumnTime);
    const QString before = grid().cellText(2, kColumnTime);
    QTest::keyClick(&grid(), Qt::Key_9);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid().cellText(2, kColumnTime), before);
}

TEST_F(MeasurementTable, DoubleClickAndEnterEditTheCellTextSelected) {
    open();
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, centreOf(4, kColumnMeasured));
    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, centreOf(4, kColumnMeasured));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->selectedText(), grid().cellText(4, kColumnMeasured));
    QTest::keyClick(editor(), Qt::Key_Escape);
    QCoreApplication::processEvents();

    grid().setCurrentCell(5, kColumnTime);
    QTest::keyClick(&grid(), Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->selectedText(), grid().cellText(5, kColumnTime));
}

TEST_F(MeasurementTable, TheNumberColumnCannotBeEdited) {
    open();
    EXPECT_FALSE(grid().item(0, kColumnNumber)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(grid().item(0, kColumnNumber)->flags() & Qt::ItemIsEnabled);
}

TEST_F(MeasurementTable, RaisingTheCountFrom14To16RepeatsTheLastRow) {
    MeasurementTableDialog& dialog = open();
    dialog.runCountDialog = [](FormDialog& count) {
        EXPECT_EQ(count.windowTitle(), QStringLiteral("Drawdown-time from pumping test"));
        EXPECT_EQ(count.texts().front(), "14");
        count.setFieldText(0, QStringLiteral("16"));
        count.accept();
    };
    dialog.countButton()->click();
    EXPECT_EQ(state.allCount, 16);
    EXPECT_EQ(dialog.countButton()->text(), QStringLiteral("16"));
    ASSERT_EQ(grid().rowCount(), 16);
    for (int row : {14, 15}) {
        EXPECT_EQ(grid().cellText(row, kColumnNumber), QString::number(row + 1));
        EXPECT_EQ(grid().cellText(row, kColumnTime), QStringLiteral("600.0000"));
        EXPECT_EQ(grid().cellText(row, kColumnMeasured), QStringLiteral("6.4700 "));
    }
}

TEST_F(MeasurementTable, ACountBelowOneIsRefusedAndTheDialogStaysOpen) {
    MeasurementTableDialog& dialog = open();
    QStringList countErrors;
    dialog.runCountDialog = [&](FormDialog& count) {
        count.showError = [&](QWidget*, const QString& message) { countErrors << message; };
        count.setFieldText(0, QStringLiteral("0"));
        count.accept();
        EXPECT_TRUE(count.isVisible() || count.result() != QDialog::Accepted);
        count.reject();
    };
    dialog.countButton()->click();
    EXPECT_EQ(countErrors.size(), 1);
    EXPECT_EQ(state.allCount, 14);
}

TEST_F(MeasurementTable, FromThreeToTenUsesEightMeasurements) {
    MeasurementTableDialog& dialog = open();
    dialog.fromEdit()->setText(QStringLiteral("3"));
    dialog.toEdit()->setText(QStringLiteral("10"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(state.usedCount, 8);
    EXPECT_EQ(state.times[0], state.allTimes[2]);
}

TEST_F(MeasurementTable, ARangeThatIsNotAnIntegerIsRefused) {
    MeasurementTableDialog& dialog = open();
    dialog.toEdit()->setText(QStringLiteral("ten"));
    dialog.accept();
    EXPECT_EQ(errors, QStringList{QStringLiteral("Please enter an integer.")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.toEdit());
}

TEST_F(MeasurementTable, OkTakesTheEditedCellsAndCancelDoesNot) {
    MeasurementTableDialog& dialog = open();
    grid().item(0, kColumnTime)->setText(QStringLiteral("4.5"));
    dialog.reject();
    EXPECT_EQ(state.allTimes[0], 5.0);
    MeasurementTableDialog& again = open();
    grid().item(0, kColumnTime)->setText(QStringLiteral("4.5"));
    again.accept();
    EXPECT_EQ(state.allTimes[0], 4.5);
    EXPECT_EQ(state.times[0], 4.5);
}

TEST_F(MeasurementTable, PastingASpreadsheetBlockFillsAndExtendsTheTable) {
    MeasurementTableDialog& dialog = open();
    grid().setCurrentCell(12, kColumnTime);
    EXPECT_EQ(grid().pasteText(QStringLiteral("700\t6.6\r\n800\t6.7\r\n900\t6.8\r\n")), 3);
    ASSERT_EQ(grid().rowCount(), 15);
    EXPECT_EQ(grid().cellText(14, kColumnNumber), QStringLiteral("15"));
    dialog.toEdit()->setText(QStringLiteral("15"));
    dialog.accept();
    EXPECT_EQ(state.allCount, 15);
    EXPECT_EQ(state.allTimes[12], 700.0);
    EXPECT_EQ(state.allDrawdowns[14], 6.8);
    EXPECT_EQ(state.usedCount, 15);
}

TEST(PastedLine, SplitsOnTabsKeepingEmptyCellsOrOnBlanksAndSemicolons) {
    EXPECT_EQ(splitPastedLine(QStringLiteral("1\t\t3")), (QStringList{"1", "", "3"}));
    EXPECT_EQ(splitPastedLine(QStringLiteral("  1   2;3 ")), (QStringList{"1", "2", "3"}));
}

}  // namespace
}  // namespace tolvex::gui
