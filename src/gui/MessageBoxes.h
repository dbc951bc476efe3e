// The program's message boxes: failures with the exclamation icon and OK, its one question with the
// question icon and Yes/No. All carry the program's name as their title.
#pragma once

#include <QString>

class QWidget;

namespace tolvex::gui {

void showWarning(QWidget* parent, const QString& text);
[[nodiscard]] bool askQuestion(QWidget* parent, const QString& text);

}  // namespace tolvex::gui
