// The matching view: its decade <-> logical mapping round-trips and agrees with the decade lines drawn;
// drawdowns of known T and S, computed here from the closed forms (Theis: W(u) = E1(u); Hantush and
// Jacob: W(u, r/B) by quadrature), drawn at placementOf land on the family curve within a pixel of the
// 1200-unit picture, pick that curve, and give T and S back; a state that cannot be matched shows a note.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <span>
#include <vector>

#include "core/jobs/Job.h"
#include "core/plot/CurveColours.h"
#include "core/plot/MatchingPlot.h"
#include "core/plot/PlotLook.h"
#include "core/state/CommaLocale.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex::plot {
namespace {

constexpr double kQ = 0.01, kR = 30.0;

// Hantush and Jacob (1955): W(u, b) = int_u^inf exp(-y - b^2 / (4 y)) / y dy, with y = e^z and the
// trapezoid rule in z (the integrand decays doubly exponentially at both ends).
double hantushW(double u, double rB) {
    const double z0 = std::log(u), step = 1e-3;
    double sum = 0.0;
    for (int i = 0;; ++i) {
        const double y = std::exp(z0 + i * step);
        const double f = std::exp(-y - rB * rB / (4.0 * y));
        sum += (i == 0 ? 0.5 : 1.0) * f;
        if (y > 60.0) break;
    }
    return sum * step;
}

double theisW(double u) {
    return -std::expint(-u);  // E1(u) = -Ei(-u)
}

AnalysisState withFamily(int model) {
    AnalysisState s = makeDefaultState();
    s.modelKind = model;
    s.pumpingRate = static_cast<float>(kQ);
    s.radialDistance = static_cast<float>(kR);
    NullProgress progress;
    EXPECT_TRUE(computeTypeCurves(s, progress, {}));
    return s;
}

void setMeasurements(AnalysisState& s, const std::vector<double>& t, const std::vector<double>& v) {
    const int n = static_cast<int>(t.size());
    s.allCount = s.usedCount = s.useTo = n;
    s.useFrom = 1;
    resizeMeasurementArrays(s);
    for (int i = 0; i < n; ++i) {
        s.times[i] = t[i];
        s.measured[i] = v[i];
    }
}

std::vector<double> logTimes(double first, int count, double perDecade) {
    std::vector<double> t;
    for (int k = 0; k < count; ++k) t.push_back(first * std::pow(10.0, k / perDecade));
    return t;
}

// The y of the emphasised curve's vertex at logical x (within a unit), the one nearest `near`.
std::optional<double> emphasisedVertexAt(const Scene& scene, double x, double near) {
    std::optional<double> best;
    for (const Primitive& p : scene.primitives) {
        const auto* line = std::get_if<Polyline>(&p);
        if (line == nullptr || line->pen != clearColour(1)) continue;
        for (const Point& point : line->points) {
            if (std::abs(point.x - x) > 1.0) continue;
            if (!best || std::abs(point.y - near) < std::abs(*best - near)) best = point.y;
        }
    }
    return best;
}

// Times at which the shifted data fall on the family's abscissa nodes: t = x / 10^dx.
std::vector<double> nodeTimes(const AnalysisState& s, MatchShift shift) {
    std::vector<double> t;
    for (int i = 1; i < s.curveXCount; ++i)
        t.push_back(s.curveX[static_cast<std::size_t>(i)] * std::pow(10.0, -shift.dx));
    return t;
}

// Every measurement the view shows lies on a vertex of the emphasised curve within one logical unit,
// one pixel of the 1200-pixel picture (both are truncated to whole units).
void expectOnCurve(const AnalysisState& s, const MatchView& view) {
    ASSERT_TRUE(view.mapping);
    const MatchMapping& m = *view.mapping;
    const MatchShift shift = view.result.placement.shift;
    int checked = 0;
    for (int i = 0; i < s.usedCount; ++i) {
        const double x = m.logicalX(std::log10(s.times[i]) + shift.dx);
        const double y = m.logicalY(std::log10(s.measured[i]) + shift.dy);
        if (x < m.plotRect.left || x > m.plotRect.right || y < m.plotRect.lower || y > m.plotRect.upper)
            continue;
        const auto curve = emphasisedVertexAt(view.scene, std::trunc(x), std::trunc(y));
        ASSERT_TRUE(curve) << "measurement " << i << " at " << x << ", " << y << " in " << m.plotRect.left
                           << ".." << m.plotRect.right << ", " << m.plotRect.lower << ".."
                           << m.plotRect.upper;
        EXPECT_NEAR(*curve, std::trunc(y), 1.0) << "measurement " << i;
        ++checked;
    }
    EXPECT_GE(checked, 8);
}

TEST(MatchingPlot, MappingRoundTripsAndMeetsTheDecadeLines) {
    AnalysisState s = withFamily(0);
    const std::vector<double> t = logTimes(1.0, 20, 5.0);
    std::vector<double> v;
    for (double time : t) v.push_back(time);
    setMeasurements(s, t, v);
    const MatchView view = buildMatchingView(s, {0.5, -0.25});
    ASSERT_TRUE(view.mapping);
    const MatchMapping& m = *view.mapping;
    EXPECT_NEAR(m.xPerDecade, m.yPerDecade, 1.0);  // equal decades
    for (double d : {-3.0, -0.7, 0.0, 1.3, 4.0}) {
        EXPECT_NEAR(m.decadeX(m.logicalX(d)), d, 1e-12);
        EXPECT_NEAR(m.decadeY(m.logicalY(d)), d, 1e-12);
    }
    for (double l : {200.0, 433.5, 900.0}) {
        EXPECT_NEAR(m.logicalX(m.decadeX(l)), l, 1e-9);
        EXPECT_NEAR(m.logicalY(m.decadeY(l)), l, 1e-9);
    }
    EXPECT_DOUBLE_EQ(m.logicalX(m.xLow), m.plotRect.left);
    EXPECT_DOUBLE_EQ(m.logicalY(m.yLow), m.plotRect.lower);
    // Each whole decade inside the frame has its vertical grid line where the mapping puts it.
    int found = 0;
    for (int decade = static_cast<int>(std::ceil(m.xLow)); m.logicalX(decade) <= m.plotRect.right; ++decade) {
        const double x = m.logicalX(decade);
        for (const Primitive& p : view.scene.primitives) {
            const auto* line = std::get_if<Line>(&p);
            if (line && line->pen == kClearGrid && line->from.x == line->to.x &&
                std::abs(line->from.x - x) <= 1.0) {
                ++found;
                break;
            }
        }
    }
    EXPECT_GE(found, 4);
}

TEST(MatchingPlot, TheisDataAtTheirPlacementLieOnTheCurve) {
    AnalysisState s = withFamily(0);
    const double T = 1.5e-3, S = 2e-4;
    writeParameterVector(s, std::vector<double>{0.0, S, T});
    const auto shift = openingShift(s);  // the parameters' placement: no data needed
    ASSERT_TRUE(shift);
    const std::vector<double> t = nodeTimes(s, *shift);
    std::vector<double> v;
    for (double time : t)
        v.push_back(kQ / (4.0 * std::numbers::pi * T) * theisW(kR * kR * S / (4.0 * T * time)));
    setMeasurements(s, t, v);
    // The closed form of the placement: 1/u = 4 T t / (r^2 S), W = 4 pi T s / Q.
    EXPECT_NEAR(shift->dx, std::log10(4.0 * T / (kR * kR * S)), 1e-6);
    EXPECT_NEAR(shift->dy, std::log10(4.0 * std::numbers::pi * T / kQ), 1e-6);
    const MatchView view = buildMatchingView(s, *shift);
    ASSERT_TRUE(view.result.problem.empty()) << view.result.problem;
    expectOnCurve(s, view);
    ASSERT_GE(view.result.parameters.size(), 3u);
    EXPECT_NEAR(view.result.parameters[1], S, 1e-5 * S);
    EXPECT_NEAR(view.result.parameters[2], T, 1e-5 * T);
}

TEST(MatchingPlot, LeakyDataPickTheirCurveAndLieOnIt) {
    const AnalysisState family = withFamily(2);
    ASSERT_GT(family.familyCount, 6);
    const double T = 4e-3, S = 1e-4;
    for (int k : {2, family.familyCount / 2}) {
        AnalysisState s = family;
        const double rB = family.familyValues[static_cast<std::size_t>(k)];
        writeParameterVector(s, std::vector<double>{0.0, S, T, kR * kR / (rB * rB * T)});
        const auto shift = openingShift(s);
        ASSERT_TRUE(shift);
        const std::vector<double> t = nodeTimes(s, *shift);
        std::vector<double> v;
        for (double time : t)
            v.push_back(kQ / (4.0 * std::numbers::pi * T) * hantushW(kR * kR * S / (4.0 * T * time), rB));
        setMeasurements(s, t, v);
        const MatchView view = buildMatchingView(s, *shift);
        ASSERT_TRUE(view.result.nearest) << k;
        EXPECT_EQ(view.result.nearest->index, k);
        expectOnCurve(s, view);
        ASSERT_GE(view.result.parameters.size(), 4u);
        EXPECT_NEAR(view.result.parameters[1], S, 1e-5 * S);
        EXPECT_NEAR(view.result.parameters[2], T, 1e-5 * T);
        EXPECT_NEAR(kR / std::sqrt(T * view.result.parameters[3]), rB, 1e-5 * rB);
        // The label names the curve the data follow.
        bool labelled = false;
        for (const Primitive& p : view.scene.primitives) {
            const auto* text = std::get_if<Text>(&p);
            labelled = labelled || (text && text->text.rfind("r/B = ", 0) == 0);
        }
        EXPECT_TRUE(labelled);
    }
}

TEST(MatchingPlot, MovedDataLeaveTheCurveAndGiveOtherParameters) {
    AnalysisState s = withFamily(0);
    const double T = 1.5e-3, S = 2e-4;
    writeParameterVector(s, std::vector<double>{0.0, S, T});
    const std::vector<double> t = logTimes(5.0, 25, 6.0);
    std::vector<double> v;
    for (double time : t)
        v.push_back(kQ / (4.0 * std::numbers::pi * T) * theisW(kR * kR * S / (4.0 * T * time)));
    setMeasurements(s, t, v);
    MatchShift shift = *openingShift(s);
    shift.dy += 1.0;  // a decade up: T ten times larger, S ten times larger (S = 4 T 10^-dx / r^2)
    const MatchResult r = evaluateMatch(s, shift);
    ASSERT_GE(r.parameters.size(), 3u);
    EXPECT_NEAR(r.parameters[2], 10.0 * T, 1e-4 * T);
    EXPECT_NEAR(r.parameters[1], 10.0 * S, 1e-4 * S);
    const auto rows = matchRows(s, r.parameters);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].symbol, "S");
    EXPECT_EQ(rows[1].symbol, "T");
    EXPECT_NEAR(rows[1].value, 10.0 * T, 1e-4 * T);
}

