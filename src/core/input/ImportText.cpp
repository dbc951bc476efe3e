#include "core/input/ImportText.h"

#include <cstdint>

namespace tolvex {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::uint16_t kLastAscii = 0x7F;

enum class Utf16 { No, LittleEndian, BigEndian };

// The line (from 1) on which character `offset` of `text` lies: one more than the line ends before it
// (a CR just before `offset` is a lone CR, since the character there is no LF).
std::size_t lineOf(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= offset || text[i + 1] != '\n'))) ++line;
    }
    return line;
}

// Whether every byte at positions first, first + 2, ... is NUL: UTF-16 text of ASCII characters
// written without a byte-order mark.
bool nulEveryOtherByte(std::string_view bytes, std::size_t first) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0) return false;
    for (std::size_t i = first; i < bytes.size(); i += 2) {
        if (bytes[i] != '\0') return false;
    }
    return true;
}

Utf16 utf16Kind(std::string_view& bytes) {
    if (bytes.starts_with(kUtf16LeMark)) {
        bytes.remove_prefix(kUtf16LeMark.size());
        return Utf16::LittleEndian;
    }
    if (bytes.starts_with(kUtf16BeMark)) {
        bytes.remove_prefix(kUtf16BeMark.size());
        return Utf16::BigEndian;
    }
    if (nulEveryOtherByte(bytes, 1)) return Utf16::LittleEndian;
    if (nulEveryOtherByte(bytes, 0)) return Utf16::BigEndian;
    return Utf16::No;
}

// The ASCII text of UTF-16 code units, or why not: a character beyond ASCII or a NUL character.
ImportText decodeUtf16(std::string_view bytes, Utf16 kind) {
    if (bytes.size() % 2 != 0) return {std::nullopt, "is UTF-16 text that ends in the middle of a character"};
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        const auto unit = static_cast<std::uint16_t>(kind == Utf16::LittleEndian ? first | (second << 8)
                                                                                 : (first << 8) | second);
        if (unit == 0 || unit > kLastAscii) {
            const std::size_t line = lineOf(text, text.size());
            if (unit == 0) {
                return {std::nullopt,
                        "is not plain text: it holds a NUL character on line " + std::to_string(line)};
            }
            return {std::nullopt, "is UTF-16 text with characters beyond ASCII (the first on line " +
                                      std::to_string(line) +
                                      "); save it as ASCII or UTF-8 text to import it"};
        }
        text += static_cast<char>(unit);
    }
    return {std::move(text), {}};
}

}  // namespace

std::string_view takeLine(std::string_view& text) {
    const auto end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
    } else {
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return line;
}

ImportText decodeImportText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
    if (const Utf16 kind = utf16Kind(bytes); kind != Utf16::No) return decodeUtf16(bytes, kind);
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        return {std::nullopt,
                "is not plain text: it holds a NUL byte on line " + std::to_string(lineOf(bytes, nul))};
    }
    return {std::string(bytes), {}};
}

}  // namespace tolvex
