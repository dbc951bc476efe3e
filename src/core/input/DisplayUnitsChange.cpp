#include "core/input/DisplayUnitsChange.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>
#include <vector>

#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"
#include "core/units/Units.h"

namespace tolvex {
namespace {

// The shortest decimal that reads back as the float.
double shortestDecimal(float value) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    double result = value;
    std::from_chars(buffer.data(), end, result);
    return result;
}

// Multiplies the SI-or-display numbers of one dimension by the factor of the change.
class Rescale {
public:
    // toSI: the numbers are in `units` and become SI; otherwise they are SI and become `units`.
    Rescale(const DisplayUnits& units, bool toSI) : units_(units), toSI_(toSI) {}

    [[nodiscard]] double factor(Dimension d) const {
        const double f = siFactor(d, units_);
        return toSI_ ? f : 1.0 / f;
    }
    void apply(double& value, Dimension d) const {
        if (d == Dimension::None) return;
        value = toSI_ ? toSI(value, d, units_) : fromSI(value, d, units_);
    }
    // A float field is converted from the number a person sees (75.53f as 75.53, not 75.5299988), so
    // that a change to units and back gives every field its float again.
    void apply(float& value, Dimension d) const {
        if (d == Dimension::None) return;
        if (toSI_) {
            value = static_cast<float>(toSI(shortestDecimal(value), d, units_));
        } else {
            value = static_cast<float>(parseNumber(shownFloatText(value, d, units_, 1)).value_or(value));
        }
    }
    template <typename T>
    void apply(std::vector<T>& values, Dimension d) const {
        for (T& v : values) apply(v, d);
    }

private:
    DisplayUnits units_;
    bool toSI_;
};

void rescaleFields(AnalysisState& s, const Rescale& r) {
    for (const FieldInfo& field : scalarFields()) {
        const Dimension dimension = fieldDimension(s, field);
        if (field.type() != FieldType::Float || dimension == Dimension::None) continue;
        r.apply(s.*std::get<float AnalysisState::*>(field.member), dimension);
    }
    // Sums of squared drawdown residuals scale with the square of the length unit.
    const double squared = r.factor(Dimension::Length) * r.factor(Dimension::Length);
    s.lsSumSquares = static_cast<float>(s.lsSumSquares * squared);
    s.lsTrialSumSquares = static_cast<float>(s.lsTrialSumSquares * squared);
    r.apply(s.errorHistory, Dimension::Length);
}

void rescaleMeasurements(AnalysisState& s, const Rescale& r) {
    const Dimension value = measuredDimension(s);
    r.apply(s.allTimes, Dimension::Time);
    r.apply(s.times, Dimension::Time);
    r.apply(s.allDrawdowns, value);
    r.apply(s.measured, value);
    r.apply(s.calculated, value);
    for (ObservationSeries& series : s.extraSeries) {
        r.apply(series.radialDistance, Dimension::Length);
        r.apply(series.times, Dimension::Time);
        r.apply(series.values, seriesValueDimension(s.modelKind, series.settings.head));
    }
    for (RateStep& step : s.rateSchedule) {
        r.apply(step.time, Dimension::Time);
        r.apply(step.rate, Dimension::Rate);
    }
}

void rescaleParameters(AnalysisState& s, const Rescale& r) {
    const auto n = static_cast<std::size_t>(parameterCount(s.modelKind));
    for (std::size_t k = 1; k <= n; ++k) {
        const Dimension d = parameterDimension(s.modelKind, k);
        if (k - 1 < s.paramVector.size()) r.apply(s.paramVector[k - 1], d);
        if (k < s.modelParams.size()) r.apply(s.modelParams[k], d);
        if (k < s.lsParams.size()) r.apply(s.lsParams[k], d);
        if (n + k < s.lsParams.size()) r.apply(s.lsParams[n + k], d);
    }
}

}  // namespace

Dimension parameterDimension(int modelKind, std::size_t k) {
    const std::vector<std::string_view> names = fittedFieldNames(modelKind);
    if (k == 0 || k > names.size()) return Dimension::None;
    if (static_cast<ModelKind>(modelKind) == ModelKind::Leaky && k == 3) return Dimension::Time;
    const FieldInfo* field = findField(names[k - 1]);
    return field ? field->dimension : Dimension::None;
}

AnalysisState inDisplayUnits(const AnalysisState& state) {
    AnalysisState shown = state;
    changeDisplayUnits(shown, DisplayUnits{});
    return shown;
}

void changeDisplayUnits(AnalysisState& state, const DisplayUnits& to) {
    const bool wasSet = state.units.set();
    if (wasSet == to.set()) {
        state.units = to;  // SI stays SI (or nothing was converted and nothing is)
        return;
    }
    const Rescale rescale(wasSet ? state.units : to, !wasSet);
    rescaleFields(state, rescale);
    rescaleMeasurements(state, rescale);
    rescaleParameters(state, rescale);
    state.units = to;
}

}  // namespace tolvex
