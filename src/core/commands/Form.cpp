#include "core/commands/Form.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tolvex {
namespace {

std::string shortest(double value, int digits = kDialogDigits) {
    return formatGeneral(value, digits);
}

// A float as a dialog shows it: in the document's units when units are set. A person reads the
// dialog's digits; the command line asks for the digits that give the stored float back.
std::string shownText(float stored, Dimension dimension, const DisplayUnits& units, int floatDigits) {
    if (dimension == Dimension::None || !units.set()) return shortest(stored, floatDigits);
    if (floatDigits >= kExactFloatDigits) return shownFloatText(stored, dimension, units);
    return shortest(fromSI(stored, dimension, units), floatDigits);
}

const FieldInfo& boundField(const FormField& f) {
    const FieldInfo* info = findField(f.field);
    // A form naming an unknown field is a programming error caught by the form tests.
    if (info == nullptr) throw std::logic_error("form field bound to unknown state field: " + f.field);
    return *info;
}

std::optional<FormValue> parseText(const FormField& f, const std::string& text) {
    switch (f.kind) {
        case FormFieldKind::Float: {
            const auto v = parseTypedNumber(text);
            if (!v) return std::nullopt;
            return FormValue{*v};
        }
        case FormFieldKind::TruncatedInt: {
            const auto v = parseTypedNumber(text);
            if (!v || !std::isfinite(*v) || std::fabs(*v) > 2147483647.0) return std::nullopt;
            return FormValue{static_cast<long long>(std::trunc(*v))};
        }
        case FormFieldKind::Integer:
        case FormFieldKind::Radio: {
            const auto v = parseInteger(text);
            if (!v || *v < -2147483648LL || *v > 2147483647LL) return std::nullopt;
            return FormValue{*v};
        }
        case FormFieldKind::Text:
        case FormFieldKind::MultilineText:
            return FormValue{text};
    }
    return std::nullopt;
}

double numericValue(const FormValue& v) {
    if (const auto* i = std::get_if<long long>(&v)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&v)) return *d;
    return 0.0;
}

bool isNumeric(FormFieldKind kind) {
    return kind != FormFieldKind::Text && kind != FormFieldKind::MultilineText;
}

std::string floatRangeMessage() {
    const double largest = std::numeric_limits<float>::max();
    return "Please enter a number between " + shortest(-largest) + " and " + shortest(largest) + ".";
}

// Why the parsed value cannot be stored into the field, or nothing: a float field keeps the value
// rounded to float, so 1e39 (which would become infinity) is refused, and a field that only a
// positive value describes refuses what is not above zero as stored (1e-50 becomes 0).
std::optional<std::string> storedValueError(const FormField& f, const FormValue& value) {
    if (!isNumeric(f.kind)) return std::nullopt;
    const bool isFloat = f.kind == FormFieldKind::Float;
    const double v = numericValue(value);
    if (isFloat && overflowsFloat(v)) return floatRangeMessage();
    if (!admitsValue(boundField(f), isFloat ? static_cast<float>(v) : v)) {
        return "Please enter a positive number for \"" + (f.label.empty() ? f.field : f.label) + "\".";
    }
    if (isFloat && !fitsFloat(v)) return floatRangeMessage();
    return std::nullopt;
}

// A typed float of a field with a unit is in the document's units; the state keeps SI.
FormValue inSI(const FormField& f, const FormValue& value, const DisplayUnits& units) {
    const auto* number = std::get_if<double>(&value);
    if (number == nullptr || f.kind != FormFieldKind::Float) return value;
    return FormValue{toSI(*number, boundField(f).dimension, units)};
}

void store(const FormField& f, const FormValue& value, AnalysisState& state) {
    const FieldInfo& info = boundField(f);
    std::visit(
        [&](auto member) {
            auto& target = state.*member;
            using T = std::decay_t<decltype(target)>;
            if constexpr (std::is_same_v<T, std::string>) {
                target = std::get<std::string>(value);
            } else {
                target = static_cast<T>(numericValue(value));
            }
        },
        info.member);
}

std::string trimmed(std::string_view text, std::string_view trailing = " ") {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(trailing);
    return std::string(text.substr(first, last - first + 1));
}

// The quantity a group box's caption names: "1/u" of "1/u =4*T*t/(r*r*S)", the whole caption when it
// holds no formula.
std::string groupQuantity(const std::string& caption) {
    const auto equals = caption.find('=');
    const std::string quantity =
        equals == std::string::npos ? std::string() : trimmed(caption.substr(0, equals));
    return quantity.empty() ? trimmed(caption) : quantity;
}

// Parses and checks every text into `values` (floats in SI), or tells the first refusal.
std::optional<FormError> checkedValues(const Form& form, const std::vector<std::string>& texts,
                                       const DisplayUnits& units, std::vector<FormValue>& values) {
    values.clear();
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
        const FormField& f = form.fields[i];
        const std::string text = i < texts.size() ? texts[i] : std::string{};
        const auto value = parseText(f, text);
        if (!value) {
            const bool integral = f.kind == FormFieldKind::Integer || f.kind == FormFieldKind::Radio;
            return FormError{i, integral ? "Please enter an integer." : "Please enter a number."};
        }
        if (isNumeric(f.kind) && (f.minimum || f.maximum)) {
            const double v = numericValue(*value);
            if ((f.minimum && v < *f.minimum) || (f.maximum && v > *f.maximum)) {
                return FormError{i, "Please enter a number between " +
                                        shortest(f.minimum.value_or(-HUGE_VAL)) + " and " +
                                        shortest(f.maximum.value_or(HUGE_VAL)) + "."};
            }
        }
        const FormValue stored = inSI(f, *value, units);
        if (auto error = storedValueError(f, stored)) return FormError{i, *error};
        values.push_back(stored);
    }
    if (form.validate) return form.validate(values);
    return std::nullopt;
}

