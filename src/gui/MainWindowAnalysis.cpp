// The document's analysis commands: type curves, model and project, measurements, estimations, report.
#include "core/commands/CommandIds.h"
#include "gui/GuiCommands.h"
#include "gui/MainWindow.h"

namespace tolvex::gui {

bool MainWindow::dispatchAnalysisCommand(int id) {
    switch (id) {
        case kCmdReport:
            writeReport(false);
            return true;
        case kCmdReportAs:
            writeReport(true);
            return true;
        default:
            return false;
    }
}

void MainWindow::writeReport(bool) {
    notAvailable(kCmdReport);
}

}  // namespace tolvex::gui
