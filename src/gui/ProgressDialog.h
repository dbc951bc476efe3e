// "Simulation is progressing !!!": the date and time, "Number of iterations" and the counter of a running
// computation. Its Cancel asks the computation to stop; the window stays until the computation has
// actually returned, so that its result is never committed while the worker still writes it.
// When the computation says what it counts and how far it goes, the counter row gives way to a line
// that says so ("curve 7 of 20", "iteration 12 of 50") above a bar; otherwise the bar only shows that
// the program is busy.
#pragma once

#include <QDialog>

#include "core/jobs/Job.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tolvex::gui {

class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    // Shows the counter k and refreshes the date and time.
    void step(int k);
    // What the counter counts from now on (see ProgressCount).
    void setCount(const ProgressCount& count);

    [[nodiscard]] QString timeText() const;
    [[nodiscard]] QString captionText() const;
    [[nodiscard]] QString counterText() const;
    // "curve 7 of 20"; empty while the unit is not known.
    [[nodiscard]] QString countText() const;
    [[nodiscard]] const QProgressBar& bar() const { return *bar_; }
    [[nodiscard]] bool cancelRequested() const { return cancelRequested_; }

signals:
    void cancelClicked();
    void stepped(int k);

public slots:
    // Cancel, Escape and the close box all come here: they request the stop but do not close.
    void reject() override;

private:
    void showNow();
    void showCount(int k);

    QLabel* time_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* counter_ = nullptr;
    QWidget* counterRow_ = nullptr;
    QLabel* count_ = nullptr;
    QProgressBar* bar_ = nullptr;
    ProgressCount unit_;
    QPushButton* cancel_ = nullptr;
    bool cancelRequested_ = false;
};

// The local date and time in the standard calendar form, e.g. "Mon Dec  7 21:26:07 2026".
[[nodiscard]] QString calendarTimeText();

// "curve 7 of 20", "iteration 12", or empty for a counter of unknown unit; the number is clamped to the
// total (a search that reports its final check as one pass more than its limit still ends on the limit).
[[nodiscard]] QString progressCountText(const ProgressCount& count, int k);

}  // namespace tolvex::gui
