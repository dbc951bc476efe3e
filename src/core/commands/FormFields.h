// Short constructors for the fields of the engine's dialog forms.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "core/commands/Form.h"

namespace tolvex {

[[nodiscard]] FormField floatField(int id, std::string label, std::string field, std::string group = {});
[[nodiscard]] FormField integerField(int id, std::string label, std::string field, std::string group = {});
[[nodiscard]] FormField radioField(int id, std::string field, std::vector<std::string> options,
                                   std::string group = {});
// The same field with an inclusive range check.
[[nodiscard]] FormField withRange(FormField field, double minimum, double maximum);
// The same field, enabled only while the radio group bound to `radioField` holds one of `choices`.
[[nodiscard]] FormField enabledWhen(FormField field, std::string radioField, std::vector<int> choices);

// The fields listed in `order` (control ids, the dialog's exchange order) taken from `fields`.
[[nodiscard]] std::vector<FormField> inExchangeOrder(const std::vector<FormField>& fields,
                                                     std::initializer_list<int> order);

}  // namespace tolvex
