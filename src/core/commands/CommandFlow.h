// What the engine's command flows share: how a command ended, the rule that Cancel in any of a
// command's dialogs leaves the state as it was before the command, and the job that runs a long
// computation on a private copy of the state.
#pragma once

#include <functional>
#include <stop_token>

#include "core/commands/Interaction.h"
#include "core/jobs/Job.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

enum class CommandOutcome {
    Done,       // the command ran; its results are in the state
    Cancelled,  // the user cancelled a dialog or the run: the state is as before the command
    Refused,    // the input admits no computation; a message said why and nothing was computed
};

// Keeps the state as it was when a command started, so that Cancel in any of its dialogs (after an
// earlier dialog was confirmed) or of its run can put everything back.
class CommandScope {
public:
    explicit CommandScope(AnalysisState& state) : state_(state), before_(state) {}
    // Shows the form; on Cancel the state returns to its start. True on OK.
    [[nodiscard]] bool edit(Interaction& ui, const Form& form);
    // Restores the state and reports the command as cancelled.
    CommandOutcome cancel();

private:
    AnalysisState& state_;
    AnalysisState before_;
};

// A computation on a copy of the state taken when the job is made. finish() commits the copy: always
// when it completed, and after a stop only when the job keeps partial results (an estimation keeps the
// best parameters reached; a type-curve family is discarded).
class StateJob final : public Job {
public:
    using Computation = std::function<void(AnalysisState&, ProgressSink&, std::stop_token)>;
    enum class WhenStopped { Discard, Commit };

    StateJob(AnalysisState& target, bool showsProgress, WhenStopped whenStopped, Computation computation)
        : target_(target),
          work_(target),
          showsProgress_(showsProgress),
          whenStopped_(whenStopped),
          computation_(std::move(computation)) {}

    [[nodiscard]] bool showsProgress() const override { return showsProgress_; }
    void run(ProgressSink& progress, std::stop_token stop) override { computation_(work_, progress, stop); }
    void finish(bool cancelled) override;
    // Whether finish() wrote the result into the target.
    [[nodiscard]] bool committed() const { return committed_; }

private:
    AnalysisState& target_;
    AnalysisState work_;
    bool showsProgress_;
    WhenStopped whenStopped_;
    Computation computation_;
    bool committed_ = false;
};

// The message for a command that does not exist for the current model.
inline constexpr const char* kNotImplemented = "This function has not yet implemented!.";

// Shows a form as a command of its own: OK stores (Done), Cancel changes nothing (Cancelled).
CommandOutcome editCommand(AnalysisState& state, Interaction& ui, const Form& form);

}  // namespace tolvex
