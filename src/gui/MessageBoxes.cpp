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

}  // namespace tolvex::gui
