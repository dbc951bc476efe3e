// The command line's answers to the engine's command flows: every form keeps the values already in
// the state (its checks still apply: a refused form ends the run with the form's message), messages are
// collected, and jobs run inline with a progress line on stderr when stderr is a terminal.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/commands/CommandFlow.h"
#include "core/commands/Interaction.h"

namespace tolvex::cli {

class EngineInteraction final : public Interaction {
public:
    // `context` starts every error ("fit", "typecurves", ...); `progress` receives the progress line.
    EngineInteraction(std::string context, std::ostream& progress, bool showProgress)
        : context_(std::move(context)), progress_(progress), showProgress_(showProgress) {}

    bool edit(const Form& form, AnalysisState& state) override;
    void message(std::string_view text) override { messages_.emplace_back(text); }
    bool askYesNo(std::string_view) override { return false; }
    std::optional<std::string> chooseFile(const FileDialog&) override { return std::nullopt; }
    bool editMeasurementTable(AnalysisState&) override { return true; }
    bool runJob(Job& job) override;

    // Throws the last message as a CliError unless the command ran; otherwise writes the messages it
    // showed (an early end of an estimation) to `notes` as "tolvex-cli: note: ...".
    void conclude(CommandOutcome outcome, std::ostream& notes) const;

private:
    std::string context_;
    std::ostream& progress_;
    bool showProgress_;
    std::vector<std::string> messages_;
};

// Whether `stream` is the process's stderr and a terminal.
[[nodiscard]] bool isTerminal(const std::ostream& stream);

// The model number of --model, refused outside first..last.
void checkModel(const std::string& context, int model, int first, int last);

// A float as the shortest decimal that reads back as the same float.
[[nodiscard]] double shortestFloat(float value);

}  // namespace tolvex::cli
