// The document's analysis commands: the engine's commands by id, the measurements, and the report.
#include "core/commands/CommandIds.h"
#include "core/commands/EngineCommands.h"
#include "core/commands/InputDrawdowns.h"
#include "core/persist/Reports.h"
#include "gui/GuiCommands.h"
#include "gui/MainWindow.h"
#include "gui/ReportFile.h"

namespace tolvex::gui {
namespace {

constexpr char kReportFilter[] = "Report Files (*.out)|*.out|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

}  // namespace

bool MainWindow::dispatchAnalysisCommand(int id) {
    switch (id) {
        case kCmdInputDrawdowns:
            inputDrawdowns(state_, *interaction_, importPath_);
            return true;
        case kCmdPredefinedSet:
            predefinedSetCommand(state_, *interaction_);
            return true;
        case kCmdReport:
            writeReport(false);
            return true;
        case kCmdReportAs:
            writeReport(true);
            return true;
        default:
            return runEngineCommand(id, state_, *interaction_).has_value();
    }
}

void MainWindow::writeReport(bool chooseName) {
    const QString folder = document_.folder();
    if (chooseName) {
        const std::string proposed =
            resolveReportPath(QString::fromStdString(state_.reportFileName), folder).toStdString();
        const auto chosen = interaction_->chooseFile({true, "Report As", kReportFilter, "out", proposed});
        if (!chosen) return;
        state_.reportFileName = storedReportName(QString::fromStdString(*chosen), folder).toStdString();
    }
    const QString path = resolveReportPath(QString::fromStdString(state_.reportFileName), folder);
    if (const auto failure = writeReportFile(state_, path.toStdString())) {
        interaction_->message(*failure);
        return;
    }
    if (!interaction_->showFile(path)) interaction_->message(noViewerMessage(path).toStdString());
}

}  // namespace tolvex::gui
