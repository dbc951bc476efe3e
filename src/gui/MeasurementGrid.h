// The grid of the time-drawdown table: a fixed "No." column and the columns "Time", "Drawdown(m)" and
// "Drawdown(c)". Typing a character starts a new value holding that character; double-click or Enter
// edits the cell's text, selected; Enter commits and Escape discards. A block of cells copied from a
// spreadsheet is pasted at the current cell, adding rows when it is longer than the table.
// "Drawdown(c)" shows what an estimation calculated: it can be selected and copied, never edited.
#pragma once

#include <QStringList>
#include <QTableWidget>
#include <vector>

namespace tolvex::gui {

// Columns of the grid.
enum GridColumn : int { kColumnNumber = 0, kColumnTime = 1, kColumnMeasured = 2, kColumnCalculated = 3 };

struct GridRow {
    QString time;
    QString measured;
    QString calculated;
};

class MeasurementGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit MeasurementGrid(QWidget* parent = nullptr);

    // Replaces the whole table; the current cell becomes `current` (row, column) when it is valid.
    void setRows(const std::vector<GridRow>& rows, QPoint current = {-1, -1});
    [[nodiscard]] std::vector<GridRow> rows() const;
    [[nodiscard]] QString cellText(int row, int column) const;

    // Pastes tab-, semicolon- or blank-separated text at the current cell (the first data row when there is
    // none) into "Time" and "Drawdown(m)"; what would fall into "Drawdown(c)" is left out. Rows beyond
    // the end of the table are added. Returns the number of rows pasted.
    int pasteText(const QString& text);

signals:
    // Rows were added by a paste; the table had `oldCount` rows and now has `count`.
    void rowCountGrown(int oldCount, int count);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setRowCountKeepingNumbers(int count);
    void setDataCell(int row, int column, const QString& text);
    void setCalculatedCell(int row, const QString& text);
    void copySelection() const;
};

// One line of a pasted block split into its cells: tabs, semicolons or runs of blanks separate them.
[[nodiscard]] QStringList splitPastedLine(const QString& line);

}  // namespace tolvex::gui
