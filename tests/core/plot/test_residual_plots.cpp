// The residual views: residuals equal to measured minus calculated for every shown series, the normal
// quantiles at Blom's plotting positions against scipy.stats.norm.ppf
// (tests/reference/normal_quantiles_reference.py), the lag-1 autocorrelation worked by hand, the note
// before an estimation, damaged states drawn without a crash, and a decimal point under a comma locale.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "SceneQueries.h"
#include "core/plot/DiagnosticViews.h"
#include "core/plot/PlotGeometry.h"
#include "core/plot/PlotLook.h"
#include "core/plot/ResidualPlots.h"
#include "core/state/CommaLocale.h"

namespace tolvex::plot {
namespace {

using testing::hasText;
using testing::primitivesOf;
using testing::textsOf;

// The default pumping test's drawdowns (m) and a calculated curve near them.
const std::vector<double> kMeasured{3.41, 3.58, 3.97, 4.2,  4.54, 4.88, 5.13,
                                    5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47};
const std::vector<double> kCalculated{3.30, 3.70, 3.95, 4.25, 4.50, 4.90, 5.10,
                                      5.40, 5.50, 5.70, 6.20, 6.30, 6.50, 6.45};

AnalysisState fitted() {
    AnalysisState s = makeDefaultState();
    s.plotContent = 2;
    s.calculated = kCalculated;
    return s;
}

ObservationSeries further(const std::string& name, bool on) {
    ObservationSeries x;
    x.settings.name = name;
    x.settings.on = on;
    x.times = {10.0, 20.0, 40.0};
    x.values = {1.0, 1.5, 2.0};
    x.calculated = {0.75, 1.625, 2.0};
    return x;
}

TEST(ResidualPlots, ResidualsAreMeasuredMinusCalculatedForEveryShownSeries) {
    AnalysisState s = fitted();
    s.extraSeries = {further("P2", true), further("P3", false)};
    const std::vector<SeriesResiduals> series = seriesResiduals(s);
    ASSERT_EQ(series.size(), 2U);  // the switched-off P3 is left out
    ASSERT_EQ(series[0].residuals.size(), kMeasured.size());
    for (std::size_t i = 0; i < kMeasured.size(); ++i) {
        EXPECT_NEAR(series[0].residuals[i], kMeasured[i] - kCalculated[i], 1e-12) << i;
        EXPECT_EQ(series[0].calculated[i], kCalculated[i]);
    }
    EXPECT_EQ(series[1].name, "P2");
    const std::vector<double> expected{0.25, -0.125, 0.0};
    ASSERT_EQ(series[1].residuals.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_DOUBLE_EQ(series[1].residuals[i], expected[i]);
    EXPECT_EQ(series[1].times, (std::vector<double>{10.0, 20.0, 40.0}));
}

struct QuantileRow {
    int i;
    int n;
    double z;  // scipy.stats.norm.ppf((i - 0.375) / (n + 0.25))
};

TEST(ResidualPlots, NormalQuantilesAtBlomPositionsMatchScipy) {
    const QuantileRow rows[] = {
        {1, 1, 0},
        {1, 2, -0.58945579784977831},
        {2, 2, 0.58945579784977831},
        {1, 5, -1.1797611176118612},
        {2, 5, -0.49720057068155404},
        {3, 5, 0},
        {5, 5, 1.1797611176118612},
        {1, 14, -1.7075530935596599},
        {2, 14, -1.2053449195375296},
        {7, 14, -0.088065569724094572},
        {14, 14, 1.7075530935596599},
        {1, 100, -2.4985905609622558},
        {2, 100, -2.1392064429859778},
        {50, 100, -0.012502212342580959},
        {100, 100, 2.4985905609622558},
    };
    for (const QuantileRow& r : rows)
        EXPECT_NEAR(standardNormalQuantile(blomPosition(r.i, r.n)), r.z, 1e-12) << r.i << " of " << r.n;
}

TEST(ResidualPlots, NormalQuantilesHoldInTheTailsAndAtTheRegionBorders) {
    const std::pair<double, double> rows[] = {
        {1e-10, -6.3613409024040557},
        {1.0000000000000001e-05, -4.2648907939228247},
        {0.02, -2.053748910631823},
        {0.024250000000000001, -1.9729610513118849},
        {0.29999999999999999, -0.52440051270804089},
        {0.5, 0},
        {0.97575000000000001, 1.9729610513118849},
        {0.99999899999999997, 4.7534243088170873},
    };
    for (const auto& [p, z] : rows)
        EXPECT_NEAR(standardNormalQuantile(p), z, 1e-11 * (1.0 + std::abs(z))) << p;
    for (double p : {0.0, 1.0, -0.5, 2.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(std::isnan(standardNormalQuantile(p))) << p;
}

TEST(ResidualPlots, NormalProbabilityPointsSortTheResidualsAndFitTheLine) {
    const NormalProbabilityPoints p = normalProbabilityPoints({5.0, 1.0, 4.0, 2.0, 3.0});
    EXPECT_EQ(p.sorted, (std::vector<double>{1.0, 2.0, 3.0, 4.0, 5.0}));
    ASSERT_EQ(p.quantiles.size(), 5U);
    EXPECT_NEAR(p.quantiles[0], -1.1797611176118612, 1e-12);
    EXPECT_NEAR(p.quantiles[1], -0.49720057068155404, 1e-12);
    EXPECT_NEAR(p.quantiles[4], 1.1797611176118612, 1e-12);
    EXPECT_DOUBLE_EQ(p.mean, 3.0);
    EXPECT_DOUBLE_EQ(p.deviation, std::sqrt(2.5));  // sum of squares 10 over n - 1 = 4
    const NormalProbabilityPoints none = normalProbabilityPoints({});
    EXPECT_TRUE(none.sorted.empty());
    EXPECT_TRUE(none.quantiles.empty());
}

// Residuals +1 -1 +1 -1: mean 0, lagged sum -3, total 4, so rho = -0.75.
AnalysisState alternating() {
    AnalysisState s = makeDefaultState();
    s.usedCount = 4;
    s.times = {1.0, 2.0, 4.0, 8.0};
    s.measured = {2.0, 2.0, 4.0, 4.0};
    s.calculated = {1.0, 3.0, 3.0, 5.0};
    s.plotContent = 2;
    return s;
}

bool anyTextContains(const Scene& scene, const std::string& part) {
    for (const std::string& t : textsOf(scene))
        if (t.find(part) != std::string::npos) return true;
    return false;
}

TEST(ResidualPlots, TheResidualViewsShowTheLag1Autocorrelation) {
    const AnalysisState s = alternating();
    EXPECT_DOUBLE_EQ(residualsLag1(seriesResiduals(s)), -0.75);
    for (DiagnosticView view : {DiagnosticView::ResidualsTime, DiagnosticView::ResidualsCalculated,
                                DiagnosticView::NormalProbability}) {
        const Scene scene = buildDiagnosticScene(s, view);
        EXPECT_TRUE(anyTextContains(scene, "lag-1 autocorrelation -0.750")) << diagnosticViewName(view);
        EXPECT_FALSE(hasText(scene, kNoEstimationNote));
    }
}

TEST(ResidualPlots, ResidualsAgainstTimeDrawAZeroLineAndAMarkerPerResidual) {
    const Scene scene = buildDiagnosticScene(alternating(), DiagnosticView::ResidualsTime);
    // Circles of the first series inside the frame (the legend's sample lies right of it): 17 points in
    // the first palette colour.
    int markers = 0;
    for (const Polyline& p : testing::polylinesIn(scene, clearColour(0)))
        if (p.points.size() == 17 && p.points.front().x < kPlotFrame.right) ++markers;
    EXPECT_EQ(markers, 4);
    // The zero line: a black polyline at one height across the plot.
    bool zeroLine = false;
    for (const Polyline& p : testing::polylinesIn(scene, kBlack)) {
        if (p.points.size() < 10) continue;
        zeroLine = zeroLine || p.points.front().y == p.points.back().y;
    }
    EXPECT_TRUE(zeroLine);
}

TEST(ResidualPlots, TheZeroLineIsLabelledZero) {
    // Float axis limits put the zero of a range across it at about 1e-9; the label must read 0.
    for (const AnalysisState& s : {fitted(), alternating()}) {
        const Scene scene = buildDiagnosticScene(s, DiagnosticView::ResidualsTime);
        EXPECT_TRUE(hasText(scene, "0"));
        for (const std::string& t : textsOf(scene)) EXPECT_EQ(t.find("e-0"), std::string::npos) << t;
    }
}

TEST(ResidualPlots, TheNormalPlotNamesItsLine) {
    // Residuals 1, -1, 1, -1: mean 0, standard deviation sqrt(4 / 3) = 1.1547.
    const Scene scene = buildDiagnosticScene(alternating(), DiagnosticView::NormalProbability);
    EXPECT_TRUE(hasText(scene, "Line: mean 0.0000, standard deviation 1.1547"));
    // A mean a little below zero is written without a sign.
    AnalysisState nearZero = alternating();
    nearZero.calculated[0] += 2e-5;  // mean -5e-6
    EXPECT_TRUE(hasText(buildDiagnosticScene(nearZero, DiagnosticView::NormalProbability),
                        "Line: mean 0.0000, standard deviation 1.1547"));
}

TEST(ResidualPlots, WithoutAnEstimationTheViewsSaySo) {
    AnalysisState beforeFit = makeDefaultState();
    beforeFit.plotContent = 1;
    AnalysisState noCurve = makeDefaultState();
    noCurve.plotContent = 2;
    noCurve.calculated.clear();
    AnalysisState empty = makeDefaultState();
    empty.plotContent = 2;
    empty.usedCount = 0;
    empty.times.clear();
    empty.measured.clear();
    empty.calculated = {1.0};
    for (const AnalysisState* s : {&beforeFit, &noCurve, &empty}) {
        for (DiagnosticView view : {DiagnosticView::ResidualsTime, DiagnosticView::ResidualsCalculated,
                                    DiagnosticView::NormalProbability}) {
            const Scene scene = buildDiagnosticScene(*s, view);
            EXPECT_TRUE(hasText(scene, kNoEstimationNote)) << diagnosticViewName(view);
            EXPECT_TRUE(primitivesOf<Polyline>(scene).empty()) << diagnosticViewName(view);
        }
    }
}

TEST(ResidualPlots, DamagedStatesAreDrawnWithoutACrash) {
    AnalysisState tooMany = alternating();
    tooMany.usedCount = 50;  // more than the vectors hold
    AnalysisState shortCurve = alternating();
    shortCurve.calculated.resize(2);
    AnalysisState notFinite = alternating();
    notFinite.calculated[1] = std::numeric_limits<double>::quiet_NaN();
    notFinite.measured[2] = std::numeric_limits<double>::infinity();
    notFinite.times[0] = -1.0;  // no place on the logarithmic time axis
    AnalysisState negativeCount = alternating();
    negativeCount.usedCount = -3;
    EXPECT_EQ(seriesResiduals(tooMany).front().residuals.size(), 4U);
    EXPECT_EQ(seriesResiduals(shortCurve).front().residuals.size(), 2U);
    EXPECT_EQ(seriesResiduals(notFinite).front().residuals.size(), 2U);
    EXPECT_TRUE(seriesResiduals(negativeCount).empty());
    for (const AnalysisState* s : {&tooMany, &shortCurve, &notFinite, &negativeCount}) {
        for (DiagnosticView view : kDiagnosticViews) {
            const Scene scene = buildDiagnosticScene(*s, view);
            EXPECT_FALSE(scene.primitives.empty()) << diagnosticViewName(view);
        }
    }
}

TEST(ResidualPlots, NumbersKeepTheDecimalPointUnderACommaLocale) {
    tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "the comma locale is not installed";
    const Scene scene = buildDiagnosticScene(alternating(), DiagnosticView::NormalProbability);
    EXPECT_TRUE(anyTextContains(scene, "-0.750"));
    for (const std::string& t : textsOf(scene)) {
        for (std::size_t i = 1; i + 1 < t.size(); ++i)
            EXPECT_FALSE(t[i] == ',' && std::isdigit(static_cast<unsigned char>(t[i - 1])) &&
                         std::isdigit(static_cast<unsigned char>(t[i + 1])))
                << t;
    }
}

TEST(ResidualPlots, ViewNamesReadBack) {
    for (DiagnosticView view : kDiagnosticViews) {
        EXPECT_EQ(diagnosticViewFromName(diagnosticViewName(view)), view);
        EXPECT_FALSE(diagnosticViewTitle(view).empty());
    }
    EXPECT_FALSE(diagnosticViewFromName("residuals").has_value());
    EXPECT_FALSE(diagnosticViewFromName("").has_value());
}

}  // namespace
}  // namespace tolvex::plot
