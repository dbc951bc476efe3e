// The "Import with Options" dialog: its preview follows the options as they change, OK only while the
// whole file reads, a static level with a decimal comma; and the table dialog's button that opens it
// replaces the table with what was read. Expected values: the fixture's own numbers.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <fstream>

#include <QRadioButton>
#include "core/state/ModelKind.h"
#include "gui/ImportDialog.h"
#include "gui/MeasurementTableDialog.h"
#include "gui/SlugHeadDialog.h"

namespace tolvex::gui {
namespace {

const char* kLogger =
    "Logger;Diver\nSerial;77\nWell;OW-2\nUnit;m\nTime;Temp;Level\n08:00;11,2;25,40\n08:01;11,2;25,20\n"
    "08:03;11,3;24,90\n";

QString cell(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item == nullptr ? QString() : item->text();
}

TEST(ImportDialog, ThePreviewFollowsTheOptions) {
    ImportDialog dialog(kLogger, {}, QStringLiteral("logger.csv"));
    // Clock times are not elapsed numbers: at first no line reads with any delimiter.
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    EXPECT_TRUE(
        dialog.statusLabel()->text().startsWith(QStringLiteral("Cannot import: No line has numbers")));
    EXPECT_EQ(cell(dialog.previewTable(), 5, 1), QStringLiteral("not read"));

    dialog.timeFormatBox()->setCurrentIndex(1);  // clock times: semicolons and five header lines detected
    EXPECT_EQ(dialog.reading().delimiter, ';');
    EXPECT_EQ(dialog.reading().headerLines, 5);
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    EXPECT_EQ(cell(dialog.previewTable(), 0, 1), QStringLiteral("header (skipped)"));
    EXPECT_EQ(cell(dialog.previewTable(), 6, 1), QStringLiteral("t = 1, s = 11.2"));
    EXPECT_EQ(cell(dialog.previewTable(), 6, 4), QStringLiteral("25,20"));

    dialog.valueColumnBox()->setValue(3);
    dialog.valuesBox()->setCurrentIndex(1);  // water levels: no static level yet
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    EXPECT_TRUE(dialog.staticLevelEdit()->isEnabled());
    dialog.staticLevelEdit()->setText(QStringLiteral("25,40"));  // a decimal comma, as typed in Germany
    ASSERT_TRUE(dialog.okButton()->isEnabled()) << dialog.statusLabel()->text().toStdString();
    const ImportReading& r = dialog.reading();
    EXPECT_EQ(r.times, (std::vector<double>{0.0, 1.0, 3.0}));
    ASSERT_EQ(r.drawdowns.size(), 3u);
    EXPECT_NEAR(r.drawdowns[1], 0.20, 1e-12);
    EXPECT_NEAR(r.drawdowns[2], 0.50, 1e-12);

    dialog.startEdit()->setText(QStringLiteral("08:01"));
    EXPECT_EQ(dialog.reading().beforeStart, 1u);
    EXPECT_TRUE(dialog.statusLabel()->text().contains(QStringLiteral("1 before the start left out")));

    dialog.detectHeaderBox()->setChecked(false);  // takes the detected count, then as given
    EXPECT_EQ(dialog.headerLinesBox()->value(), 5);
    dialog.headerLinesBox()->setValue(4);  // the column titles are read as data: refused by line
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    EXPECT_TRUE(dialog.statusLabel()->text().contains(QStringLiteral("Line 5")));
}

class ImportFromTable : public ::testing::Test {
protected:
    std::string writeFile(const char* text) {
        const std::string path = folder.filePath(QStringLiteral("logger.csv")).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    QTemporaryDir folder;
    AnalysisState state = makeDefaultState();
    QStringList errors;
};

TEST_F(ImportFromTable, AnAcceptedImportReplacesTheTable) {
    const std::string path = writeFile(kLogger);
    MeasurementTableDialog table(state);
    table.showError = [this](QWidget*, const QString& message) { errors << message; };
    table.chooseImportFile = [&](QWidget*) { return QString::fromStdString(path); };
    table.runImportDialog = [](ImportDialog& dialog) {
        dialog.timeFormatBox()->setCurrentIndex(1);
        dialog.valueColumnBox()->setValue(3);
        dialog.valuesBox()->setCurrentIndex(2);  // depths to water
        dialog.staticLevelEdit()->setText(QStringLiteral("25"));
        dialog.accept();
    };
    table.importButton()->click();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(table.countButton()->text(), QStringLiteral("3"));
    EXPECT_EQ(state.allTimes, (std::vector<double>{0.0, 1.0, 3.0}));
    ASSERT_EQ(state.allDrawdowns.size(), 3u);
    EXPECT_NEAR(state.allDrawdowns[0], 0.40, 1e-12);
    EXPECT_EQ(table.toEdit()->text(), QStringLiteral("3"));
}

TEST_F(ImportFromTable, ACancelledImportOrAnUnreadableFileChangesNothing) {
    const AnalysisState before = state;
    MeasurementTableDialog table(state);
    table.showError = [this](QWidget*, const QString& message) { errors << message; };
    const std::string path = writeFile(kLogger);
    table.chooseImportFile = [&](QWidget*) { return QString::fromStdString(path); };
    table.runImportDialog = [](ImportDialog& dialog) { dialog.reject(); };
    table.importButton()->click();
    EXPECT_EQ(state.allTimes, before.allTimes);
    EXPECT_EQ(table.countButton()->text(), QStringLiteral("14"));

    table.chooseImportFile = [&](QWidget*) { return folder.filePath(QStringLiteral("missing.csv")); };
    table.importButton()->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Cannot open input file!")));
    EXPECT_EQ(state.allDrawdowns, before.allDrawdowns);
}

struct HeadAnswer {
    SlugHead::Reference reference;
    const char* h0;
    bool levels;
    const char* staticLevel;
    bool accepted;
    SlugHead expected;  // the setting after the dialog
};

TEST(SlugHeadDialog, StoresTheSettingOnlyWhenEveryNumberReads) {
    using R = SlugHead::Reference;
    const std::vector<HeadAnswer> answers = {
        {R::Number, "0,5", false, "0", true, {R::Number, 0.5, false, 0.0}},  // a decimal comma
        {R::FirstValue, "x", true, "12.25", true, {R::FirstValue, 1.0, true, 12.25}},
        {R::Number, "-2", false, "0", false, {}},
        {R::One, "1", true, "level", false, {}},
    };
    for (const HeadAnswer& a : answers) {
        SlugHead head;
        SlugHeadDialog dialog(head);
        QStringList errors;
        dialog.showError = [&errors](QWidget*, const QString& message) { errors << message; };
        dialog.referenceButton(a.reference)->setChecked(true);
        dialog.h0Edit()->setText(QString::fromLatin1(a.h0));
        dialog.levelsBox()->setChecked(a.levels);
        dialog.staticLevelEdit()->setText(QString::fromLatin1(a.staticLevel));
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, a.accepted) << a.h0 << " " << a.staticLevel;
        EXPECT_EQ(errors.isEmpty(), a.accepted);
        EXPECT_EQ(head, a.expected) << a.h0 << " " << a.staticLevel;
    }
}

TEST(SlugHeadDialog, TheTableOffersItForTheSlugTestModelsOnly) {
    AnalysisState state = makeDefaultState();
    EXPECT_TRUE(MeasurementTableDialog(state).slugHeadButton()->isHidden());
    state.modelKind = static_cast<int>(ModelKind::BouwerRice);
    MeasurementTableDialog table(state);
    EXPECT_FALSE(table.slugHeadButton()->isHidden());
    table.runSlugHeadDialog = [](SlugHeadDialog& dialog) {
        dialog.referenceButton(SlugHead::Reference::FirstValue)->setChecked(true);
        dialog.accept();
    };
    table.slugHeadButton()->click();
    EXPECT_EQ(state.firstSeries.head.reference, SlugHead::Reference::FirstValue);
}

// With units the dialog shows and takes H0 in the document's length unit; the state keeps metres.
TEST(SlugHeadDialog, SpeaksTheDocumentsLengthUnit) {
    AnalysisState state = makeDefaultState();
    state.modelKind = static_cast<int>(ModelKind::SlugTest);
    state.units = DisplayUnits{"min", "ft", "m3/s"};
    state.firstSeries.head.reference = SlugHead::Reference::Number;
    state.firstSeries.head.h0 = 0.3048;  // 1 ft
    MeasurementTableDialog table(state);
    QString shown;
    table.runSlugHeadDialog = [&shown](SlugHeadDialog& dialog) {
        shown = dialog.h0Edit()->text();
        dialog.h0Edit()->setText(QStringLiteral("2"));
        dialog.accept();
    };
    table.slugHeadButton()->click();
    EXPECT_EQ(shown, QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(state.firstSeries.head.h0, 2 * 0.3048);
}

}  // namespace
}  // namespace tolvex::gui
