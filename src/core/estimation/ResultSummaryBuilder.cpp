#include "core/estimation/ResultSummaryBuilder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <span>
#include <string>

#include "core/estimation/Uncertainty.h"
#include "core/numerics/Constants.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ParameterVector.h"
#include "core/units/Units.h"

namespace tolvex {
namespace {

struct MethodNames {
    EstimationMethod method;
    std::string_view key;
    std::string_view name;
};

constexpr std::array kMethods{
    MethodNames{EstimationMethod::TrialRun, "trial", "trial run"},
    MethodNames{EstimationMethod::Simplex, "simplex", "simplex"},
    MethodNames{EstimationMethod::LeastSquares, "lsq", "least squares"},
    MethodNames{EstimationMethod::JacobStraightLine, "jacob", "Jacob's straight line"},
    MethodNames{EstimationMethod::BouwerRice, "bouwer-rice", "Bouwer and Rice"},
};

const MethodNames& namesOf(EstimationMethod method) {
    for (const MethodNames& m : kMethods)
        if (m.method == method) return m;
    return kMethods.front();
}

// The symbol of a fitted field: the vector's for models 0..8, T, S and K for the closed forms.
std::string symbolOf(int modelKind, std::size_t entry, std::string_view name) {
    if (modelKind >= 0 && modelKind <= kLastTypeCurveModel)
        return std::string(parameterSymbol(modelKind, static_cast<int>(entry)));
    if (name == "transmissivity") return "T";
    if (name == "storativity") return "S";
    if (name == "hydraulicConductivity") return "K";
    return std::string(name);
}

double storedFloat(const AnalysisState& s, const FieldInfo& field) {
    return s.*std::get<float AnalysisState::*>(field.member);
}

bool hasBound(const FitControls& controls, const std::string& name) {
    const auto it = controls.bounds.find(name);
    return it != controls.bounds.end() &&
           (std::isfinite(it->second.lower) || std::isfinite(it->second.upper));
}

// The ranges a fitted parameter may end on, in the units of the vector: the settings' bounds, else the
// forward model's clamping range for the entries it clamps (as the command line's fit reports them).
ParameterRanges endRanges(const AnalysisState& s, const FitControls& controls) {
    const VectorControls v = vectorControls(s, controls);
    ParameterRanges r{v.lower, v.upper};
    for (std::size_t k = 1; k < r.lower.size(); ++k) {
        const bool clamped = static_cast<int>(k) <= clampedCount(s.modelKind);
        if (std::isinf(r.lower[k])) r.lower[k] = clamped ? kParameterFloor : kNoResultValue;
        if (std::isinf(r.upper[k])) r.upper[k] = clamped ? kParameterCeiling : kNoResultValue;
    }
    return r;
}

void addUncertainty(ResultSummary& summary, const AnalysisState& s, const FitControls& controls) {
    const auto u = estimateUncertainty(s, endRanges(s, controls));
    if (!u) return;
    for (const ParameterUncertainty& p : u->parameters) {
        for (ResultParameter& shown : summary.parameters) {
            if (shown.name != p.name) continue;
            const FieldInfo* field = findField(p.name);
            const double factor = siFactor(field ? field->dimension : Dimension::None, s.units);
            shown.standardError = p.standardError / factor;
            shown.lower = p.lower / factor;
            shown.upper = p.upper / factor;
        }
    }
    summary.warnings.insert(summary.warnings.end(), u->warnings.begin(), u->warnings.end());
}

void addParameters(ResultSummary& summary, const AnalysisState& s, const FitOutcome& outcome,
                   const FitControls& controls) {
    std::size_t entry = 0;
    for (std::string_view name : fittedFieldNames(s.modelKind)) {
        ++entry;
        const FieldInfo* field = findField(name);
        if (field == nullptr || field->type() != FieldType::Float) continue;
        ResultParameter p;
        p.name = std::string(name);
        p.symbol = symbolOf(s.modelKind, entry, name);
        p.unit = unitLabel(field->dimension, s.units);
        p.value = fromSI(storedFloat(s, *field), field->dimension, s.units);
        p.fixed = controls.fixed.contains(p.name);
        p.bounded = hasBound(controls, p.name);
        for (const std::string& b : outcome.atBound) p.atBound = p.atBound || b == p.name;
        summary.parameters.push_back(p);
    }
}

ResultQuantity quantity(std::string name, std::string symbol, std::string unit, double value) {
    return ResultQuantity{std::move(name), std::move(symbol), std::move(unit), value};
}

// The straight line of Cooper and Jacob (1946), s = Q/(4 pi T) (-gamma - ln(r^2 S/(4 T t))), as the
// fit draws it: the drawdown per log cycle of time ln(10) Q/(4 pi T), and the time where the line
// crosses zero drawdown, t0 = r^2 S e^gamma / (4 T) (the textbook's r^2 S / (2.25 T)), at the first
// series' distance. The state holds SI (or consistent units), so the formulas hold there.
void addJacobLine(ResultSummary& summary, const AnalysisState& s) {
    constexpr double kEulerGamma = 0.5772;  // the fit's four decimals
    const double q = s.pumpingRate, t = s.transmissivity, storage = s.storativity, r = s.radialDistance;
    if (!(t > 0.0)) return;
    const double perCycle = std::log(10.0) * q / (4.0 * kProgramPi * t);
    const double t0 = r * r * storage * std::exp(kEulerGamma) / (4.0 * t);
    summary.derived.push_back(quantity("drawdownPerLogCycle", "\u0394s per log cycle",
                                       unitLabel(Dimension::Length, s.units),
                                       fromSI(perCycle, Dimension::Length, s.units)));
    summary.derived.push_back(quantity("zeroDrawdownTime", "t0", unitLabel(Dimension::Time, s.units),
                                       fromSI(t0, Dimension::Time, s.units)));
}

// Re, ln(Re/rw), the coefficients A, B, C of their Fig. 3 and the rate of ln(H0/H) in time.
void addBouwerRice(ResultSummary& summary, const AnalysisState& s) {
    const std::string length = unitLabel(Dimension::Length, s.units);
    const std::string time = unitLabel(Dimension::Time, s.units);
    const double re = static_cast<double>(s.wellRadius) * std::exp(static_cast<double>(s.brLnReRw));
    summary.derived.push_back(
        quantity("effectiveRadius", "Re", length, fromSI(re, Dimension::Length, s.units)));
    summary.derived.push_back(quantity("brLnReRw", "ln(Re/rw)", "", s.brLnReRw));
    summary.derived.push_back(quantity("brCoefA", "A", "", s.brCoefA));
    summary.derived.push_back(quantity("brCoefB", "B", "", s.brCoefB));
    summary.derived.push_back(quantity("brCoefC", "C", "", s.brCoefC));
    // A rate per second in SI is per display time unit after multiplying by the unit's seconds.
    summary.derived.push_back(quantity("brRate", "rate", time.empty() ? "" : "1/" + time,
                                       static_cast<double>(s.brRate) * siFactor(Dimension::Time, s.units)));
    if (s.brFitIntercept != 0)
        summary.derived.push_back(quantity("brIntercept", "a", "", s.brInterceptValue));
}

// 64-bit FNV-1a (Fowler, Noll and Vo): a digest, not a checksum against tampering.
class Digest {
public:
    template <typename T>
    void add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) hash_ = (hash_ ^ b) * 1099511628211ULL;
    }
    template <typename T>
    void addAll(std::span<const T> values) {
        add(values.size());
        for (const T& v : values) add(v);
    }
    [[nodiscard]] std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037ULL;
};

