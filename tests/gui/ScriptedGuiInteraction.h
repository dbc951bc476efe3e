// The desktop Interaction with scripted answers for everything the user would type or click, except
// the jobs: those run for real, on the worker thread behind the progress dialog.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gui/GuiInteraction.h"

namespace tolvex::gui::testing {

class ScriptedGuiInteraction : public GuiInteraction {
public:
    // One answer per form, in order: nothing = Cancel; texts by control id = OK with them. None queued = OK.
    std::deque<std::optional<std::map<int, std::string>>> formAnswers;
    std::deque<bool> yesNoAnswers;                       // default: No
    std::deque<std::optional<std::string>> fileAnswers;  // default: cancel
    bool viewerAvailable = true;

    std::vector<std::string> formTitles;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<FileDialog> fileDialogs;
    std::vector<QString> shownFiles;

    bool edit(const Form& form, AnalysisState& state) override {
        formTitles.push_back(form.title);
        std::optional<std::map<int, std::string>> answer = std::map<int, std::string>{};
        if (!formAnswers.empty()) {
            answer = formAnswers.front();
            formAnswers.pop_front();
        }
        if (!answer) return false;
        std::vector<std::string> texts = loadFormTexts(form, state);
        for (std::size_t i = 0; i < form.fields.size(); ++i) {
            const auto it = answer->find(form.fields[i].id);
            if (it != answer->end()) texts[i] = it->second;
        }
        if (auto error = acceptForm(form, texts, state)) {
            messages.push_back(error->message);
            return false;
        }
        return true;
    }
    void message(std::string_view text) override { messages.emplace_back(text); }
    bool askYesNo(std::string_view question) override {
        questions.emplace_back(question);
        if (yesNoAnswers.empty()) return false;
        const bool yes = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return yes;
    }
    std::optional<std::string> chooseFile(const FileDialog& dialog) override {
        fileDialogs.push_back(dialog);
        if (fileAnswers.empty()) return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    bool editMeasurementTable(AnalysisState&) override { return true; }
    bool showFile(const QString& path) override {
        shownFiles.push_back(path);
        return viewerAvailable;
    }
};

}  // namespace tolvex::gui::testing
