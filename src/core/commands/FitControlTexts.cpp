#include "core/commands/FitControlTexts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"
#include "core/units/Units.h"

namespace tolvex {
namespace {

constexpr int kShortDigits = 6;
constexpr int kRoundTripDigits = 17;

// The shortest of 6 and 17 significant digits that reads back as the same double.
std::string boundText(double value) {
    std::string text = formatGeneral(value, kShortDigits);
    const auto back = parseTypedNumber(text);
    if (back && *back == value) return text;
    return formatGeneral(value, kRoundTripDigits);
}

std::string labelOf(const FormField& field) {
    return "\"" + (field.label.empty() ? field.field : field.label) + "\"";
}

// An empty text is no bound (the infinity given); otherwise a finite number.
std::optional<double> parseBound(const std::string& text, double none) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return none;
    const auto value = parseTypedNumber(text);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return *value;
}

Dimension dimensionOf(const std::string& name) {
    const FieldInfo* field = findField(name);
    return field ? field->dimension : Dimension::None;
}

}  // namespace

std::vector<std::size_t> fittedFieldIndices(const Form& form, int modelKind) {
    const std::vector<std::string_view> names = fittedFieldNames(modelKind);
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
        if (std::find(names.begin(), names.end(), form.fields[i].field) != names.end()) indices.push_back(i);
    }
    return indices;
}

FitFieldTexts loadFitFieldTexts(const FitControls& controls, const std::string& name,
                                const DisplayUnits& units) {
    FitFieldTexts texts;
    texts.fixed = controls.fixed.count(name) != 0;
    const Dimension dimension = dimensionOf(name);
    if (const auto it = controls.bounds.find(name); it != controls.bounds.end()) {
        if (std::isfinite(it->second.lower))
            texts.lower = boundText(fromSI(it->second.lower, dimension, units));
        if (std::isfinite(it->second.upper))
            texts.upper = boundText(fromSI(it->second.upper, dimension, units));
    }
    return texts;
}

std::optional<FormError> acceptFitFieldTexts(const Form& form, int modelKind,
                                             const std::vector<FitFieldTexts>& texts, FitControls& controls,
                                             const DisplayUnits& units) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    FitControls result = controls;
    for (std::size_t i : fittedFieldIndices(form, modelKind)) {
        const FormField& field = form.fields[i];
        const FitFieldTexts entry = i < texts.size() ? texts[i] : FitFieldTexts{};
        const auto lower = parseBound(entry.lower, -inf);
        if (!lower)
            return FormError{
                i, "Please enter a number as the lower bound of " + labelOf(field) + ", or leave it empty."};
        const auto upper = parseBound(entry.upper, inf);
        if (!upper)
            return FormError{
                i, "Please enter a number as the upper bound of " + labelOf(field) + ", or leave it empty."};
        if (!(*lower < *upper))
            return FormError{i, "The lower bound of " + labelOf(field) + " must lie below its upper bound."};
        result.fixed.erase(field.field);
        if (entry.fixed) result.fixed.insert(field.field);
        result.bounds.erase(field.field);
        const Dimension dimension = dimensionOf(field.field);
        if (std::isfinite(*lower) || std::isfinite(*upper))
            result.bounds[field.field] = {toSI(*lower, dimension, units), toSI(*upper, dimension, units)};
    }
    controls = std::move(result);
    return std::nullopt;
}

}  // namespace tolvex
