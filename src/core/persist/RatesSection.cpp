#include "core/persist/ExtensionSections.h"

namespace tolvex {

void writeRatesSection(const AnalysisState&, nlohmann::json&) {}

std::optional<std::string> readRatesSection(const nlohmann::json&, AnalysisState&) {
    return std::nullopt;
}

}  // namespace tolvex
