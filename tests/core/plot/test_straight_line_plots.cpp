// The straight-line plots: the abscissas sqrt(t) and t^(1/4), points placed where the axis rules put them
// (worked by hand below), axis titles in the document's units, switched-off series left out, and a note
// instead of a plot without measurements.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "SceneQueries.h"
#include "core/plot/DiagnosticViews.h"
#include "core/plot/PlotGeometry.h"
#include "core/plot/PlotLook.h"
#include "core/plot/StraightLinePlots.h"
#include "core/units/Units.h"

namespace tolvex::plot {
namespace {

using testing::hasText;
using testing::polylinesIn;
using testing::primitivesOf;

TEST(StraightLinePlots, AbscissasAreTheRootsOfTime) {
    struct Row {
        StraightLine kind;
        double time;
        double expected;  // NaN: no place on the axis
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row rows[] = {
        {StraightLine::SquareRoot, 16.0, 4.0},    {StraightLine::SquareRoot, 0.25, 0.5},
        {StraightLine::SquareRoot, 0.0, 0.0},     {StraightLine::SquareRoot, -1.0, nan},
        {StraightLine::QuarterPower, 16.0, 2.0},  {StraightLine::QuarterPower, 0.0001, 0.1},
        {StraightLine::QuarterPower, -16.0, nan}, {StraightLine::SemiLog, 7.5, 7.5},
        {StraightLine::SemiLog, 0.0, nan},        {StraightLine::SquareRoot, nan, nan},
    };
    for (const Row& r : rows) {
        const double x = straightLineAbscissa(r.kind, r.time);
        if (std::isnan(r.expected)) {
            EXPECT_TRUE(std::isnan(x)) << r.time;
        } else {
            EXPECT_NEAR(x, r.expected, 1e-12) << r.time;
        }
    }
}

AnalysisState measuredAt(std::vector<double> times, std::vector<double> values) {
    AnalysisState s = makeDefaultState();
    s.usedCount = static_cast<int>(times.size());
    s.times = std::move(times);
    s.measured = std::move(values);
    s.plotContent = 1;
    return s;
}

// The centres of the first series' circles (17 points) inside the frame.
std::vector<Point> markerCentres(const Scene& scene) {
    std::vector<Point> centres;
    for (const Polyline& p : polylinesIn(scene, clearColour(0))) {
        if (p.points.size() != 17) continue;
        int left = p.points.front().x, right = left, lower = p.points.front().y, upper = lower;
        for (const Point& q : p.points) {
            left = std::min(left, q.x);
            right = std::max(right, q.x);
            lower = std::min(lower, q.y);
            upper = std::max(upper, q.y);
        }
        const Point centre{(left + right) / 2, (lower + upper) / 2};
        if (centre.x <= kPlotFrame.right) centres.push_back(centre);  // not the legend's sample
    }
    return centres;
}

// Abscissas 1, 2, 3, 4 and drawdowns 1, 2, 3, 4 on both axes: the linear axes run from 1 to 4 in
// steps of 0.5 over the whole frame (x 200..1000, y 250..950), so value v lies at 200 + (v - 1) * 800 / 3
// and 250 + (v - 1) * 700 / 3, truncated: 200, 466, 733, 1000 and 250, 483, 716, 950. The semi-log plot
// has times 1, 10, 100, 1000 on three decades of the same width: the same positions.
TEST(StraightLinePlots, PointsLieWhereTheAxesPutThem) {
    struct Case {
        DiagnosticView view;
        std::vector<double> times;
    };
    const Case cases[] = {
        {DiagnosticView::SquareRoot, {1.0, 4.0, 9.0, 16.0}},
        {DiagnosticView::QuarterPower, {1.0, 16.0, 81.0, 256.0}},
        {DiagnosticView::SemiLog, {1.0, 10.0, 100.0, 1000.0}},
    };
    const std::vector<Point> expected{{200, 250}, {466, 483}, {733, 716}, {1000, 950}};
    for (const Case& c : cases) {
        const Scene scene = buildDiagnosticScene(measuredAt(c.times, {1.0, 2.0, 3.0, 4.0}), c.view);
        const std::vector<Point> centres = markerCentres(scene);
        ASSERT_EQ(centres.size(), expected.size()) << diagnosticViewName(c.view);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(centres[i].x, expected[i].x, 1) << diagnosticViewName(c.view) << " point " << i;
            EXPECT_NEAR(centres[i].y, expected[i].y, 1) << diagnosticViewName(c.view) << " point " << i;
        }
    }
}

TEST(StraightLinePlots, AxisTitlesNameTheDocumentsUnits) {
    struct Case {
        DisplayUnits units;
        DiagnosticView view;
        const char* horizontal;
        const char* vertical;
    };
    const Case cases[] = {
        {{}, DiagnosticView::SquareRoot, "sqrt t", "Drawdown s"},
        {{"min", "m", "m3/d"}, DiagnosticView::SquareRoot, "sqrt t [min^1/2]", "Drawdown s [m]"},
        {{"d", "ft", "gpm"}, DiagnosticView::QuarterPower, "t^1/4 [d^1/4]", "Drawdown s [ft]"},
        {{"min", "m", "m3/d"}, DiagnosticView::SemiLog, "Time t [min]", "Drawdown s [m]"},
    };
    for (const Case& c : cases) {
        AnalysisState s = makeDefaultState();
        s.units = c.units;
        s.plotContent = 1;
        const Scene scene = buildDiagnosticScene(s, c.view);
        EXPECT_TRUE(hasText(scene, c.horizontal)) << c.horizontal;
        EXPECT_TRUE(hasText(scene, c.vertical)) << c.vertical;
    }
}

TEST(StraightLinePlots, OnlySwitchedOnSeriesAreDrawn) {
    AnalysisState s = makeDefaultState();
    ObservationSeries on;
    on.settings.name = "P2";
    on.times = {5.0, 50.0};
    on.values = {0.5, 1.0};
    ObservationSeries off = on;
    off.settings.name = "P3";
    off.settings.on = false;
    s.extraSeries = {on, off};
    const Scene scene = buildDiagnosticScene(s, DiagnosticView::SquareRoot);
    EXPECT_TRUE(hasText(scene, "P2"));
    EXPECT_FALSE(hasText(scene, "P3"));
}

TEST(StraightLinePlots, WithoutMeasurementsTheViewsSaySo) {
    AnalysisState none = makeDefaultState();
    none.usedCount = 0;
    none.times.clear();
    none.measured.clear();
    AnalysisState negative = measuredAt({-1.0, -2.0}, {1.0, 2.0});  // no time has a root
    for (const AnalysisState* s : {&none, &negative}) {
        for (DiagnosticView view :
             {DiagnosticView::SemiLog, DiagnosticView::SquareRoot, DiagnosticView::QuarterPower}) {
            const Scene scene = buildDiagnosticScene(*s, view);
            EXPECT_TRUE(hasText(scene, kNoMeasurementsNote)) << diagnosticViewName(view);
            EXPECT_TRUE(primitivesOf<Polyline>(scene).empty()) << diagnosticViewName(view);
        }
    }
}

}  // namespace
}  // namespace tolvex::plot
