// What a document keeps in its extension block (ExtensionBlock.h), as a JSON object:
//   {"settings": {"accuracy": "high"}, "units": {...}, "series": [...], "rates": [...]}
// (ExtensionSections.h)
// Only what differs from a classic document is written, so a document with nothing new has no block
// and is a classic document byte for byte. Keys a reader does not know are left alone.
#pragma once

#include <optional>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex {

// The payload for `state`, or an empty string when nothing differs from a classic document.
[[nodiscard]] std::string extensionPayload(const AnalysisState& state);

// Sets the fields the extension block keeps to what a classic document means (standard accuracy, no
// units, one series, a constant rate).
void resetExtensionFields(AnalysisState& state);

// Reads a payload into `state`, or says what is wrong with it (the state may then be half set: callers
// apply it to a copy).
[[nodiscard]] std::optional<std::string> applyExtensionPayload(const std::string& payload,
                                                               AnalysisState& state);

}  // namespace tolvex
