#include "core/persist/ExtensionSections.h"

namespace tolvex {

void writeSeriesSection(const AnalysisState&, nlohmann::json&) {}

std::optional<std::string> readSeriesSection(const nlohmann::json&, AnalysisState&) {
    return std::nullopt;
}

}  // namespace tolvex