// What OK does with values that passed checkedValues.
void storeValues(const Form& form, const std::vector<FormValue>& values, AnalysisState& state) {
    for (std::size_t i = 0; i < form.fields.size(); ++i) store(form.fields[i], values[i], state);
    if (form.onAccept) form.onAccept(state);
}

// A radio group whose index names none of its buttons (a front end that types the index).
std::optional<FormError> choiceRefusal(const Form& form, const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < form.fields.size() && i < texts.size(); ++i) {
        const FormField& f = form.fields[i];
        if (f.kind != FormFieldKind::Radio || f.options.empty()) continue;
        const auto choice = parseInteger(texts[i]);
        if (choice && *choice >= 0 && *choice < static_cast<long long>(f.options.size())) continue;
        return FormError{i, fieldCaption(form, i) + ": choose one of the " +
                                std::to_string(f.options.size()) + " choices (0 to " +
                                std::to_string(f.options.size() - 1) + ")."};
    }
    return std::nullopt;
}

}  // namespace

const FormField* Form::byId(int id) const {
    const auto it =
        std::find_if(fields.begin(), fields.end(), [&](const FormField& f) { return f.id == id; });
    return it == fields.end() ? nullptr : &*it;
}

const FormField* Form::byLabel(std::string_view label) const {
    const auto it =
        std::find_if(fields.begin(), fields.end(), [&](const FormField& f) { return f.label == label; });
    return it == fields.end() ? nullptr : &*it;
}

std::vector<std::size_t> Form::layoutOrder() const {
    std::vector<std::size_t> order;
    std::vector<bool> placed(fields.size(), false);
    for (int id : displayOrder) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].id == id && !placed[i]) {
                order.push_back(i);
                placed[i] = true;
                break;
            }
        }
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!placed[i]) order.push_back(i);
    }
    return order;
}

bool Form::isEnabled(std::size_t index, const std::vector<std::string>& texts) const {
    if (index >= fields.size() || fields[index].enabledBy.empty()) return true;
    const FormField& field = fields[index];
    for (std::size_t i = 0; i < fields.size() && i < texts.size(); ++i) {
        if (fields[i].kind != FormFieldKind::Radio || fields[i].field != field.enabledBy) continue;
        const auto choice = parseInteger(texts[i]);
        return choice &&
               std::find(field.enabledFor.begin(), field.enabledFor.end(), *choice) != field.enabledFor.end();
    }
    return true;  // the form has no such radio group
}

std::vector<std::string> loadFormTexts(const Form& form, const AnalysisState& state, int floatDigits) {
    std::vector<std::string> texts;
    for (const FormField& f : form.fields) {
        const FieldInfo& info = boundField(f);
        if (info.type() == FieldType::Float) {
            const float stored = state.*std::get<float AnalysisState::*>(info.member);
            texts.push_back(shownText(stored, info.dimension, state.units, floatDigits));
        } else {
            texts.push_back(fieldText(state, info));
        }
    }
    return texts;
}

std::optional<FormError> acceptForm(const Form& form, const std::vector<std::string>& texts,
                                    AnalysisState& state) {
    std::vector<FormValue> values;
    if (auto error = checkedValues(form, texts, state.units, values)) return error;
    storeValues(form, values, state);
    return std::nullopt;
}

std::string fieldCaption(const Form& form, std::size_t index) {
    if (index >= form.fields.size()) return {};
    const FormField& field = form.fields[index];
    const std::string label = trimmed(field.label, " =");
    if (label.empty() && !field.group.empty()) return trimmed(field.group);
    if (label.empty()) {
        // An unlabelled radio group is known by its buttons: "Piezometer / Observation well".
        std::string buttons;
        for (const std::string& option : field.options)
            buttons += (buttons.empty() ? "" : " / ") + trimmed(option);
        return buttons.empty() ? field.field : buttons;
    }
    const bool shared = std::any_of(form.fields.begin(), form.fields.end(), [&](const FormField& other) {
        return &other != &field && trimmed(other.label, " =") == label;
    });
    if (!shared || field.group.empty()) return label;
    return label + " (" + groupQuantity(field.group) + ")";
}

std::optional<FormError> dialogRefusal(const Form& form, const std::vector<std::string>& texts,
                                       const AnalysisState& state) {
    std::vector<FormValue> values;
    if (auto error = checkedValues(form, texts, state.units, values)) return error;
    if (auto error = choiceRefusal(form, texts)) return error;
    if (!form.laterCheck) return std::nullopt;
    // The command checks the state as OK leaves it: on a copy, which is all this costs.
    AnalysisState trial = state;
    storeValues(form, values, trial);
    const auto fault = form.laterCheck(trial);
    if (!fault) return std::nullopt;
    const auto it = std::find_if(form.fields.begin(), form.fields.end(),
                                 [&](const FormField& f) { return f.field == fault->field; });
    const std::size_t index =
        it == form.fields.end() ? 0 : static_cast<std::size_t>(it - form.fields.begin());
    return FormError{index, fieldCaption(form, index) + ": " + fault->remedy + "."};
}

}  // namespace tolvex
