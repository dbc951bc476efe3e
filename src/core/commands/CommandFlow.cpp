#include "core/commands/CommandFlow.h"

#include <utility>

namespace tolvex {

bool CommandScope::edit(Interaction& ui, const Form& form) {
    if (ui.edit(form, state_)) return true;
    state_ = before_;
    return false;
}

CommandOutcome CommandScope::cancel() {
    state_ = before_;
    return CommandOutcome::Cancelled;
}

void StateJob::finish(bool cancelled) {
    if (cancelled && whenStopped_ == WhenStopped::Discard) return;
    target_ = std::move(work_);
    committed_ = true;
}

CommandOutcome editCommand(AnalysisState& state, Interaction& ui, const Form& form) {
    return ui.edit(form, state) ? CommandOutcome::Done : CommandOutcome::Cancelled;
}

}  // namespace tolvex
