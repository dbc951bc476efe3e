// The "Match type curves" window: the model's type curves with the measurements laid over them, moved
// by the mouse (drag the data cloud) or by the arrow keys (0.05 decade, with Shift 0.01). The match
// point and the curve under the data give the parameters, shown live here and in the results dock as a
// preview; "Accept match" makes them the start values (one undo entry), "Accept and fit" then runs
// least squares from them. Closing the window leaves the document as it was.
#pragma once

#include <QDialog>
#include <QPointF>

#include "core/diagnostics/MatchPoint.h"
#include "core/plot/MatchingPlot.h"

class QLabel;
class QPushButton;

namespace tolvex::gui {

class MainWindow;

class MatchingWindow : public QDialog {
    Q_OBJECT
public:
    explicit MatchingWindow(MainWindow& window);

    [[nodiscard]] MatchShift shift() const { return shift_; }
    void setShift(MatchShift shift);
    // Moves the data by (dx, dy) decades.
    void moveBy(double dx, double dy);
    [[nodiscard]] const plot::MatchView& view() const { return view_; }

    // The canvas the data are dragged on, and the pixel of the canvas where a point at (decadeX,
    // decadeY) of the type-curve axes is drawn (nothing to drag without a mapping: then (-1, -1)).
    [[nodiscard]] QWidget* canvas() const { return canvas_; }
    [[nodiscard]] QPointF pixelOf(double decadeX, double decadeY) const;
    // The inverse: the decades under a pixel of the canvas.
    [[nodiscard]] QPointF decadesAt(QPointF pixel) const;

    [[nodiscard]] QLabel* note() const { return note_; }
    [[nodiscard]] QLabel* parameters() const { return parameters_; }
    [[nodiscard]] QPushButton* acceptButton() const { return accept_; }
    [[nodiscard]] QPushButton* acceptAndFitButton() const { return acceptAndFit_; }
    [[nodiscard]] QPushButton* computeButton() const { return compute_; }

    // Writes the match into the document as start values; with `fit`, then runs least squares.
    void acceptMatch(bool fit);

protected:
    void done(int result) override;

private:
    void rebuild();
    void computeTypeCurves();
    void showParameters();

    MainWindow& window_;
    MatchShift shift_;
    plot::MatchView view_;
    QWidget* canvas_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* parameters_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* acceptAndFit_ = nullptr;
    QPushButton* compute_ = nullptr;
};

// The Interpretation menu's "Match type curves..." item, which opens the window afresh.
void addMatchingCommand(MainWindow& window);

}  // namespace tolvex::gui
