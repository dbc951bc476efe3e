#include "core/commands/EstimationForms.h"

#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "core/commands/FormFields.h"
#include "core/solutions/Unconfined.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/SyntheticDrawdowns.h"

namespace tolvex {
namespace {

const std::vector<std::string> kObservationKinds{"Piezometer", "Observation well"};
constexpr double kThicknessMin = 1e-10;
constexpr double kThicknessMax = 1e10;
constexpr double kMaxIterationCount = 65535;

Form theisForm() {
    Form form;
    form.title = "Theis confined aquifer";
    form.fields = {floatField(102, "Pumping rate (Q)", "pumpingRate"),
                   floatField(103, "Radial distance (r)", "radialDistance"),
                   floatField(104, "Storativity (S)", "storativity"),
                   floatField(105, "Transmissivity (T)", "transmissivity")};
    form.onAccept = [](AnalysisState& s) {
        s.paramCount = 2;
        s.paramVector[0] = s.storativity;
        s.paramVector[1] = s.transmissivity;
    };
    return form;
}

// The partially penetrating well's screens: piezometer box and observation-well box.
std::vector<FormField> screenFields(const std::string& prefix, int radioId) {
    const std::string piezo = "Piezometer", well = "Observation well";
    return {radioField(radioId, prefix + "ObsKind", kObservationKinds),
            floatField(157, "l/b", prefix + "PiezoL", piezo),
            floatField(158, "d/b", prefix + "PiezoD", piezo),
            floatField(159, "z/b", prefix + "PiezoZ", piezo),
            floatField(153, "l/b", prefix + "WellL", well),
            floatField(154, "d/b", prefix + "WellD", well),
            floatField(155, "l'/b", prefix + "ObsL", well),
            floatField(156, "d'/b", prefix + "ObsD", well)};
}

std::vector<FormField> partialPenetrationFields(const std::string& prefix) {
    std::vector<FormField> fields = screenFields(prefix, 160);
    const std::vector<FormField> common{
        floatField(152, "Pumping rate", "pumpingRate"),
        floatField(151, "Radial distance", "radialDistance"),
        floatField(150, "Aquifer thickness", "aquiferThickness"),
        floatField(147, "Storativity", "storativity"),
        floatField(148, "Transmissivity", "transmissivity"),
        floatField(149, "Vertical hydraulic conductivity", "verticalConductivity")};
    fields.insert(fields.end(), common.begin(), common.end());
    return fields;
}

Form partialForm() {
    Form form;
    form.title = "Constant discharge from a partially penetrating well in a nonleaky aquifer";
    form.fields = inExchangeOrder(partialPenetrationFields("pp"),
                                  {153, 150, 154, 158, 156, 149, 157, 155, 160, 152, 151, 147, 148, 159});
    form.displayOrder = {152, 151, 150, 160, 157, 158, 159, 153, 154, 155, 156, 147, 148, 149};
    return form;
}

Form leakyForm() {
    Form form;
    form.title = "Leaky confined Aquifer";
    form.fields = {floatField(103, "Radial distance (r)", "radialDistance"),
                   floatField(102, "Pumping rate (Q)", "pumpingRate"),
                   floatField(104, "Storativty (S)", "storativity"),
                   floatField(105, "Transmissivity (T)", "transmissivity"),
                   floatField(106, "Thickness of Leaky bed (b')", "upperBedThickness"),
                   floatField(122, "Hydraulic conductivity of Leaky bed (K')", "upperBedConductivity")};
    form.displayOrder = {102, 103, 106, 104, 105, 122};
    form.onAccept = [](AnalysisState& s) {
        s.paramCount = 4;
        s.paramVector[0] = s.storativity;
        s.paramVector[1] = s.transmissivity;
        s.paramVector[2] = s.upperBedConductivity;
        s.paramVector[3] = s.upperBedThickness;
    };
    return form;
}

Form leakyPartialForm() {
    Form form;
    form.title = "-";
    std::vector<FormField> fields = partialPenetrationFields("lpp");
    fields.push_back(floatField(161, "Thickness of leaky bed", "upperBedThickness"));
    fields.push_back(floatField(162, "Vertical hydraulic conductivity of leaky bed", "upperBedConductivity"));
    form.fields = inExchangeOrder(
        fields, {150, 161, 154, 158, 156, 149, 162, 153, 157, 155, 160, 152, 151, 147, 148, 159});
    form.displayOrder = {152, 151, 150, 161, 160, 157, 158, 159, 153, 154, 155, 156, 147, 148, 149, 162};
    return form;
}

Form storageForm() {
    Form form;
    form.title = "Leaky confined Aquifer with storage in the confining bed";
    form.fields = {
        withRange(floatField(161, "Thickness of upper confining bed (b')", "upperBedThickness"),
                  kThicknessMin, kThicknessMax),
        withRange(floatField(162, "Thickness of lower confining bed (b\")", "lowerBedThickness"),
                  kThicknessMin, kThicknessMax),
        floatField(164, "Hydraulic conductivity of uppper confining layer  (K')", "upperBedConductivity"),
        floatField(163, "Hydraulic conductivity of Lower confining layer (K\")", "lowerBedConductivity"),
        floatField(168, "Radial distance (r)", "radialDistance"),
        floatField(167, "Pumping rate (Q)", "pumpingRate"),
        floatField(166, "Storativty (S)", "storativity"),
        floatField(165, "Transmissivity (T)", "transmissivity"),
        floatField(169, "Storotivity of uppper confining layer  (S')", "upperBedStorativity"),
        floatField(170, "Storotivity of lower confining layer (S\")", "lowerBedStorativity")};
    return form;
}

Form slugForm() {
    Form form;
    form.title = "Slug test in a nonleaky aquifer (Cooper et al., 1967)";
    form.fields = {floatField(171, "Radius of the well case", "casingRadius"),
                   floatField(170, "Radius of the well", "wellRadius"),
                   floatField(147, "Storativity", "storativity"),
                   floatField(148, "Transmissivity", "transmissivity")};
    return form;
}

Form unconfinedForm();

}  // namespace

std::vector<FormField> unconfinedGeometryFields(const std::vector<int>& ids) {
    const std::string screen = "Pumping well screen", observation = "Observation";
    std::vector<std::string> kinds;
    for (int k = 0; k < kUnconfinedObservationCount; ++k) kinds.emplace_back(unconfinedObservationName(k));
    return {
        radioField(ids.at(0), "mnObsKind", kinds, observation),
        floatField(ids.at(1), "l/b", "mnL", screen),
        floatField(ids.at(2), "d/b", "mnD", screen),
        enabledWhen(floatField(ids.at(3), "z/b", "mnZ", observation), "mnObsKind", {kPiezometer}),
        enabledWhen(floatField(ids.at(4), "z1/b", "mnZ1", observation), "mnObsKind", {kObservationScreen}),
        enabledWhen(floatField(ids.at(5), "z2/b", "mnZ2", observation), "mnObsKind", {kObservationScreen})};
}

namespace {

Form unconfinedForm() {
    Form form;
    form.title = "Unconfined aquifer test (Moench, 1993)";
    const std::vector<FormField> geometry = unconfinedGeometryFields({113, 189, 190, 191, 194, 195});
    form.fields = {floatField(150, "Aquifer thickness", "aquiferThickness"),
                   geometry[2],
                   floatField(152, "Vertical hydraulic conductivity", "verticalConductivity"),
                   geometry[1],
                   floatField(151, "Radial distance", "radialDistance"),
                   geometry[0],
                   floatField(167, "Pumping rate", "pumpingRate"),
                   floatField(147, "Storativity", "storativity"),
                   floatField(149, "Specifc yield", "specificYield"),
                   floatField(148, "Transmissivity", "transmissivity"),
                   geometry[3],
                   geometry[4],
                   geometry[5]};
    // The well and aquifer values as a user reads them, then the geometry.
    form.displayOrder = {167, 151, 150, 148, 147, 149, 152, 189, 190, 113, 191, 194, 195};
    return form;
}

Form doublePorosityForm() {
    Form form;
    form.title = "Warren and Root model (Kazemi et al, 1969; and Moench, 1984)";
    form.fields = {floatField(150, "Thickness of slab", "slabThickness"),
                   floatField(151, "Radial distance", "radialDistance"),
                   floatField(167, "Pumping rate", "pumpingRate"),
                   floatField(170, "Radius of well", "wellRadius"),
                   floatField(186, "Storativity(f)", "fractureStorativity"),
                   floatField(188, "Storativity(m)", "matrixStorativity"),
                   floatField(187, "Transmissivity(f)", "fractureTransmissivity"),
                   floatField(189, "Transmissivity(m)", "matrixTransmissivity")};
    return form;
}

double numeric(const FormValue& v) {
    if (const auto* i = std::get_if<long long>(&v)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&v)) return *d;
    return 0.0;
}

}  // namespace

