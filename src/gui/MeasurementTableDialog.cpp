#include "gui/MeasurementTableDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>

#include "core/commands/DataForms.h"
#include "core/input/Import.h"
#include "core/input/ImportText.h"
#include "core/input/MeasurementTable.h"
#include "core/io/FileBytes.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/units/Units.h"
#include "gui/FormDialog.h"
#include "gui/ImportDialog.h"
#include "gui/MeasurementGrid.h"
#include "gui/MessageBoxes.h"
#include "gui/SlugHeadDialog.h"

namespace tolvex::gui {

MeasurementTableDialog::MeasurementTableDialog(AnalysisState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    showError = [](QWidget* owner, const QString& message) { showWarning(owner, message); };
    runCountDialog = [](FormDialog& dialog) { dialog.exec(); };
    setWindowTitle(QStringLiteral("Time-drawdown input dialog box"));

    auto* layout = new QVBoxLayout(this);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("No. of Measurements"), this));
    countButton_ = new QPushButton(this);
    countButton_->setAutoDefault(false);
    connect(countButton_, &QPushButton::clicked, this, &MeasurementTableDialog::askCount);
    countRow->addWidget(countButton_);
    countRow->addStretch();
    chooseImportFile = [](QWidget* owner) {
        return QFileDialog::getOpenFileName(owner, QStringLiteral("Import with Options"), QString(),
                                            QStringLiteral("Data files (*.dat *.txt *.csv);;All files (*)"));
    };
    runImportDialog = [](ImportDialog& dialog) { dialog.exec(); };
    importButton_ = new QPushButton(QStringLiteral("Import with Options..."), this);
    importButton_->setAutoDefault(false);
    connect(importButton_, &QPushButton::clicked, this, &MeasurementTableDialog::importWithOptions);
    countRow->addWidget(importButton_);
    runSlugHeadDialog = [](SlugHeadDialog& dialog) { dialog.exec(); };
    slugHeadButton_ = new QPushButton(QStringLiteral("Slug-test heads..."), this);
    slugHeadButton_->setAutoDefault(false);
    slugHeadButton_->setVisible(state_.modelKind == static_cast<int>(ModelKind::SlugTest) ||
                                state_.modelKind == static_cast<int>(ModelKind::BouwerRice));
    connect(slugHeadButton_, &QPushButton::clicked, this, &MeasurementTableDialog::editSlugHeads);
    countRow->addWidget(slugHeadButton_);
    layout->addLayout(countRow);

    grid_ = new MeasurementGrid(this);
    grid_->setMinimumSize(330, 300);
    connect(grid_, &MeasurementGrid::rowCountGrown, this, &MeasurementTableDialog::rowsPasted);
    layout->addWidget(grid_);
    pasteNote_ = new QLabel(this);
    pasteNote_->setWordWrap(true);
    pasteNote_->hide();
    layout->addWidget(pasteNote_);

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(QStringLiteral("Data use from No."), this));
    from_ = new QLineEdit(this);
    from_->setObjectName(QStringLiteral("field174"));
    rangeRow->addWidget(from_);
    rangeRow->addWidget(new QLabel(QStringLiteral("to"), this));
    to_ = new QLineEdit(this);
    to_->setObjectName(QStringLiteral("field175"));
    rangeRow->addWidget(to_);
    layout->addLayout(rangeRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // Enter belongs to the grid (it starts and commits edits), so no button is the default.
    for (QAbstractButton* button : buttons->buttons())
        if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &MeasurementTableDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MeasurementTableDialog::reject);
    layout->addWidget(buttons);

    prepareMeasurementTable(state_);
    fill();
    grid_->setFocus();
}

void MeasurementTableDialog::fill() {
    const MeasurementTableContent content = measurementTableContent(state_);
    countButton_->setText(QString::asprintf("%d", content.count));
    std::vector<GridRow> rows(static_cast<std::size_t>(content.count));
    // The current cell ends where filling the grid ends: the last calculated drawdown when there are any,
    // otherwise the last measured one.
    QPoint current(content.count - 1, kColumnMeasured);
    for (std::size_t r = 0; r < rows.size() && kCellsPerRow * r + 2 < content.cellTexts.size(); ++r) {
        const std::size_t first = kCellsPerRow * r;
        rows[r] = {QString::fromStdString(content.cellTexts[first]),
                   QString::fromStdString(content.cellTexts[first + 1]),
                   QString::fromStdString(content.cellTexts[first + 2])};
        if (!rows[r].calculated.isEmpty()) current = QPoint(static_cast<int>(r), kColumnCalculated);
    }
    grid_->setRows(rows, current);
    from_->setText(QString::number(content.rangeFrom));
    to_->setText(QString::number(content.rangeTo));
    pasteNote_->hide();
}

