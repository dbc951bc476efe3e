// The desktop Interaction with scripted answers for everything the user would type or click (the core's
// ScriptedInteraction answers and records them), except the jobs: those run for real, on the worker
// thread behind the progress dialog.
#pragma once

#include <vector>

#include "gui/GuiInteraction.h"
#include "support/ScriptedInteraction.h"

namespace tolvex::gui::testing {

class ScriptedGuiInteraction : public GuiInteraction {
public:
    tolvex::testing::ScriptedInteraction script;
    bool viewerAvailable = true;
    std::vector<QString> shownFiles;

    bool edit(const Form& form, AnalysisState& state) override { return script.edit(form, state); }
    void message(std::string_view text) override { script.message(text); }
    bool askYesNo(std::string_view question) override { return script.askYesNo(question); }
    Reply askYesNoCancel(std::string_view question) override { return script.askYesNoCancel(question); }
    std::optional<std::string> chooseFile(const FileDialog& dialog) override {
        return script.chooseFile(dialog);
    }
    bool editMeasurementTable(AnalysisState& state) override { return script.editMeasurementTable(state); }
    bool showFile(const QString& path) override {
        shownFiles.push_back(path);
        return viewerAvailable;
    }
};

}  // namespace tolvex::gui::testing
