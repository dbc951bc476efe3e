// The 8-bit bitmap export of a whole data plot, decoded with a reader of our own (file header, info
// header, 256-entry colour table, rows bottom-up padded to 4 bytes) and compared pixel for pixel with the
// QPainter rendering of the same scene, and at a few pixels whose colour the scene fixes
// (tests/reference/render_data_plot.py).
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <limits>

#include "RenderFixtures.h"
#include "core/plot/CurveColours.h"
#include "render/HeadlessGui.h"
#include "render/PlotExport.h"

namespace tolvex::render {
namespace {

using testing::fileBytes;
using testing::intField;
using testing::le16;
using testing::le32;

struct DecodedBmp {
    int width = 0;
    int height = 0;
    std::array<plot::Rgb, 256> table{};
    std::vector<plot::Rgb> pixels;  // top row first
    [[nodiscard]] plot::Rgb at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Decodes an uncompressed 8-bit bitmap file; a failed expectation names the field at fault.
DecodedBmp decodeBmp(const std::vector<std::uint8_t>& b) {
    DecodedBmp d;
    if (b.size() < 1078) {
        ADD_FAILURE() << "a file of " << b.size() << " bytes";
        return d;
    }
    EXPECT_EQ(le16(b, 0), 0x4D42) << "signature BM";
    EXPECT_EQ(le32(b, 2), b.size()) << "file size";
    EXPECT_EQ(le32(b, 6), 0u) << "reserved";
    const std::uint32_t offset = le32(b, 10);
    EXPECT_EQ(offset, 14u + 40u + 256u * 4u) << "pixel offset";
    EXPECT_EQ(le32(b, 14), 40u) << "info header size";
    d.width = static_cast<int>(le32(b, 18));
    d.height = static_cast<int>(le32(b, 22));  // positive: bottom-up
    EXPECT_EQ(le16(b, 26), 1) << "planes";
    EXPECT_EQ(le16(b, 28), 8) << "bits per pixel";
    EXPECT_EQ(le32(b, 30), 0u) << "compression";
    const std::size_t stride = (static_cast<std::size_t>(d.width) + 3) / 4 * 4;
    EXPECT_EQ(le32(b, 34), stride * static_cast<std::size_t>(d.height)) << "image size";
    EXPECT_EQ(b.size(), offset + stride * static_cast<std::size_t>(d.height)) << "file length";
    for (std::size_t i = 0; i < 256; ++i) {
        const std::size_t e = 54 + 4 * i;
        d.table[i] = {b[e + 2], b[e + 1], b[e]};
        EXPECT_EQ(b[e + 3], 0) << "colour table entry " << i;
    }
    if (b.size() < offset + stride * static_cast<std::size_t>(d.height)) return d;
    d.pixels.reserve(static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height));
    int nonZeroPadding = 0;
    for (int y = 0; y < d.height; ++y) {
        const std::size_t row = offset + static_cast<std::size_t>(d.height - 1 - y) * stride;
        for (int x = 0; x < d.width; ++x) d.pixels.push_back(d.table[b[row + static_cast<std::size_t>(x)]]);
        for (std::size_t x = static_cast<std::size_t>(d.width); x < stride; ++x)
            nonZeroPadding += b[row + x] != 0;
    }
    EXPECT_EQ(nonZeroPadding, 0) << "row padding";
    return d;
}

int distance(plot::Rgb a, plot::Rgb b) {
    const int dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
    return dr * dr + dg * dg + db * db;
}

plot::Rgb rgbOf(QRgb p) {
    return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
            static_cast<std::uint8_t>(qBlue(p))};
}

std::string named(plot::Rgb c) {
    return "(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")";
}

struct Case {
    const char* scene;
    int width;
    int height;
};

class BmpDataPlot : public ::testing::TestWithParam<Case> {};

