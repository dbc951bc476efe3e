#include <gtest/gtest.h>

#include <cmath>

#include "FamilyFixtures.h"
#include "SceneQueries.h"
#include "core/plot/Axes.h"
#include "core/plot/CurveColours.h"
#include "core/plot/Legend.h"
#include "core/plot/PlotScene.h"

namespace tolvex::plot {
namespace {

using testing::findText;
using testing::hasText;
using testing::leakyFamily;
using testing::polylinesIn;
using testing::primitivesOf;
using testing::textsOf;
using testing::theisFamily;

AnalysisState measuredData() {
    AnalysisState s = makeDefaultState();
    s.plotContent = 1;
    return s;
}

// The plot rectangle as the frame drawn around it (the black closed polyline of five points).
LogicalRect frameOf(const Scene& scene) {
    for (const Polyline& p : primitivesOf<Polyline>(scene)) {
        if (p.points.size() == 5 && p.pen == kBlack)
            return {p.points[0].x, p.points[0].y, p.points[2].x, p.points[2].y};
    }
    return {};
}

std::size_t familyPolylines(const Scene& scene) {
    std::size_t n = 0;
    for (const Polyline& p : primitivesOf<Polyline>(scene)) {
        if (p.points.size() != 5 || p.pen != kBlack) ++n;  // everything but the frame
    }
    return n;
}

TEST(PlotDispatch, DrawsNothingWithoutSomethingToShow) {
    AnalysisState s = makeDefaultState();
    s.plotContent = 0;
    s.typeCurvesReady = 0;
    EXPECT_TRUE(buildPlotScene(s).primitives.empty());
    s.plotContent = 3;
    s.typeCurvesReady = 1;
    EXPECT_TRUE(buildPlotScene(s).primitives.empty());
    s.plotContent = 1;
    s.usedCount = 0;
    EXPECT_TRUE(buildPlotScene(s).primitives.empty());
}

TEST(PlotDispatch, TypeCurvesAreDrawnOverTheDataWhenTheResultAsksForBoth) {
    AnalysisState s = theisFamily();
    s.plotContent = 1;
    s.resultKind = 2;
    const Scene scene = buildPlotScene(s);
    EXPECT_TRUE(hasText(scene, "t"));
    EXPECT_TRUE(hasText(scene, "w(u)"));
    EXPECT_EQ(s.lastPlotStyle, 1);
}

TEST(DataPlot, RecordsItsExtentsWidenedByTenPercent) {
    AnalysisState s = measuredData();
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(s.lastPlotStyle, 2);
    EXPECT_FLOAT_EQ(s.dataTimeMin, 5.0f);
    EXPECT_FLOAT_EQ(s.dataTimeMax, 600.0f);
    EXPECT_FLOAT_EQ(s.dataDrawdownMin, static_cast<float>(static_cast<float>(3.41) * 0.9));
    EXPECT_FLOAT_EQ(s.dataDrawdownMax, static_cast<float>(static_cast<float>(6.47) * 1.1));
    // The vertical axis is linear by default and runs over the widened range.
    EXPECT_TRUE(hasText(scene, " 3.07"));
    EXPECT_TRUE(hasText(scene, " 7.12"));
    EXPECT_TRUE(hasText(scene, "t"));
    EXPECT_TRUE(hasText(scene, "s"));
}

TEST(DataPlot, MarksEveryPointAndJoinsThemInStorageOrder) {
    AnalysisState s = measuredData();
    const Scene scene = buildPlotScene(s);
    const auto markers = primitivesOf<Ellipse>(scene);
    ASSERT_EQ(markers.size(), 14u);
    for (const Ellipse& e : markers) {
        EXPECT_EQ(e.upperRight.x - e.lowerLeft.x, 2 * (800 / 70));
        EXPECT_EQ(e.upperRight.y - e.lowerLeft.y, 22);
        EXPECT_EQ(e.pen, kMarkerOutline);
        EXPECT_EQ(e.brush, kMarkerFill);
    }
    int joins = 0;
    for (const Line& l : primitivesOf<Line>(scene)) {
        const bool fromMarker = std::any_of(markers.begin(), markers.end(), [&](const Ellipse& e) {
            return l.from ==
                   Point{(e.lowerLeft.x + e.upperRight.x) / 2, (e.lowerLeft.y + e.upperRight.y) / 2};
        });
        if (fromMarker && l.pen == kBlack) ++joins;
    }
    EXPECT_EQ(joins, 13);
    EXPECT_TRUE(polylinesIn(scene, kCalculatedLine).empty());
}

TEST(DataPlot, MarkersScaleWithTheNarrowedLogLogRectangle) {
    AnalysisState s = measuredData();
    s.yAxisLog = 1;
    const Scene scene = buildPlotScene(s);
    // Times 5..600 give 1E0..1E3, drawdowns 3.07..7.12 give 1E0..1E1: B = 700 * 3 = 2100 >= 800, so the
    // rectangle keeps the full width.
    const int d = plotRectFor(true, 3.0f, 1.0f).width() / 70;
    for (const Ellipse& e : primitivesOf<Ellipse>(scene)) EXPECT_EQ(e.upperRight.x - e.lowerLeft.x, 2 * d);
}

TEST(DataPlot, CalculatedDrawdownsFollowAsABlueLineAfterAnEstimation) {
    AnalysisState s = measuredData();
    s.plotContent = 2;
    s.calculated = s.measured;
    for (double& v : s.calculated) v *= 1.5;
    const Scene scene = buildPlotScene(s);
    const auto lines = polylinesIn(scene, kCalculatedLine);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.front().points.size(), 14u);
    EXPECT_FLOAT_EQ(s.dataDrawdownMax, static_cast<float>(static_cast<float>(6.47 * 1.5) * 1.1));
}

TEST(DataPlot, ASingleMeasurementGivesOneMarkerAndNoLine) {
    AnalysisState s = measuredData();
    s.usedCount = 1;
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(primitivesOf<Ellipse>(scene).size(), 1u);
    for (const Line& l : primitivesOf<Line>(scene)) {
        const bool markerStroke = l.pen == kMarkerOutline;
        const bool axisLine = l.pen == kBlack;
        EXPECT_TRUE(markerStroke || axisLine);
    }
}

TEST(DataPlot, PointsWithoutAPlaceOnALogAxisAreLeftOut) {
    AnalysisState s = measuredData();
    s.times[3] = 0.0;
    s.measured[5] = -1.0;
    s.yAxisLog = 1;
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(primitivesOf<Ellipse>(scene).size(), 12u);
}

TEST(TypeCurvePlot, ASingleCurveHasNoLegend) {
    AnalysisState s = theisFamily();
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(s.lastPlotStyle, 1);
    EXPECT_EQ(polylinesIn(scene, kCurveColours[0]).size(), 1u);
    for (const std::string& t : textsOf(scene)) EXPECT_EQ(t.find('='), std::string::npos) << t;
    EXPECT_FLOAT_EQ(s.dataTimeMin, s.curveX[1]);
    EXPECT_FLOAT_EQ(s.dataTimeMax, s.curveX[50]);
    EXPECT_FLOAT_EQ(s.dataDrawdownMin, s.curveY[1]);
    EXPECT_FLOAT_EQ(s.dataDrawdownMax, s.curveY[50]);
}

TEST(TypeCurvePlot, ACurveStartingLeftOfTheHorizontalMinimumBeginsExactlyAtIt) {
    AnalysisState s = theisFamily();
    s.plotXMin = 0.5f;
    const Scene scene = buildPlotScene(s);
    const auto curves = polylinesIn(scene, kCurveColours[0]);
    ASSERT_EQ(curves.size(), 1u);
    // Axis 1E-1 .. 1E4 over 800 units: 160 per decade, left edge 200.
    const int expected = static_cast<int>(std::trunc((std::log10(0.5f) + 1.0) * 160.0f + 200));
    EXPECT_EQ(curves.front().points.back().x, expected);
}

TEST(TypeCurvePlot, CurvesEndingAtOrBelowTheVerticalMinimumAreLeftOut) {
    AnalysisState s = leakyFamily(6);
    s.plotYMin = 0.5f;
    std::size_t kept = 0;
    for (int k = 0; k < 6; ++k) {
        if (s.curveY[static_cast<std::size_t>(k * 30 + 30)] > 0.5f) ++kept;
    }
    ASSERT_GT(kept, 0u);
    ASSERT_LT(kept, 6u);
    EXPECT_EQ(familyPolylines(buildPlotScene(s)), kept);
}

TEST(TypeCurvePlot, LegendListsEveryValueWithAStrokeOfItsColour) {
    AnalysisState s = leakyFamily(3);
    s.yAxisLog = 0;  // the full frame
    const Scene scene = buildPlotScene(s);
    const auto name = findText(scene, "r/B=");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->anchor, (Point{1000 + 800 / 30, 950 - 28}));
    const auto first = findText(scene, "1.0e-002");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->anchor, (Point{1000 + 800 / 15, 950 - 14 * 2 * 2}));
    const std::vector<Line> lines = primitivesOf<Line>(scene);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const Line& l) {
        return l.pen == kCurveColours[2] && l.from == Point{1016, 950 - 14 * 2 * 4 - 14} &&
               l.to == Point{1050, 950 - 14 * 8 - 14};
    }));
}

