// The extension block of a document: what the program keeps beyond the classic records (settings and
// data of newer features), written after the last record so that readers of the classic records still
// read the file. Layout, all integers little-endian:
//   "TVXX"            4 bytes, the block's tag
//   version           2 bytes, kExtensionVersion
//   length            4 bytes, the length of the payload
//   payload           UTF-8 JSON object
//   checksum          4 bytes, CRC-32 of every byte of the file before it (the classic records too)
// A document with a block is thus protected as a whole; a damaged one is refused.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

inline constexpr char kExtensionTag[] = "TVXX";
inline constexpr int kExtensionVersion = 1;

// The block holding `payload` (a JSON text) for a file whose classic records are `records`.
[[nodiscard]] std::string extensionBlock(std::string_view records, std::string_view payload);

// The payload of the block that starts at `start` of the whole file `file`, or why it cannot be read:
// a wrong tag, a newer version, a length that does not end at the checksum, a checksum that does not
// match (the file is damaged).
struct ExtensionRead {
    std::optional<std::string> payload;
    std::string error;
};
[[nodiscard]] ExtensionRead readExtensionBlock(std::string_view file, std::size_t start);

}  // namespace tolvex
