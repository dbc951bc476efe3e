#include "core/estimation/FitControls.h"

#include <cmath>

#include "core/state/ModelKind.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

constexpr double kAtBoundTolerance = 1e-6;  // relative

std::string namesOf(const std::vector<std::string_view>& names) {
    std::string text;
    for (std::string_view name : names) text += (text.empty() ? "" : ", ") + std::string(name);
    return text;
}

bool isFitted(const std::vector<std::string_view>& names, const std::string& name) {
    for (std::string_view n : names)
        if (n == name) return true;
    return false;
}

// Bounds on K' as bounds on b'/K' (b' > 0): the ratio falls as K' rises.
ParameterBounds ratioBounds(double thickness, const ParameterBounds& b) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    ParameterBounds r;
    r.lower = b.upper > 0.0 ? thickness / b.upper : -inf;
    r.upper = b.lower > 0.0 ? thickness / b.lower : inf;
    return r;
}

// Bounds in the vector's units for the field `name` at vector entry k.
ParameterBounds vectorBounds(const AnalysisState& s, int k, const ParameterBounds& b) {
    if (s.modelKind == static_cast<int>(ModelKind::Leaky) && k == 3)
        return ratioBounds(s.upperBedThickness, b);
    if (s.modelKind == static_cast<int>(ModelKind::BouwerRice)) {
        const double rc = s.casingRadius;
        const double scale = 2.0 * s.screenLength / (static_cast<double>(s.brLnReRw) * rc * rc);
        if (scale < 0.0) return {b.upper * scale, b.lower * scale};
        return {b.lower * scale, b.upper * scale};
    }
    return b;
}

bool near(double value, double bound) {
    return std::isfinite(bound) && std::fabs(value - bound) <= kAtBoundTolerance * std::fabs(bound);
}

}  // namespace

double VectorControls::clamp(int k, double value) const {
    if (k >= static_cast<int>(lower.size())) return value;
    if (value < lower[k]) value = lower[k];
    if (value > upper[k]) value = upper[k];
    return value;
}

std::optional<std::string> checkFitControls(int modelKind, const FitControls& c) {
    if (c.fixed.empty() && c.bounds.empty()) return std::nullopt;
    if (modelKind == static_cast<int>(ModelKind::Jacob))
        return std::string("Jacob's straight line has no parameter to fix or bound: it is not iterated.");
    const std::vector<std::string_view> names = fittedFieldNames(modelKind);
    for (const std::string& name : c.fixed) {
        if (!isFitted(names, name))
            return name + " is not a fitted parameter of model " + std::to_string(modelKind) + " (" +
                   namesOf(names) + ").";
    }
    for (const auto& [name, b] : c.bounds) {
        if (!isFitted(names, name))
            return name + " is not a fitted parameter of model " + std::to_string(modelKind) + " (" +
                   namesOf(names) + ").";
        if (!(b.lower < b.upper)) return "The lower bound of " + name + " must lie below its upper bound.";
    }
    return std::nullopt;
}

VectorControls vectorControls(const AnalysisState& s, const FitControls& c) {
    const std::vector<std::string_view> names = fittedFieldNames(s.modelKind);
    const int n = static_cast<int>(names.size());
    VectorControls v;
    v.stopWhenConverged = c.stopWhenConverged;
    v.fixed.assign(n + 1, 0);
    v.lower.assign(n + 1, -std::numeric_limits<double>::infinity());
    v.upper.assign(n + 1, std::numeric_limits<double>::infinity());
    for (int k = 1; k <= n; ++k) {
        const std::string name(names[k - 1]);
        v.fixed[k] = c.fixed.count(name) ? 1 : 0;
        if (const auto it = c.bounds.find(name); it != c.bounds.end()) {
            const ParameterBounds b = vectorBounds(s, k, it->second);
            v.lower[k] = b.lower;
            v.upper[k] = b.upper;
        }
    }
    return v;
}

std::vector<std::string> parametersAtBound(const AnalysisState& s, const VectorControls& c,
                                           std::span<const double> p) {
    const std::vector<std::string_view> names = fittedFieldNames(s.modelKind);
    std::vector<std::string> at;
    for (int k = 1; k <= static_cast<int>(names.size()) && k < static_cast<int>(p.size()); ++k) {
        if (c.isFixed(k) || k >= static_cast<int>(c.lower.size())) continue;
        if (near(p[k], c.lower[k]) || near(p[k], c.upper[k])) at.emplace_back(names[k - 1]);
    }
    return at;
}

}  // namespace tolvex
