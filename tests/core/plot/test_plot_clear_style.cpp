// The clear plot style: axis titles with the document's units, a legend entry for every series and
// calculated line, the automatic choice of axes per model, semi-log axes mapping linearly in the values,
// the Plotting Options limits taken as asked (wider and narrower than the data), the font of the Font
// dialog, labels with a decimal point under a comma locale; and the classic style left as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "SceneQueries.h"
#include "core/input/DisplayUnitsChange.h"
#include "core/plot/Axes.h"
#include "core/plot/PlotLook.h"
#include "core/plot/PlotScene.h"
#include "core/state/CommaLocale.h"
#include "core/state/ModelKind.h"

namespace tolvex::plot {
namespace {

using testing::findText;
using testing::hasText;
using testing::primitivesOf;
using testing::textsOf;

AnalysisState clearData(const DisplayUnits& units = {}) {
    AnalysisState s = makeDefaultState();
    if (units.set()) changeDisplayUnits(s, units);
    s.plotContent = 1;
    s.view.style = PlotStyle::Clear;
    return s;
}

// The rotated vertical title and the horizontal one.
struct Titles {
    std::string horizontal;
    std::string vertical;
};

Titles titlesOf(const Scene& scene) {
    Titles titles;
    for (const Text& t : primitivesOf<Text>(scene)) {
        if (t.escapement == -900) titles.vertical = t.text;
        if (t.escapement == 0 && t.text.find(' ') != std::string::npos && titles.horizontal.empty())
            titles.horizontal = t.text;
    }
    return titles;
}

struct TitleCase {
    const char* name;
    DisplayUnits units;
    int modelKind;
    const char* horizontal;
    const char* vertical;
};

TEST(ClearStyle, AxisTitlesCarryTheDocumentsUnits) {
    const TitleCase cases[] = {
        {"no units", {}, 0, "Time t", "Drawdown s"},
        {"min and m", {"min", "m", "m3/d"}, 0, "Time t [min]", "Drawdown s [m]"},
        {"days and feet", {"d", "ft", "gpm"}, 2, "Time t [d]", "Drawdown s [ft]"},
        {"slug test H/H0", {"min", "m", "m3/d"}, 5, "Time t [min]", "H/H0 [-]"},
        {"Bouwer-Rice H/H0", {"s", "cm", ""}, 10, "Time t [s]", "H/H0 [-]"},
        {"slug test without units", {}, 5, "Time t", "H/H0"},
    };
    for (const TitleCase& c : cases) {
        AnalysisState s = clearData(c.units);
        s.modelKind = c.modelKind;
        const Scene scene = buildPlotScene(s);
        EXPECT_TRUE(hasText(scene, c.horizontal)) << c.name;
        const Titles titles = titlesOf(scene);
        EXPECT_EQ(titles.vertical, c.vertical) << c.name;
    }
}

TEST(ClearStyle, SlugHeadsAsWaterLevelsAreTitledAsHeadsInTheLengthUnit) {
    AnalysisState s = clearData({"min", "m", "m3/d"});
    s.modelKind = static_cast<int>(ModelKind::SlugTest);
    s.firstSeries.head.waterLevels = true;
    EXPECT_EQ(clearDataTitles(s).vertical, "Head H [m]");
}

TEST(ClassicStyle, KeepsItsOneLetterTitlesAndNoLegendWithOrWithoutUnits) {
    for (const DisplayUnits& units : {DisplayUnits{}, DisplayUnits{"min", "m", "m3/d"}}) {
        AnalysisState s = clearData(units);
        s.view.style = PlotStyle::Classic;
        s.plotContent = 2;
        s.calculated = s.measured;
        const Scene scene = buildPlotScene(s);
        EXPECT_TRUE(hasText(scene, "t"));
        EXPECT_TRUE(hasText(scene, "s"));
        EXPECT_FALSE(hasText(scene, "series 1"));
        EXPECT_FALSE(hasText(scene, "calculated"));
        EXPECT_EQ(findText(scene, "t")->font.face, "Times New Roman");
    }
}

ObservationSeries farWell(const char* name) {
    ObservationSeries x;
    x.settings.name = name;
    x.radialDistance = 300.0f;
    x.times = {2.0, 20.0, 200.0, 2000.0};
    x.values = {0.2, 0.4, 0.8, 1.2};
    x.calculated = {0.25, 0.45, 0.75, 1.1};
    return x;
}

TEST(ClearStyle, TheLegendNamesEverySeriesAndEveryCalculatedLine) {
    struct Case {
        const char* name;
        std::vector<ObservationSeries> further;
        int plotContent;
        std::vector<std::string> legend;
    };
    const Case cases[] = {
        {"one series, measured", {}, 1, {"series 1"}},
        {"one series, fitted", {}, 2, {"series 1", "calculated"}},
        {"two series, fitted", {farWell("P2")}, 2, {"PW", "P2", "PW calculated", "P2 calculated"}},
    };
    for (const Case& c : cases) {
        AnalysisState s = clearData();
        s.plotContent = c.plotContent;
        s.view.axes = AxesChoice::SemiLog;  // the full frame: the legend right of it
        s.calculated = s.measured;
        s.extraSeries = c.further;
        if (!c.further.empty()) s.firstSeries.name = "PW";
        const Scene scene = buildPlotScene(s);
        // The legend's texts stand right of the plot rectangle, top to bottom.
        std::vector<std::string> legend;
        for (const Text& t : primitivesOf<Text>(scene))
            if (t.anchor.x > kPlotFrame.right && t.escapement == 0) legend.push_back(t.text);
        EXPECT_EQ(legend, c.legend) << c.name;
    }
}

TEST(ClearStyle, EachSeriesHasItsOwnColourAndMarkerShapeDrawnAsOutlines) {
    AnalysisState s = clearData();
    s.extraSeries = {farWell("P2"), farWell("P3")};
    const Scene scene = buildPlotScene(s);
    EXPECT_TRUE(primitivesOf<Ellipse>(scene).empty());  // no filled disc hides a point beneath
    std::set<std::size_t> corners;
    for (int j = 0; j < 3; ++j) {
        std::size_t shapes = 0;
        for (const Polyline& p : primitivesOf<Polyline>(scene)) {
            if (p.pen != clearColour(j)) continue;
            ++shapes;
            corners.insert(p.points.size());
        }
        EXPECT_GT(shapes, 0u) << j;
    }
    EXPECT_EQ(corners, (std::set<std::size_t>{17, 5, 4}));  // circle, square, triangle (closed outlines)
}

struct AxesCase {
    PlotStyle style;
    AxesChoice axes;
    int modelKind;
    int xSwitch;
    int ySwitch;
    AxisTypes expected;
};

TEST(AxisChoice, AutomaticIsSemiLogForSlugTestsAndJacobInTheClearStyleAndTheSwitchesInTheClassic) {
    const AxesCase cases[] = {
        {PlotStyle::Clear, AxesChoice::Auto, 0, 1, 0, {true, true}},    // Theis: log-log
        {PlotStyle::Clear, AxesChoice::Auto, 2, 0, 0, {true, true}},    // Hantush-Jacob leaky
        {PlotStyle::Clear, AxesChoice::Auto, 8, 1, 1, {true, true}},    // Boulton-Streltsova
        {PlotStyle::Clear, AxesChoice::Auto, 5, 1, 1, {true, false}},   // Cooper et al. slug test
        {PlotStyle::Clear, AxesChoice::Auto, 9, 1, 1, {true, false}},   // Jacob's straight line
        {PlotStyle::Clear, AxesChoice::Auto, 10, 1, 1, {true, false}},  // Bouwer-Rice
        {PlotStyle::Classic, AxesChoice::Auto, 5, 1, 1, {true, true}},  // the switches
        {PlotStyle::Classic, AxesChoice::Auto, 0, 0, 1, {false, true}},
        {PlotStyle::Classic, AxesChoice::SemiLog, 0, 1, 1, {true, false}},
        {PlotStyle::Classic, AxesChoice::LogLog, 9, 0, 0, {true, true}},
        {PlotStyle::Clear, AxesChoice::LogLog, 10, 0, 0, {true, true}},
        {PlotStyle::Clear, AxesChoice::SemiLog, 0, 1, 1, {true, false}},
    };
    for (const AxesCase& c : cases) {
        AnalysisState s = makeDefaultState();
        s.view.style = c.style;
        s.view.axes = c.axes;
        s.modelKind = c.modelKind;
        s.xAxisLog = c.xSwitch;
        s.yAxisLog = c.ySwitch;
        const AxisTypes types = axisTypes(s);
        EXPECT_EQ(types, c.expected) << "model " << c.modelKind << " axes " << axesChoiceName(c.axes);
    }
}

// Semi-log paper: the vertical axis maps values linearly, the horizontal one the logarithm of time.
// Expected positions worked out by hand from the frame (left 200, lower 250, 800 x 700 units).
TEST(AxisChoice, SemiLogAxesMapValuesLinearlyAndTimeLogarithmically) {
    AnalysisState s = makeDefaultState();
    s.view.style = PlotStyle::Clear;
    s.view.axes = AxesChoice::SemiLog;
    s.plotXMin = 1.0f;
    s.plotXMax = 10000.0f;  // four decades, 200 units each
    s.plotYMin = 0.0f;
    s.plotYMax = 2.0f;  // 350 units per unit of value
    Scene scene;
    PlotCanvas canvas{scene, kPlotFrame, clearFont(s), {}, true};
    const AxisMapping m = drawAxes(canvas, s, {0.1f, 1.5f}, {3.0f, 300.0f}, {"Time t", "H/H0"});
    EXPECT_EQ(canvas.plotRect, kPlotFrame);
    const struct {
        float value;
        int y;
    } values[] = {{0.0f, 250}, {0.5f, 425}, {1.0f, 600}, {1.5f, 775}, {2.0f, 950}};
    for (const auto& v : values) EXPECT_EQ(mapY(m, canvas.plotRect, v.value), v.y) << v.value;
    const struct {
        float time;
        int x;
    } times[] = {{1.0f, 200}, {10.0f, 400}, {100.0f, 600}, {1000.0f, 800}};
    for (const auto& t : times) EXPECT_EQ(mapX(m, canvas.plotRect, t.time), t.x) << t.time;
    // The horizontal grid lines of the linear axis stand 70 units apart, each labelled in the middle.
    std::vector<int> grid;
    for (const Line& l : primitivesOf<Line>(scene))
        if (l.from.y == l.to.y && l.from.x == kPlotFrame.left && l.to.x == kPlotFrame.right)
            grid.push_back(l.from.y);
    ASSERT_EQ(grid.size(), 11u);
    for (std::size_t i = 0; i < grid.size(); ++i) EXPECT_EQ(grid[i], 250 + 70 * static_cast<int>(i)) << i;
    const auto one = findText(scene, "1");
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->anchor.y, 600 + canvas.font.height / 2);
    EXPECT_EQ(primitivesOf<Line>(scene).front().pen, kClearGrid);
}

// A linear axis that follows the data ends on round steps: the smallest of 1, 2, 2.5, 5 times a power of
// ten that is not below a tenth of the range (worked out by hand for each case).
TEST(ClearStyle, ALinearAxisFollowingTheDataEndsOnRoundSteps) {
    struct Case {
        AxisRange data;
        int lines;
        float first;
        float last;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {{0.0567f, 0.2508f}, 12, 0.04f, 0.26f, {"0.04", "0.06", "0.1", "0.26"}},  // steps of 0.02
        {{3.069f, 7.117f}, 10, 3.0f, 7.5f, {"3", "3.5", "7.5"}},                  // steps of 0.5
        {{0.0f, 1.0f}, 11, 0.0f, 1.0f, {"0", "0.1", "1"}},                        // steps of 0.1
        {{12.0f, 37.0f}, 12, 10.0f, 37.5f, {"10", "12.5", "37.5"}},               // steps of 2.5
    };
    for (const Case& c : cases) {
        AnalysisState s = makeDefaultState();
        s.view.style = PlotStyle::Clear;
        s.view.axes = AxesChoice::SemiLog;
        Scene scene;
        PlotCanvas canvas{scene, kPlotFrame, clearFont(s), {}, true};
        const AxisMapping m = drawAxes(canvas, s, c.data, {1.0f, 100.0f}, {"Time t", "Drawdown s"});
        EXPECT_FLOAT_EQ(m.yOrigin, c.first) << c.data.min;
        EXPECT_FLOAT_EQ(m.yEnd, c.last) << c.data.min;
        int lines = 0;
        for (const Line& l : primitivesOf<Line>(scene))
            if (l.from.y == l.to.y && l.from.x == kPlotFrame.left && l.to.x == kPlotFrame.right) ++lines;
        EXPECT_EQ(lines, c.lines) << c.data.min;
        for (const std::string& label : c.labels) EXPECT_TRUE(hasText(scene, label)) << label;
    }
}

std::vector<std::string> labelsOf(const Scene& scene) {
    std::vector<std::string> labels;
    for (const std::string& t : textsOf(scene))
        if (!t.empty() && (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-'))
            labels.push_back(t);
    return labels;
}

bool contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The default measurements run from 1 to 1000 minutes with drawdowns up to about 1.7 m: asking for
// x 0.01 to 1e5 and y 0 to 3 widens both axes, asking for 10 to 100 and 0.5 to 1 narrows them.
TEST(ClearStyle, PlottingOptionsLimitsSetTheAxesAsAsked) {
    struct Case {
        const char* name;
        PlotStyle style;
        AxisRange x;
        AxisRange y;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {"clear widened",
         PlotStyle::Clear,
         {0.01f, 1e5f},
         {0.0f, 3.0f},
         {"0.01", "0.1", "100000", "0", "3", "1.5"},
         {"1E-2"}},
        {"clear narrowed",
         PlotStyle::Clear,
         {10.0f, 100.0f},
         {0.5f, 1.0f},
         {"10", "100", "0.5", "1"},
         {"1000"}},
        {"classic only clamps",
         PlotStyle::Classic,
         {0.01f, 1e5f},
         {0.0f, 3.0f},
         {"1E0", "1E3"},
         {"1E-2", "1E5"}},
    };
    for (const Case& c : cases) {
        AnalysisState s = clearData();
        s.view.style = c.style;
        s.view.axes = AxesChoice::SemiLog;
        s.plotXMin = c.x.min;
        s.plotXMax = c.x.max;
        s.plotYMin = c.y.min;
        s.plotYMax = c.y.max;
        const std::vector<std::string> labels = labelsOf(buildPlotScene(s));
        for (const std::string& label : c.present)
            EXPECT_TRUE(contains(labels, label)) << c.name << ": " << label;
        for (const std::string& label : c.absent)
            EXPECT_FALSE(contains(labels, label)) << c.name << ": " << label;
    }
}

TEST(ClearStyle, LimitsLeftAtTheDefaultsFollowTheData) {
    AnalysisState s = clearData();
    s.view.axes = AxesChoice::SemiLog;
    const std::vector<std::string> labels = labelsOf(buildPlotScene(s));
    EXPECT_TRUE(contains(labels, "1"));
    EXPECT_TRUE(contains(labels, "1000"));
    EXPECT_FALSE(contains(labels, "0.000000001"));
    EXPECT_FALSE(contains(labels, "1E-9"));
}

TEST(ClearStyle, TheFontDialogsSizeAndStyleApplyAndASansSerifFaceStandsInForTheClassicOne) {
    struct Case {
        int points;
        bool bold;
        bool italic;
        std::string face;
        PlotFont expected;
    };
    const Case cases[] = {
        {0, false, false, "Times New Roman", {"Arial", 23, 14, 400, false}},
        {10, true, false, "Times New Roman", {"Arial", 23, 14, 700, false}},
        {20, false, true, "DejaVu Serif", {"DejaVu Serif", 46, 28, 400, true}},
        {8, false, false, "Liberation Sans", {"Liberation Sans", 18, 11, 400, false}},
    };
    for (const Case& c : cases) {
        AnalysisState s = clearData();
        s.view.fontPoints = c.points;
        s.view.fontBold = c.bold;
        s.view.fontItalic = c.italic;
        s.plotFontFace = c.face;
        EXPECT_EQ(clearFont(s), c.expected) << c.points;
        const Scene scene = buildPlotScene(s);
        EXPECT_EQ(findText(scene, "Time t")->font, c.expected) << c.points;
        // The classic style keeps only the face.
        s.view.style = PlotStyle::Classic;
        const PlotFont classic = findText(buildPlotScene(s), "t")->font;
        EXPECT_EQ(classic.height, 23);
        EXPECT_EQ(classic.weight, 700);
        EXPECT_FALSE(classic.italic);
    }
}

TEST(ClearStyle, LabelsKeepTheDecimalPointUnderACommaLocale) {
    ::tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "the locale " << ::tolvex::testing::kCommaLocale << " is not installed";
    AnalysisState s = clearData();
    s.view.axes = AxesChoice::SemiLog;
    s.plotXMin = 0.01f;
    s.plotXMax = 1e5f;
    s.plotYMin = 0.0f;
    s.plotYMax = 1.5f;
    const std::vector<std::string> labels = labelsOf(buildPlotScene(s));
    EXPECT_TRUE(contains(labels, "0.01"));
    EXPECT_TRUE(contains(labels, "0.15"));
    for (const std::string& label : labels) EXPECT_EQ(label.find(','), std::string::npos) << label;
}

TEST(ClearStyle, TypeCurvesTakeThePaletteAndTheirLegendStays) {
    AnalysisState s = makeDefaultState();
    s.view.style = PlotStyle::Clear;
    s.modelKind = static_cast<int>(ModelKind::Leaky);
    s.plotContent = 0;
    s.typeCurvesReady = 1;
    s.familyCount = 3;
    s.tcLeakyRbCount = 3;
    s.curveXCount = 4;
    s.curveX = {0.0f, 1.0f, 10.0f, 100.0f};
    s.curveY = {0.0f, 0.2f, 1.0f, 2.0f, 0.2f, 0.9f, 1.5f, 0.2f, 0.8f, 1.2f};
    s.familyValues[0] = 0.01f;
    s.familyValues[1] = 0.1f;
    s.familyValues[2] = 1.0f;
    const Scene scene = buildPlotScene(s);
    for (int j = 0; j < 3; ++j) {
        bool found = false;
        for (const Polyline& p : primitivesOf<Polyline>(scene)) found = found || p.pen == clearColour(j);
        EXPECT_TRUE(found) << j;
    }
    EXPECT_TRUE(hasText(scene, "r/B="));
}

}  // namespace
}  // namespace tolvex::plot
