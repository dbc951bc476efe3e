#include "core/state/FieldTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace tolvex {
namespace {

#define TOLVEX_FIELD(name)                                 \
    FieldInfo {                                            \
#name, &AnalysisState::name, FieldAccess::Settable \
    }
#define TOLVEX_TABLE(name)                              \
    FieldInfo {                                         \
#name, &AnalysisState::name, FieldAccess::Table \
    }
#define TOLVEX_COUNT(name)                              \
    FieldInfo {                                         \
#name, &AnalysisState::name, FieldAccess::Count \
    }
// A physical quantity that only a positive value describes: a rate, a distance, a thickness, a radius,
// a transmissivity, a storage coefficient or a conductivity.
#define TOLVEX_POSITIVE(name)                                    \
    FieldInfo {                                                  \
#name, &AnalysisState::name, FieldAccess::Settable, true \
    }
// A positive quantity with a unit: a rate, a length, a transmissivity or a conductivity.
#define TOLVEX_QUANTITY(name, dimension)                                                  \
    FieldInfo {                                                                           \
#name, &AnalysisState::name, FieldAccess::Settable, true, 0, Dimension::dimension \
    }
// A number with a unit that may be zero or negative (a time range, an error in drawdown).
#define TOLVEX_MEASURE(name, dimension)                                                    \
    FieldInfo {                                                                            \
#name, &AnalysisState::name, FieldAccess::Settable, false, 0, Dimension::dimension \
    }

const std::array kFields = {
    // run status and flags
    TOLVEX_FIELD(fileTag),
    TOLVEX_FIELD(plotContent),
    TOLVEX_FIELD(resultKind),
    TOLVEX_COUNT(paramCount),
    TOLVEX_FIELD(newRequested),
    TOLVEX_FIELD(modified),
    TOLVEX_FIELD(spareFlag),
    TOLVEX_FIELD(viewToggle),
    TOLVEX_FIELD(untitled),
    TOLVEX_FIELD(modelKind),
    TOLVEX_FIELD(spareConst),
    TOLVEX_FIELD(guessOnNew),
    TOLVEX_FIELD(typeCurvesReady),
    // project texts
    TOLVEX_FIELD(reportFileName),
    TOLVEX_FIELD(projectDescription),
    TOLVEX_FIELD(operatorName),
    // aquifer and well
    TOLVEX_QUANTITY(pumpingRate, Rate),
    TOLVEX_QUANTITY(radialDistance, Length),
    TOLVEX_QUANTITY(transmissivity, Transmissivity),
    TOLVEX_POSITIVE(storativity),
    TOLVEX_QUANTITY(verticalConductivity, Conductivity),
    TOLVEX_QUANTITY(aquiferThickness, Length),
    TOLVEX_QUANTITY(upperBedConductivity, Conductivity),
    TOLVEX_QUANTITY(upperBedThickness, Length),
    TOLVEX_QUANTITY(lowerBedThickness, Length),
    TOLVEX_QUANTITY(lowerBedConductivity, Conductivity),
    TOLVEX_POSITIVE(upperBedStorativity),
    TOLVEX_POSITIVE(lowerBedStorativity),
    TOLVEX_FIELD(spareParam),
    TOLVEX_QUANTITY(wellRadius, Length),
    TOLVEX_QUANTITY(casingRadius, Length),
    TOLVEX_POSITIVE(specificYield),
    TOLVEX_QUANTITY(slabThickness, Length),
    TOLVEX_POSITIVE(fractureStorativity),
    TOLVEX_QUANTITY(fractureTransmissivity, Transmissivity),
    TOLVEX_POSITIVE(matrixStorativity),
    TOLVEX_QUANTITY(matrixTransmissivity, Transmissivity),
    // Bouwer-Rice
    TOLVEX_QUANTITY(screenLength, Length),
    TOLVEX_QUANTITY(wellDepthInAquifer, Length),
    TOLVEX_QUANTITY(brAquiferThickness, Length),
    TOLVEX_QUANTITY(hydraulicConductivity, Conductivity),
    TOLVEX_MEASURE(brRate, PerTime),
    TOLVEX_FIELD(brFitIntercept),
    TOLVEX_FIELD(brCoefA),
    TOLVEX_FIELD(brCoefB),
    TOLVEX_FIELD(brCoefC),
    TOLVEX_FIELD(brLnReRw),
    TOLVEX_FIELD(brLeOverRw),
    // partial-penetration and unconfined geometry
    TOLVEX_FIELD(ppObsKind),
    TOLVEX_FIELD(ppPiezoL),
    TOLVEX_FIELD(ppPiezoD),
    TOLVEX_FIELD(ppPiezoZ),
    TOLVEX_FIELD(ppWellL),
    TOLVEX_FIELD(ppWellD),
    TOLVEX_FIELD(ppObsL),
    TOLVEX_FIELD(ppObsD),
    TOLVEX_FIELD(lppObsKind),
    TOLVEX_FIELD(lppPiezoL),
    TOLVEX_FIELD(lppPiezoD),
    TOLVEX_FIELD(lppPiezoZ),
    TOLVEX_FIELD(lppWellL),
    TOLVEX_FIELD(lppWellD),
    TOLVEX_FIELD(lppObsL),
    TOLVEX_FIELD(lppObsD),
    TOLVEX_FIELD(lppPiezoAnis),
    TOLVEX_FIELD(lppWellAnis),
    TOLVEX_FIELD(mnObsKind),
    TOLVEX_FIELD(mnL),
    TOLVEX_FIELD(mnD),
    TOLVEX_FIELD(mnZ),
    TOLVEX_FIELD(mnZ1),
    TOLVEX_FIELD(mnZ2),
    TOLVEX_FIELD(mnStorageRatio),
    // type-curve ranges
    TOLVEX_FIELD(tcTheisMin),
    TOLVEX_FIELD(tcTheisMax),
    TOLVEX_FIELD(tcTheisCount),
    TOLVEX_FIELD(tcPpMin),
    TOLVEX_FIELD(tcPpMax),
    TOLVEX_FIELD(tcPpCount),
    TOLVEX_FIELD(tcPpAnisMin),
    TOLVEX_FIELD(tcPpAnisMax),
    TOLVEX_FIELD(tcPpAnisCount),
    TOLVEX_FIELD(tcLeakyMin),
    TOLVEX_FIELD(tcLeakyMax),
    TOLVEX_FIELD(tcLeakyCount),
    TOLVEX_FIELD(tcLeakyRbMin),
    TOLVEX_FIELD(tcLeakyRbMax),
    TOLVEX_FIELD(tcLeakyRbCount),
    TOLVEX_FIELD(tcLppMin),
    TOLVEX_FIELD(tcLppMax),
    TOLVEX_FIELD(tcLppCount),
    TOLVEX_FIELD(tcLppBetaMin),
    TOLVEX_FIELD(tcLppBetaMax),
    TOLVEX_FIELD(tcLppBetaCount),
    TOLVEX_FIELD(tcStorMin),
    TOLVEX_FIELD(tcStorMax),
    TOLVEX_FIELD(tcStorCount),
    TOLVEX_FIELD(tcStorBetaMin),
    TOLVEX_FIELD(tcStorBetaMax),
    TOLVEX_FIELD(tcStorBetaCount),
    TOLVEX_FIELD(tcSlugAlphaMin),
    TOLVEX_FIELD(tcSlugAlphaMax),
    TOLVEX_FIELD(tcSlugAlphaCount),
    TOLVEX_FIELD(tcSlugBetaMin),
    TOLVEX_FIELD(tcSlugBetaMax),
    TOLVEX_FIELD(tcSlugBetaCount),
    TOLVEX_FIELD(tcMnTdMin),
    TOLVEX_FIELD(tcMnTdMax),
    TOLVEX_FIELD(tcMnTdCount),
    TOLVEX_FIELD(tcMnKzMin),
    TOLVEX_FIELD(tcMnKzMax),
    TOLVEX_FIELD(tcMnKzCount),
    TOLVEX_FIELD(tcWrTdMin),
    TOLVEX_FIELD(tcWrTdMax),
    TOLVEX_FIELD(tcWrTdCount),
    TOLVEX_FIELD(tcWrLambdaMin),
    TOLVEX_FIELD(tcWrLambdaMax),
    TOLVEX_FIELD(tcWrLambdaCount),
    TOLVEX_FIELD(tcWrSigma),
    TOLVEX_FIELD(tcBsTdMin),
    TOLVEX_FIELD(tcBsTdMax),
    TOLVEX_FIELD(tcBsTdCount),
    TOLVEX_FIELD(tcBsGammaMin),
    TOLVEX_FIELD(tcBsGammaMax),
    TOLVEX_FIELD(tcBsGammaCount),
    TOLVEX_FIELD(tcBsSigma),
    TOLVEX_FIELD(tcTheisUniform),
    TOLVEX_FIELD(tcLeakyUniform),
    TOLVEX_FIELD(tcStorUniform),
    TOLVEX_FIELD(tcAltUniform),
    // computed type curves
    TOLVEX_COUNT(curveXCount),
    TOLVEX_COUNT(curveYCount),
    TOLVEX_COUNT(familyCount),
    // plot
    TOLVEX_FIELD(plotXMin),
    TOLVEX_FIELD(plotXMax),
    TOLVEX_FIELD(plotYMin),
    TOLVEX_FIELD(plotYMax),
    TOLVEX_FIELD(dataTimeMin),
    TOLVEX_FIELD(dataTimeMax),
    TOLVEX_FIELD(dataDrawdownMin),
    TOLVEX_FIELD(dataDrawdownMax),
    TOLVEX_FIELD(lastPlotStyle),
    TOLVEX_FIELD(xAxisLog),
    TOLVEX_FIELD(yAxisLog),
    TOLVEX_FIELD(xLabelHidden),
    TOLVEX_FIELD(yLabelHidden),
    TOLVEX_FIELD(dataHidden),
    TOLVEX_FIELD(plotFontFace),
    // measurements
    TOLVEX_COUNT(allCount),
    TOLVEX_COUNT(useFrom),
    TOLVEX_COUNT(useTo),
    TOLVEX_COUNT(usedCount),
    TOLVEX_MEASURE(calcTimeMin, Time),
    TOLVEX_MEASURE(calcTimeMax, Time),
    // estimation
    TOLVEX_TABLE(maxIterations),
    TOLVEX_FIELD(convergenceError),
    TOLVEX_FIELD(lsMaxIterations),
    TOLVEX_FIELD(lsConvergenceError),
    TOLVEX_COUNT(iterationsDone),
    TOLVEX_MEASURE(rmsError, Length),
    TOLVEX_FIELD(lsSumSquares),
    TOLVEX_FIELD(lsTrialSumSquares),
    TOLVEX_COUNT(lsParamCapacity),
    // numerical tables
    TOLVEX_TABLE(gaussCount),
    TOLVEX_TABLE(stehfestCount),
    FieldInfo{"accuracy", &AnalysisState::accuracy, FieldAccess::Settable, false, 2},
    // reserved
    TOLVEX_COUNT(reservedRowCount),
    TOLVEX_COUNT(reservedListCount),
    TOLVEX_FIELD(reservedTripleA),
    TOLVEX_FIELD(reservedTripleB),
    TOLVEX_FIELD(reservedTripleC),
    TOLVEX_FIELD(spareOptionKind),
    TOLVEX_FIELD(spareRangeMin),
    TOLVEX_FIELD(spareRangeMax),
    TOLVEX_FIELD(spareCountA),
    TOLVEX_FIELD(spareCountB),
    TOLVEX_FIELD(spareLowerBound),
    TOLVEX_FIELD(spareUpperBound),
    // data input
    TOLVEX_FIELD(drawdownInputMode),
    TOLVEX_FIELD(importDelimiter),
    TOLVEX_FIELD(predefinedSetChoice),
};

#undef TOLVEX_FIELD
#undef TOLVEX_TABLE
#undef TOLVEX_COUNT
#undef TOLVEX_POSITIVE
#undef TOLVEX_QUANTITY
#undef TOLVEX_MEASURE

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string beyondFloatRange(const FieldInfo& field, const std::string& quotedText) {
    return std::string(field.name) + ": " + quotedText + " is beyond the float range (magnitude at most " +
           formatGeneral(std::numeric_limits<float>::max(), 6) + ")";
}

// Why `text` cannot be stored into the float field, or nothing. `value` is the text's number in SI.
std::optional<std::string> floatTextError(const FieldInfo& field, std::string_view text,
                                          std::optional<double> value) {
    const std::string quoted = "'" + std::string(text) + "'";
    if (!value) return std::string(field.name) + ": " + quoted + " is not a number";
    if (overflowsFloat(*value)) return beyondFloatRange(field, quoted);
    // Judged as stored: 1e-50 becomes the float 0.
    if (!admitsValue(field, static_cast<float>(*value))) {
        return std::string(field.name) + " must be positive, got " + quoted;
    }
    if (std::isnan(*value)) return std::string(field.name) + ": " + quoted + " is not a number";
    if (!fitsFloat(*value)) return beyondFloatRange(field, quoted);
    return std::nullopt;
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::span<const FieldInfo> scalarFields() {
    return kFields;
}

const FieldInfo* findField(std::string_view name) {
    const auto it =
        std::find_if(kFields.begin(), kFields.end(), [&](const FieldInfo& f) { return f.name == name; });
    return it == kFields.end() ? nullptr : &*it;
}

std::vector<std::string_view> closestFieldNames(std::string_view name, std::size_t count) {
    std::vector<std::pair<std::size_t, std::string_view>> ranked;
    for (const FieldInfo& f : kFields) ranked.emplace_back(editDistance(name, f.name), f.name);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < std::min(count, ranked.size()); ++i) names.push_back(ranked[i].second);
    return names;
}

std::string fieldText(const AnalysisState& state, const FieldInfo& field) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto& value = state.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return value;
            } else if constexpr (std::is_same_v<T, int>) {
                return std::to_string(value);
            } else if (fieldDimension(state, field) != Dimension::None && state.units.set()) {
                return shownFloatText(value, fieldDimension(state, field), state.units);
            } else {
                return formatGeneral(static_cast<double>(value), 9);
            }
        },
        field.member);
}

