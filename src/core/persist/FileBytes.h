// Whole-file reads and crash-safe whole-file writes for the document and the reports.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tolvex {

struct FileRead {
    std::optional<std::string> bytes;  // nothing when the file could not be read
    std::string error;                 // why not, in the system's words
};

// Reads the whole file, refusing files larger than `maxBytes` before reading them.
[[nodiscard]] FileRead readFileBytes(const std::string& path, std::size_t maxBytes);

// Writes `bytes` to a temporary file beside `path`, flushes and closes it, and only then renames it
// over `path`; on any failure the temporary file is removed and `path` is left as it was. Returns the
// reason of a failure, or nothing.
[[nodiscard]] std::optional<std::string> replaceFileBytes(const std::string& path, const std::string& bytes);

}  // namespace tolvex
