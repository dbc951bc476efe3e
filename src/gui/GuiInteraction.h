// The desktop program's Interaction: forms in FormDialog, failures in exclamation boxes, questions in
// Yes/No or Yes/No/Cancel boxes, file dialogs, the measurement-table dialog, and jobs on a worker thread
// behind the progress dialog.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "core/commands/Interaction.h"
#include "gui/JobRunner.h"

namespace tolvex::gui {

class GuiInteraction : public Interaction {
public:
    explicit GuiInteraction(QWidget* parent = nullptr);

    // The window the dialogs belong to.
    void setParentWidget(QWidget* parent);
    [[nodiscard]] QWidget* parentWidget() const { return parent_.data(); }
    // The folder a relative initial file name of a file dialog is taken from.
    void setBaseFolder(const QString& folder) { baseFolder_ = folder; }

    bool edit(const Form& form, AnalysisState& state) override;
    void message(std::string_view text) override;
    bool askYesNo(std::string_view question) override;
    Reply askYesNoCancel(std::string_view question) override;
    std::optional<std::string> chooseFile(const FileDialog& dialog) override;
    bool editMeasurementTable(AnalysisState& state) override;
    bool runJob(Job& job) override;
    void redraw() override;

    // Shows a written report in the program's report window; false when it cannot be read.
    virtual bool showFile(const QString& path);

    // What redraw() does: the window repaints its plot.
    std::function<void()> onRedraw;
    JobRunner& jobs() { return jobs_; }

private:
    QPointer<QWidget> parent_;
    QString baseFolder_;
    JobRunner jobs_;
};

}  // namespace tolvex::gui
