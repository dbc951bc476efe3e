// The time-drawdown table dialog and its grid: layout, in-place editing keys, the count button, the used
// range and pasting a spreadsheet block.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QHeaderView>
#include <QLabel>
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
        // The two lines about the axes, once each.
        QStringList lines;
        for (const QLabel* label : count.findChildren<QLabel*>()) lines << label->text();
        EXPECT_EQ(lines.count(QStringLiteral("1. Horizontal axis: Time")), 1)
            << lines.join('|').toStdString();
        EXPECT_EQ(lines.count(QStringLiteral("2. Vertical axis: drawdown")), 1);
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

// A paste that adds rows raises the count, and the used range when it ended at the last row; the
// table says so, and OK takes the pasted rows into the analysis.
TEST_F(MeasurementTable, PastingASpreadsheetBlockFillsAndExtendsTheTable) {
    MeasurementTableDialog& dialog = open();
    EXPECT_TRUE(dialog.pasteNote()->isHidden());
    grid().setCurrentCell(12, kColumnTime);
    EXPECT_EQ(grid().pasteText(QStringLiteral("700\t6.6\r\n800\t6.7\r\n900\t6.8\r\n")), 3);
    ASSERT_EQ(grid().rowCount(), 15);
    EXPECT_EQ(grid().cellText(14, kColumnNumber), QStringLiteral("15"));
    EXPECT_EQ(dialog.countButton()->text(), QStringLiteral("15"));
    EXPECT_EQ(dialog.toEdit()->text(), QStringLiteral("15"));
    EXPECT_FALSE(dialog.pasteNote()->isHidden());
    EXPECT_EQ(dialog.pasteNote()->text(),
              QStringLiteral("The paste added rows 15 to 15: 15 measurements, data used to No. 15."));
    dialog.accept();
    EXPECT_EQ(state.allCount, 15);
    EXPECT_EQ(state.allTimes[12], 700.0);
    EXPECT_EQ(state.allDrawdowns[14], 6.8);
    EXPECT_EQ(state.usedCount, 15);
    EXPECT_EQ(state.times.back(), 900.0);

    // A range that ends before the last row stays where the user put it.
    MeasurementTableDialog& again = open();
    again.toEdit()->setText(QStringLiteral("10"));
    grid().setCurrentCell(14, kColumnTime);
    grid().pasteText(QStringLiteral("1000 7\n2000 7.5\n"));
    EXPECT_EQ(again.countButton()->text(), QStringLiteral("16"));
    EXPECT_EQ(again.toEdit()->text(), QStringLiteral("10"));
    EXPECT_EQ(again.pasteNote()->text(), QStringLiteral("The paste added rows 16 to 16: 16 measurements."));
}

// Times in days and small drawdowns come back from an unchanged table to the bit.
TEST_F(MeasurementTable, OkOnAnUnchangedTableKeepsEveryValue) {
    const std::vector<double> times{5.8e-5, 1.2e-4, 6.9444e-4, 1.0 / 3.0};
    const std::vector<double> drawdowns{1e-5, 0.00012345, 0.1 + 0.2, 7.25};
    state.allTimes = state.times = times;
    state.allDrawdowns = state.measured = drawdowns;
    state.allCount = state.usedCount = state.useTo = 4;
    state.calculated.assign(4, 0.0);
    MeasurementTableDialog& dialog = open();
    EXPECT_EQ(grid().cellText(0, kColumnTime).trimmed(), QStringLiteral("5.8e-05"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(state.allTimes, times);
    EXPECT_EQ(state.allDrawdowns, drawdowns);
    EXPECT_EQ(state.times, times);
}

// Text that is not a number is refused, naming row and column, and the cell takes the focus; a lone
// decimal comma is a number.
TEST_F(MeasurementTable, ACellThatIsNotANumberIsRefused) {
    MeasurementTableDialog& dialog = open();
    grid().item(4, kColumnMeasured)->setText(QStringLiteral("abc"));
    grid().item(2, kColumnTime)->setText(QStringLiteral("12,5"));
    dialog.accept();
    EXPECT_EQ(errors, QStringList{QStringLiteral("Row 5, column \"Drawdown(m)\": \"abc\" is not a number.")});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(grid().currentRow(), 4);
    EXPECT_EQ(grid().currentColumn(), kColumnMeasured);
    EXPECT_EQ(state.allTimes[2], 15.0);
    grid().item(4, kColumnMeasured)->setText(QStringLiteral("4,5"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(state.allTimes[2], 12.5);
    EXPECT_EQ(state.allDrawdowns[4], 4.5);
}

// "Drawdown(c)" is an estimation's result: read-only, and empty for data never fitted.
TEST_F(MeasurementTable, CalculatedColumnIsReadOnlyAndEmptyForDataNeverFitted) {
    state.plotContent = 2;
    state.calculated.assign(14, 0.0);
    open();
    EXPECT_TRUE(grid().cellText(0, kColumnCalculated).isEmpty());
    state.calculated.assign(14, 2.5);
    open();
    EXPECT_EQ(grid().cellText(3, kColumnCalculated).trimmed(), QStringLiteral("2.5000"));
    EXPECT_FALSE(grid().item(3, kColumnCalculated)->flags() & Qt::ItemIsEditable);
    grid().setCurrentCell(3, kColumnCalculated);
    QTest::keyClick(&grid(), Qt::Key_7);
    EXPECT_EQ(editor(), nullptr);
    // A paste from there fills the row's time and drawdown, never the calculated column.
    grid().pasteText(QStringLiteral("44\t5.5\t9.9\n"));
    EXPECT_EQ(grid().cellText(3, kColumnTime), QStringLiteral("44"));
    EXPECT_EQ(grid().cellText(3, kColumnMeasured), QStringLiteral("5.5"));
    EXPECT_EQ(grid().cellText(3, kColumnCalculated).trimmed(), QStringLiteral("2.5000"));
}

TEST(PastedLine, SplitsOnTabsKeepingEmptyCellsOrOnBlanksAndSemicolons) {
    EXPECT_EQ(splitPastedLine(QStringLiteral("1\t\t3")), (QStringList{"1", "", "3"}));
    EXPECT_EQ(splitPastedLine(QStringLiteral("  1   2;3 ")), (QStringList{"1", "2", "3"}));
}

}  // namespace
}  // namespace tolvex::gui
