// "Time-drawdown input dialog box": the measurement table in a grid, the count button with its dialog and
// the used range "Data use from No." / "to". OK applies the table rules of the core: a cell that is not a
// number is refused, naming its row and column, and takes the focus. Cancel stores nothing from the grid
// (a count change made meanwhile stays, as the rules say). A paste that adds rows raises the count shown
// and, when the used range ended at the last row, its end; a line under the grid says so.
#pragma once

#include <QDialog>
#include <functional>

#include "core/state/AnalysisState.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvex::gui {

class MeasurementGrid;
class FormDialog;
class ImportDialog;
class SlugHeadDialog;

class MeasurementTableDialog : public QDialog {
    Q_OBJECT
public:
    MeasurementTableDialog(AnalysisState& state, QWidget* parent = nullptr);

    [[nodiscard]] MeasurementGrid* grid() const { return grid_; }
    [[nodiscard]] QPushButton* countButton() const { return countButton_; }
    [[nodiscard]] QLineEdit* fromEdit() const { return from_; }
    [[nodiscard]] QLineEdit* toEdit() const { return to_; }
    // The line that tells what a paste added (hidden until then).
    [[nodiscard]] QLabel* pasteNote() const { return pasteNote_; }

    // Shows a refusal; a warning box unless replaced (the tests record the message instead).
    std::function<void(QWidget* parent, const QString& message)> showError;
    // Runs the count dialog; replaced by the tests to answer it.
    std::function<void(FormDialog&)> runCountDialog;
    // "Import with Options...": the file (empty: none chosen) and the dialog; replaced by the tests.
    // An accepted import replaces the table at once, as a count change does.
    std::function<QString(QWidget* parent)> chooseImportFile;
    std::function<void(ImportDialog&)> runImportDialog;
    [[nodiscard]] QPushButton* importButton() const { return importButton_; }
    // "Slug-test heads..." (shown for the slug-test models): how the values become H/H0; the dialog is
    // run by this, replaced by the tests. Its OK stores the setting at once.
    std::function<void(SlugHeadDialog&)> runSlugHeadDialog;
    [[nodiscard]] QPushButton* slugHeadButton() const { return slugHeadButton_; }

public slots:
    void accept() override;

private:
    void fill();
    void askCount();
    void importWithOptions();
    void editSlugHeads();
    [[nodiscard]] bool readRange(QLineEdit* edit, int& value);
    void rowsPasted(int oldCount, int count);

    AnalysisState& state_;
    MeasurementGrid* grid_ = nullptr;
    QPushButton* countButton_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* slugHeadButton_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLabel* pasteNote_ = nullptr;
};

}  // namespace tolvex::gui
