// The data plot with several observation series: each series' points and calculated line in its own
// colour, its name in a legend, the axes spanning every series, and the classic plot untouched by a
// series that is switched off.
#include <gtest/gtest.h>

#include <set>

#include "SceneQueries.h"
#include "core/plot/CurveColours.h"
#include "core/plot/DataPlot.h"
#include "core/plot/PlotScene.h"

namespace tolvex::plot {
namespace {

using testing::hasText;
using testing::polylinesIn;
using testing::primitivesOf;

ObservationSeries farWell(const char* name, double scale) {
    ObservationSeries x;
    x.settings.name = name;
    x.radialDistance = 300.0f;
    x.times = {2.0, 20.0, 200.0, 2000.0};
    x.values = {0.5 * scale, 1.0 * scale, 2.0 * scale, 3.0 * scale};
    x.calculated = {0.6 * scale, 1.1 * scale, 1.9 * scale, 3.1 * scale};
    return x;
}

AnalysisState measuredPlot() {
    AnalysisState s = makeDefaultState();
    s.plotContent = 2;
    s.calculated = s.measured;
    return s;
}

TEST(SeriesPlot, EachSeriesHasItsOwnColourAndName) {
    AnalysisState s = measuredPlot();
    s.firstSeries.name = "PW";
    s.extraSeries = {farWell("P2", 1.0), farWell("P3", 4.0)};
    const auto entries = dataPlotSeries(s);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "PW");
    EXPECT_EQ(entries[0].colour, kMarkerOutline);
    std::set<std::tuple<int, int, int>> colours;
    for (const auto& e : entries) colours.insert({e.colour.red, e.colour.green, e.colour.blue});
    EXPECT_EQ(colours.size(), 3u);
    EXPECT_NE(entries[1].colour, kMarkerFill);

    const Scene scene = buildPlotScene(s);
    EXPECT_TRUE(hasText(scene, "PW"));
    EXPECT_TRUE(hasText(scene, "P2"));
    EXPECT_TRUE(hasText(scene, "P3"));
    for (std::size_t k = 1; k < 3; ++k) {
        const auto lines = polylinesIn(scene, entries[k].colour);
        ASSERT_EQ(lines.size(), 1u) << k;  // the calculated line
        EXPECT_EQ(lines[0].points.size(), 4u);
    }
    // The axes reach the further series' last time and largest drawdown (headroom 1.1).
    EXPECT_EQ(s.dataTimeMax, 2000.0f);
    EXPECT_FLOAT_EQ(s.dataDrawdownMax, static_cast<float>(static_cast<float>(3.1 * 4.0) * 1.1));
}

TEST(SeriesPlot, AnUnnamedSeriesIsCalledByItsNumber) {
    AnalysisState s = measuredPlot();
    s.extraSeries = {farWell("", 1.0)};
    const auto entries = dataPlotSeries(s);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "series 1");
    EXPECT_EQ(entries[1].name, "series 2");
}

TEST(SeriesPlot, ASwitchedOffSeriesLeavesTheClassicPlot) {
    AnalysisState classic = measuredPlot();
    const Scene expected = buildPlotScene(classic);
    AnalysisState s = measuredPlot();
    s.extraSeries = {farWell("P2", 50.0)};
    s.extraSeries[0].settings.on = false;
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(scene.primitives.size(), expected.primitives.size());
    EXPECT_FALSE(hasText(scene, "P2"));
    EXPECT_EQ(s.dataDrawdownMax, classic.dataDrawdownMax);
    EXPECT_EQ(s.dataTimeMax, classic.dataTimeMax);
}

TEST(SeriesPlot, FurtherColoursAvoidTheFirstSeriesAndCycle) {
    for (int k = 1; k <= 9; ++k) {
        EXPECT_NE(furtherSeriesColour(k), kMarkerOutline) << k;
        EXPECT_NE(furtherSeriesColour(k), kMarkerFill) << k;
    }
    EXPECT_EQ(furtherSeriesColour(10), furtherSeriesColour(1));
}

}  // namespace
}  // namespace tolvex::plot
