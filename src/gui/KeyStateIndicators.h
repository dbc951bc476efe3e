// The status bar's "CAP", "NUM" and "SCRL" panes: each shows its text while its lock key is on. The lock
// states come from the X keyboard extension when the program runs on X11; elsewhere they stay off.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

namespace tolvex::gui {

class KeyStateIndicators : public QObject {
    Q_OBJECT
public:
    // Adds the three panes to the right end of `bar`.
    explicit KeyStateIndicators(QStatusBar* bar);

    void update();
    [[nodiscard]] QLabel* caps() const { return caps_; }
    [[nodiscard]] QLabel* num() const { return num_; }
    [[nodiscard]] QLabel* scroll() const { return scroll_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* caps_ = nullptr;
    QLabel* num_ = nullptr;
    QLabel* scroll_ = nullptr;
};

}  // namespace tolvex::gui