TEST(TypeCurvePlot, ColoursCycleThroughTheTableInCurvesAndLegend) {
    AnalysisState s = leakyFamily(13);
    s.yAxisLog = 0;  // the full frame
    s.plotYMin = 1.0e-6f;
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(curveColour(11), kCurveColours[0]);
    EXPECT_EQ(curveColour(12), kCurveColours[1]);
    EXPECT_EQ(polylinesIn(scene, kCurveColours[0]).size(), 2u);
    const int rowY = 950 - 14 * 2 * (11 + 2) - 14;
    const std::vector<Line> lines = primitivesOf<Line>(scene);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const Line& l) {
        return l.from.y == rowY && l.pen == kCurveColours[0] && l.from.x == 1016;
    }));
}

TEST(TypeCurvePlot, ALongLegendContinuesInAFurtherColumn) {
    AnalysisState s = leakyFamily(40);
    s.yAxisLog = 0;  // the full frame
    const Scene scene = buildPlotScene(s);
    const int rows = legendRowsPerColumn(kPlotFrame, 23);
    EXPECT_EQ(rows, 32);
    int secondColumn = 0;
    for (const Text& t : primitivesOf<Text>(scene)) {
        EXPECT_GE(t.anchor.y - t.font.height, 0) << t.text;
        if (t.anchor.x == 1000 + kLegendColumnPitch + 800 / 15) ++secondColumn;
    }
    EXPECT_EQ(secondColumn, 40 - 32);
    EXPECT_GE(scene.width, 1000 + 2 * kLegendColumnPitch);
    AnalysisState shortFamily = leakyFamily(20);
    EXPECT_EQ(buildPlotScene(shortFamily).width, kLogicalWidth);
}

