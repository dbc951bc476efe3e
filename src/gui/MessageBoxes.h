// The program's message boxes: failures with the exclamation icon and OK, questions with the question
// icon and Yes/No, or Yes/No/Cancel where the user may withdraw the command ("Save existing data?").
// All carry the program's name as their title.
#pragma once

#include <QString>

class QWidget;

namespace tolvex::gui {

void showWarning(QWidget* parent, const QString& text);
[[nodiscard]] bool askQuestion(QWidget* parent, const QString& text);

enum class QuestionReply { Yes, No, Cancel };
// Yes is the default button; Escape and closing the box answer Cancel.
[[nodiscard]] QuestionReply askQuestionWithCancel(QWidget* parent, const QString& text);

}  // namespace tolvex::gui
