#include "core/persist/ExtensionSections.h"

namespace tolvex {

void writeUnitsSection(const AnalysisState&, nlohmann::json&) {}

std::optional<std::string> readUnitsSection(const nlohmann::json&, AnalysisState&) {
    return std::nullopt;
}

}  // namespace tolvex
