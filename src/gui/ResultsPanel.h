// The results of the last estimation as a dock beside the plot: model, method, each fitted parameter
// with its unit, standard error, 95 % interval and fit-setting marks, the quantities a closed-form method
// derives (Jacob's line, Bouwer and Rice's Re and coefficients), RMS error, iterations and convergence,
// and the warnings. "Copy as text" puts the summary on the clipboard for a note or an e-mail, "Copy as
// table" as tab-separated rows for a spreadsheet. The dock shows itself after every estimation; it says
// when the data or the model changed after the fit.
#pragma once

#include <QDockWidget>
#include <QString>
#include <string>
#include <vector>

#include "core/plot/MatchingPlot.h"
#include "core/state/AnalysisState.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace tolvex::gui {

class MainWindow;

class ResultsPanel : public QDockWidget {
    Q_OBJECT
public:
    enum Column { Quantity = 0, Value, Unit, StandardError, Interval, Note, ColumnCount };

    explicit ResultsPanel(const AnalysisState& state, QWidget* parent = nullptr);

    // Shows the state's summary as it is now (or that there is none), and the dock itself when the
    // summary is another than at the last refresh (a new fit, a document opened with saved results).
    void refresh();

    [[nodiscard]] QTableWidget* table() const { return table_; }
    [[nodiscard]] QLabel* header() const { return header_; }
    [[nodiscard]] QLabel* staleNote() const { return stale_; }
    [[nodiscard]] QLabel* warnings() const { return warnings_; }
    [[nodiscard]] QPushButton* copyTextButton() const { return copyText_; }
    [[nodiscard]] QPushButton* copyTableButton() const { return copyTable_; }
    [[nodiscard]] QLabel* preview() const { return preview_; }

    // The parameters of a visual match the user is still moving, shown above the results and marked as
    // not accepted; the stored summary stays as it is. clearPreview() takes them away again.
    void showMatchPreview(const std::vector<plot::MatchRow>& rows, const QString& curve = {});
    void clearPreview();

    // What the two buttons put on the clipboard; empty without a summary.
    [[nodiscard]] QString summaryText() const;
    [[nodiscard]] QString summaryTable() const;

private:
    // Shows the dock wide enough for the table, up to 45 % of the window.
    void showWide();
    void addRow(const QStringList& cells);
    void fill(const ResultSummary& summary);

    const AnalysisState& state_;
    std::string shownTable_;  // the summary at the last refresh, as its table
    QLabel* header_ = nullptr;
    QLabel* stale_ = nullptr;
    QLabel* preview_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* warnings_ = nullptr;
    QPushButton* copyText_ = nullptr;
    QPushButton* copyTable_ = nullptr;
};

// The window's results dock (on the right, hidden until the first estimation or a document with saved
// results) and its "Results" toggle in the View menu.
ResultsPanel* addResultsPanel(MainWindow& window);

}  // namespace tolvex::gui
