#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "FamilyFixtures.h"
#include "SceneQueries.h"
#include "core/plot/Axes.h"
#include "core/plot/LabelFormat.h"
#include "core/plot/PlotScene.h"
#include "core/state/CommaLocale.h"

namespace tolvex::plot {
namespace {

using testing::findText;
using testing::hasText;
using testing::primitivesOf;
using testing::textsOf;

struct AxesRun {
    Scene scene;
    LogicalRect plotRect;
    AxisMapping mapping;
};

AxesRun drawFor(const AnalysisState& state, AxisRange vertical, AxisRange horizontal) {
    AxesRun run;
    PlotCanvas canvas{run.scene, kPlotFrame, PlotFont{}};
    run.mapping = drawAxes(canvas, state, vertical, horizontal, {"1/u", "w(u)"});
    run.plotRect = canvas.plotRect;
    return run;
}

AnalysisState logLog() {
    AnalysisState s = makeDefaultState();
    s.xAxisLog = 1;
    s.yAxisLog = 1;
    return s;
}

int verticalGridLinesAt(const Scene& scene, const LogicalRect& r, int y) {
    int n = 0;
    for (const Line& l : primitivesOf<Line>(scene)) {
        if (l.from == Point{r.left, y} && l.to == Point{r.right, y}) ++n;
    }
    return n;
}

TEST(LogLogAxes, DecadesHaveTheSameLengthOnBothAxes) {
    const AxesRun run = drawFor(logLog(), {0.2f, 3.0f}, {0.5f, 2000.0f});
    EXPECT_EQ(run.plotRect, (LogicalRect{200, 440, 1000, 760}));
    EXPECT_FLOAT_EQ(run.mapping.xOrigin, -1.0f);
    EXPECT_FLOAT_EQ(run.mapping.xEnd, 4.0f);
    EXPECT_FLOAT_EQ(run.mapping.yOrigin, -1.0f);
    EXPECT_FLOAT_EQ(run.mapping.yEnd, 1.0f);
    EXPECT_FLOAT_EQ(run.mapping.xScale, 160.0f);
    EXPECT_FLOAT_EQ(run.mapping.yScale, 160.0f);
    for (const char* label : {"1E-1", "1E0", "1E1", "1E2", "1E3", "1E4"})
        EXPECT_TRUE(hasText(run.scene, label)) << label;
    EXPECT_FALSE(hasText(run.scene, "1E5"));
    EXPECT_FALSE(hasText(run.scene, "1E-2"));
}

TEST(LogLogAxes, LabelsAndTitlesStandWhereTheLayoutPutsThem) {
    const AxesRun run = drawFor(logLog(), {0.2f, 3.0f}, {0.5f, 2000.0f});
    // Horizontal decade labels: (left - W/50 + D*j, lower - H/50) with D = W/5 = 160, H = 320.
    const auto right = findText(run.scene, "1E4");
    ASSERT_TRUE(right);
    EXPECT_EQ(right->anchor, (Point{200 - 16 + 160 * 5, 440 - 6}));
    // The vertical "1E1" label: (left - W/10, lower + D*j + H/50) with D = 160.
    const std::vector<Text> texts = primitivesOf<Text>(run.scene);
    const auto verticalTop = std::find_if(
        texts.begin(), texts.end(), [](const Text& t) { return t.text == "1E1" && t.anchor.x == 200 - 80; });
    ASSERT_NE(verticalTop, texts.end());
    EXPECT_EQ(verticalTop->anchor.y, 440 + 160 * 2 + 6);
    const auto xTitle = findText(run.scene, "1/u");
    ASSERT_TRUE(xTitle);
    EXPECT_EQ(xTitle->anchor, (Point{600, 440 - 32}));
    EXPECT_EQ(xTitle->escapement, 0);
    const auto yTitle = findText(run.scene, "w(u)");
    ASSERT_TRUE(yTitle);
    EXPECT_EQ(yTitle->escapement, -900);
    EXPECT_EQ(yTitle->anchor, (Point{200 - 133, 440 + 160 - (6 * 4) / 2}));
}

TEST(LogLogAxes, EachDecadeHasGridLinesAtItsEndsAndTicksBetween) {
    const AxesRun run = drawFor(logLog(), {0.2f, 3.0f}, {0.5f, 2000.0f});
    EXPECT_EQ(verticalGridLinesAt(run.scene, run.plotRect, 440), 1);
    EXPECT_EQ(verticalGridLinesAt(run.scene, run.plotRect, 600), 2);  // end of one decade, start of the next
    EXPECT_EQ(verticalGridLinesAt(run.scene, run.plotRect, 760), 1);
    // The tick at 2 in the lowest decade: trunc(440 + log10(2) * 160) = 488, W/80 = 10 long.
    const std::vector<Line> lines = primitivesOf<Line>(run.scene);
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const Line& l) {
                               return l.from == Point{200, 488} && l.to == Point{210, 488};
                           }),
              lines.end());
}

