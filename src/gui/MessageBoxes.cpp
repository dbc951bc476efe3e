#include "gui/MessageBoxes.h"

#include <QMessageBox>

namespace tolvex::gui {

void showWarning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Tolvex"), text, QMessageBox::Ok);
}

bool askQuestion(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, QStringLiteral("Tolvex"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

QuestionReply askQuestionWithCancel(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tolvex"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return QuestionReply::Yes;
        case QMessageBox::No:
            return QuestionReply::No;
        default:
            return QuestionReply::Cancel;
    }
}

}  // namespace tolvex::gui
