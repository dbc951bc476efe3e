#include <gtest/gtest.h>

#include <filesystem>

#include "RenderFixtures.h"
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
    const auto png = fileBytes(folder.file("plot.png"));
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    const auto pdf = fileBytes(folder.file("plot.pdf"));
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
    const auto svg = fileBytes(folder.file("plot.svg"));
    EXPECT_NE(std::string(svg.begin(), svg.end()).find("<svg"), std::string::npos);
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
