#include <string>

#include "core/diagnostics/LogDerivative.h"
#include "core/persist/ExtensionSections.h"

namespace tolvex {

// Only what differs from the classic view is written, so a classic document keeps its bytes.
void writeViewSection(const AnalysisState& state, nlohmann::json& payload) {
    if (state.view.classic()) return;
    nlohmann::json view = nlohmann::json::object();
    if (state.view.style != PlotStyle::Classic) view["style"] = std::string(plotStyleName(state.view.style));
    if (state.view.axes != AxesChoice::Auto) view["axes"] = std::string(axesChoiceName(state.view.axes));
    if (state.view.derivative) view["derivative"] = true;
    if (state.view.derivativeWindow != 0) {
        view["derivativeWindow"] = state.view.derivativeWindow;
    } else if (state.view.derivativeLSpacing != kDefaultDerivativeLSpacing) {
        view["derivativeLSpacing"] = state.view.derivativeLSpacing;
    }
    payload["view"] = view;
}

namespace {

constexpr double kLargestWindow = 100001.0;

// The derivative's switch and smoothing; a message naming what is wrong, or nothing.
std::optional<std::string> readDerivative(const nlohmann::json& section, ViewSettings& view) {
    view.derivative = false;
    if (const auto entry = section.find("derivative"); entry != section.end()) {
        if (!entry->is_boolean())
            return "its extension block gives the plot derivative " + entry->dump() + ", not true or false";
        view.derivative = entry->get<bool>();
    }
    DerivativeSmoothing smoothing;
    if (const auto entry = section.find("derivativeWindow"); entry != section.end()) {
        if (!entry->is_number_integer())
            return "its extension block gives the derivative window " + entry->dump() +
                   ", not a count of points";
        smoothing.kind = DerivativeSmoothing::Kind::MovingWindow;
        // Read through a double so that no count, however large, overflows the int.
        const double count = entry->get<double>();
        smoothing.window = count >= 0.0 && count <= kLargestWindow ? static_cast<int>(count) : 0;
    } else if (const auto spacing = section.find("derivativeLSpacing"); spacing != section.end()) {
        if (!spacing->is_number())
            return "its extension block gives the derivative L-spacing " + spacing->dump() + ", not a number";
        smoothing.lSpacing = spacing->get<double>();
    } else {
        smoothing.lSpacing = kDefaultDerivativeLSpacing;
    }
    if (const std::string why = checkDerivativeSmoothing(smoothing); !why.empty())
        return "its extension block gives a derivative smoothing that cannot be used: " + why;
    const bool window = smoothing.kind == DerivativeSmoothing::Kind::MovingWindow;
    view.derivativeWindow = window ? smoothing.window : 0;
    view.derivativeLSpacing = window ? kDefaultDerivativeLSpacing : smoothing.lSpacing;
    return std::nullopt;
}

}  // namespace

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
    ViewSettings view = state.view;
    if (auto error = readDerivative(*section, view)) return error;
    state.view = view;
    state.view.style = style;
    state.view.axes = axes;
    return std::nullopt;
}

}  // namespace tolvex
