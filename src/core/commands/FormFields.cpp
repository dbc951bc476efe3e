#include "core/commands/FormFields.h"

#include <algorithm>
#include <utility>

namespace tolvex {

FormField floatField(int id, std::string label, std::string field, std::string group) {
    FormField f;
    f.id = id;
    f.label = std::move(label);
    f.field = std::move(field);
    f.kind = FormFieldKind::Float;
    f.group = std::move(group);
    return f;
}

FormField integerField(int id, std::string label, std::string field, std::string group) {
    FormField f = floatField(id, std::move(label), std::move(field), std::move(group));
    f.kind = FormFieldKind::Integer;
    return f;
}

FormField radioField(int id, std::string field, std::vector<std::string> options, std::string group) {
    FormField f = floatField(id, {}, std::move(field), std::move(group));
    f.kind = FormFieldKind::Radio;
    f.options = std::move(options);
    return f;
}

FormField withRange(FormField field, double minimum, double maximum) {
    field.minimum = minimum;
    field.maximum = maximum;
    return field;
}

FormField enabledWhen(FormField field, std::string radioField, std::vector<int> choices) {
    field.enabledBy = std::move(radioField);
    field.enabledFor = std::move(choices);
    return field;
}

std::vector<FormField> inExchangeOrder(const std::vector<FormField>& fields,
                                       std::initializer_list<int> order) {
    std::vector<FormField> ordered;
    for (int id : order) {
        const auto it =
            std::find_if(fields.begin(), fields.end(), [id](const FormField& f) { return f.id == id; });
        if (it != fields.end()) ordered.push_back(*it);
    }
    return ordered;
}

}  // namespace tolvex
