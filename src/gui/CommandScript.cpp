#include "gui/CommandScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "gui/MainWindow.h"
#include "gui/ProgressDialog.h"

namespace tolvex::gui {
namespace {

// How often the answerer looks for a dialog waiting for the user.
constexpr int kAnswerIntervalMs = 50;

void answer(QWidget* modal) {
    if (modal == nullptr || qobject_cast<ProgressDialog*>(modal) != nullptr) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        QAbstractButton* no = box->button(QMessageBox::No);
        if (no != nullptr)
            no->click();
        else
            box->accept();
        return;
    }
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        files->reject();
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->accept();
}

}  // namespace

std::optional<QList<int>> parseCommandList(const QString& text) {
    QList<int> ids;
    for (const QString& part : text.split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
        ids << id;
    }
    return ids;
}

void startCommandScript(MainWindow& window, const CommandScript& script) {
    auto* answerer = new QTimer(&window);
    QObject::connect(answerer, &QTimer::timeout, [] { answer(QApplication::activeModalWidget()); });
    answerer->start(kAnswerIntervalMs);
    QPointer<MainWindow> target(&window);
    QTimer::singleShot(0, &window, [target, script] {
        for (int id : script.commands) {
            if (target.isNull() || !target->isVisible()) break;
            target->runCommand(id);
        }
        int status = 0;
        if (!target.isNull()) {
            // The title tells a watching script which document the run ended with.
            std::printf("%s\n", qPrintable(target->windowTitle()));
            std::fflush(stdout);
            if (!script.screenshotPath.isEmpty() && !target->grab().save(script.screenshotPath)) status = 1;
            // Ending through the window's own close asks about unsaved results like any other exit.
            target->close();
        }
        QApplication::exit(status);
    });
}

}  // namespace tolvex::gui
