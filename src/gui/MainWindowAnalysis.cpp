// The document's analysis commands: the engine's commands by id, the measurements, and the report.
#include <QFileInfo>

#include "core/commands/CommandIds.h"
#include "core/commands/EngineCommands.h"
#include "core/commands/EstimationCommands.h"
#include "core/commands/InputDrawdowns.h"
#include "core/estimation/ResultSummaryBuilder.h"
#include "core/persist/Archive.h"
#include "core/persist/Reports.h"
#include "gui/GuiCommands.h"
#include "gui/MainWindow.h"
#include "gui/ReportFile.h"
#include "gui/ResultsPanel.h"
#include "gui/UnitsDialog.h"

namespace tolvex::gui {
namespace {

constexpr char kReportFilter[] = "Report Files (*.out)|*.out|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

// Whether the report may go to `path`: never over the document itself, and outside the document's folder
// only when the user chose that name just now or says yes.
bool reportPathAccepted(const QString& path, const Document& document, bool chosenNow, Interaction& ui) {
    if (!document.path().isEmpty() && QFileInfo(path) == QFileInfo(document.path())) {
        ui.message("The report's file name \"" + path.toStdString() +
                   "\" is the document itself: choose another name with Report As.");
        return false;
    }
    if (chosenNow || liesInFolder(path, document.folder())) return true;
    return ui.askYesNo(outsideFolderQuestion(path, document.folder()).toStdString());
}

struct EstimationRun {
    CommandOutcome result;
    EstimationMethod method;
};

// The estimation command of `id` under the window's fit controls (their dialogs edit them); the trial
// run has none: the values as entered, nothing fixed or bounded.
EstimationRun runEstimationCommand(int id, AnalysisState& state, Interaction& ui, FitControls& controls,
                                   FitOutcome& outcome) {
    if (id == kCmdTrialInversion) {
        controls = FitControls{};
        outcome = FitOutcome{FitEnd::NothingFitted, false, {}, {}};
        return {trialInversion(state, ui), EstimationMethod::TrialRun};
    }
    if (id == kCmdSimplexInversion)
        return {simplexInversionEditing(state, ui, controls, outcome), EstimationMethod::Simplex};
    return {leastSquaresInversionEditing(state, ui, controls, outcome), leastSquaresMethod(state.modelKind)};
}

}  // namespace

bool MainWindow::dispatchAnalysisCommand(int id) {
    switch (id) {
        case kCmdInputDrawdowns:
            inputDrawdowns(state_, *interaction_, importPath_);
            return true;
        case kCmdUnits:
            editUnits(state_, this);
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
        case kCmdTrialInversion:
        case kCmdSimplexInversion:
        case kCmdLeastSquaresInversion:
            runFit(id);
            return true;
        default:
            return runEngineCommand(id, state_, *interaction_).has_value();
    }
}

void MainWindow::runFit(int id) {
    const int model = state_.modelKind;
    FitControls controls = fitSettings_.controls(model);
    FitOutcome outcome;
    const EstimationRun run = runEstimationCommand(id, state_, *interaction_, controls, outcome);
    if (id != kCmdTrialInversion) fitSettings_.store(model, controls);
    if (run.result != CommandOutcome::Done) return;
    state_.lastResults = buildResultSummary(state_, run.method, outcome, controls);
    resultsPanel_->refresh();
    resultsPanel_->show();
    if (outcome.warnings.empty()) return;
    std::string text = "The fit may not be the best one:";
    for (const std::string& warning : outcome.warnings) text += "\n- " + warning;
    interaction_->message(text);
}

void MainWindow::writeReport(bool chooseName) {
    const QString folder = document_.folder();
    // The document keeps the report's name as Latin-1 bytes, like all its texts.
    const auto storedName = [this] {
        return QString::fromLatin1(state_.reportFileName.data(),
                                   static_cast<qsizetype>(state_.reportFileName.size()));
    };
    // The default name follows the document's own name at report time; the document keeps what it holds.
    const auto reportName = [this, &storedName] {
        return effectiveReportName(storedName(), document_.path());
    };
    if (chooseName) {
        const std::string proposed = resolveReportPath(reportName(), folder).toStdString();
        const auto chosen = interaction_->chooseFile({true, "Report As", kReportFilter, "out", proposed});
        if (!chosen) return;
        const auto latin1 =
            utf8ToLatin1(storedReportName(QString::fromStdString(*chosen), folder).toStdString());
        if (!latin1) {
            interaction_->message("The report's file name \"" + *chosen +
                                  "\" holds a character the document cannot keep (only Latin-1 "
                                  "characters are kept): choose another name.");
            return;
        }
        state_.reportFileName = *latin1;
    }
    const QString path = resolveReportPath(reportName(), folder);
    if (!reportPathAccepted(path, document_, chooseName, *interaction_)) return;
    if (const auto failure = writeReportFile(state_, path.toStdString())) {
        interaction_->message(*failure);
        return;
    }
    // The report window inside the program (GuiInteraction::showFile).
    if (!interaction_->showFile(path)) interaction_->message(noViewerMessage(path).toStdString());
}

}  // namespace tolvex::gui
