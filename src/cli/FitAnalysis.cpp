#include "cli/FitAnalysis.h"

#include <cmath>
#include <cstdio>

#include "cli/Cli.h"
#include "core/estimation/StartValues.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"
#include "core/units/Units.h"

namespace tolvex::cli {
namespace {

// A number, or null when it does not exist (NaN: no interval, not determined).
nlohmann::ordered_json numberOrNull(double v) {
    return std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json(nullptr);
}

std::string number(double v) {
    return std::isfinite(v) ? formatGeneral(v, 4) : std::string("-");
}

void addUncertaintyJson(nlohmann::ordered_json& result, const FitUncertainty& u) {
    nlohmann::ordered_json parameters = nlohmann::ordered_json::object();
    for (const ParameterUncertainty& p : u.parameters) {
        const bool interval = std::isfinite(p.lower) && std::isfinite(p.upper);
        parameters[std::string(p.name)] = {
            {"standardError", numberOrNull(p.standardError)},
            {"interval",
             interval ? nlohmann::ordered_json::array({p.lower, p.upper}) : nlohmann::ordered_json()},
            {"fixed", p.fixed},
            {"atBound", p.atBound},
            {"determined", p.determined}};
    }
    result["uncertainty"] = parameters;
    nlohmann::ordered_json matrix = nlohmann::ordered_json::array();
    const std::size_t k = u.correlationNames.size();
    for (std::size_t a = 0; a < k; ++a) {
        matrix.push_back(
            std::vector<double>(u.correlation.begin() + static_cast<std::ptrdiff_t>(a * k),
                                u.correlation.begin() + static_cast<std::ptrdiff_t>((a + 1) * k)));
    }
    std::vector<std::string> names(u.correlationNames.begin(), u.correlationNames.end());
    result["correlation"] = {{"parameters", names}, {"matrix", matrix}};
    result["residualAutocorrelation"] = {{"lag1", u.lag1Autocorrelation},
                                         {"effectiveCount", u.effectiveCount},
                                         {"degreesOfFreedom", numberOrNull(u.degreesOfFreedom)},
                                         {"covarianceScale", numberOrNull(u.covarianceScale)}};
    if (!result.contains("warnings")) result["warnings"] = nlohmann::ordered_json::array();
    for (const std::string& w : u.warnings) result["warnings"].push_back(w);
}

void printLines(std::ostream& err, const FitUncertainty& u) {
    err << "uncertainty (95 % intervals; residuals' lag-1 autocorrelation " << number(u.lag1Autocorrelation)
        << ", effective count " << number(u.effectiveCount) << " of " << u.usedCount << ")\n";
    char line[200];
    for (const ParameterUncertainty& p : u.parameters) {
        const char* state = p.fixed         ? "fixed"
                            : p.atBound     ? "at a bound"
                            : !p.determined ? "not determined"
                                            : "";
        std::snprintf(line, sizeof line, "  %-22s standard error %-10s interval %s .. %s %s\n",
                      std::string(p.name).c_str(), number(p.standardError).c_str(), number(p.lower).c_str(),
                      number(p.upper).c_str(), state);
        err << line;
    }
    if (!u.correlationNames.empty()) err << "correlation\n";
    const std::size_t k = u.correlationNames.size();
    for (std::size_t a = 0; a < k; ++a) {
        std::snprintf(line, sizeof line, "  %-22s", std::string(u.correlationNames[a]).c_str());
        err << line;
        for (std::size_t b = 0; b < k; ++b) {
            std::snprintf(line, sizeof line, " %7.3f", u.correlation[a * k + b]);
            err << line;
        }
        err << "\n";
    }
    for (const std::string& w : u.warnings) err << "warning: " << w << "\n";
}

// The values and intervals in the document's units: the fields hold SI when units are set.
FitUncertainty inDocumentUnits(FitUncertainty u, const AnalysisState& s) {
    if (!s.units.set()) return u;
    for (ParameterUncertainty& p : u.parameters) {
        const FieldInfo* field = findField(p.name);
        const double factor = siFactor(field ? field->dimension : Dimension::None, s.units);
        p.value /= factor;
        p.standardError /= factor;
        p.lower /= factor;
        p.upper /= factor;
    }
    return u;
}

}  // namespace

void applyAutoStart(AnalysisState& state, std::ostream& err) {
    std::string reason;
    const auto start = estimateStartValues(state, &reason);
    if (!start) throw CliError{"fit: --auto-start: " + reason};
    writeParameterVector(state, std::span<const double>(start->vector));
    err << "start values (" << start->method << "):";
    for (std::string_view name : fittedFieldNames(state.modelKind)) {
        err << " " << name << " " << fieldText(state, *findField(name));
    }
    err << "\n";
}

std::optional<FitUncertainty> fitUncertainty(const AnalysisState& state, const std::string& method,
                                             const ParameterRanges& ranges) {
    if (method != "lsq") return std::nullopt;
    const auto u = estimateUncertainty(state, ranges);
    if (!u) return std::nullopt;
    return inDocumentUnits(*u, state);
}

nlohmann::ordered_json withUncertainty(nlohmann::ordered_json result, const AnalysisState& state,
                                       const std::string& method, const ParameterRanges& ranges) {
    if (const auto u = fitUncertainty(state, method, ranges)) addUncertaintyJson(result, *u);
    return result;
}

void printUncertainty(std::ostream& err, const AnalysisState& state, const std::string& method,
                      const ParameterRanges& ranges) {
    if (const auto u = fitUncertainty(state, method, ranges)) printLines(err, *u);
}

}  // namespace tolvex::cli
