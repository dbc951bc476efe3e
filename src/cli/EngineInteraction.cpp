#include "cli/EngineInteraction.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/Cli.h"
#include "cli/CliState.h"

namespace tolvex::cli {

bool EngineInteraction::edit(const Form& form, AnalysisState& state) {
    const auto error = acceptForm(form, loadFormTexts(form, state, kExactFloatDigits), state);
    if (!error) return true;
    const FormField& field = form.fields[error->fieldIndex];
    throw CliError{context_ + ": " + field.field + ": " + error->message};
}

bool EngineInteraction::runJob(Job& job) {
    struct Line final : ProgressSink {
        std::ostream& out;
        bool show;
        Line(std::ostream& o, bool s) : out(o), show(s) {}
        void step(int k) override {
            if (show) out << "\rNumber of iterations " << k << std::flush;
        }
    } line(progress_, showProgress_ && job.showsProgress());
    runJobInline(job, line);
    if (line.show) progress_ << "\n";
    return true;
}

void EngineInteraction::conclude(CommandOutcome outcome, std::ostream& notes) const {
    if (outcome != CommandOutcome::Done) {
        throw CliError{context_ + ": " +
                       (messages_.empty() ? std::string("cancelled") : oneLine(messages_.back()))};
    }
    for (const std::string& m : messages_) notes << "tolvex-cli: note: " << oneLine(m) << "\n";
}

bool isTerminal(const std::ostream& stream) {
    return &stream == &std::cerr && isatty(STDERR_FILENO) != 0;
}

void checkModel(const std::string& context, int model, int first, int last) {
    if (model < first || model > last) {
        throw CliError{context + ": --model " + std::to_string(model) + " is not a model " +
                       std::to_string(first) + ".." + std::to_string(last)};
    }
}

double shortestFloat(float value) {
    char buffer[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
        if (static_cast<float>(std::strtod(buffer, nullptr)) == value) break;
    }
    return std::strtod(buffer, nullptr);
}

}  // namespace tolvex::cli
