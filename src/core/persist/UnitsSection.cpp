#include <array>
#include <span>
#include <string>

#include "core/persist/ExtensionSections.h"
#include "core/units/Units.h"

namespace tolvex {
namespace {

struct UnitKind {
    const char* key;
    std::string DisplayUnits::*member;
    std::span<const UnitChoice> (*choices)();
};

constexpr std::array kKinds{UnitKind{"time", &DisplayUnits::time, &timeUnits},
                            UnitKind{"length", &DisplayUnits::length, &lengthUnits},
                            UnitKind{"rate", &DisplayUnits::rate, &rateUnits}};

std::string names(std::span<const UnitChoice> choices) {
    std::string text;
    for (const UnitChoice& c : choices) text += (text.empty() ? "" : ", ") + std::string(c.name);
    return text;
}

}  // namespace

// Every kind is written, a kind left empty under its SI name, so a reader needs no rule for gaps.
void writeUnitsSection(const AnalysisState& state, nlohmann::json& payload) {
    if (!state.units.set()) return;
    nlohmann::json units = nlohmann::json::object();
    for (const UnitKind& kind : kKinds) {
        const std::string& name = state.units.*kind.member;
        units[kind.key] = name.empty() ? std::string(kind.choices().front().name) : name;
    }
    payload["units"] = units;
}

std::optional<std::string> readUnitsSection(const nlohmann::json& payload, AnalysisState& state) {
    const auto section = payload.find("units");
    if (section == payload.end()) return std::nullopt;
    if (!section->is_object()) return "its extension block's units are not a JSON object";
    DisplayUnits units;
    for (const UnitKind& kind : kKinds) {
        const auto entry = section->find(kind.key);
        if (entry == section->end()) continue;
        const UnitChoice* unit =
            entry->is_string() ? findUnit(kind.choices(), entry->get<std::string>()) : nullptr;
        // The ASCII name only: the block is written with it, a label ("m³/d") is no name of ours.
        if (unit == nullptr || unit->name != entry->get_ref<const std::string&>()) {
            return "its extension block gives the " + std::string(kind.key) + " unit " + entry->dump() +
                   ", not one of " + names(kind.choices());
        }
        units.*kind.member = std::string(unit->name);
    }
    state.units = units;
    return std::nullopt;
}

}  // namespace tolvex