TEST(LogAxisRange, ARangeBelowTheMinimumBecomesTheDecadeAboveIt) {
    AnalysisState s = logLog();
    s.plotYMin = 0.001f;
    const AxesRun run = drawFor(s, {0.00002f, 0.0005f}, {0.5f, 2000.0f});
    EXPECT_FLOAT_EQ(run.mapping.yOrigin, -3.0f);
    EXPECT_FLOAT_EQ(run.mapping.yEnd, -2.0f);
    EXPECT_TRUE(hasText(run.scene, "1E-3"));
    EXPECT_TRUE(hasText(run.scene, "1E-2"));
}

TEST(LogAxisRange, DecadeEdgesFollowTheTruncationRule) {
    EXPECT_EQ(decadeSpan({0.5f, 2000.0f}).low, -1);
    EXPECT_EQ(decadeSpan({0.5f, 2000.0f}).high, 4);
    EXPECT_EQ(decadeSpan({1.0f, 1000.0f}).high, 3);
    EXPECT_EQ(decadeSpan({1.0f, 1000.0f}).low, 0);
    EXPECT_EQ(decadeSpan({0.001f, 0.01f}).low, -3);
    EXPECT_EQ(decadeSpan({0.001f, 0.01f}).high, -2);
    EXPECT_EQ(decadeSpan({0.001f, 0.0100000007f}).high, -2);
    EXPECT_EQ(decadeSpan({0.00099f, 0.0101f}).low, -4);
    EXPECT_EQ(decadeSpan({0.00099f, 0.0101f}).high, -1);
    EXPECT_EQ(decadeSpan({10.0f, 10.0f}).count(), 1);
}

TEST(LinearAxes, ShowElevenLabelsFromMinimumToMaximum) {
    AnalysisState s = makeDefaultState();
    s.xAxisLog = 0;
    s.yAxisLog = 0;
    s.plotXMin = -100.0f;
    s.plotYMin = -100.0f;
    const AxesRun run = drawFor(s, {0.0f, 10.0f}, {0.0f, 100.0f});
    EXPECT_EQ(run.plotRect, kPlotFrame);
    int vertical = 0;
    int horizontal = 0;
    for (const Text& t : primitivesOf<Text>(run.scene)) {
        if (t.escapement == 900) ++horizontal;
        if (t.escapement == 0 && t.anchor.x == 200 - 100) ++vertical;
    }
    EXPECT_EQ(vertical, 11);
    EXPECT_EQ(horizontal, 11);
    EXPECT_EQ(findText(run.scene, " 0.00")->anchor.y, 250 + 700 / 75);
    EXPECT_EQ(findText(run.scene, "10.00")->anchor.y, 950 + 9);
    const auto last = findText(run.scene, "100.00");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->anchor, (Point{200 + 80 * 10 + 16, 250 - 14}));
    EXPECT_EQ(verticalGridLinesAt(run.scene, run.plotRect, 250), 1);
    EXPECT_EQ(verticalGridLinesAt(run.scene, run.plotRect, 950), 1);
    EXPECT_FLOAT_EQ(run.mapping.xScale, 8.0f);
    EXPECT_FLOAT_EQ(run.mapping.yScale, 70.0f);
}

TEST(HiddenLabels, KeepTicksAndGridLinesAndHideOnlyTheirSide) {
    AnalysisState s = logLog();
    const AxesRun shown = drawFor(s, {0.2f, 3.0f}, {0.5f, 2000.0f});
    s.xLabelHidden = 1;
    const AxesRun noHorizontal = drawFor(s, {0.2f, 3.0f}, {0.5f, 2000.0f});
    EXPECT_FALSE(hasText(noHorizontal.scene, "1/u"));
    EXPECT_FALSE(hasText(noHorizontal.scene, "1E4"));
    EXPECT_TRUE(hasText(noHorizontal.scene, "w(u)"));
    EXPECT_TRUE(hasText(noHorizontal.scene, "1E1"));
    s.yLabelHidden = 1;
    const AxesRun hidden = drawFor(s, {0.2f, 3.0f}, {0.5f, 2000.0f});
    EXPECT_TRUE(textsOf(hidden.scene).empty());
    EXPECT_EQ(primitivesOf<Line>(hidden.scene).size(), primitivesOf<Line>(shown.scene).size());
    EXPECT_EQ(primitivesOf<Polyline>(hidden.scene).size(), 1u);  // the frame
}

