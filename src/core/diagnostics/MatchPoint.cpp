#include "core/diagnostics/MatchPoint.h"

#include <cmath>

#include "core/numerics/Constants.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

using Vector = std::vector<double>;

bool positive(double v) {
    return v > 0.0 && std::isfinite(v);
}

// Why the state's fields cannot carry the closed forms of the model, or nothing.
std::optional<std::string> fieldFault(const AnalysisState& s) {
    const auto need = [](double v, const char* name) -> std::optional<std::string> {
        if (positive(v)) return std::nullopt;
        return std::string("The match needs a positive ") + name + ".";
    };
    const auto kind = static_cast<ModelKind>(s.modelKind);
    if (kind == ModelKind::SlugTest) {
        if (auto f = need(s.casingRadius, "casing radius")) return f;
        return need(s.wellRadius, "well radius");
    }
    if (auto f = need(s.pumpingRate, "pumping rate")) return f;
    if (auto f = need(s.radialDistance, "radial distance")) return f;
    if (kind == ModelKind::PartialPenetration || kind == ModelKind::LeakyPartial ||
        kind == ModelKind::Unconfined) {
        if (auto f = need(s.aquiferThickness, "aquifer thickness")) return f;
    }
    if (kind == ModelKind::LeakyPartial) return need(s.upperBedThickness, "thickness of the confining bed");
    if (kind == ModelKind::LeakyStorage) {
        if (auto f = need(s.upperBedThickness, "thickness of the upper confining bed")) return f;
        return need(s.lowerBedThickness, "thickness of the lower confining bed");
    }
    if (kind == ModelKind::WarrenRoot || kind == ModelKind::BoultonStreltsova)
        return need(s.slabThickness, "block or slab thickness");
    return std::nullopt;
}

std::optional<std::string> modelFault(const AnalysisState& s) {
    if (s.modelKind < 0 || s.modelKind > 8)
        return "Only the models with type curves (0 to 8) can be matched.";
    return fieldFault(s);
}

// Hantush's (1960) beta of model 4 from the vector S T K' K'' S' S''.
double storageBeta(const AnalysisState& s, std::span<const double> p) {
    const double r = s.radialDistance;
    return r / 4.0 *
           (std::sqrt(p[3] * p[5] / (s.upperBedThickness * p[2] * p[1])) +
            std::sqrt(p[4] * p[6] / (s.lowerBedThickness * p[2] * p[1])));
}

double fixedAnisotropy(const AnalysisState& s) {
    return s.lppObsKind == 0 ? s.lppPiezoAnis : s.lppWellAnis;
}

Vector pumpingParameters(const AnalysisState& s, double T, double S, double label) {
    const double r = s.radialDistance, r2 = r * r, b = s.aquiferThickness;
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            return {0.0, S, T};
        case ModelKind::PartialPenetration:  // a r / b = sqrt(Kz b / T) r / b
            return {0.0, S, T, label * label * T * b / r2};
        case ModelKind::Leaky:  // r/B = r / sqrt(T b'/K'): the vector holds b'/K'
            return {0.0, S, T, r2 / (label * label * T)};
        case ModelKind::LeakyPartial: {
            const double a = fixedAnisotropy(s);
            return {0.0, S, T, a * a * T * b / r2, s.upperBedThickness * label * label * T / r2};
        }
        case ModelKind::LeakyStorage: {
            Vector p = buildParameterVectorDouble(s);
            p[1] = S;
            p[2] = T;
            const double f = label / storageBeta(s, p);  // beta grows like sqrt(K') and sqrt(K'')
            p[3] *= f * f;
            p[4] *= f * f;
            return p;
        }
        case ModelKind::Unconfined:  // beta = Kz r^2 / (b T), sigma = S / Sy
            return {0.0, S, T, label * b * T / r2, S / s.mnStorageRatio};
        case ModelKind::WarrenRoot: {  // lambda = 12 Tm r^2 / (Tf bs^2), sigma = Sm / Sf
            const double bs = s.slabThickness;
            return {0.0, S, T, s.tcWrSigma * S, label * T * bs * bs / (12.0 * r2)};
        }
        default: {  // the label is gamma^2, gamma = 2 r sqrt(Tm / Tf) / bs
            const double g = std::sqrt(label) * s.slabThickness / (2.0 * r);
            return {0.0, S, T, s.tcBsSigma * S, T * g * g};
        }
    }
}

