// The bytes of a measurement file as lines of single-byte text, whatever program wrote it.
//
// Encodings: a UTF-8 byte-order mark is skipped; UTF-16 (what spreadsheet programs save as "Unicode
// text": the mark FF FE or FE FF, or a NUL byte in every other position) is decoded when all its
// characters are ASCII, and refused otherwise. Any other NUL byte means the file is not text (a binary
// file, a document chosen by mistake): it is refused, naming the line, instead of importing zeros.
// Line ends: LF, CR LF and a lone CR (old Macintosh files) each end one line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

struct ImportText {
    std::optional<std::string> text;  // the characters, one byte each; nothing when refused
    std::string error;                // why it was refused, as the end of a sentence about the file
};

// The file's text for the line parser, or why it cannot be read as text ("is UTF-16 text with
// characters beyond ASCII ...", "is not plain text: it holds a NUL byte on line N").
[[nodiscard]] ImportText decodeImportText(std::string_view bytes);

// Removes the first line and its line end (LF, CR LF or CR) from `text` and returns the line.
[[nodiscard]] std::string_view takeLine(std::string_view& text);

}  // namespace tolvex