std::string shownFloatText(float stored, Dimension dimension, const DisplayUnits& units, int minDigits) {
    constexpr int kMaxDigits = 9;  // enough for any float
    const double shown = fromSI(static_cast<double>(stored), dimension, units);
    for (int digits = std::clamp(minDigits, 1, kMaxDigits); digits < kMaxDigits; ++digits) {
        const std::string text = formatGeneral(shown, digits);
        const auto back = parseNumber(text);
        if (back && static_cast<float>(toSI(*back, dimension, units)) == stored) return text;
    }
    return formatGeneral(shown, kMaxDigits);
}

Dimension seriesValueDimension(int modelKind, const SlugHead& head) {
    const auto kind = static_cast<ModelKind>(modelKind);
    const bool slugTest = kind == ModelKind::SlugTest || kind == ModelKind::BouwerRice;
    const bool normalised = head.reference == SlugHead::Reference::One && !head.waterLevels;
    return slugTest && normalised ? Dimension::None : Dimension::Length;
}

Dimension measuredDimension(const AnalysisState& state) {
    return seriesValueDimension(state.modelKind, state.firstSeries.head);
}

Dimension fitErrorDimension(int modelKind) {
    const auto kind = static_cast<ModelKind>(modelKind);
    return kind == ModelKind::SlugTest || kind == ModelKind::BouwerRice ? Dimension::None : Dimension::Length;
}