// The desktop program runs under the user's locale: the match point's numbers keep a decimal point.
TEST(MatchingPlot, TheMatchPointNoteKeepsADecimalPointUnderACommaLocale) {
    ::tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active());
    const MatchView view = buildMatchingView(withFamily(0), {0.5, 0.25});
    bool found = false;
    for (const Primitive& p : view.scene.primitives) {
        const auto* text = std::get_if<Text>(&p);
        if (text == nullptr || text->text.rfind("Match point", 0) != 0) continue;
        found = true;
        EXPECT_EQ(text->text.find(','), text->text.find(", ")) << text->text;      // only the list's commas
        EXPECT_NE(text->text.find("t = 0.316"), std::string::npos) << text->text;  // 10^-0.5
    }
    EXPECT_TRUE(found);
}

TEST(MatchingPlot, StatesThatCannotBeMatchedShowANote) {
    struct Case {
        const char* what;
        void (*change)(AnalysisState&);
        const char* note;
    };
    const Case cases[] = {
        {"no measurements", [](AnalysisState& s) { setMeasurements(s, {}, {}); }, "No measurements"},
        {"zero rate", [](AnalysisState& s) { s.pumpingRate = 0.0f; }, "pumping rate"},
        {"negative radius", [](AnalysisState& s) { s.radialDistance = -1.0f; }, "radial distance"},
        {"model 9", [](AnalysisState& s) { s.modelKind = 9; }, "0 to 8"},
        {"no family", [](AnalysisState& s) { s.typeCurvesReady = 0; }, "No type curves"},
    };
    for (const Case& c : cases) {
        AnalysisState s = withFamily(0);
        c.change(s);
        const MatchView view = buildMatchingView(s, {0.0, 0.0});
        EXPECT_FALSE(view.mapping) << c.what;
        EXPECT_NE(view.result.problem.find(c.note), std::string::npos)
            << c.what << ": " << view.result.problem;
        bool noted = false;
        for (const Primitive& p : view.scene.primitives) {
            const auto* text = std::get_if<Text>(&p);
            noted = noted || (text && text->text == view.result.problem);
        }
        EXPECT_TRUE(noted) << c.what;
    }
}

}  // namespace
}  // namespace tolvex::plot
