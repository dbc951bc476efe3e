#include "core/typecurves/ParameterVector.h"

#include <algorithm>

#include "core/state/ModelKind.h"

namespace tolvex {
namespace {

// The fields of each vector entry; model 2's third entry is the ratio and has no field of its own.
using Member = float AnalysisState::*;

std::vector<Member> vectorFields(int modelKind) {
    using S = AnalysisState;
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::Theis:
        case ModelKind::SlugTest:
            return {&S::storativity, &S::transmissivity};
        case ModelKind::PartialPenetration:
            return {&S::storativity, &S::transmissivity, &S::verticalConductivity};
        case ModelKind::Leaky:
            return {&S::storativity, &S::transmissivity, nullptr};
        case ModelKind::LeakyPartial:
            return {&S::storativity, &S::transmissivity, &S::verticalConductivity, &S::upperBedConductivity};
        case ModelKind::LeakyStorage:
            return {&S::storativity,          &S::transmissivity,      &S::upperBedConductivity,
                    &S::lowerBedConductivity, &S::upperBedStorativity, &S::lowerBedStorativity};
        case ModelKind::Unconfined:
            return {&S::storativity, &S::transmissivity, &S::verticalConductivity, &S::specificYield};
        case ModelKind::WarrenRoot:
        case ModelKind::BoultonStreltsova:
            return {&S::fractureStorativity, &S::fractureTransmissivity, &S::matrixStorativity,
                    &S::matrixTransmissivity};
        default:
            return {};
    }
}

double leakanceRatio(const AnalysisState& s) {
    return static_cast<double>(s.upperBedThickness) / static_cast<double>(s.upperBedConductivity);
}

}  // namespace

int parameterCount(int modelKind) {
    // Kept as a table so that the forward model can ask without building the field list.
    constexpr int kCounts[kModelCount] = {2, 3, 3, 4, 6, 2, 4, 4, 4, 0, 1};
    return modelKind >= 0 && modelKind < kModelCount ? kCounts[modelKind] : 0;
}

int clampedCount(int modelKind) {
    // Confining-bed storativities may be zero (a bed without storage): they stay as entered.
    if (modelKind == static_cast<int>(ModelKind::LeakyStorage)) return 4;
    return parameterCount(modelKind);
}

std::vector<std::string_view> fittedFieldNames(int modelKind) {
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::Theis:
        case ModelKind::SlugTest:
            return {"storativity", "transmissivity"};
        case ModelKind::PartialPenetration:
            return {"storativity", "transmissivity", "verticalConductivity"};
        case ModelKind::Leaky:
            return {"storativity", "transmissivity", "upperBedConductivity"};
        case ModelKind::LeakyPartial:
            return {"storativity", "transmissivity", "verticalConductivity", "upperBedConductivity"};
        case ModelKind::LeakyStorage:
            return {"storativity",          "transmissivity",      "upperBedConductivity",
                    "lowerBedConductivity", "upperBedStorativity", "lowerBedStorativity"};
        case ModelKind::Unconfined:
            return {"storativity", "transmissivity", "verticalConductivity", "specificYield"};
        case ModelKind::WarrenRoot:
        case ModelKind::BoultonStreltsova:
            return {"fractureStorativity", "fractureTransmissivity", "matrixStorativity",
                    "matrixTransmissivity"};
        case ModelKind::Jacob:
            return {"transmissivity", "storativity"};
        case ModelKind::BouwerRice:
            return {"hydraulicConductivity"};
        default:
            return {};
    }
}

std::vector<double> buildParameterVectorDouble(const AnalysisState& state) {
    const auto fields = vectorFields(state.modelKind);
    std::vector<double> p(fields.size() + 1, 0.0);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        p[k + 1] = fields[k] != nullptr ? static_cast<double>(state.*fields[k]) : leakanceRatio(state);
    }
    return p;
}

std::vector<float> buildParameterVector(const AnalysisState& state) {
    const auto wide = buildParameterVectorDouble(state);
    std::vector<float> p(wide.size(), 0.0f);
    std::transform(wide.begin(), wide.end(), p.begin(), [](double v) { return static_cast<float>(v); });
    return p;
}

void writeParameterVector(AnalysisState& state, std::span<const double> p) {
    const auto fields = vectorFields(state.modelKind);
    for (std::size_t k = 0; k < fields.size() && k + 1 < p.size(); ++k) {
        if (fields[k] != nullptr) {
            state.*fields[k] = static_cast<float>(p[k + 1]);
        } else {
            state.upperBedConductivity =
                static_cast<float>(static_cast<double>(state.upperBedThickness) / p[k + 1]);
        }
    }
}

void writeParameterVector(AnalysisState& state, std::span<const float> p) {
    std::vector<double> wide(p.begin(), p.end());
    writeParameterVector(state, std::span<const double>(wide));
}

}  // namespace tolvex