TEST(TypeCurvePlot, HiddenDataKeepsTheAxesButDropsCurvesAndLegend) {
    AnalysisState s = leakyFamily(5);
    s.dataHidden = 1;
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(familyPolylines(scene), 0u);
    EXPECT_FALSE(hasText(scene, "r/B="));
    EXPECT_TRUE(hasText(scene, "1/u"));
}

TEST(TypeCurvePlot, AModelWithoutTypeCurvesDrawsEmptyAxes) {
    AnalysisState s = theisFamily();
    s.modelKind = 9;
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(familyPolylines(scene), 0u);
    EXPECT_FALSE(primitivesOf<Line>(scene).empty());
    EXPECT_FLOAT_EQ(s.dataTimeMin, 1.0e20f);
}

TEST(TypeCurvePlot, ReadsOnlyWhatTheArraysHoldWhenTheCountsWereChangedSince) {
    AnalysisState s = leakyFamily(3);
    s.tcLeakyRbCount = 50;
    s.tcLeakyCount = 90;
    s.familyCount = 100;
    const Scene scene = buildPlotScene(s);
    EXPECT_EQ(familyPolylines(scene), 3u);
    s.curveX.resize(2);
    s.curveXCount = 2;
    EXPECT_EQ(familyPolylines(buildPlotScene(s)), 0u);
}

