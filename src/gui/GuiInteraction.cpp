#include "gui/GuiInteraction.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "gui/FileFilter.h"
#include "gui/FormDialog.h"
#include "gui/MeasurementTableDialog.h"
#include "gui/MessageBoxes.h"
#include "gui/ReportWindow.h"

namespace tolvex::gui {

GuiInteraction::GuiInteraction(QWidget* parent)
    : parent_(parent), baseFolder_(QDir::homePath()), jobs_(parent) {}

void GuiInteraction::setParentWidget(QWidget* parent) {
    parent_ = parent;
    jobs_.setParent(parent);
}

bool GuiInteraction::edit(const Form& form, AnalysisState& state) {
    FormDialog dialog(form, state, parent_.data());
    return dialog.exec() == QDialog::Accepted;
}

void GuiInteraction::message(std::string_view text) {
    showWarning(parent_.data(), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool GuiInteraction::askYesNo(std::string_view question) {
    return askQuestion(parent_.data(),
                       QString::fromUtf8(question.data(), static_cast<qsizetype>(question.size())));
}

Reply GuiInteraction::askYesNoCancel(std::string_view question) {
    switch (askQuestionWithCancel(
        parent_.data(), QString::fromUtf8(question.data(), static_cast<qsizetype>(question.size())))) {
        case QuestionReply::Yes:
            return Reply::Yes;
        case QuestionReply::No:
            return Reply::No;
        case QuestionReply::Cancel:
            break;
    }
    return Reply::Cancel;
}

std::optional<std::string> GuiInteraction::chooseFile(const FileDialog& request) {
    const QString filter = QString::fromStdString(request.filter);
    QString title = QString::fromStdString(request.title);
    if (title.isEmpty()) title = request.save ? QStringLiteral("Save As") : QStringLiteral("Open");
    QFileDialog dialog(parent_.data(), title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(qtFileFilter(filter));
    // A name typed without extension gets the one of the format being written.
    QString suffix = QString::fromStdString(request.defaultExtension);
    if (suffix.isEmpty()) suffix = firstFilterExtension(filter);
    dialog.setDefaultSuffix(suffix);
    const QFileInfo initial(QDir(baseFolder_), QString::fromStdString(request.initialName));
    dialog.setDirectory(initial.absolutePath());
    if (!request.initialName.empty()) dialog.selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

bool GuiInteraction::editMeasurementTable(AnalysisState& state) {
    MeasurementTableDialog dialog(state, parent_.data());
    return dialog.exec() == QDialog::Accepted;
}

bool GuiInteraction::runJob(Job& job) {
    return jobs_.run(job);
}

bool GuiInteraction::showFile(const QString& path) {
    return showReportWindow(*this, parentWidget(), path);
}

void GuiInteraction::redraw() {
    if (onRedraw) onRedraw();
}

}  // namespace tolvex::gui
