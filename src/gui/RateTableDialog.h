// "Rate steps": the pumping well's history as a table of (time, rate) rows, one step a row, from its
// time on until the next; recovery is a last step to rate 0, and an empty table is the constant
// pumping rate from time 0. OK checks every row and names the first bad one, which takes the focus.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "core/pumping/RateStep.h"
#include "core/units/DisplayUnits.h"

class QLabel;
class QTableWidget;

namespace tolvex::gui {

class MainWindow;

class RateTableDialog : public QDialog {
    Q_OBJECT
public:
    // `steps` are in the document's `units`, which the column headers name ("Time [min]", "Rate [m³/d]").
    explicit RateTableDialog(const std::vector<RateStep>& steps, QWidget* parent = nullptr,
                             const DisplayUnits& units = {});

    [[nodiscard]] QTableWidget* table() const { return table_; }
    // The refusal of the last OK, shown under the table (empty when none).
    [[nodiscard]] QLabel* errorLine() const { return error_; }
    // The steps of the rows, set when OK accepted them.
    [[nodiscard]] const std::vector<RateStep>& steps() const { return steps_; }

    // A new empty row after the current one (at the end when none is current).
    void addRow();
    // Removes the selected rows (the current one when none is selected).
    void removeRows();

public slots:
    void accept() override;

private:
    [[nodiscard]] std::optional<QString> readRows(std::vector<RateStep>& steps);

    QTableWidget* table_ = nullptr;
    QLabel* error_ = nullptr;
    std::vector<RateStep> steps_;
};

// Stores `steps` as the window's rate schedule: one Undo entry, the document marked as changed when
// they differ from the steps it had.
void applyRateSchedule(MainWindow& window, std::vector<RateStep> steps);

// The items "Rate steps..." (this dialog) and "Recovery as drawdowns (Agarwal)" (RecoveryView.h) of the
// Interpretation menu, after "Input drawdowns".
void addPumpingHistoryCommands(MainWindow& window);

}  // namespace tolvex::gui