void addSettings(Digest& d, const SeriesSettings& x) {
    d.add(x.on);
    d.add(x.weight);
    d.add(static_cast<int>(x.head.reference));
    d.add(x.head.h0);
    d.add(x.head.waterLevels);
    d.add(x.head.staticLevel);
}

}  // namespace

std::string_view methodKey(EstimationMethod method) {
    return namesOf(method).key;
}

std::string_view methodName(EstimationMethod method) {
    return namesOf(method).name;
}

std::optional<EstimationMethod> methodFromKey(std::string_view key) {
    for (const MethodNames& m : kMethods)
        if (m.key == key) return m.method;
    return std::nullopt;
}

std::string methodNameOfKey(std::string_view key) {
    const auto method = methodFromKey(key);
    return std::string(method ? methodName(*method) : key);
}

EstimationMethod leastSquaresMethod(int modelKind) {
    if (modelKind == static_cast<int>(ModelKind::Jacob)) return EstimationMethod::JacobStraightLine;
    if (modelKind == static_cast<int>(ModelKind::BouwerRice)) return EstimationMethod::BouwerRice;
    return EstimationMethod::LeastSquares;
}

ResultSummary buildResultSummary(const AnalysisState& state, EstimationMethod method,
                                 const FitOutcome& outcome, const FitControls& controls) {
    ResultSummary summary;
    summary.modelKind = state.modelKind;
    summary.modelName = std::string(modelName(state.modelKind));
    summary.method = std::string(methodKey(method));
    addParameters(summary, state, outcome, controls);
    // A slug test's misfit is that of H/H0 whatever the measured values are (heads or normalised heads).
    summary.rmsError = fromSI(state.rmsError, fitErrorDimension(state.modelKind), state.units);
    summary.rmsUnit = unitLabel(fitErrorDimension(state.modelKind), state.units);
    summary.iterations = state.iterationsDone;
    summary.converged = outcome.converged;
    summary.stopReason = stopReasonText(outcome.end);
    summary.warnings = outcome.warnings;
    if (method == EstimationMethod::LeastSquares) addUncertainty(summary, state, controls);
    if (method == EstimationMethod::JacobStraightLine) addJacobLine(summary, state);
    if (method == EstimationMethod::BouwerRice) addBouwerRice(summary, state);
    summary.inputsFingerprint = resultInputsFingerprint(state);
    return summary;
}

