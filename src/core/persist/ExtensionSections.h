// The sections of the extension block's JSON payload (DocumentExtension.h), one pair of functions per
// section: write adds the section's key only when the state differs from a classic document there;
// read sets the state's fields from the key when it is present, or says what is wrong with it.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex {

// "units": {"time": "min", "length": "m", "rate": "m3/d"}
void writeUnitsSection(const AnalysisState& state, nlohmann::json& payload);
[[nodiscard]] std::optional<std::string> readUnitsSection(const nlohmann::json& payload,
                                                          AnalysisState& state);

// "series": [the first series' settings, the further series...].
void writeSeriesSection(const AnalysisState& state, nlohmann::json& payload);
[[nodiscard]] std::optional<std::string> readSeriesSection(const nlohmann::json& payload,
                                                           AnalysisState& state);

// "rates": the pumping well's rate schedule.
void writeRatesSection(const AnalysisState& state, nlohmann::json& payload);
[[nodiscard]] std::optional<std::string> readRatesSection(const nlohmann::json& payload,
                                                          AnalysisState& state);

// "view": {"style": "clear", "axes": "semilog"}, each key only when not the default.
void writeViewSection(const AnalysisState& state, nlohmann::json& payload);
[[nodiscard]] std::optional<std::string> readViewSection(const nlohmann::json& payload, AnalysisState& state);
// "results": the summary of the last estimation, when there is one.
void writeResultsSection(const AnalysisState& state, nlohmann::json& payload);
[[nodiscard]] std::optional<std::string> readResultsSection(const nlohmann::json& payload,
                                                            AnalysisState& state);

}  // namespace tolvex
