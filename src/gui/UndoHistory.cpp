#include "gui/UndoHistory.h"

#include <QUndoCommand>
#include <exception>
#include <utility>

#include "core/persist/Document.h"

namespace tolvex::gui {
namespace {

// Enough to take back a working session; each entry holds one copy of the state.
constexpr int kUndoLimit = 50;

// One command's change. The entry holds the state on the other side of the change: before it while the
// change is done, after it while the change is undone. Undo and redo swap it with the window's state, so
// whatever the state is when undo runs (after a save cleared its flags, say) is what redo brings back.
class StateChange final : public QUndoCommand {
public:
    StateChange(AnalysisState& target, AnalysisState before, const QString& name)
        : QUndoCommand(name), target_(target), other_(std::move(before)) {}

    void undo() override { swapWithTarget(); }
    // QUndoStack::push() calls redo() at once; the command itself has already made the change.
    void redo() override {
        if (pushed_) swapWithTarget();
        pushed_ = true;
    }

private:
    void swapWithTarget() {
        const int untitled = target_.untitled;
        std::swap(target_, other_);
        target_.untitled = untitled;
    }

    AnalysisState& target_;
    AnalysisState other_;
    bool pushed_ = false;
};

}  // namespace

bool sameDocument(const AnalysisState& a, const AnalysisState& b) {
    try {
        return documentBytes(a) == documentBytes(b);
    } catch (const std::exception&) {
        return false;  // a state that cannot be written is never taken for an unchanged one
    }
}

UndoHistory::UndoHistory(AnalysisState& state) : state_(state) {
    stack_.setUndoLimit(kUndoLimit);
}

bool UndoHistory::record(const QString& name, AnalysisState before) {
    if (sameDocument(before, state_)) return false;
    stack_.push(new StateChange(state_, std::move(before), name));
    return true;
}

}  // namespace tolvex::gui