TEST(PlotFontOfTheScene, IsTheChosenFaceAtTheFixedSize) {
    AnalysisState s = theisFamily();
    s.plotFontFace = "DejaVu Sans";
    const Scene scene = buildPlotScene(s);
    for (const Text& t : primitivesOf<Text>(scene)) {
        EXPECT_EQ(t.font.face, "DejaVu Sans");
        EXPECT_EQ(t.font.height, 23);
        EXPECT_EQ(t.font.width, 14);
        EXPECT_EQ(t.font.weight, 700);
        EXPECT_EQ(t.background, kWhite);
    }
}

TEST(TypeCurvePlot, LegendRowsOfAFlatLogLogRectangleDoNotOverlap) {
    AnalysisState s = leakyFamily(12);
    s.plotYMin = 0.01f;  // 1E-2 .. 1E1 against 1E-1 .. 1E4: a flat rectangle
    const Scene scene = buildPlotScene(s);
    std::vector<int> rows;
    for (const Text& t : primitivesOf<Text>(scene)) {
        if (t.text.size() == 8 && t.text[1] == '.') rows.push_back(t.anchor.y);
    }
    ASSERT_EQ(rows.size(), 12u);
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_GE(rows[i - 1] - rows[i], 23);
}

// The Boulton-Streltsova title "(Gamma*rd)^2=" does not fit beside the plot: it moves above the
// rectangle, right-aligned, so the picture keeps its 1200 units and the "=" stays whole. Widths come
// from the measure the backend gives (here 19 units a character, about Times bold at the plot size).
TEST(TypeCurvePlot, ALongFamilyNameStaysWholeInThePicture) {
    AnalysisState s = leakyFamily(3);
    s.modelKind = 8;
    s.tcBsGammaCount = 3;
    s.tcBsTdCount = 30;
    const TextMeasure measure = [](const std::string& text, const PlotFont&) {
        return static_cast<int>(text.size()) * 19;
    };
    for (const TextMeasure& m : {measure, TextMeasure{}}) {
        const Scene scene = buildPlotScene(s, m);
        const auto title = findText(scene, "(Gamma*rd)^2=");
        ASSERT_TRUE(title);
        EXPECT_EQ(scene.width, kLogicalWidth);
        const int width = m ? m(title->text, title->font) : estimatedTextWidth(title->text, title->font);
        EXPECT_EQ(title->anchor.x + width, kLogicalWidth);
        EXPECT_GT(title->anchor.y - title->font.height, frameOf(scene).upper);  // above the frame line
        EXPECT_LE(title->anchor.y, kLogicalHeight);
    }
    // A short name keeps its place beside the rectangle.
    s.modelKind = 2;
    const Scene leaky = buildPlotScene(s, measure);
    EXPECT_EQ(leaky.width, kLogicalWidth);
    const auto title = findText(leaky, "r/B=");
    ASSERT_TRUE(title);
    const LogicalRect r = frameOf(leaky);
    EXPECT_EQ(title->anchor, (Point{r.right + r.width() / 30, r.upper - 2 * (r.height() / 50)}));
}

}  // namespace
}  // namespace tolvex::plot
