// A dialog as data: title, groups and fields bound to state fields by name, radio groups, range checks
// and what happens on OK. The desktop program renders every Form with one generic dialog; the command
// line and the tests fill them by label or control id. Loading, parsing, checking and storing live here,
// so every front end refuses the same texts with the same messages.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/estimation/FitControls.h"
#include "core/state/AnalysisState.h"
#include "core/state/FieldTable.h"

namespace tolvex {

enum class FormFieldKind {
    Float,          // float field, shown with 6 significant digits
    Integer,        // int field
    TruncatedInt,   // int field edited as a decimal number and stored truncated toward zero
    Radio,          // int field holding the index of the selected button of `options`
    Text,           // single-line string field
    MultilineText,  // multi-line string field
};

struct FormField {
    int id = 0;         // control id
    std::string label;  // caption as shown
    std::string field;  // name of the bound AnalysisState field (see FieldTable)
    FormFieldKind kind = FormFieldKind::Float;
    std::string group;                 // caption of the enclosing group box, empty for none
    std::vector<std::string> options;  // button texts of a radio group
    std::optional<double> minimum;     // inclusive range check, when given
    std::optional<double> maximum;
    // A field used only for some choices of a radio group: enabled while the radio field bound to the
    // state field `enabledBy` holds one of `enabledFor` (e.g. z/b only for a piezometer). Empty
    // `enabledBy`: always enabled. A disabled field is still loaded, parsed and stored.
    std::string enabledBy{};
    std::vector<int> enabledFor{};
};

// The program's fit controls a dialog shows besides its fields (see FitControlTexts.h): the matching
// criteria's "Stop when converged" box, or a "Fix" box and optional lower and upper bounds beside each
// fitted field of an initial-guess dialog.
enum class FitControlsShown { None, StopWhenConverged, FixAndBounds };

using FormValue = std::variant<long long, double, std::string>;

// Where and why a form was refused: the index of the offending field and the message to show.
struct FormError {
    std::size_t fieldIndex = 0;
    std::string message;
};

// A value that a later step of a command would refuse (type-curve ranges that give no family), found
// on the state as OK would leave it: the bound state field at fault and what to enter there instead, as
// a phrase that follows the field's caption ("enter a number greater than 0").
struct FieldFault {
    std::string field;
    std::string remedy;
};

struct Form {
    std::string title;
    std::vector<std::string> notes;  // lines of plain text shown above the fields
    std::vector<FormField> fields;   // in the dialog's exchange order
    // Control ids in the order a dialog lays its fields out, where that differs from the exchange
    // order (which decides only which faulty field is reported first); fields not named follow.
    std::vector<int> displayOrder;
    // Extra check over all parsed values (e.g. an even Stehfest count); runs after the field checks.
    std::function<std::optional<FormError>(const std::vector<FormValue>&)> validate;
    // The command's own check of the stored values, which runs after the dialog closed, given field by
    // field. An interactive dialog runs it before it accepts (see dialogRefusal); acceptForm does not,
    // so that the command line and scripted runs keep the command's message.
    std::function<std::optional<FieldFault>(const AnalysisState&)> laterCheck;
    // Runs after the fields were stored on OK (e.g. the Theis dialog sets paramCount/paramVector).
    std::function<void(AnalysisState&)> onAccept;
    // The fit controls the dialog also edits, stored on OK with the fields; set only by the commands of a
    // front end that keeps them (the desktop program's settings). Other front ends leave them alone.
    FitControlsShown fitControlsShown = FitControlsShown::None;
    FitControls* fitControls = nullptr;

    [[nodiscard]] const FormField* byId(int id) const;
    [[nodiscard]] const FormField* byLabel(std::string_view label) const;
    // Indices into `fields` in layout order: displayOrder first, then the rest in exchange order.
    [[nodiscard]] std::vector<std::size_t> layoutOrder() const;
    // Whether field `index` is enabled when the controls hold `texts` (one per field, exchange order).
    [[nodiscard]] bool isEnabled(std::size_t index, const std::vector<std::string>& texts) const;
};

// Significant digits of the float texts a dialog shows, and enough to give every float back unchanged.
inline constexpr int kDialogDigits = 6;
inline constexpr int kExactFloatDigits = 9;

// The texts a dialog shows when it opens: floats with `floatDigits` significant digits ("%g", always
// with a decimal point, whatever the locale),
// integers in decimal, a radio group as the index of its selected button, texts as they are.
// Front ends without a person to read them (the command line) load with kExactFloatDigits, so that
// accepting a form unchanged changes no value.
[[nodiscard]] std::vector<std::string> loadFormTexts(const Form& form, const AnalysisState& state,
                                                     int floatDigits = kDialogDigits);

// Parses and checks every text; on success stores them all into the state (floats rounded to float)
// and runs onAccept. A number may be written with a decimal comma when the comma is its only separator
// ("75,53"). On failure nothing is stored and the error names the first offending field with
// "Please enter a number.", "Please enter an integer.", "Please enter a number between %1 and %2." or,
// for a field that only a value above zero describes, "Please enter a positive number for "<label>".".
// A float field refuses what rounds beyond the float range (1e39, inf, nan) with "Please enter a number
// between -3.40282e+38 and 3.40282e+38.".
[[nodiscard]] std::optional<FormError> acceptForm(const Form& form, const std::vector<std::string>& texts,
                                                  AnalysisState& state);

// The caption by which a message names field `index`: its label as shown without a trailing "=", with
// the quantity of its group box where other fields share the label ("min (1/u)"), the group's caption
// for a radio group without a label.
[[nodiscard]] std::string fieldCaption(const Form& form, std::size_t index);

// Why an interactive dialog must refuse OK, without storing anything: acceptForm's refusal, else the
// form's laterCheck on a copy of the state as OK would leave it, named by the field's caption:
// "min (1/u): enter a number greater than 0.".
[[nodiscard]] std::optional<FormError> dialogRefusal(const Form& form, const std::vector<std::string>& texts,
                                                     const AnalysisState& state);

}  // namespace tolvex
