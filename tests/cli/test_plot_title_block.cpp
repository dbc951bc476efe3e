// tolvex-cli plot --title-block: the picture grows by a band below the plot that names the project, the
// operator, the well, the model, the parameters in the document's units, the RMS error and the date.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/Cli.h"
#include "core/persist/Document.h"
#include "core/state/AnalysisState.h"
#include "core/state/CommaLocale.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

test::CliRun plot(std::vector<std::string> words) {
    return test::runPlot(std::move(words));
}

std::string contents(const std::filesystem::path& path) {
    return test::fileContents(path.string());
}

std::uint32_t big32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The contents of every <text> element of an SVG file (the SVG writer escapes none of these texts).
std::vector<std::string> svgTexts(const std::string& svg) {
    static const std::regex element("<text[^>]*>([^<]*)</text>");
    std::vector<std::string> texts;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element); it != std::sregex_iterator();
         ++it) {
        std::string text = (*it)[1].str();
        while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.pop_back();
        texts.push_back(text);
    }
    return texts;
}

// The viewBox height of an SVG file, or -1.
int svgHeight(const std::string& svg) {
    std::smatch match;
    static const std::regex box("viewBox=\"0 0 ([0-9]+) ([0-9]+)\"");
    return std::regex_search(svg, match, box) ? std::stoi(match[2].str()) : -1;
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

class PlotTitleBlock : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tolvex-cli-title-" + test + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        // A Theis estimation in metres and days: T = 100 m²/d (kept in SI), S = 2e-4, RMS 1.5 cm.
        AnalysisState state = makeDefaultState();
        state.units = DisplayUnits{"d", "m", "m3/d"};
        state.transmissivity = static_cast<float>(100.0 / 86400.0);
        state.storativity = 2e-4f;
        state.rmsError = 0.015f;
        state.resultKind = 1;
        state.projectDescription = "Site Nord";
        state.operatorName = "A. Weber";
        ASSERT_FALSE(saveDocument(state, document()));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    [[nodiscard]] std::string document() const { return (folder_ / "site.tvx").string(); }
    [[nodiscard]] std::string file(const std::string& name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};

TEST_F(PlotTitleBlock, TheSvgHoldsTheBlocksTextsInTheDocumentsUnits) {
    const test::CliRun run = plot({document(), "--out", file("p.svg"), "--title-block"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::string svg = contents(file("p.svg"));
    const std::vector<std::string> texts = svgTexts(svg);
    for (const std::string expected :
         {"Project: Site Nord", "Operator: A. Weber", "S = 0.0002", "T = 100 m\u00b2/d", "RMS = 0.015 m"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    }
    const std::string date = "Date: " + today();
    EXPECT_NE(std::find(texts.begin(), texts.end(), date), texts.end()) << date;
    EXPECT_GT(svgHeight(svg), 1000);
}

TEST_F(PlotTitleBlock, WithoutTheOptionThePictureIsThePlotAlone) {
    ASSERT_EQ(plot({document(), "--out", file("p.svg")}).status, kExitOk);
    const std::string svg = contents(file("p.svg"));
    EXPECT_EQ(svgHeight(svg), 1000);
    for (const std::string& text : svgTexts(svg)) EXPECT_EQ(text.rfind("Project:", 0), std::string::npos);
}

TEST_F(PlotTitleBlock, ThePngGrowsByTheBandAtThePlotsScale) {
    ASSERT_EQ(plot({document(), "--out", file("plain.png"), "--size", "600x500"}).status, kExitOk);
    ASSERT_EQ(plot({document(), "--out", file("titled.png"), "--size", "600x500", "--title-block"}).status,
              kExitOk);
    const std::string plain = contents(file("plain.png"));
    const std::string titled = contents(file("titled.png"));
    ASSERT_EQ(plain.substr(1, 3), "PNG");
    ASSERT_EQ(titled.substr(1, 3), "PNG");
    EXPECT_EQ(big32(plain, 16), 600u);
    EXPECT_EQ(big32(plain, 20), 500u);
    EXPECT_EQ(big32(titled, 16), 600u);
    // Four rows (S, T, RMS and the date; the four names beside them) of at least a 22-unit cell, at half
    // a pixel a unit.
    EXPECT_GT(big32(titled, 20), 500u + 4u * 11u);
    // The SVG of the same choice is as much taller, in logical units.
    ASSERT_EQ(plot({document(), "--out", file("titled.svg"), "--title-block"}).status, kExitOk);
    const int band = svgHeight(contents(file("titled.svg"))) - 1000;
    EXPECT_NEAR(static_cast<double>(big32(titled, 20)), 500.0 + band / 2.0, 1.0);
}

TEST_F(PlotTitleBlock, ThePdfPageIsTallerByTheBand) {
    ASSERT_EQ(plot({document(), "--out", file("p.pdf"), "--title-block"}).status, kExitOk);
    const std::string pdf = contents(file("p.pdf"));
    ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
    std::smatch match;
    ASSERT_TRUE(std::regex_search(pdf, match, std::regex("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")));
    EXPECT_NEAR(std::stod(match[1].str()), 900.0, 0.5);  // 1200 pixels at 96 per inch
    EXPECT_GT(std::stod(match[2].str()), 750.0 + 4 * 22 * 0.75);
}

TEST_F(PlotTitleBlock, NumbersKeepThePointUnderACommaLocale) {
    const tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "de_DE.UTF-8 is not installed";
    ASSERT_EQ(plot({document(), "--out", file("p.svg"), "--title-block"}).status, kExitOk);
    const std::vector<std::string> texts = svgTexts(contents(file("p.svg")));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "RMS = 0.015 m"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "RMS = 0,015 m"), texts.end());
}

}  // namespace
}  // namespace tolvex::cli
