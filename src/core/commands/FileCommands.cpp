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
    doc.changed = false;
    state.untitled = 0;
    state.modified = 0;
    return true;
}

// Yes saves, asking for a name when there is none; false when that save did not happen or the user
// withdrew the command. No drops the unsaved results; the document stays marked as changed until a
// new one replaces it, so a command that then stops asks again next time.
bool askAndSave(AnalysisState& state, Interaction& ui, DocumentInfo& doc) {
    switch (ui.askYesNoCancel(kSaveQuestion)) {
        case Reply::Yes:
            return fileSave(state, ui, doc);
        case Reply::No:
            state.modified = 0;
            state.typeCurvesReady = 0;
            return true;
        case Reply::Cancel:
            break;
    }
    return false;
}

bool runStep(const std::function<bool(AnalysisState&, Interaction&)>& step, AnalysisState& work,
             Interaction& ui) {
    return !step || step(work, ui);
}

}  // namespace

bool confirmDiscard(AnalysisState& state, Interaction& ui, DocumentInfo& doc) {
    if (!doc.changed && (state.typeCurvesReady != 1 || state.modified != 1)) return true;
    return askAndSave(state, ui, doc);
}

bool fileNew(AnalysisState& state, Interaction& ui, DocumentInfo& doc, const NewDocumentSteps& steps) {
    if (!confirmDiscard(state, ui, doc)) return false;
    AnalysisState work = makeDefaultState();
    work.newRequested = 1;
    if (!runStep(steps.selectModel, work, ui)) return false;
    if (work.guessOnNew == 1 && !runStep(steps.confinedGuess, work, ui)) return false;
    if (!runStep(steps.generateTypeCurves, work, ui)) return false;
    work.untitled = 1;
    state = std::move(work);
    doc.path.clear();
    doc.title = kUntitledTitle;
    doc.changed = false;
    ui.redraw();
    return true;
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
    doc.changed = false;
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
    if (!doc.changed && state.modified != 1) return true;
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
