#include <gtest/gtest.h>

#include <QImage>

#include "RenderFixtures.h"
#include "core/plot/CurveColours.h"
#include "render/Bmp8Palette.h"
#include "render/Bmp8Writer.h"
#include "render/HeadlessGui.h"
#include "render/PlotExport.h"

namespace tolvex::render {
namespace {

using testing::le16;
using testing::le32;
using testing::sampleScene;

plot::Rgb rgbOf(QRgb p) {
    return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
            static_cast<std::uint8_t>(qBlue(p))};
}

TEST(BmpFile, A640By480PictureHasTheStandardLayout) {
    const GuiSession session;
    const std::vector<std::uint8_t> bmp = encodeBmp8(renderSceneImage(sampleScene(), 640, 480));
    ASSERT_EQ(bmp.size(), 308278u);  // 14 + 40 + 1024 + 640 * 480
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), 308278u);
    EXPECT_EQ(le32(bmp, 6), 0u);
    EXPECT_EQ(le32(bmp, 10), 1078u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 640u);
    EXPECT_EQ(le32(bmp, 22), 480u);
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 8u);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(le32(bmp, 34), 640u * 480u);
    for (std::size_t at = 38; at < 54; at += 4) EXPECT_EQ(le32(bmp, at), 0u);
}

TEST(BmpFile, RowsArePaddedToFourBytes) {
    EXPECT_EQ(bmp8RowSize(640), 640u);
    EXPECT_EQ(bmp8RowSize(641), 644u);
    EXPECT_EQ(bmp8RowSize(1), 4u);
    const GuiSession session;
    const std::vector<std::uint8_t> bmp = encodeBmp8(renderSceneImage(sampleScene(), 641, 10));
    EXPECT_EQ(bmp.size(), 1078u + 644u * 10u);
    EXPECT_EQ(le32(bmp, 34), 644u * 10u);
    for (std::size_t row = 0; row < 10; ++row) {
        for (std::size_t pad = 641; pad < 644; ++pad) EXPECT_EQ(bmp[1078 + row * 644 + pad], 0) << row;
    }
}

TEST(BmpFile, PixelsDecodeToThePaletteMappedRendering) {
    const GuiSession session;
    const QImage image = renderSceneImage(sampleScene(), 300, 250);
    const std::vector<std::uint8_t> bmp = encodeBmp8(image);
    PaletteMapper mapper(bmpPalette());
    const std::size_t rowSize = bmp8RowSize(300);
    int mismatches = 0;
    for (int y = 0; y < image.height(); ++y) {
        const std::size_t row = 1078 + static_cast<std::size_t>(image.height() - 1 - y) * rowSize;
        for (int x = 0; x < image.width(); ++x) {
            const std::uint8_t index = bmp[row + static_cast<std::size_t>(x)];
            const std::size_t entry = 54 + index * 4u;
            const plot::Rgb decoded{bmp[entry + 2], bmp[entry + 1], bmp[entry]};
            const plot::Rgb expected = bmpPalette()[mapper.index(rgbOf(image.pixel(x, y)))];
            if (decoded != expected) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(BmpPalette, HoldsEveryPlotColourExactly) {
    const Palette palette = bmpPalette();
    PaletteMapper mapper(palette);
    for (const plot::Rgb& colour : plot::kCurveColours) EXPECT_EQ(palette[mapper.index(colour)], colour);
    EXPECT_EQ(palette[mapper.index(plot::kWhite)], plot::kWhite);
    EXPECT_EQ(palette[0], plot::kBlack);
    EXPECT_EQ(palette[255], plot::kWhite);
    // A colour between entries goes to the nearest one.
    EXPECT_EQ(palette[mapper.index({250, 5, 3})], (plot::Rgb{255, 0, 0}));
}

}  // namespace
}  // namespace tolvex::render
