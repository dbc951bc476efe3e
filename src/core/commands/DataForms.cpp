#include "core/commands/DataForms.h"

#include "core/input/MeasurementTable.h"

namespace tolvex {

Form inputOptionsForm() {
    Form form;
    form.title = "Options for inputing drawdowns";
    form.fields.push_back({kInputOptionButtonIds[0],
                           "",
                           "drawdownInputMode",
                           FormFieldKind::Radio,
                           "",
                           {"Import values of time and drawdown", "Type values of time and drawdown",
                            "Predefined values of time and drawdown"},
                           0.0,
                           2.0});
    return form;
}

Form delimiterForm() {
    Form form;
    form.title = "Data input format";
    form.fields.push_back({kDelimiterButtonIds[0],
                           "",
                           "importDelimiter",
                           FormFieldKind::Radio,
                           "Delimiters",
                           {"Comma", "Space", "Tab", "Semicolon"},
                           0.0,
                           3.0});
    return form;
}

Form predefinedSetForm() {
    Form form;
    form.title = "Select predefined values of time and drawdown";
    form.fields.push_back({kPredefinedSetButtonIds[0],
                           "",
                           "predefinedSetChoice",
                           FormFieldKind::Radio,
                           "",
                           {"Confined aquifer", "Leaky confined aquifer",
                            "Leaky confined aquifer with storage in the confining beds", "Unconfined aquifer",
                            "Slug test", "Fractured aquifer"},
                           0.0,
                           5.0});
    return form;
}

Form measurementCountForm(int currentCount) {
    Form form;
    form.title = "Drawdown-time from pumping test";
    // The dialog also shows "1. Horizontal axis: Time" and "2. Vertical axis: drawdown" as plain text.
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
