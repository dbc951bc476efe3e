// CRC-32 of the IEEE 802.3 polynomial (reflected 0xEDB88320, initial and final value 0xFFFFFFFF), the
// checksum of zip and PNG: it detects every error burst of up to 32 bits, so every single damaged byte.
#pragma once

#include <cstdint>
#include <string_view>

namespace tolvex {

[[nodiscard]] std::uint32_t crc32(std::string_view bytes);

}  // namespace tolvex