Dimension fieldDimension(const AnalysisState& state, const FieldInfo& field) {
    return field.name == "rmsError" ? fitErrorDimension(state.modelKind) : field.dimension;
}

bool admitsValue(const FieldInfo& field, double value) {
    return !field.positive || (std::isfinite(value) && value > 0.0);
}

bool fitsFloat(double value) {
    // Halfway between FLT_MAX and the next power of two: from there on rounding to float gives infinity.
    constexpr double kFloatOverflow = 0x1.ffffffp+127;
    return std::fabs(value) < kFloatOverflow;
}

bool overflowsFloat(double value) {
    return std::isfinite(value) && !fitsFloat(value);
}

std::string formatGeneral(double value, int significantDigits) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                      std::max(significantDigits, 1));
    return result.ec == std::errc{} ? std::string(buffer, result.ptr) : std::string{};
}

std::optional<double> parseNumber(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> parseTypedNumber(std::string_view text) {
    if (std::count(text.begin(), text.end(), ',') != 1 || text.find('.') != std::string_view::npos)
        return parseNumber(text);
    std::string pointed(text);
    pointed[pointed.find(',')] = '.';
    return parseNumber(pointed);
}

std::optional<long long> parseInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::string> setFieldText(AnalysisState& state, const FieldInfo& field, std::string_view text) {
    switch (field.type()) {
        case FieldType::Text:
            state.*std::get<std::string AnalysisState::*>(field.member) = std::string(text);
            return std::nullopt;
        case FieldType::Int: {
            const auto value = parseInteger(text);
            if (!value || *value < std::numeric_limits<int>::min() ||
                *value > std::numeric_limits<int>::max()) {
                return std::string(field.name) + ": '" + std::string(text) + "' is not an integer";
            }
            if (field.choices > 0 && (*value < 0 || *value >= field.choices)) {
                return std::string(field.name) + ": '" + std::string(text) + "' is not one of 0 to " +
                       std::to_string(field.choices - 1);
            }
            state.*std::get<int AnalysisState::*>(field.member) = static_cast<int>(*value);
            return std::nullopt;
        }
        case FieldType::Float: {
            auto value = parseNumber(text);
            if (value) *value = toSI(*value, fieldDimension(state, field), state.units);
            if (auto error = floatTextError(field, text, value)) return error;
            state.*std::get<float AnalysisState::*>(field.member) = static_cast<float>(*value);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace tolvex
