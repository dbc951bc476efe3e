// Texts on their way into JSON, which must be valid UTF-8: names and labels typed by users or read
// from files may hold Latin-1 bytes or cut sequences.
#pragma once

#include <string>

namespace tolvex {

// The text as valid UTF-8: a byte that starts no valid sequence (of one to four bytes) becomes '?'.
[[nodiscard]] std::string validUtf8(const std::string& text);

}  // namespace tolvex
