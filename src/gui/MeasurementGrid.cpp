#include "gui/MeasurementGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <algorithm>

#include "core/input/MeasurementTable.h"

namespace tolvex::gui {
namespace {

constexpr int kColumnCount = kTableColumns;
// Column widths of 1000 and 1100 twips at 96 dots per inch.
constexpr int kNumberColumnWidth = 67;
constexpr int kDataColumnWidth = 74;

QTableWidgetItem* numberItem(int row) {
    auto* item = new QTableWidgetItem(QString::fromStdString(tableRowNumberText(row + 1)));
    // The "No." column is fixed: it can be neither current nor edited.
    item->setFlags(Qt::NoItemFlags);
    item->setBackground(QApplication::palette().button());
    item->setForeground(QApplication::palette().buttonText());
    return item;
}

}  // namespace

QStringList splitPastedLine(const QString& line) {
    // Spreadsheets separate cells by tabs and may leave some empty; text files use blanks or semicolons.
    static const QRegularExpression blanksOrSemicolons(QStringLiteral("[;\\s]+"));
    QStringList cells = line.contains(QLatin1Char('\t'))
                            ? line.split(QLatin1Char('\t'))
                            : line.trimmed().split(blanksOrSemicolons, Qt::SkipEmptyParts);
    for (QString& cell : cells) cell = cell.trimmed();
    return cells;
}

MeasurementGrid::MeasurementGrid(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(kColumnCount);
    QStringList headers;
    for (int c = 0; c < kColumnCount; ++c) headers << QString::fromStdString(tableHeaderText(c));
    setHorizontalHeaderLabels(headers);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->hide();
    setColumnWidth(kColumnNumber, kNumberColumnWidth);
    for (int c = kColumnTime; c < kColumnCount; ++c) setColumnWidth(c, kDataColumnWidth);
    horizontalHeader()->setStretchLastSection(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::EditKeyPressed);
}

void MeasurementGrid::setDataCell(int row, int column, const QString& text) {
    if (QTableWidgetItem* existing = item(row, column)) {
        existing->setText(text);
        return;
    }
    setItem(row, column, new QTableWidgetItem(text));
}

void MeasurementGrid::setCalculatedCell(int row, const QString& text) {
    setDataCell(row, kColumnCalculated, text);
    // Shown and copied, but an estimation's result, not an entry: it cannot be edited.
    item(row, kColumnCalculated)->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
}

void MeasurementGrid::setRowCountKeepingNumbers(int count) {
    const int old = rowCount();
    setRowCount(count);
    for (int r = old; r < count; ++r) {
        setItem(r, kColumnNumber, numberItem(r));
        setDataCell(r, kColumnTime, QString{});
        setDataCell(r, kColumnMeasured, QString{});
        setCalculatedCell(r, QString{});
    }
}

void MeasurementGrid::setRows(const std::vector<GridRow>& rows, QPoint current) {
    setRowCount(0);
    setRowCountKeepingNumbers(static_cast<int>(rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        const GridRow& row = rows[static_cast<std::size_t>(r)];
        setDataCell(r, kColumnTime, row.time);
        setDataCell(r, kColumnMeasured, row.measured);
        setCalculatedCell(r, row.calculated);
    }
    // Columns are at least as wide as the grid's own widths, wider where a header or a value needs it.
    resizeColumnsToContents();
    setColumnWidth(kColumnNumber, std::max(columnWidth(kColumnNumber), kNumberColumnWidth));
    for (int c = kColumnTime; c < kColumnCount; ++c)
        setColumnWidth(c, std::max(columnWidth(c), kDataColumnWidth));
    if (current.x() >= 0 && current.x() < rowCount() && current.y() >= kColumnTime &&
        current.y() < kColumnCount)
        setCurrentCell(current.x(), current.y());
}

QString MeasurementGrid::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell == nullptr ? QString{} : cell->text();
}

std::vector<GridRow> MeasurementGrid::rows() const {
    std::vector<GridRow> result;
    result.reserve(static_cast<std::size_t>(rowCount()));
    for (int r = 0; r < rowCount(); ++r)
        result.push_back(
            {cellText(r, kColumnTime), cellText(r, kColumnMeasured), cellText(r, kColumnCalculated)});
    return result;
}

int MeasurementGrid::pasteText(const QString& text) {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\\r\\n|\\n|\\r")));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    if (lines.isEmpty()) return 0;
    const int firstRow = std::max(currentRow(), 0);
    // From "Drawdown(c)", which takes nothing, a block of pairs goes to the row's time, a column of
    // values to its measured drawdown.
    int firstColumn = currentColumn();
    if (firstColumn == kColumnCalculated)
        firstColumn = splitPastedLine(lines.first()).size() > 1 ? kColumnTime : kColumnMeasured;
    firstColumn = std::clamp(firstColumn, static_cast<int>(kColumnTime), static_cast<int>(kColumnMeasured));
    const int needed = firstRow + static_cast<int>(lines.size());
    const int oldCount = rowCount();
    if (needed > oldCount) setRowCountKeepingNumbers(needed);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList cells = splitPastedLine(lines[i]);
        for (int c = 0; c < cells.size() && firstColumn + c <= kColumnMeasured; ++c)
            setDataCell(firstRow + i, firstColumn + c, cells[c]);
    }
    if (needed > oldCount) emit rowCountGrown(oldCount, rowCount());
    return static_cast<int>(lines.size());
}

void MeasurementGrid::copySelection() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) return;
    const QTableWidgetSelectionRange& range = ranges.first();
    QStringList lines;
    for (int r = range.topRow(); r <= range.bottomRow(); ++r) {
        QStringList cells;
        for (int c = range.leftColumn(); c <= range.rightColumn(); ++c) cells << cellText(r, c).trimmed();
        lines << cells.join(QLatin1Char('\t'));
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void MeasurementGrid::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Paste)) {
            pasteText(QApplication::clipboard()->text());
            return;
        }
        if (event->matches(QKeySequence::Copy)) {
            copySelection();
            return;
        }
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && currentIndex().isValid() && (currentIndex().flags() & Qt::ItemIsEditable)) {
            edit(currentIndex());
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

}  // namespace tolvex::gui
