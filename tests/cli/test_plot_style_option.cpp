// tolvex-cli plot --style and --axes: the picture in the clear style with units in the axis titles, the
// axes asked for, the document's own view when neither is given, the document file left untouched, and
// a wrong name refused with one line naming it. The SVG output is read as text: its texts are the plot's.
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

class PlotStyleOption : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tolvex-cli-plot-style-" + test + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // The default measurements (5 to 600 min, 3.41 to 6.47 m) in minutes and metres.
    void save(PlotStyle style, AxesChoice axes) {
        AnalysisState state = makeDefaultState();
        changeDisplayUnits(state, DisplayUnits{"min", "m", "m3/d"});
        state.plotContent = 1;
        state.view.style = style;
        state.view.axes = axes;
        ASSERT_FALSE(saveDocument(state, document()));
    }
    [[nodiscard]] std::string document() const { return (folder_ / "test.tvx").string(); }
    [[nodiscard]] std::string svg() const { return (folder_ / "p.svg").string(); }

private:
    std::filesystem::path folder_;
};

// The top label of the clear style's linear drawdown axis: 1.1 times the largest drawdown, 6.47 m, is
// 7.117, and ten intervals need steps of 0.4048, rounded to 0.5: the axis ends at 7.5.
constexpr const char* kLinearTop = "7.5";

TEST_F(PlotStyleOption, ClearStyleTitlesCarryUnitsAndTheAxesFollowTheOption) {
    save(PlotStyle::Classic, AxesChoice::Auto);
    struct Case {
        std::vector<std::string> options;
        bool clear;
        bool semiLog;
    };
    const Case cases[] = {
        {{}, false, true},                    // the classic switches: log time, linear drawdowns
        {{"--style", "clear"}, true, false},  // automatic: log-log for the Theis model
        {{"--style", "clear", "--axes", "semilog"}, true, true},
        {{"--style", "classic", "--axes", "loglog"}, false, false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words{document(), "--out", svg()};
        words.insert(words.end(), c.options.begin(), c.options.end());
        const test::CliRun run = plot(words);
        ASSERT_EQ(run.status, kExitOk) << run.err;
        const std::string picture = contents(svg());
        EXPECT_EQ(holdsText(picture, "Time t [min]"), c.clear) << words.size();
        EXPECT_EQ(holdsText(picture, "Drawdown s [m]"), c.clear) << words.size();
        EXPECT_EQ(holdsText(picture, "t"), !c.clear) << words.size();
        const char* bottom = c.clear ? kLinearTop : " 3.07";
        EXPECT_EQ(holdsText(picture, bottom), c.semiLog) << words.size();
    }
}

TEST_F(PlotStyleOption, WithoutOptionsTheDocumentsViewIsDrawnAndTheFileStaysAsItWas) {
    save(PlotStyle::Clear, AxesChoice::SemiLog);
    const std::string before = contents(document());
    ASSERT_EQ(plot({document(), "--out", svg()}).status, kExitOk);
    const std::string picture = contents(svg());
    EXPECT_TRUE(holdsText(picture, "Time t [min]"));
    EXPECT_TRUE(holdsText(picture, kLinearTop));
    ASSERT_EQ(plot({document(), "--out", svg(), "--style", "classic", "--axes", "auto"}).status, kExitOk);
    EXPECT_TRUE(holdsText(contents(svg()), "t"));
    EXPECT_EQ(contents(document()), before);
}

// --derivative adds the measurements' derivative and its key, in either style, without touching the file.
TEST_F(PlotStyleOption, TheDerivativeIsAddedOnlyWhenAsked) {
    save(PlotStyle::Classic, AxesChoice::Auto);
    const std::string before = contents(document());
    for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
             {"--derivative"}, {"--derivative", "0"}, {"--derivative", "window:5", "--style", "clear"}}) {
        std::vector<std::string> words{document(), "--out", svg()};
        words.insert(words.end(), options.begin(), options.end());
        const test::CliRun run = plot(words);
        ASSERT_EQ(run.status, kExitOk) << run.err;
        EXPECT_TRUE(holdsText(contents(svg()), "ds/d ln t")) << options.back();
    }
    ASSERT_EQ(plot({document(), "--out", svg()}).status, kExitOk);
    EXPECT_FALSE(holdsText(contents(svg()), "ds/d ln t"));
    EXPECT_EQ(contents(document()), before);
}

TEST_F(PlotStyleOption, AWrongNameIsRefusedInOneLineNamingIt) {
    save(PlotStyle::Classic, AxesChoice::Auto);
    struct Case {
        std::vector<std::string> options;
        const char* message;
    };
    const Case cases[] = {
        {{"--style", "fancy"}, "tolvex-cli: plot: --style 'fancy' is not classic or clear"},
        {{"--axes", "linear"}, "tolvex-cli: plot: --axes 'linear' is not auto, loglog or semilog"},
        {{"--style", "Clear"}, "tolvex-cli: plot: --style 'Clear' is not classic or clear"},
        {{"--derivative", "0.8"},
         "tolvex-cli: plot: --derivative '0.8': The L-spacing must lie between 0 and 0.5 log cycles."},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words{document(), "--out", svg()};
        words.insert(words.end(), c.options.begin(), c.options.end());
        const test::CliRun run = plot(words);
        EXPECT_EQ(run.status, kExitFailure) << c.message;
        EXPECT_EQ(run.err, std::string(c.message) + "\n");
        EXPECT_FALSE(std::filesystem::exists(svg())) << c.message;
    }
}

}  // namespace
}  // namespace tolvex::cli
