// The 8-bit Windows bitmap file of the picture export: file header, 40-byte info header, 256-entry
// colour table (blue, green, red, 0), then the rows bottom-up, one palette index per pixel, each row
// padded to a multiple of 4 bytes. Qt's own writer would pick the depth itself, hence this one.
#pragma once

#include <cstdint>
#include <vector>

class QImage;

namespace tolvex::render {

inline constexpr std::uint32_t kBmpFileHeaderSize = 14;
inline constexpr std::uint32_t kBmpInfoHeaderSize = 40;
inline constexpr std::uint32_t kBmpPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize + 256 * 4;  // 1078

// Bytes per stored row of an 8-bit bitmap `width` pixels wide.
[[nodiscard]] constexpr std::uint32_t bmp8RowSize(std::uint32_t width) {
    return (width * 8 + 31) / 32 * 4;
}

// The whole file for `image`, its colours mapped to the nearest entry of bmpPalette().
[[nodiscard]] std::vector<std::uint8_t> encodeBmp8(const QImage& image);

}  // namespace tolvex::render
