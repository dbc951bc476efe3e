// Saving and loading the analysis as a document file (.tvx): the persisted part of AnalysisState as
// the record sequence of DocumentRecords.h.
//
// Messages are shown as they are: the first line is the program's own sentence ("Not able to create
// file.", "Not able to open file.", "Not able to read file."), the second names the file and what is
// wrong with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/state/AnalysisState.h"

namespace tolvex {

// Largest document the loader reads; the largest the program can write is a few megabytes.
inline constexpr std::size_t kMaxDocumentBytes = 64u * 1024u * 1024u;

// The file's bytes for the state: the classic records, then the extension block (ExtensionBlock.h) when the
// state holds something a classic document cannot (DocumentExtension.h). A file on disk is never
// untitled, so `untitled` is written as 0.
// Throws ArchiveError when a value cannot be represented (a count above 65535 or above its capacity).
[[nodiscard]] std::string documentBytes(const AnalysisState& state);

// Reads a complete document from `bytes` into `state`. On any fault (short, too long, a count above
// its capacity, an over-long Number, a Gauss or Stehfest count outside the Integration options' ranges,
// an extension block that is damaged, newer or unreadable) returns what is wrong and leaves `state`
// exactly as it was. Without a block the extension's fields take their classic meaning.
// Fields that the file does not carry keep their values. The Stehfest table is recomputed from
// stehfestCount (its last coefficient is not in the file), and so is the Gauss-Legendre table when
// the file's values are unusable.
[[nodiscard]] std::optional<std::string> readDocumentBytes(std::string_view bytes, AnalysisState& state);

// Writes the document beside `path` and renames it over `path` only when complete, so a failed save
// leaves an existing file intact. Returns the message to show, or nothing.
[[nodiscard]] std::optional<std::string> saveDocument(const AnalysisState& state, const std::string& path);

// Loads `path` into `state`; on any error returns the message to show and `state` is unchanged.
[[nodiscard]] std::optional<std::string> loadDocument(const std::string& path, AnalysisState& state);

}  // namespace tolvex