// Every pixel of the file is the colour-table entry nearest to the rendered pixel (ties either way), and
// where the rendering holds a colour of the table, exactly that colour.
TEST_P(BmpDataPlot, EveryPixelIsTheNearestTableColourOfTheRendering) {
    const Case c = GetParam();
    const GuiSession session;
    const testing::TemporaryFolder folder("bmp-picture");
    AnalysisState state = testing::dataPlotState(c.scene);
    const std::string path = folder.file("plot.bmp");
    ASSERT_FALSE(exportPlot(state, path, c.width, c.height));
    const DecodedBmp bmp = decodeBmp(fileBytes(path));
    ASSERT_EQ(bmp.width, c.width);
    ASSERT_EQ(bmp.height, c.height);
    ASSERT_EQ(bmp.pixels.size(), static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height));

    const QImage image = renderSceneImage(testing::dataPlotScene(c.scene), c.width, c.height);
    int mismatches = 0;
    int worstExcess = -1;
    std::string worst;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const plot::Rgb rendered = rgbOf(image.pixel(x, y));
            int nearest = std::numeric_limits<int>::max();
            for (const plot::Rgb& entry : bmp.table) nearest = std::min(nearest, distance(entry, rendered));
            const int excess = distance(bmp.at(x, y), rendered) - nearest;
            if (excess == 0) continue;
            ++mismatches;
            if (excess > worstExcess) {
                worstExcess = excess;
                worst = "(" + std::to_string(x) + ", " + std::to_string(y) + "): rendered " +
                        named(rendered) + ", file " + named(bmp.at(x, y));
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << c.scene << " " << c.width << "x" << c.height << ", worst pixel " << worst;
}

INSTANTIATE_TEST_SUITE_P(Pictures, BmpDataPlot,
                         ::testing::Values(Case{"log-time", 1200, 1000}, Case{"linear-time", 1200, 1000},
                                           Case{"log-time", 641, 534}),
                         [](const auto& info) {
                             return std::string(info.param.scene == std::string("log-time") ? "LogTime"
                                                                                            : "LinearTime") +
                                    std::to_string(info.param.width);
                         });

TEST(BmpDataPlotPixels, PixelsTheSceneFixesHaveTheirColours) {
    const GuiSession session;
    const testing::TemporaryFolder folder("bmp-pixels");
    for (const char* scene : {"log-time", "linear-time"}) {
        AnalysisState state = testing::dataPlotState(scene);
        ASSERT_FALSE(exportPlot(state, folder.file("plot.bmp"), 1200, 1000));
        const DecodedBmp bmp = decodeBmp(fileBytes(folder.file("plot.bmp")));
        ASSERT_EQ(bmp.pixels.size(), 1200u * 1000u);
        const auto rows = testing::rowsOfScene(testing::readCsv("render/data_plot_pixels.csv"), scene);
        ASSERT_FALSE(rows.empty());
        for (const auto& row : rows) {
            const plot::Rgb expected{static_cast<std::uint8_t>(intField(row, "red")),
                                     static_cast<std::uint8_t>(intField(row, "green")),
                                     static_cast<std::uint8_t>(intField(row, "blue"))};
            const int x0 = intField(row, "x");
            const int y0 = intField(row, "y");
            const int window = intField(row, "window");
            bool found = false;
            for (int y = y0 - window; y <= y0 + window && !found; ++y) {
                for (int x = x0 - window; x <= x0 + window && !found; ++x) found = bmp.at(x, y) == expected;
            }
            EXPECT_TRUE(found) << scene << ", " << row.at("what") << " at (" << x0 << ", " << y0 << ") +-"
                               << window << ": expected " << named(expected) << ", file has "
                               << named(bmp.at(x0, y0));
        }
    }
}

TEST(BmpColourTable, HoldsWhiteAndEveryPlotColourExactly) {
    const GuiSession session;
    const testing::TemporaryFolder folder("bmp-table");
    AnalysisState state = testing::dataPlotState("log-time");
    ASSERT_FALSE(exportPlot(state, folder.file("plot.bmp"), 16, 16));
    const DecodedBmp bmp = decodeBmp(fileBytes(folder.file("plot.bmp")));
    std::vector<plot::Rgb> wanted(plot::kCurveColours.begin(), plot::kCurveColours.end());
    wanted.push_back(plot::kWhite);
    for (const plot::Rgb& colour : wanted) {
        EXPECT_NE(std::find(bmp.table.begin(), bmp.table.end(), colour), bmp.table.end()) << named(colour);
    }
}

}  // namespace
}  // namespace tolvex::render