void MeasurementTableDialog::rowsPasted(int oldCount, int count) {
    // The pasted rows are measurements: the count grows with them, and a range that reached the last
    // row reaches the new last row, so nothing pasted is silently left out of the analysis.
    countButton_->setText(QString::asprintf("%d", count));
    QString note =
        QStringLiteral("The paste added rows %1 to %2: %2 measurements").arg(oldCount + 1).arg(count);
    const std::optional<long long> to = parseInteger(to_->text().toStdString());
    if (to && *to == oldCount) {
        to_->setText(QString::number(count));
        note += QStringLiteral(", data used to No. %1").arg(count);
    }
    pasteNote_->setText(note + QLatin1Char('.'));
    pasteNote_->show();
}

void MeasurementTableDialog::askCount() {
    // The count form resizes the table itself on OK (the count rules); the grid then shows the result.
    // The form carries the dialog's two lines about the axes.
    const Form form = measurementCountForm(state_.allCount);
    FormDialog dialog(form, state_, this);
    runCountDialog(dialog);
    if (dialog.result() == QDialog::Accepted) fill();
}

void MeasurementTableDialog::importWithOptions() {
    const QString path = chooseImportFile(this);
    if (path.isEmpty()) return;
    const FileRead file = readFileBytes(path.toStdString(), kMaxImportBytes);
    if (!file.bytes) {
        showError(
            this,
            QStringLiteral("Cannot open input file!\n%1: %2").arg(path, QString::fromStdString(file.error)));
        return;
    }
    ImportText decoded = decodeImportText(*file.bytes);
    if (!decoded.text) {
        showError(this, QStringLiteral("\"%1\" %2.").arg(path, QString::fromStdString(decoded.error)));
        return;
    }
    ImportDialog dialog(std::move(*decoded.text), state_.units, QFileInfo(path).fileName(), this);
    runImportDialog(dialog);
    if (dialog.result() != QDialog::Accepted || !dialog.reading().error.empty()) return;
    const ImportReading& r = dialog.reading();
    if (r.times.size() > static_cast<std::size_t>(kMaxMeasurements)) {
        showError(this, QStringLiteral("\"%1\" holds %2 measurements; at most %3 can be kept.")
                            .arg(path)
                            .arg(r.times.size())
                            .arg(kMaxMeasurements));
        return;
    }
    replaceMeasurements(state_, r.times, r.drawdowns);
    fill();
}

void MeasurementTableDialog::editSlugHeads() {
    // The dialog speaks the document's length unit; the state keeps SI when units are set.
    const DisplayUnits& units = state_.units;
    SlugHead shown = state_.firstSeries.head;
    shown.h0 = fromSI(shown.h0, Dimension::Length, units);
    shown.staticLevel = fromSI(shown.staticLevel, Dimension::Length, units);
    const SlugHead before = shown;
    SlugHeadDialog dialog(shown, this);
    runSlugHeadDialog(dialog);
    if (shown == before) return;  // untouched: no round trip through the units
    shown.h0 = toSI(shown.h0, Dimension::Length, units);
    shown.staticLevel = toSI(shown.staticLevel, Dimension::Length, units);
    state_.firstSeries.head = shown;
}

bool MeasurementTableDialog::readRange(QLineEdit* edit, int& value) {
    const std::optional<long long> parsed = parseInteger(edit->text().toStdString());
    if (!parsed || *parsed < INT_MIN || *parsed > INT_MAX) {
        showError(this, QStringLiteral("Please enter an integer."));
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        return false;
    }
    value = static_cast<int>(*parsed);
    return true;
}

void MeasurementTableDialog::accept() {
    int from = 0;
    int to = 0;
    if (!readRange(from_, from) || !readRange(to_, to)) return;
    // Rows added by a paste become measurements (the core extends the table), then every row takes
    // its texts; a cell that is not a number keeps the dialog open on that cell.
    std::vector<std::string> cellTexts;
    cellTexts.reserve(static_cast<std::size_t>(grid_->rowCount()) * kCellsPerRow);
    for (const GridRow& row : grid_->rows()) {
        cellTexts.push_back(row.time.toStdString());
        cellTexts.push_back(row.measured.toStdString());
        cellTexts.push_back(row.calculated.toStdString());
    }
    if (const auto refusal = confirmMeasurementTable(state_, cellTexts, from, to)) {
        showError(this, QString::fromStdString(refusal->message));
        grid_->setCurrentCell(refusal->row - 1, refusal->column);
        grid_->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}

}  // namespace tolvex::gui
