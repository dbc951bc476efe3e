#include "core/commands/TypeCurveForms.h"

#include <utility>

#include "core/commands/EstimationForms.h"
#include "core/commands/FormFields.h"

#include "core/state/ModelKind.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex {
namespace {

const std::vector<std::string> kObservationKinds{"Piezometer", "Observation well"};

// One axis of a family: a group with "min", "max" and "No. of Points".
std::vector<FormField> axis(int firstId, const std::string& caption, const std::string& prefix) {
    return {floatField(firstId, "min", prefix + "Min", caption),
            floatField(firstId + 1, "max", prefix + "Max", caption),
            integerField(firstId + 2, "No. of Points", prefix + "Count", caption)};
}

Form rangeForm(std::string title, const std::string& firstCaption, const std::string& firstPrefix,
               const std::string& secondCaption, const std::string& secondPrefix,
               std::vector<FormField> others = {}) {
    Form form;
    form.title = std::move(title);
    form.fields = axis(kFirstAxisId, firstCaption, firstPrefix);
    const auto second = axis(kSecondAxisId, secondCaption, secondPrefix);
    form.fields.insert(form.fields.end(), second.begin(), second.end());
    int id = kOtherId;
    for (FormField& f : others) {
        f.id = id++;
        form.fields.push_back(std::move(f));
    }
    return form;
}

Form confinedRangeForm() {
    Form form;
    form.title = "Aquifer properties";
    const std::string caption = "u=r*r*S/(4*T*t)";
    FormField count = floatField(kFirstAxisId + 2, "No. of points ", "tcTheisCount", caption);
    count.kind = FormFieldKind::TruncatedInt;  // edited as a decimal number
    form.fields = {floatField(kFirstAxisId, "1/u (min)=", "tcTheisMin", caption),
                   floatField(kFirstAxisId + 1, "1/u(max)=", "tcTheisMax", caption), count};
    return form;
}

// Pumping-well screen and observation point of the partially penetrating families.
std::vector<FormField> screenControls(const std::string& prefix, bool withAnisotropy) {
    const std::string piezo = "Piezometer", well = "Observation well";
    std::vector<FormField> fields{radioField(0, prefix + "ObsKind", kObservationKinds)};
    if (withAnisotropy) fields.push_back(floatField(0, "a*r/b", prefix + "PiezoAnis", piezo));
    for (const auto& [label, suffix] : {std::pair{"l/b", "PiezoL"}, {"d/b", "PiezoD"}, {"z/b", "PiezoZ"}}) {
        fields.push_back(floatField(0, label, prefix + suffix, piezo));
    }
    if (withAnisotropy) fields.push_back(floatField(0, "a*r/b", prefix + "WellAnis", well));
    for (const auto& [label, suffix] :
         {std::pair{"l/b", "WellL"}, {"d/b", "WellD"}, {"l'/b", "ObsL"}, {"d'/b", "ObsD"}}) {
        fields.push_back(floatField(0, label, prefix + suffix, well));
    }
    return fields;
}

// S/Sy, then the pumping-well screen and the observation (ids are given by rangeForm).
std::vector<FormField> unconfinedControls() {
    const std::vector<FormField> geometry = unconfinedGeometryFields({0, 0, 0, 0, 0, 0});
    return {floatField(0, "S/Sy", "mnStorageRatio"),
            geometry[1],
            geometry[2],
            geometry[0],
            geometry[3],
            geometry[4],
            geometry[5]};
}

Form optionForm(std::string title, std::string uniform, std::string table, std::string field) {
    Form form;
    form.title = std::move(title);
    form.fields = {radioField(kOptionId, std::move(field), {std::move(uniform), std::move(table)})};
    return form;
}

// The ranges the family would refuse once the dialog closed, for the dialog to refuse on OK.
std::optional<FieldFault> rangeFault(const AnalysisState& state) {
    const auto fault = typeCurveRangeFault(state);
    if (!fault) return std::nullopt;
    return FieldFault{fault->field, fault->remedy};
}

std::optional<Form> rangeFormOf(int modelKind) {
    const std::string partialTitle =
        "Constant discharge from a partially penetrating well in a nonleaky aquifer";
    const std::string leakyTitle = "Constant discharge from a fully penetrating well in a leaky aquifer";
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::Theis:
            return confinedRangeForm();
        case ModelKind::PartialPenetration:
            return rangeForm(partialTitle, "1/u =4*T*t/(r*r*S)", "tcPp", "a*r/b", "tcPpAnis",
                             screenControls("pp", false));
        case ModelKind::Leaky:
            return rangeForm(leakyTitle, "1/u=4*T*t/(r*r*S)", "tcLeaky", "r/B = r/sqrt(T*b'/K')",
                             "tcLeakyRb");
        case ModelKind::LeakyPartial:
            return rangeForm(partialTitle, "1/u =4*T*t/(r*r*S)", "tcLpp", "beta=sqrt(r*r*K'/T/b')",
                             "tcLppBeta", screenControls("lpp", true));
        case ModelKind::LeakyStorage:
            return rangeForm("Leaky aquifer with storage of water in the confining beds", "1/u=4*T*t/(r*r*S)",
                             "tcStor", "beta = r*(sqrt(K'S'/b'/T/S)+sqrt(K\"S\"/b\"/T/S))/4", "tcStorBeta");
        case ModelKind::SlugTest:
            return rangeForm(leakyTitle, "alpha=rw*rw*S/rc/rc", "tcSlugAlpha", "beta=T*t/rc/rc",
                             "tcSlugBeta");
        case ModelKind::Unconfined:
            return rangeForm("Unconfined aquifer (Moench, 1993)", "td =T*t/(r*r*S)", "tcMnTd",
                             "Kz*r^2/Kr/b^2", "tcMnKz", unconfinedControls());
        case ModelKind::WarrenRoot:
            return rangeForm("Warren and Root (Kazemi et al. , 1969; and Moench, 1984)", "td/rd/rd=T*t/S/r/r",
                             "tcWrTd", "lambda*rd*rd=a*(T'/T)*r*r", "tcWrLambda",
                             {floatField(0, "sigma=S'/S", "tcWrSigma")});
        case ModelKind::BoultonStreltsova:
            return rangeForm("Boulton and Streltsova( Moench, 1984)", "td/rd^2=T*t/S/r^2", "tcBsTd",
                             "(gamma*rd)^2=(T'/T)*r^2/b^2", "tcBsGamma",
                             {floatField(0, "sigma=S'/S", "tcBsSigma")});
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<Form> typeCurveRangeForm(int modelKind) {
    std::optional<Form> form = rangeFormOf(modelKind);
    if (form) form->laterCheck = rangeFault;
    return form;
}

std::optional<Form> typeCurveOptionForm(int modelKind) {
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::Theis:
            return optionForm("Options for Confined Aquifer Type Curve",
                              "Calculate type curves using exponenetially uniform intervals",
                              "Calculate Wenzel's table (1942)", "tcTheisUniform");
        case ModelKind::Leaky:
            return optionForm("Options for calculating type curves in leaky confined aquifer",
                              "Specify u and r/B in exponentially uniform intervals",
                              "Specify u and r/B using Hantush's table (1956)", "tcLeakyUniform");
        case ModelKind::LeakyStorage:
            return optionForm("Options for calculating type curves in leaky confined aquifer with storage",
                              "Specify u and beta in exponentially uniform intervals",
                              "Calculate the Hantush's table (1961)", "tcStorUniform");
        case ModelKind::Unconfined:
            return optionForm("Options for Unconfined Aquifer Type Curves",
                              "Calculate type curves using exponenetially uniform intervals",
                              "Calculate the Neuman's table (1975)", "tcAltUniform");
        default:
            return std::nullopt;
    }
}

Form typeCurveSelectionForm() {
    Form form;
    form.title = "Type Curve Selection  for Hydraulic Testing";
    form.fields = {
        radioField(kModelChoiceId, "modelKind",
                   {"A Fully Penetrating Well ", "A Partially Penetrating Well", "A Fully Penetrating Well",
                    " A Partially Penetrating Well", "With Storage Of Water In The Confining Beds",
                    "Slug Test  (Cooper, Breddehoeft, and Papadopulos, 1967)",
                    "An Unconfined Aquifer (Fully or Partially Penetrating)", "Warren and Root",
                    "Boulton and Streltsova"})};
    return form;
}

std::vector<std::string> typeCurveSelectionGroups() {
    const std::string confined = "A confined aquifer", leaky = "A leaky confined aquifer",
                      fractured = "A fractured aquifer";
    return {confined, confined, leaky, leaky, leaky, "", "", fractured, fractured};
}

}  // namespace tolvex
