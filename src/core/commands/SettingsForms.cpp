#include "core/commands/SettingsForms.h"

#include <variant>

#include "core/commands/FormFields.h"
#include "core/commands/TypeCurveForms.h"

namespace tolvex {

Form modelSelectionForm() {
    Form form;
    form.title = "Selection of hydraulic testing methods";
    form.fields = {radioField(
        kModelChoiceId, "modelKind",
        {"A Fully Penetrating Well", "A Partially Penetrating Well", "A Fully Penetrating Well",
         "A Partially Penetrating Well", "With Storage Of Water In The Confining Beds",
         "Cooper, Breddehoeft, and Papadopulos, 1967",
         "An unconfined aquifer (fully or partially penetrating)", "Warren and Root",
         "Boulton and Streltsova", "Jacob's method (Cooper and Jacob, 1946)", "Bouwer and Rice, 1976"})};
    return form;
}

std::vector<std::string> modelSelectionGroups() {
    const std::string confined = "A confined aquifer", leaky = "A leaky confined aquifer",
                      slug = "Slug tests", fractured = "A fractured aquifer";
    return {confined, confined, leaky, leaky, leaky, slug, "", fractured, fractured, confined, slug};
}

Form projectForm() {
    Form form;
    form.title = "Definition of Project";
    FormField name = floatField(kOperatorId, "Operator's name", "operatorName");
    name.kind = FormFieldKind::Text;
    FormField description = floatField(kDescriptionId, "Project description", "projectDescription");
    description.kind = FormFieldKind::MultilineText;
    form.fields = {name, description};
    return form;
}

Form integrationForm() {
    Form form;
    form.title = "Options";
    form.fields = {
        withRange(integerField(kStehfestId, "No. of Stehfest'terms in Laplace inversion", "stehfestCount"),
                  kMinStehfestTerms, kMaxStehfestTerms),
        withRange(integerField(kGaussId, "No. of Gaussian integration terms", "gaussCount"), kMinGaussPoints,
                  kMaxGaussPoints),
        radioField(kAccuracyId, "accuracy",
                   {"Standard (the program's algorithms)", "High (nine digits or better, slower)"},
                   "Well functions")};
    // Stehfest's weights pair the terms: an odd count is no inversion formula at all.
    form.validate = [](const std::vector<FormValue>& values) -> std::optional<FormError> {
        if (std::get<long long>(values[0]) % 2 == 0) return std::nullopt;
        return FormError{0, "The number of Stehfest terms must be even."};
    };
    form.onAccept = [](AnalysisState& s) { buildNumericalTables(s); };
    return form;
}

}  // namespace tolvex
