// An Interaction for tests: answers come from queues the test fills, and everything the command
// showed is recorded, so a test can follow a command's flow dialog by dialog.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/commands/Interaction.h"

namespace tolvex::testing {

class ScriptedInteraction : public Interaction {
public:
    // One answer per edit() call, in order: nothing = Cancel; a map of texts by control id (fields not
    // named keep the text the form loaded) = OK with those texts. With no answer queued, OK unchanged.
    std::deque<std::optional<std::map<int, std::string>>> formAnswers;
    std::deque<bool> yesNoAnswers;  // default: No
    // Yes/No/Cancel questions take their answer from here; when it is empty, from yesNoAnswers.
    std::deque<Reply> replies;
    std::deque<std::optional<std::string>> fileAnswers;  // default: cancel
    // The measurement-table dialog: runs this on the state if set; returns its result (default OK).
    std::function<bool(AnalysisState&)> tableEditor;
    bool cancelJobs = false;  // when true, runJob stops the job at its first step

    std::vector<std::string> formTitles;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<FileDialog> fileDialogs;
    std::vector<std::string> formErrors;  // messages of refused form answers
    std::vector<int> progressSteps;
    int redraws = 0;

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
            formErrors.push_back(error->message);
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
    Reply askYesNoCancel(std::string_view question) override {
        if (replies.empty()) return askYesNo(question) ? Reply::Yes : Reply::No;
        questions.emplace_back(question);
        const Reply reply = replies.front();
        replies.pop_front();
        return reply;
    }
    std::optional<std::string> chooseFile(const FileDialog& dialog) override {
        fileDialogs.push_back(dialog);
        if (fileAnswers.empty()) return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    bool editMeasurementTable(AnalysisState& state) override {
        return tableEditor ? tableEditor(state) : true;
    }
    bool runJob(Job& job) override {
        struct Recorder : ProgressSink {
            ScriptedInteraction& owner;
            std::stop_source& source;
            explicit Recorder(ScriptedInteraction& o, std::stop_source& s) : owner(o), source(s) {}
            void step(int k) override {
                owner.progressSteps.push_back(k);
                if (owner.cancelJobs) source.request_stop();
            }
        };
        std::stop_source source;
        if (cancelJobs && !job.showsProgress()) source.request_stop();
        Recorder recorder(*this, source);
        job.run(recorder, source.get_token());
        const bool cancelled = source.stop_requested();
        job.finish(cancelled);
        return !cancelled;
    }
    void redraw() override { ++redraws; }
};

}  // namespace tolvex::testing