TEST(AxisFallbacks, DegenerateRangesStillGiveFiniteAxes) {
    AnalysisState s = makeDefaultState();
    s.xAxisLog = 0;
    s.yAxisLog = 0;
    s.plotXMin = -100.0f;
    const AxesRun flat = drawFor(s, {5.0f, 5.0f}, {0.0f, 0.0f});
    EXPECT_FLOAT_EQ(flat.mapping.yOrigin, 4.5f);
    EXPECT_FLOAT_EQ(flat.mapping.yEnd, 5.5f);
    EXPECT_FLOAT_EQ(flat.mapping.xOrigin, -1.0f);
    EXPECT_FLOAT_EQ(flat.mapping.xEnd, 1.0f);

    s = logLog();
    s.plotXMin = -5.0f;
    s.plotYMin = 0.0f;
    const AxesRun nonPositive = drawFor(s, {-3.0f, 0.0f}, {-2.0f, 100.0f});
    EXPECT_TRUE(std::isfinite(nonPositive.mapping.xScale));
    EXPECT_TRUE(std::isfinite(nonPositive.mapping.yScale));
    EXPECT_FLOAT_EQ(nonPositive.mapping.xOrigin, 1.0f);  // one decade below the maximum 100
    EXPECT_FLOAT_EQ(nonPositive.mapping.xEnd, 2.0f);
    EXPECT_GT(nonPositive.mapping.yEnd, nonPositive.mapping.yOrigin);
}

TEST(AxisFallbacks, ARangeBeyondTheWindowShowsTheWindow) {
    AnalysisState s = makeDefaultState();
    s.xAxisLog = 0;
    s.yAxisLog = 0;
    s.plotYMin = 0.0f;
    s.plotYMax = 3.0f;
    const AxesRun run = drawFor(s, {5.0f, 6.0f}, {0.0f, 1.0f});
    EXPECT_FLOAT_EQ(run.mapping.yOrigin, 0.0f);
    EXPECT_FLOAT_EQ(run.mapping.yEnd, 3.0f);
}

TEST(AxisMappings, MapValuesAndRefuseWhatHasNoPlace) {
    AxisMapping m;
    m.xLog = true;
    m.xOrigin = -1.0f;
    m.xScale = 160.0f;
    m.yOrigin = 0.0f;
    m.yScale = 70.0f;
    const LogicalRect r{200, 440, 1000, 760};
    EXPECT_EQ(mapX(m, r, 0.1f), 200);
    EXPECT_EQ(mapX(m, r, 10000.0f), 1000);
    EXPECT_FALSE(mapX(m, r, 0.0f));
    EXPECT_FALSE(mapX(m, r, -1.0f));
    EXPECT_EQ(mapY(m, r, 2.0f), 440 + 140);
    EXPECT_FALSE(mapY(m, r, std::nanf("")));
    EXPECT_TRUE(mapY(m, r, 3.0e38f));  // far off, but held to a drawable range
}

void expectPrintfFormats() {
    EXPECT_EQ(linearLabel(0.0), " 0.00");
    EXPECT_EQ(linearLabel(12.345), "12.35");
    EXPECT_EQ(decadeLabel(-3), "1E-3");
    EXPECT_EQ(decadeLabel(4), "1E4");
    EXPECT_EQ(legendValue(0.005), "5.0e-003");
    EXPECT_EQ(legendValue(2.0), "2.0e+000");
    EXPECT_EQ(legendValue(1.0e-10), "1.0e-010");
    EXPECT_EQ(legendValue(1.0e100), "1.0e+100");
    EXPECT_EQ(legendValue(-0.5), "-5.0e-001");
    EXPECT_EQ(linearLabel(7.2), " 7.20");
    EXPECT_EQ(linearLabel(-1234.567), "-1234.57");
    EXPECT_EQ(legendValue(123456.0), "1.2e+005");
}

TEST(LabelFormats, FollowTheirPrintfFormats) {
    expectPrintfFormats();
}

// A German user's plot reads "7.20" and "5.0e-003" like everybody's: in the window, on paper and in
// every picture (all draw this scene).
TEST(LabelFormats, KeepTheDecimalPointUnderACommaLocale) {
    const tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << tolvex::testing::kCommaLocale
                                 << " cannot be set: run scripts/install-deps";
    expectPrintfFormats();
    AnalysisState data = makeDefaultState();
    data.plotContent = 1;
    data.xAxisLog = 0;
    data.yAxisLog = 0;
    AnalysisState family = testing::leakyFamily(3);
    for (AnalysisState* s : {&data, &family}) {
        const Scene scene = buildPlotScene(*s);
        const std::vector<std::string> texts = textsOf(scene);
        ASSERT_GT(texts.size(), 4u);
        for (const std::string& text : texts) {
            for (std::size_t i = 1; i + 1 < text.size(); ++i) {
                EXPECT_FALSE(text[i] == ',' && std::isdigit(static_cast<unsigned char>(text[i - 1])) &&
                             std::isdigit(static_cast<unsigned char>(text[i + 1])))
                    << text;
            }
        }
    }
    const std::vector<std::string> labels = textsOf(buildPlotScene(data));
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](const std::string& t) { return t.find(".00") != std::string::npos; }));
}

}  // namespace
}  // namespace tolvex::plot