std::optional<Form> initialGuessForm(int modelKind) {
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::Theis:
            return theisForm();
        case ModelKind::PartialPenetration:
            return partialForm();
        case ModelKind::Leaky:
            return leakyForm();
        case ModelKind::LeakyPartial:
            return leakyPartialForm();
        case ModelKind::LeakyStorage:
            return storageForm();
        case ModelKind::SlugTest:
            return slugForm();
        case ModelKind::Unconfined:
            return unconfinedForm();
        case ModelKind::WarrenRoot:
        case ModelKind::BoultonStreltsova:
            return doublePorosityForm();
        default:
            return std::nullopt;
    }
}

// Control id of the Bouwer and Rice line choice, after the dialog's own ids.
constexpr int kBouwerRiceLineId = 176;

Form bouwerRiceForm() {
    Form form;
    form.title = "Slug test  (Bower and Rice, 1976)";
    form.fields = {
        floatField(172, "Hydraulic conductivity", "hydraulicConductivity"),
        floatField(173, "Well screen length ", "screenLength"),
        floatField(171, "Radius of the well case", "casingRadius"),
        floatField(170, "Radius of the well", "wellRadius"),
        floatField(174, "Aquifer thickness", "brAquiferThickness"),
        floatField(175, "length of well in aquifer", "wellDepthInAquifer"),
        radioField(kBouwerRiceLineId, "brFitIntercept", {"Line through the origin", "Line with an intercept"},
                   "ln(H/H0) against time")};
    return form;
}

Form matchingCriteriaForm() {
    Form form;
    form.title = "Drawdown curve matching criteria";
    form.fields = {
        withRange(integerField(146, "Maximum Number of Iteration", "maxIterations"), 0, kMaxIterationCount),
        floatField(147, "Convergence Error", "convergenceError")};
    form.onAccept = [](AnalysisState& s) {
        s.errorHistory.resize(static_cast<std::size_t>(s.maxIterations), 0.0f);
    };
    return form;
}

Form timeInputForm() {
    Form form;
    form.title = "Time input for calculation of drawdowns";
    form.fields = {integerField(kTimeCountId, "No. of times", "usedCount"),
                   floatField(kTimeMinId, "Min. Time", "calcTimeMin"),
                   floatField(kTimeMaxId, "Max. Time", "calcTimeMax")};
    form.validate = [](const std::vector<FormValue>& values) -> std::optional<FormError> {
        const long long count = std::get<long long>(values[0]);
        const auto error = checkSyntheticTimeRange(count, static_cast<float>(numeric(values[1])),
                                                   static_cast<float>(numeric(values[2])));
        if (!error) return std::nullopt;
        return FormError{error->field, error->message};
    };
    return form;
}

}  // namespace tolvex
