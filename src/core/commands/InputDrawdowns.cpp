#include "core/commands/InputDrawdowns.h"

#include "core/commands/DataForms.h"
#include "core/input/Import.h"
#include "core/input/MeasurementTable.h"
#include "core/input/SampleSets.h"

namespace tolvex {
namespace {

bool sameMeasurements(const AnalysisState& a, const AnalysisState& b) {
    return a.allCount == b.allCount && a.usedCount == b.usedCount && a.useFrom == b.useFrom &&
           a.useTo == b.useTo && a.allTimes == b.allTimes && a.allDrawdowns == b.allDrawdowns &&
           a.times == b.times && a.measured == b.measured;
}

// The dialogs before the table, on a working copy. False when the user cancelled one of them.
bool chooseAndLoad(AnalysisState& work, Interaction& ui, std::string& importPath, InputOutcome& outcome) {
    if (!ui.edit(inputOptionsForm(), work)) return false;
    if (work.drawdownInputMode == kInputImport) {
        const auto path = ui.chooseFile({false, "Open", kMeasurementFileFilter, "", importPath});
        if (!path) return false;
        importPath = *path;
        if (!ui.edit(delimiterForm(), work)) return false;
        std::string notice;
        if (auto error = importMeasurements(*path, work.importDelimiter, work, &notice)) {
            outcome.importFailed = true;
            ui.message(*error);
        } else if (!notice.empty()) {
            ui.message(notice);
        }
    } else if (work.drawdownInputMode == kInputPredefined) {
        return predefinedSetCommand(work, ui);
    }
    return true;
}

}  // namespace

InputOutcome inputDrawdowns(AnalysisState& state, Interaction& ui, std::string& importPath) {
    InputOutcome outcome;
    AnalysisState work = state;
    if (!chooseAndLoad(work, ui, importPath, outcome)) return outcome;
    // Only the data-input choices and the measurements change before the table dialog.
    state.drawdownInputMode = work.drawdownInputMode;
    state.importDelimiter = work.importDelimiter;
    state.predefinedSetChoice = work.predefinedSetChoice;
    const AnalysisState before = state;
    // Data read from a file or a predefined set are shown on the working copy: they become the
    // analysis's only when the table is confirmed.
    const bool loaded = !sameMeasurements(work, state);
    AnalysisState& table = loaded ? work : state;
    prepareMeasurementTable(table);
    const bool confirmed = ui.editMeasurementTable(table);
    if (loaded) {
        if (!confirmed) return outcome;
        state = std::move(work);
    }
    outcome.changed = !sameMeasurements(before, state);
    if (confirmed || outcome.changed) {
        state.plotContent = 1;
        ui.redraw();
    }
    return outcome;
}

bool predefinedSetCommand(AnalysisState& state, Interaction& ui) {
    const int previous = state.predefinedSetChoice;
    state.predefinedSetChoice = kSetConfinedAquifer;  // the dialog starts at the first choice every time
    if (!ui.edit(predefinedSetForm(), state)) {
        state.predefinedSetChoice = previous;
        return false;
    }
    installPredefinedSet(state, state.predefinedSetChoice);
    return true;
}

}  // namespace tolvex
