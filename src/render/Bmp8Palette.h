// The 256-colour palette of the 8-bit bitmap export and the mapping of true colours onto it.
//
// The layout is the one an 8-bit display offers by default: the twenty static system colours (ten at
// each end), which hold all eleven plot colours exactly, a 6 x 6 x 6 colour cube, and a ramp of greys
// for the smoothed edges of the text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "core/plot/Scene.h"

namespace tolvex::render {

inline constexpr std::size_t kPaletteSize = 256;
using Palette = std::array<plot::Rgb, kPaletteSize>;

[[nodiscard]] Palette bmpPalette();

// The nearest palette entry by squared distance in red, green and blue (the lowest index on a tie),
// remembered per colour because a plot uses only a few.
class PaletteMapper {
public:
    explicit PaletteMapper(const Palette& palette) : palette_(palette) {}
    [[nodiscard]] std::uint8_t index(plot::Rgb colour);

private:
    Palette palette_;
    std::unordered_map<std::uint32_t, std::uint8_t> known_;
};

}  // namespace tolvex::render