double familyValueOf(const AnalysisState& s, std::span<const double> p) {
    const double r = s.radialDistance, r2 = r * r, b = s.aquiferThickness, T = p[2];
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            return 0.0;
        case ModelKind::PartialPenetration:
            return std::sqrt(p[3] * b / T) * r / b;
        case ModelKind::Leaky:
            return r / std::sqrt(T * p[3]);
        case ModelKind::LeakyPartial:
            return r / std::sqrt(s.upperBedThickness * T / p[4]);
        case ModelKind::LeakyStorage:
            return storageBeta(s, p);
        case ModelKind::SlugTest:
            return static_cast<double>(s.wellRadius) * s.wellRadius * p[1] /
                   (static_cast<double>(s.casingRadius) * s.casingRadius);
        case ModelKind::Unconfined:
            return p[3] * r2 / (b * T);
        case ModelKind::WarrenRoot:
            return 12.0 * p[4] * r2 / (T * s.slabThickness * s.slabThickness);
        default:
            return 4.0 * r2 * p[4] / (T * s.slabThickness * s.slabThickness);
    }
}

template <class T>
std::optional<T> refuse(std::string* reason, const std::string& why) {
    if (reason) *reason = why;
    return std::nullopt;
}

}  // namespace

MatchShift shiftThrough(double t, double s, double x, double y) {
    return {std::log10(x / t), std::log10(y / s)};
}

std::optional<std::vector<double>> parametersFromMatch(const AnalysisState& s, const MatchPlacement& m,
                                                       std::string* reason) {
    if (auto fault = modelFault(s)) return refuse<Vector>(reason, *fault);
    if (!std::isfinite(m.shift.dx) || !std::isfinite(m.shift.dy))
        return refuse<Vector>(reason, "The shift of the match must be a finite number of decades.");
    const auto kind = static_cast<ModelKind>(s.modelKind);
    if (kind != ModelKind::Theis && !positive(m.familyValue))
        return refuse<Vector>(reason, "The chosen type curve must have a positive family value.");
    if (kind == ModelKind::SlugTest) {
        const double rc2 = static_cast<double>(s.casingRadius) * s.casingRadius;
        const double rw2 = static_cast<double>(s.wellRadius) * s.wellRadius;
        return Vector{0.0, m.familyValue * rc2 / rw2, rc2 * std::pow(10.0, m.shift.dx)};
    }
    const double r2 = static_cast<double>(s.radialDistance) * s.radialDistance;
    const double T = s.pumpingRate * std::pow(10.0, m.shift.dy) / (4.0 * kProgramPi);
    const double timeFactor = s.modelKind <= 4 ? 4.0 : 1.0;  // 1/u = 4 T t / (r^2 S); td = T t / (S r^2)
    const double S = timeFactor * T * std::pow(10.0, -m.shift.dx) / r2;
    Vector p = pumpingParameters(s, T, S, m.familyValue);
    for (std::size_t k = 1; k < p.size(); ++k) {
        if (!std::isfinite(p[k]))
            return refuse<Vector>(reason, "The match gives no finite parameters with the current fields.");
    }
    return p;
}

std::optional<MatchPlacement> placementOf(const AnalysisState& s, std::span<const double> p,
                                          std::string* reason) {
    if (auto fault = modelFault(s)) return refuse<MatchPlacement>(reason, *fault);
    if (static_cast<int>(p.size()) < parameterCount(s.modelKind) + 1)
        return refuse<MatchPlacement>(reason, "The parameter vector is too short for the model.");
    for (int k = 1; k <= parameterCount(s.modelKind); ++k) {
        if (!std::isfinite(p[k]))
            return refuse<MatchPlacement>(reason, "The parameters must be finite numbers.");
    }
    if (!positive(p[1]) || !positive(p[2]))
        return refuse<MatchPlacement>(reason, "The storativity and the transmissivity must be positive.");
    MatchPlacement m;
    m.familyValue = familyValueOf(s, p);
    const double S = p[1], T = p[2];
    if (s.modelKind == static_cast<int>(ModelKind::SlugTest)) {
        m.shift = {std::log10(T / (static_cast<double>(s.casingRadius) * s.casingRadius)), 0.0};
        return m;
    }
    const double r2 = static_cast<double>(s.radialDistance) * s.radialDistance;
    const double timeFactor = s.modelKind <= 4 ? 4.0 : 1.0;
    m.shift = {std::log10(timeFactor * T / (r2 * S)), std::log10(4.0 * kProgramPi * T / s.pumpingRate)};
    if (!std::isfinite(m.familyValue))
        return refuse<MatchPlacement>(reason, "The parameters place the data on no curve of the family.");
    return m;
}

}  // namespace tolvex
