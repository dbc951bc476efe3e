#include "core/commands/FileCommands.h"

#include "core/persist/Document.h"
#include "core/persist/Reports.h"

namespace tolvex {
namespace {

FileDialog documentDialog(bool save, const std::string& initialName) {
    return {save, save ? "Save As" : "Open", kDocumentFileFilter, "", initialName};
}

bool writeTo(AnalysisState& state, Interaction& ui, DocumentInfo& doc, const std::string& path) {
    if (auto error = saveDocument(state, path)) {
        ui.message(*error);
        return false;
    }
    doc.path = path;
    doc.title = path;
    state.untitled = 0;
    state.modified = 0;
    return true;
}

// Yes saves, asking for a name when there is none; false when that save did not happen.
bool askAndSave(AnalysisState& state, Interaction& ui, DocumentInfo& doc) {
    if (ui.askYesNo(kSaveQuestion)) return fileSave(state, ui, doc);
    state.modified = 0;
    state.typeCurvesReady = 0;
    return true;
}

bool runStep(const std::function<bool(AnalysisState&, Interaction&)>& step, AnalysisState& work,
             Interaction& ui) {
    return !step || step(work, ui);
}

}  // namespace

bool confirmDiscard(AnalysisState& state, Interaction& ui, DocumentInfo& doc) {
    if (state.typeCurvesReady != 1 || state.modified != 1) return true;
    return askAndSave(state, ui, doc);
}

void fileNew(AnalysisState& state, Interaction& ui, DocumentInfo& doc, const NewDocumentSteps& steps) {
    if (!confirmDiscard(state, ui, doc)) return;
    AnalysisState work = state;
    work.newRequested = 1;
    if (!runStep(steps.selectModel, work, ui)) return;
    if (work.guessOnNew == 1 && !runStep(steps.confinedGuess, work, ui)) return;
    if (!runStep(steps.generateTypeCurves, work, ui)) return;
    work.untitled = 1;
    state = std::move(work);
    doc.path.clear();
    doc.title = kUntitledTitle;
    ui.redraw();
}

bool fileOpen(AnalysisState& state, Interaction& ui, DocumentInfo& doc) {
    if (!confirmDiscard(state, ui, doc)) return false;
    const auto path = ui.chooseFile(documentDialog(false, doc.path));
    if (!path) return false;
    if (auto error = loadDocument(*path, state)) {
        ui.message(*error);
        return false;
    }
    // What is in memory is what is on disk: nothing is unsaved.
    state.untitled = 0;
    state.modified = 0;
    doc.path = *path;
    doc.title = *path;
    ui.redraw();
    return true;
}

bool fileSave(AnalysisState& state, Interaction& ui, DocumentInfo& doc) {
    if (state.untitled == 1 || doc.path.empty()) return fileSaveAs(state, ui, doc);
    return writeTo(state, ui, doc, doc.path);
}

bool fileSaveAs(AnalysisState& state, Interaction& ui, DocumentInfo& doc) {
    const std::string proposal = (state.untitled == 1 || doc.path.empty()) ? kProposedDocumentName : doc.path;
    const auto path = ui.chooseFile(documentDialog(true, proposal));
    if (!path) return false;
    return writeTo(state, ui, doc, *path);
}

bool fileExit(AnalysisState& state, Interaction& ui, DocumentInfo& doc) {
    if (state.modified != 1) return true;
    return askAndSave(state, ui, doc);
}

std::optional<std::string> reportCommand(const AnalysisState& state, Interaction& ui) {
    if (auto error = writeReportFile(state, state.reportFileName)) {
        ui.message(*error);
        return std::nullopt;
    }
    return state.reportFileName;
}

}  // namespace tolvex
