#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/Cli.h"
#include "core/persist/Document.h"
#include "core/state/AnalysisState.h"

namespace tolvex::cli {
namespace {

struct PlotRun {
    int status;
    std::string out;
    std::string err;
};

PlotRun plot(const std::vector<std::string>& words) {
    std::vector<std::string> args{"tolvex-cli", "plot"};
    args.insert(args.end(), words.begin(), words.end());
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

class PlotCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per test and process: ctest runs tests side by side.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tolvex-cli-plot-" + test + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        AnalysisState state = makeDefaultState();
        state.plotContent = 1;
        ASSERT_FALSE(saveDocument(state, document()));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    [[nodiscard]] std::string document() const { return (folder_ / "test.tvx").string(); }
    [[nodiscard]] std::string file(const std::string& name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};

std::size_t sizeOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(size);
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t little32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint32_t big32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

// The colour (red, green, blue) of pixel (x, y), y counted from the top, of an 8-bit bitmap file.
std::uint32_t bmpPixel(const std::string& b, int x, int y) {
    const auto width = static_cast<int>(little32(b, 18));
    const auto height = static_cast<int>(little32(b, 22));
    const std::size_t row =
        static_cast<std::size_t>((width + 3) / 4 * 4) * static_cast<std::size_t>(height - 1 - y);
    const auto index = static_cast<unsigned char>(b[little32(b, 10) + row + static_cast<std::size_t>(x)]);
    return little32(b, 54 + 4u * index) & 0xFFFFFF;
}

// What each picture file says of its size: the bitmaps in pixels, the PDF page in points (96 pixels to
// the inch, rounded to whole points), the SVG view box in pixels and the metafile frame in hundredths of a
// millimetre (at the reference device's 1024 pixels to 320 mm and 768 pixels to 240 mm).
void expectPictureSize(const std::string& folder, int width, int height) {
    const std::string bmp = contents(folder + "/p.bmp");
    ASSERT_EQ(bmp.size(), 1078u + static_cast<std::size_t>((width + 3) / 4 * 4 * height));
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(little32(bmp, 18), static_cast<std::uint32_t>(width));
    EXPECT_EQ(little32(bmp, 22), static_cast<std::uint32_t>(height));
    EXPECT_EQ(little32(bmp, 28) & 0xFFFF, 8u);
    const std::string png = contents(folder + "/p.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(big32(png, 16), static_cast<std::uint32_t>(width));
    EXPECT_EQ(big32(png, 20), static_cast<std::uint32_t>(height));
    char box[64];
    // A page size in points is held to whole points.
    std::snprintf(box, sizeof box, "/MediaBox [0 0 %.6f %.6f]", std::round(width * 0.75),
                  std::round(height * 0.75));
    EXPECT_NE(contents(folder + "/p.pdf").find(box), std::string::npos) << box;
    const std::string viewBox =
        "viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) + "\"";
    EXPECT_NE(contents(folder + "/p.svg").find(viewBox), std::string::npos) << viewBox;
    const std::string emf = contents(folder + "/p.emf");
    ASSERT_GT(emf.size(), 88u);
    EXPECT_EQ(emf.substr(40, 4), " EMF");
    EXPECT_EQ(little32(emf, 48), emf.size());
    EXPECT_EQ(little32(emf, 32), static_cast<std::uint32_t>(width * 32000 / 1024));
    EXPECT_EQ(little32(emf, 36), static_cast<std::uint32_t>(height * 24000 / 768));
}

TEST_F(PlotCommand, WritesAllFivePictureFormats) {
    for (const char* name : {"p.png", "p.svg", "p.pdf", "p.bmp", "p.emf"}) {
        const PlotRun run = plot({document(), "--out", file(name)});
        EXPECT_EQ(run.status, kExitOk) << name << ": " << run.err;
        EXPECT_EQ(run.out, "") << name;
    }
    expectPictureSize(file(""), 1200, 1000);  // the default: one pixel per logical unit
    // The data plot on white: the frame's left edge runs along logical x = 200 from y = 250 to 950.
    const std::string bmp = contents(file("p.bmp"));
    EXPECT_EQ(bmpPixel(bmp, 1150, 30), 0xFFFFFFu);
    EXPECT_EQ(bmpPixel(bmp, 200, 1000 - 425), 0x000000u);
    EXPECT_EQ(bmpPixel(bmp, 200, 1000 - 100), 0xFFFFFFu);
}

TEST_F(PlotCommand, TakesThePictureSize) {
    for (const char* name : {"p.png", "p.svg", "p.pdf", "p.bmp", "p.emf"}) {
        const PlotRun run = plot({document(), "--out", file(name), "--size", "641x480"});
        EXPECT_EQ(run.status, kExitOk) << name << ": " << run.err;
    }
    expectPictureSize(file(""), 641, 480);
    EXPECT_EQ(sizeOf(file("p.bmp")), 1078u + 644u * 480u);  // rows of 641 pixels padded to 644 bytes
}

TEST_F(PlotCommand, RefusesBadInputWithOneLineNamingIt) {
    for (const char* size : {"640", "x480", "640x", "0x480", "-5x3", "640x480x2", "wide"}) {
        const PlotRun run = plot({document(), "--out", file("p.png"), "--size", size});
        EXPECT_EQ(run.status, kExitFailure) << size;
        EXPECT_EQ(run.err.rfind("tolvex-cli: plot: --size '", 0), 0u) << run.err;
    }
    const PlotRun extension = plot({document(), "--out", file("p.jpg")});
    EXPECT_EQ(extension.status, kExitFailure);
    EXPECT_NE(extension.err.find("p.jpg"), std::string::npos);
    const PlotRun missing = plot({file("nothing.tvx"), "--out", file("p.png")});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find("nothing.tvx"), std::string::npos);
    const PlotRun folder = plot({document(), "--out", file("no/such/folder/p.png")});
    EXPECT_EQ(folder.status, kExitFailure);
    EXPECT_EQ(sizeOf(file("p.png")), 0u);
}

TEST_F(PlotCommand, NeedsADocumentAndAnOutput) {
    EXPECT_EQ(plot({document()}).status, kExitUsage);
    EXPECT_EQ(plot({"--out", file("p.png")}).status, kExitUsage);
}

}  // namespace
}  // namespace tolvex::cli
