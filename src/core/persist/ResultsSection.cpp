// "results": the summary of the last estimation (ResultSummary.h), written only when there is one:
// {"model", "modelName", "method", "parameters": [{"name", "symbol", "unit", "value", "standardError",
// "lower", "upper", "fixed", "bounded", "atBound"}], "derived": [{"name", "symbol", "unit", "value"}],
// "rmsError", "rmsUnit", "iterations", "converged", "stopReason", "warnings", "stale"}.
// Numbers that do not exist (no interval) are null. "stale" is true when the data or the model changed
// after the fit, so a reopened document still says so; a summary read as current describes the data read.
#include <cmath>
#include <string>

#include "core/estimation/ResultSummaryBuilder.h"
#include "core/io/ValidUtf8.h"
#include "core/persist/ExtensionSections.h"
#include "core/state/ModelKind.h"

namespace tolvex {
namespace {

using nlohmann::json;

json numberOrNull(double value) {
    return std::isfinite(value) ? json(value) : json(nullptr);
}

json parameterJson(const ResultParameter& p) {
    return {{"name", validUtf8(p.name)},
            {"symbol", validUtf8(p.symbol)},
            {"unit", validUtf8(p.unit)},
            {"value", numberOrNull(p.value)},
            {"standardError", numberOrNull(p.standardError)},
            {"lower", numberOrNull(p.lower)},
            {"upper", numberOrNull(p.upper)},
            {"fixed", p.fixed},
            {"bounded", p.bounded},
            {"atBound", p.atBound}};
}

json quantityJson(const ResultQuantity& q) {
    return {{"name", validUtf8(q.name)},
            {"symbol", validUtf8(q.symbol)},
            {"unit", validUtf8(q.unit)},
            {"value", numberOrNull(q.value)}};
}

// Reading: each getter names the key that is missing or of the wrong type.
struct Reader {
    const json& object;
    std::string where;
    std::optional<std::string> error;

    const json* entry(const char* key, bool (json::*is)() const noexcept, const char* what) {
        if (error) return nullptr;
        const auto it = object.find(key);
        if (it == object.end() || !((*it).*is)()) {
            error = "its extension block's " + where + " has no " + what + " \"" + key + "\"";
            return nullptr;
        }
        return &*it;
    }
    std::string text(const char* key) {
        const json* e = entry(key, &json::is_string, "text");
        return e ? e->get<std::string>() : std::string();
    }
    bool flag(const char* key) {
        const json* e = entry(key, &json::is_boolean, "true or false");
        return e ? e->get<bool>() : false;
    }
    int integer(const char* key) {
        const json* e = entry(key, &json::is_number_integer, "whole number");
        return e ? e->get<int>() : 0;
    }
    // A number, or null for one that does not exist.
    double number(const char* key) {
        if (error) return kNoResultValue;
        const auto it = object.find(key);
        if (it != object.end() && it->is_null()) return kNoResultValue;
        const json* e = entry(key, &json::is_number, "number");
        return e ? e->get<double>() : kNoResultValue;
    }
    const json* list(const char* key) { return entry(key, &json::is_array, "list"); }
};

std::optional<std::string> readParameter(const json& item, ResultParameter& p) {
    if (!item.is_object()) return "its extension block's results list a parameter that is not a JSON object";
    Reader r{item, "results' parameter", std::nullopt};
    p.name = r.text("name");
    p.symbol = r.text("symbol");
    p.unit = r.text("unit");
    p.value = r.number("value");
    p.standardError = r.number("standardError");
    p.lower = r.number("lower");
    p.upper = r.number("upper");
    p.fixed = r.flag("fixed");
    p.bounded = r.flag("bounded");
    p.atBound = r.flag("atBound");
    return r.error;
}

std::optional<std::string> readQuantity(const json& item, ResultQuantity& q) {
    if (!item.is_object()) return "its extension block's results list a quantity that is not a JSON object";
    Reader r{item, "results' quantity", std::nullopt};
    q.name = r.text("name");
    q.symbol = r.text("symbol");
    q.unit = r.text("unit");
    q.value = r.number("value");
    return r.error;
}

}  // namespace

void writeResultsSection(const AnalysisState& state, nlohmann::json& payload) {
    if (!state.lastResults) return;
    const ResultSummary& s = *state.lastResults;
    json parameters = json::array();
    for (const ResultParameter& p : s.parameters) parameters.push_back(parameterJson(p));
    json derived = json::array();
    for (const ResultQuantity& q : s.derived) derived.push_back(quantityJson(q));
    json warnings = json::array();
    for (const std::string& w : s.warnings) warnings.push_back(validUtf8(w));
    payload["results"] = {{"model", s.modelKind},
                          {"modelName", validUtf8(s.modelName)},
                          {"method", validUtf8(s.method)},
                          {"parameters", parameters},
                          {"derived", derived},
                          {"rmsError", numberOrNull(s.rmsError)},
                          {"rmsUnit", validUtf8(s.rmsUnit)},
                          {"iterations", s.iterations},
                          {"converged", s.converged},
                          {"stopReason", validUtf8(s.stopReason)},
                          {"warnings", warnings},
                          {"stale", !resultsCurrent(state)}};
}

std::optional<std::string> readResultsSection(const nlohmann::json& payload, AnalysisState& state) {
    const auto section = payload.find("results");
    if (section == payload.end()) return std::nullopt;
    if (!section->is_object()) return "its extension block's results are not a JSON object";
    Reader r{*section, "results", std::nullopt};
    ResultSummary s;
    s.modelKind = r.integer("model");
    s.modelName = r.text("modelName");
    s.method = r.text("method");
    s.rmsError = r.number("rmsError");
    s.rmsUnit = r.text("rmsUnit");
    s.iterations = r.integer("iterations");
    s.converged = r.flag("converged");
    s.stopReason = r.text("stopReason");
    s.stale = r.flag("stale");
    const json* parameters = r.list("parameters");
    const json* derived = r.list("derived");
    const json* warnings = r.list("warnings");
    if (r.error) return r.error;
    if (s.modelKind < 0 || s.modelKind >= kModelCount)
        return "its extension block's results name the model " + std::to_string(s.modelKind) +
               ", not 0 to 10";
    if (!methodFromKey(s.method))
        return "its extension block's results name the method \"" + s.method +
               "\", not trial, simplex, lsq, jacob or bouwer-rice";
    for (const json& item : *parameters) {
        if (auto error = readParameter(item, s.parameters.emplace_back())) return error;
    }
    for (const json& item : *derived) {
        if (auto error = readQuantity(item, s.derived.emplace_back())) return error;
    }
    for (const json& item : *warnings) {
        if (!item.is_string()) return "its extension block's results hold a warning that is not a text";
        s.warnings.push_back(item.get<std::string>());
    }
    // The records and the other sections are read by now: the summary describes them as they are.
    s.stale = s.stale || s.modelKind != state.modelKind;
    s.inputsFingerprint = resultInputsFingerprint(state);
    state.lastResults = std::move(s);
    return std::nullopt;
}

}  // namespace tolvex
