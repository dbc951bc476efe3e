// "Drawdown-time from pumping test": asks for the number of measurements of the table.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace tolvex::gui {

class CountDialog : public QDialog {
    Q_OBJECT
public:
    CountDialog(int count, QWidget* parent = nullptr);

    // The entered count, truncated to an integer; valid after OK.
    [[nodiscard]] int count() const { return count_; }
    [[nodiscard]] QLineEdit* edit() const { return edit_; }

    // Shows a refusal; a warning box unless replaced (the tests record the message instead).
    std::function<void(QWidget* parent, const QString& message)> showError;

public slots:
    void accept() override;

private:
    QLineEdit* edit_ = nullptr;
    int count_ = 0;
};

}  // namespace tolvex::gui
