// "Time-drawdown input dialog box": the measurement table in a grid, the count button with its dialog and
// the used range "Data use from No." / "to". OK applies the table rules of the core; Cancel stores nothing
// from the grid (a count change made meanwhile stays, as the rules say).
#pragma once

#include <QDialog>
#include <functional>

#include "core/state/AnalysisState.h"

class QLineEdit;
class QPushButton;

namespace tolvex::gui {

class MeasurementGrid;
class FormDialog;

class MeasurementTableDialog : public QDialog {
    Q_OBJECT
public:
    MeasurementTableDialog(AnalysisState& state, QWidget* parent = nullptr);

    [[nodiscard]] MeasurementGrid* grid() const { return grid_; }
    [[nodiscard]] QPushButton* countButton() const { return countButton_; }
    [[nodiscard]] QLineEdit* fromEdit() const { return from_; }
    [[nodiscard]] QLineEdit* toEdit() const { return to_; }

    // Shows a refusal; a warning box unless replaced (the tests record the message instead).
    std::function<void(QWidget* parent, const QString& message)> showError;
    // Runs the count dialog; replaced by the tests to answer it.
    std::function<void(FormDialog&)> runCountDialog;

public slots:
    void accept() override;

private:
    void fill();
    void askCount();
    [[nodiscard]] bool readRange(QLineEdit* edit, int& value);

    AnalysisState& state_;
    MeasurementGrid* grid_ = nullptr;
    QPushButton* countButton_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
};

}  // namespace tolvex::gui
