// tolvex-cli plot --view: each diagnostic view written as a picture with its titles in the document's
// units, the residual views of a fitted document with the lag-1 autocorrelation worked by hand, the note
// of a document without an estimation, the main plot when the option is absent, and a wrong name refused
// in one line naming it with no picture written. The SVG output is read as text: its texts are the view's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/Cli.h"
#include "core/input/DisplayUnitsChange.h"
#include "core/persist/Document.h"
#include "core/state/AnalysisState.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

test::CliRun plot(std::vector<std::string> words) {
    return test::runPlot(std::move(words));
}

std::string contents(const std::string& path) {
    return test::fileContents(path);
}

bool holdsText(const std::string& svg, const std::string& text) {
    return svg.find(">" + text + "<") != std::string::npos;
}

bool holds(const std::string& svg, const std::string& part) {
    return svg.find(part) != std::string::npos;
}

class PlotViewOption : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tolvex-cli-plot-view-" + test + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // The default measurements (14, in minutes and metres); fitted: a calculated curve 0.1 m below and
    // above them in turn, so the residuals alternate +0.1, -0.1, ... and their lag-1 autocorrelation is
    // (13 * -0.01) / (14 * 0.01) = -13/14 = -0.929.
    void save(bool fitted) {
        AnalysisState state = makeDefaultState();
        changeDisplayUnits(state, DisplayUnits{"min", "m", "m3/d"});
        state.plotContent = fitted ? 2 : 1;
        if (fitted) {
            state.resultKind = 1;
            for (std::size_t i = 0; i < state.calculated.size(); ++i)
                state.calculated[i] = state.measured[i] + (i % 2 == 0 ? -0.1 : 0.1);
        }
        ASSERT_FALSE(saveDocument(state, document()));
    }
    [[nodiscard]] std::string document() const { return (folder_ / "test.tvx").string(); }
    [[nodiscard]] std::string picture(const char* extension) const {
        return (folder_ / (std::string("v.") + extension)).string();
    }

private:
    std::filesystem::path folder_;
};

TEST_F(PlotViewOption, EachViewIsDrawnWithItsTitles) {
    save(true);
    struct Case {
        const char* view;
        const char* horizontal;
        const char* vertical;
        bool autocorrelation;
    };
    const Case cases[] = {
        {"residuals-time", "Time t [min]", "Residual [m]", true},
        {"residuals-calculated", "Calculated s(c) [m]", "Residual [m]", true},
        {"normal", "Standard normal quantile z", "Residual [m]", true},
        {"semilog", "Time t [min]", "Drawdown s [m]", false},
        {"sqrt", "sqrt t [min^1/2]", "Drawdown s [m]", false},
        {"quarter", "t^1/4 [min^1/4]", "Drawdown s [m]", false},
    };
    for (const Case& c : cases) {
        const test::CliRun run = plot({document(), "--out", picture("svg"), "--view", c.view});
        ASSERT_EQ(run.status, kExitOk) << c.view << ": " << run.err;
        const std::string svg = contents(picture("svg"));
        EXPECT_TRUE(holdsText(svg, c.horizontal)) << c.view;
        EXPECT_TRUE(holdsText(svg, c.vertical)) << c.view;
        EXPECT_EQ(holds(svg, "lag-1 autocorrelation -0.929<"), c.autocorrelation) << c.view;
    }
}

TEST_F(PlotViewOption, WithoutAnEstimationTheResidualViewsSaySo) {
    save(false);
    for (const char* view : {"residuals-time", "residuals-calculated", "normal"}) {
        ASSERT_EQ(plot({document(), "--out", picture("svg"), "--view", view}).status, kExitOk) << view;
        EXPECT_TRUE(holdsText(contents(picture("svg")), "No estimation yet")) << view;
    }
    ASSERT_EQ(plot({document(), "--out", picture("svg"), "--view", "sqrt"}).status, kExitOk);
    EXPECT_FALSE(holdsText(contents(picture("svg")), "No estimation yet"));
}

TEST_F(PlotViewOption, WithoutTheOptionTheMainPlotIsDrawnAndPngWorks) {
    save(true);
    ASSERT_EQ(plot({document(), "--out", picture("svg")}).status, kExitOk);
    EXPECT_FALSE(holds(contents(picture("svg")), "lag-1 autocorrelation"));
    ASSERT_EQ(plot({document(), "--out", picture("png"), "--view", "normal", "--size", "600x500"}).status,
              kExitOk);
    const std::string png = contents(picture("png"));
    ASSERT_GT(png.size(), 8U);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

TEST_F(PlotViewOption, AWrongViewIsRefusedInOneLineNamingIt) {
    save(true);
    const std::string before = contents(document());
    struct Case {
        std::vector<std::string> options;
        const char* message;
    };
    const Case cases[] = {
        {{"--view", "derivative"},
         "tolvex-cli: plot: --view 'derivative' is not residuals-time, residuals-calculated, normal, "
         "semilog, "
         "sqrt or quarter"},
        {{"--view", "Normal"},
         "tolvex-cli: plot: --view 'Normal' is not residuals-time, residuals-calculated, normal, semilog, "
         "sqrt "
         "or quarter"},
        {{"--view", "normal", "--title-block"},
         "tolvex-cli: plot: --title-block goes with the main plot, not with --view"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words{document(), "--out", picture("svg")};
        words.insert(words.end(), c.options.begin(), c.options.end());
        const test::CliRun run = plot(words);
        EXPECT_EQ(run.status, kExitFailure) << c.message;
        EXPECT_EQ(run.err, std::string(c.message) + "\n");
        EXPECT_FALSE(std::filesystem::exists(picture("svg"))) << c.message;
    }
    EXPECT_EQ(contents(document()), before);
}

}  // namespace
}  // namespace tolvex::cli
