// "Simulation is progressing !!!": the date and time, "Number of iterations" and the counter of a running
// computation. Its Cancel asks the computation to stop; the window stays until the computation has
// actually returned, so that its result is never committed while the worker still writes it.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tolvex::gui {

class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    // Shows the counter k and refreshes the date and time.
    void step(int k);

    [[nodiscard]] QString timeText() const;
    [[nodiscard]] QString captionText() const;
    [[nodiscard]] QString counterText() const;
    [[nodiscard]] bool cancelRequested() const { return cancelRequested_; }

signals:
    void cancelClicked();
    void stepped(int k);

public slots:
    // Cancel, Escape and the close box all come here: they request the stop but do not close.
    void reject() override;

private:
    void showNow();

    QLabel* time_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* counter_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool cancelRequested_ = false;
};

// The local date and time in the standard calendar form, e.g. "Mon Dec  7 21:26:07 2026".
[[nodiscard]] QString calendarTimeText();

}  // namespace tolvex::gui