std::uint64_t resultInputsFingerprint(const AnalysisState& s) {
    Digest d;
    d.add(s.modelKind);
    const auto count = static_cast<std::size_t>(std::max(s.allCount, 0));
    d.addAll(std::span<const double>(s.allTimes.data(), std::min(count, s.allTimes.size())));
    d.addAll(std::span<const double>(s.allDrawdowns.data(), std::min(count, s.allDrawdowns.size())));
    d.add(s.useFrom);
    d.add(s.useTo);
    addSettings(d, s.firstSeries);
    for (const ObservationSeries& x : s.extraSeries) {
        addSettings(d, x.settings);
        d.add(x.radialDistance);
        d.addAll(std::span<const double>(x.times));
        d.addAll(std::span<const double>(x.values));
        d.add(x.useFrom);
        d.add(x.useTo);
    }
    for (const RateStep& step : s.rateSchedule) {
        d.add(step.time);
        d.add(step.rate);
    }
    for (float v : {s.pumpingRate, s.radialDistance, s.wellRadius, s.casingRadius, s.aquiferThickness,
                    s.upperBedThickness, s.screenLength, s.wellDepthInAquifer, s.brAquiferThickness})
        d.add(v);
    d.add(s.brFitIntercept);
    for (std::string_view name : fittedFieldNames(s.modelKind)) {
        const FieldInfo* field = findField(name);
        if (field != nullptr && field->type() == FieldType::Float)
            d.add(s.*std::get<float AnalysisState::*>(field->member));
    }
    return d.value();
}

bool resultsCurrent(const AnalysisState& state) {
    return state.lastResults && !state.lastResults->stale &&
           state.lastResults->inputsFingerprint == resultInputsFingerprint(state);
}

}  // namespace tolvex
