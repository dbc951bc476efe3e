// The observation series of the analysis as a dock beside the plot: one row per series with its name,
// radial distance, on/off switch and weight, the first row being the classic series of the measurement
// table. Series are added from a text file (the measurement import's rules), removed, switched, given a
// distance, weight or observation geometry; a further series' measurements open in a table of their own.
#pragma once

#include <QDockWidget>
#include <QString>
#include <optional>

#include "core/state/AnalysisState.h"

class QTableWidget;
class QPushButton;

namespace tolvex::gui {

class SeriesPanel : public QDockWidget {
    Q_OBJECT
public:
    enum Column { Name = 0, Distance, On, Weight, ColumnCount };

    explicit SeriesPanel(AnalysisState& state, QWidget* parent = nullptr);

    // Shows the series as the state holds them now, and the dock itself when further series appear.
    void refresh();
    [[nodiscard]] QTableWidget* table() const { return table_; }

    // Adds the series of a time-drawdown file with the given distance; the reason when it cannot, the
    // state unchanged.
    std::optional<QString> addSeriesFromFile(const QString& path, const QString& name, double radialDistance);
    // Removes further series `row` (the first series stays); false for the first row or no such row.
    bool removeSeries(int row);
    // The observation geometry of further series `row` as typed texts: ppObsKind ppPiezoZ ppObsL ppObsD
    // lppObsKind lppPiezoZ lppObsL lppObsD mnObsKind mnZ mnZ1 mnZ2; the reason when a text is no number.
    std::optional<QString> setGeometry(int row, const QStringList& texts);

signals:
    // The series changed: the document is modified and the plot must follow.
    void changed();
    // Something the user typed was refused; the cell shows the value kept.
    void refused(const QString& reason);

private:
    void cellEdited(int row, int column);
    void addFromChosenFile();
    void removeSelected();
    void editGeometry();
    void showMeasurements();
    void fillRow(int row, const QString& name, float r, bool on, double weight);
    [[nodiscard]] int selectedRow() const;

    AnalysisState& state_;
    QTableWidget* table_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* geometry_ = nullptr;
    QPushButton* measurements_ = nullptr;
    bool filling_ = false;        // refresh() is writing the cells: no edits to take over
    std::size_t shownCount_ = 0;  // further series at the last refresh
};

}  // namespace tolvex::gui
