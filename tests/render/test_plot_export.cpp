#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "RenderFixtures.h"
#include "render/HeadlessGui.h"
#include "render/PlotExport.h"

namespace tolvex::render {
namespace {

using testing::fileBytes;
using testing::TemporaryFolder;

AnalysisState measuredData() {
    AnalysisState s = makeDefaultState();
    s.plotContent = 1;
    return s;
}

TEST(PlotExport, WritesEveryFormatByItsExtension) {
    const TemporaryFolder folder("formats");
    for (const char* name : {"plot.png", "plot.svg", "plot.pdf", "plot.bmp", "plot.emf", "PLOT.PNG"}) {
        AnalysisState s = measuredData();
        const std::string path = folder.file(name);
        const auto error = exportPlot(s, path, 640, 480);
        EXPECT_FALSE(error) << name << ": " << error.value_or("");
        const auto bytes = fileBytes(path);
        EXPECT_GT(bytes.size(), 100u) << name;
    }
    EXPECT_EQ(fileBytes(folder.file("plot.bmp")).size(), 308278u);
    // The PNG is the painted scene, pixel for pixel (the format loses nothing).
    const GuiSession session;
    AnalysisState s = measuredData();
    const QImage painted = renderSceneImage(plot::buildPlotScene(s), 640, 480);
    const QImage png(QString::fromStdString(folder.file("plot.png")), "PNG");
    ASSERT_EQ(png.size(), QSize(640, 480));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), painted);
    // The vector pictures keep the size: the PDF page in points at 96 pixels to the inch, the SVG view box.
    const auto pdf = fileBytes(folder.file("plot.pdf"));
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
    EXPECT_NE(std::string(pdf.begin(), pdf.end()).find("/MediaBox [0 0 480.000000 360.000000]"),
              std::string::npos);
    const auto svg = fileBytes(folder.file("plot.svg"));
    EXPECT_NE(std::string(svg.begin(), svg.end()).find("viewBox=\"0 0 640 480\""), std::string::npos);
    const auto emf = fileBytes(folder.file("plot.emf"));
    EXPECT_EQ(testing::le32(emf, 32), 640u * 32000u / 1024u);
    EXPECT_EQ(testing::le32(emf, 36), 480u * 24000u / 768u);
}

TEST(PlotExport, RecordsThePlotExtentsAsEveryDrawingDoes) {
    const TemporaryFolder folder("extents");
    AnalysisState s = measuredData();
    s.lastPlotStyle = 1;
    ASSERT_FALSE(exportPlot(s, folder.file("plot.emf"), 300, 200));
    EXPECT_EQ(s.lastPlotStyle, 2);
    EXPECT_FLOAT_EQ(s.dataTimeMax, 600.0f);
}

TEST(PlotExport, RefusesWhatItCannotWrite) {
    const TemporaryFolder folder("refusals");
    AnalysisState s = measuredData();
    const auto unknown = exportPlot(s, folder.file("plot.wtf"), 640, 480);
    ASSERT_TRUE(unknown);
    EXPECT_NE(unknown->find("plot.wtf"), std::string::npos);
    EXPECT_TRUE(exportPlot(s, folder.file("plot"), 640, 480));
    EXPECT_TRUE(exportPlot(s, folder.file("plot.png"), 0, 480));
    EXPECT_TRUE(exportPlot(s, folder.file("plot.png"), 640, kMaxPictureSide + 1));
    for (const char* name : {"plot.png", "plot.svg", "plot.pdf", "plot.bmp", "plot.emf"}) {
        const auto error = exportPlot(s, folder.file(std::string("missing/") + name), 64, 48);
        ASSERT_TRUE(error) << name;
        EXPECT_NE(error->find("missing"), std::string::npos) << *error;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("plot.png")));
}

TEST(PlotExport, AnEmptyPlotGivesABlankPicture) {
    const TemporaryFolder folder("blank");
    AnalysisState s = makeDefaultState();
    s.plotContent = 0;
    s.typeCurvesReady = 0;
    ASSERT_FALSE(exportPlot(s, folder.file("blank.bmp"), 64, 48));
    const auto bmp = fileBytes(folder.file("blank.bmp"));
    ASSERT_EQ(bmp.size(), 1078u + 64u * 48u);
    for (std::size_t i = 1078; i < bmp.size(); ++i) {
        const std::size_t entry = 54 + bmp[i] * 4u;
        ASSERT_EQ(bmp[entry] & bmp[entry + 1] & bmp[entry + 2], 255) << i;  // white
    }
}

TEST(PictureFormats, FollowTheExtension) {
    EXPECT_EQ(pictureFormatOf("a/b.Emf"), PictureFormat::Emf);
    EXPECT_EQ(pictureFormatOf("x.svg"), PictureFormat::Svg);
    EXPECT_FALSE(pictureFormatOf("x.svg.txt"));
    EXPECT_FALSE(pictureFormatOf("x"));
}

}  // namespace
}  // namespace tolvex::render
