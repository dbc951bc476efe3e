#include "core/commands/DataForms.h"

#include "core/input/MeasurementTable.h"

namespace tolvex {

namespace {

// A dialog of one radio group bound to an int field holding the index of the selected button.
Form radioForm(std::string title, int firstButtonId, std::string field, std::string group,
               std::vector<std::string> buttons) {
    Form form;
    form.title = std::move(title);
    const double last = static_cast<double>(buttons.size()) - 1.0;
    form.fields.push_back({firstButtonId, "", std::move(field), FormFieldKind::Radio, std::move(group),
                           std::move(buttons), 0.0, last});
    return form;
}

}  // namespace

Form inputOptionsForm() {
    return radioForm("Options for inputing drawdowns", kInputOptionButtonIds[0], "drawdownInputMode", "",
                     {"Import values of time and drawdown", "Type values of time and drawdown",
                      "Predefined values of time and drawdown"});
}

Form delimiterForm() {
    return radioForm("Data input format", kDelimiterButtonIds[0], "importDelimiter", "Delimiters",
                     {"Comma", "Space", "Tab", "Semicolon"});
}

Form predefinedSetForm() {
    return radioForm("Select predefined values of time and drawdown", kPredefinedSetButtonIds[0],
                     "predefinedSetChoice", "",
                     {"Confined aquifer", "Leaky confined aquifer",
                      "Leaky confined aquifer with storage in the confining beds", "Unconfined aquifer",
                      "Slug test", "Fractured aquifer"});
}

Form measurementCountForm(int currentCount) {
    Form form;
    form.title = "Drawdown-time from pumping test";
    form.notes = {"1. Horizontal axis: Time", "2. Vertical axis: drawdown"};
    form.fields.push_back({kMeasurementCountEditId,
                           "3. No. of Points",
                           "allCount",
                           FormFieldKind::TruncatedInt,
                           "",
                           {},
                           1.0,
                           static_cast<double>(kMaxMeasurements)});
    // The form stores the new count into allCount; the rows follow from the count before the change.
    form.onAccept = [currentCount](AnalysisState& state) {
        const int newCount = state.allCount;
        state.allCount = currentCount;
        (void)changeMeasurementCount(state, newCount);
    };
    return form;
}

}  // namespace tolvex
