#include <string>

#include "core/persist/ExtensionSections.h"

namespace tolvex {

// Only what differs from the classic view is written, so a classic document keeps its bytes.
void writeViewSection(const AnalysisState& state, nlohmann::json& payload) {
    if (state.view.classic()) return;
    nlohmann::json view = nlohmann::json::object();
    if (state.view.style != PlotStyle::Classic) view["style"] = std::string(plotStyleName(state.view.style));
    if (state.view.axes != AxesChoice::Auto) view["axes"] = std::string(axesChoiceName(state.view.axes));
    payload["view"] = view;
}

std::optional<std::string> readViewSection(const nlohmann::json& payload, AnalysisState& state) {
    const auto section = payload.find("view");
    if (section == payload.end()) return std::nullopt;
    if (!section->is_object()) return "its extension block's view is not a JSON object";
    PlotStyle style = PlotStyle::Classic;
    AxesChoice axes = AxesChoice::Auto;
    if (const auto entry = section->find("style"); entry != section->end()) {
        const auto parsed = entry->is_string() ? plotStyleFromName(entry->get<std::string>()) : std::nullopt;
        if (!parsed)
            return "its extension block gives the plot style " + entry->dump() + ", not classic or clear";
        style = *parsed;
    }
    if (const auto entry = section->find("axes"); entry != section->end()) {
        const auto parsed = entry->is_string() ? axesChoiceFromName(entry->get<std::string>()) : std::nullopt;
        if (!parsed)
            return "its extension block gives the plot axes " + entry->dump() +
                   ", not auto, loglog or semilog";
        axes = *parsed;
    }
    state.view.style = style;
    state.view.axes = axes;
    return std::nullopt;
}

}  // namespace tolvex
