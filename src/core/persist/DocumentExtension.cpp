#include "core/persist/DocumentExtension.h"

#include <nlohmann/json.hpp>

#include "core/persist/ExtensionSections.h"
#include "core/state/Accuracy.h"

namespace tolvex {

std::string extensionPayload(const AnalysisState& state) {
    nlohmann::json payload = nlohmann::json::object();
    if (highAccuracy(state)) payload["settings"]["accuracy"] = std::string(accuracyName(state.accuracy));
    writeUnitsSection(state, payload);
    writeSeriesSection(state, payload);
    writeRatesSection(state, payload);
    writeViewSection(state, payload);
    writeResultsSection(state, payload);
    return payload.empty() ? std::string() : payload.dump();
}

void resetExtensionFields(AnalysisState& state) {
    state.accuracy = static_cast<int>(Accuracy::Standard);
    state.units = DisplayUnits{};
    state.firstSeries = SeriesSettings{};
    state.extraSeries.clear();
    state.rateSchedule.clear();
    state.view.style = PlotStyle::Classic;
    state.view.axes = AxesChoice::Auto;
    state.lastResults.reset();
}

namespace {

std::optional<std::string> readSettingsSection(const nlohmann::json& json, AnalysisState& state) {
    const auto settings = json.find("settings");
    if (settings == json.end()) return std::nullopt;
    if (!settings->is_object()) return "its extension block's settings are not a JSON object";
    const auto accuracy = settings->find("accuracy");
    if (accuracy == settings->end()) return std::nullopt;
    const auto code = accuracy->is_string() ? accuracyFromName(accuracy->get<std::string>()) : std::nullopt;
    if (!code)
        return "its extension block gives the accuracy " + accuracy->dump() +
               ", not \"standard\" or \"high\"";
    state.accuracy = *code;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> applyExtensionPayload(const std::string& payload, AnalysisState& state) {
    const nlohmann::json json = nlohmann::json::parse(payload, nullptr, false);
    if (json.is_discarded() || !json.is_object()) return "its extension block does not hold a JSON object";
    for (auto read : {readSettingsSection, readUnitsSection, readSeriesSection, readRatesSection,
                      readViewSection, readResultsSection}) {
        if (auto error = read(json, state)) return error;
    }
    return std::nullopt;
}

}  // namespace tolvex
