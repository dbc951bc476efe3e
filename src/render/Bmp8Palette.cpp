#include "render/Bmp8Palette.h"

#include <limits>

namespace tolvex::render {
namespace {

constexpr std::array<plot::Rgb, 10> kStaticLow{{{0, 0, 0},
                                                {128, 0, 0},
                                                {0, 128, 0},
                                                {128, 128, 0},
                                                {0, 0, 128},
                                                {128, 0, 128},
                                                {0, 128, 128},
                                                {192, 192, 192},
                                                {192, 220, 192},
                                                {166, 202, 240}}};
constexpr std::array<plot::Rgb, 10> kStaticHigh{{{255, 251, 240},
                                                 {160, 160, 164},
                                                 {128, 128, 128},
                                                 {255, 0, 0},
                                                 {0, 255, 0},
                                                 {255, 255, 0},
                                                 {0, 0, 255},
                                                 {255, 0, 255},
                                                 {0, 255, 255},
                                                 {255, 255, 255}}};
constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 51;
constexpr std::size_t kGreyCount = kPaletteSize - 20 - kCubeLevels * kCubeLevels * kCubeLevels;

std::uint32_t key(plot::Rgb c) {
    return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

int distance(plot::Rgb a, plot::Rgb b) {
    const int dr = a.red - b.red;
    const int dg = a.green - b.green;
    const int db = a.blue - b.blue;
    return dr * dr + dg * dg + db * db;
}

}  // namespace

Palette bmpPalette() {
    Palette palette{};
    std::size_t n = 0;
    for (const plot::Rgb& c : kStaticLow) palette[n++] = c;
    for (int r = 0; r < kCubeLevels; ++r) {
        for (int g = 0; g < kCubeLevels; ++g) {
            for (int b = 0; b < kCubeLevels; ++b) {
                palette[n++] = {static_cast<std::uint8_t>(r * kCubeStep),
                                static_cast<std::uint8_t>(g * kCubeStep),
                                static_cast<std::uint8_t>(b * kCubeStep)};
            }
        }
    }
    for (std::size_t i = 1; i <= kGreyCount; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / (kGreyCount + 1));
        palette[n++] = {level, level, level};
    }
    for (const plot::Rgb& c : kStaticHigh) palette[n++] = c;
    return palette;
}

std::uint8_t PaletteMapper::index(plot::Rgb colour) {
    const auto found = known_.find(key(colour));
    if (found != known_.end()) return found->second;
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        const int d = distance(colour, palette_[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    const auto index = static_cast<std::uint8_t>(best);
    known_.emplace(key(colour), index);
    return index;
}

}  // namespace tolvex::render
