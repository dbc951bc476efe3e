// The derivative on the data plot: the Theis derivative ds/d ln t = Q/(4 pi T) exp(-r^2 S/(4 T t)) in
// closed form, in the document's units (centimetres, the time unit cancelling), for the measurements
// and the model at its own times; a slug test's falling heads drawn negated; the drawdown axis widened
// to the derivatives; a dot per derivative inside the axes; nothing when the view does not ask.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "SceneQueries.h"
#include "core/plot/DataPlot.h"
#include "core/plot/DerivativePlot.h"
#include "core/plot/PlotScene.h"
#include "core/state/ModelKind.h"
#include "core/units/Units.h"

namespace tolvex::plot {
namespace {

constexpr double kQ = 0.01, kT = 1e-3, kS = 1e-4, kR = 30.0;  // SI

double theis(double t) {
    return kQ / (4.0 * std::numbers::pi * kT) * -std::expint(-kR * kR * kS / (4.0 * kT * t));
}
double theisDerivative(double t) {
    return kQ / (4.0 * std::numbers::pi * kT) * std::exp(-kR * kR * kS / (4.0 * kT * t));
}

// 41 times, ten a decade from `first` (10 s) over four decades, with their exact Theis drawdowns;
// units min, cm, m3/s.
AnalysisState theisState(double first = 10.0) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    s.pumpingRate = static_cast<float>(kQ);
    s.transmissivity = static_cast<float>(kT);
    s.storativity = static_cast<float>(kS);
    s.radialDistance = static_cast<float>(kR);
    s.usedCount = s.allCount = s.useTo = 41;
    resizeMeasurementArrays(s);
    for (int i = 0; i < 41; ++i) {
        s.times[i] = first * std::pow(10.0, i / 10.0);
        s.measured[i] = theis(s.times[i]);
        s.calculated[i] = s.measured[i];
    }
    s.units = *parseUnits("time=min,length=cm,rate=m3/s").units;
    s.plotContent = 2;
    s.view.derivative = true;
    s.view.derivativeLSpacing = 0.0;
    return s;
}

TEST(DerivativePlot, TheisDerivativesInTheDocumentsUnits) {
    const AnalysisState s = theisState();
    const std::vector<DerivativeSeries> series = derivativeSeries(s);
    ASSERT_EQ(series.size(), 1u);
    const DerivativeSeries& d = series[0];
    ASSERT_EQ(d.times.size(), 41u);
    for (std::size_t i = 0; i < d.times.size(); ++i) {
        const double t = 60.0 * d.times[i];  // shown in minutes
        EXPECT_NEAR(t, s.times[i], 1e-9 * t);
        // The three-point derivative is within 1 % away from the ends (one-sided there) and from the
        // first half decade, where the curve bends fast at this spacing.
        if (i >= 5 && i + 1 < d.times.size()) {
            EXPECT_NEAR(d.values[i], 100.0 * theisDerivative(t), 0.01 * 100.0 * theisDerivative(t)) << t;
        }
    }
    ASSERT_GT(d.modelTimes.size(), 20u);
    EXPECT_NEAR(d.modelTimes.front(), 10.0 / 60.0, 1e-12);
    EXPECT_NEAR(d.modelTimes.back(), 1e5 / 60.0, 1e-8);
    for (std::size_t i = 0; i < d.modelTimes.size(); ++i) {
        const double exact = 100.0 * theisDerivative(60.0 * d.modelTimes[i]);
        EXPECT_NEAR(d.modelValues[i], exact, 1e-3 * exact) << d.modelTimes[i];
    }
}

TEST(DerivativePlot, NothingUnlessAskedAndNoModelBeforeAFit) {
    AnalysisState s = theisState();
    s.view.derivative = false;
    EXPECT_TRUE(derivativeSeries(s).empty());
    s.view.derivative = true;
    s.plotContent = 1;
    ASSERT_EQ(derivativeSeries(s).size(), 1u);
    EXPECT_TRUE(derivativeSeries(s)[0].modelValues.empty());
    // A further series switched off is left out; one switched on gets its own derivative.
    ObservationSeries x;
    x.settings.on = false;
    x.radialDistance = 60.0f;
    x.times = {100.0, 200.0, 400.0, 800.0};
    x.values = {0.1, 0.2, 0.3, 0.4};
    s.extraSeries = {x};
    EXPECT_EQ(derivativeSeries(s).size(), 1u);
    s.extraSeries[0].settings.on = true;
    EXPECT_EQ(derivativeSeries(s).size(), 2u);
    // An unusable smoothing from a hand-edited document falls back to the default, without a crash.
    s.view.derivativeLSpacing = std::nan("");
    EXPECT_EQ(derivativeSeries(s)[0].values.size(), 41u);
}

TEST(DerivativePlot, ASlugTestsFallingHeadsAreDrawnNegated) {
    AnalysisState s = theisState();
    s.modelKind = static_cast<int>(ModelKind::BouwerRice);
    s.units = {};
    for (int i = 0; i < 41; ++i) s.measured[i] = s.calculated[i] = std::exp(-s.times[i] / 1000.0);
    const DerivativeSeries d = derivativeSeries(s)[0];
    // d(H/H0)/d ln t = -(t/1000) exp(-t/1000), at most 0.37: drawn as its magnitude.
    for (std::size_t i = 1; i + 1 < d.times.size(); ++i) {
        const double exact = d.times[i] / 1000.0 * std::exp(-d.times[i] / 1000.0);
        EXPECT_NEAR(d.values[i], exact, 0.005) << d.times[i];
    }
    EXPECT_EQ(d.modelValues.size(), d.times.size());  // the straight line's own derivative
}

TEST(DerivativePlot, TheAxisTakesTheDerivativesAndEachIsADot) {
    for (const PlotStyle style : {PlotStyle::Classic, PlotStyle::Clear}) {
        // From 1000 s on, the derivative (below Q/(4 pi T) = 79.6 cm) lies below every drawdown (from 257
        // cm).
        AnalysisState s = theisState(1000.0);
        s.view.style = style;
        s.view.axes = AxesChoice::LogLog;
        const Scene scene = buildPlotScene(s);
        const double smallest = 100.0 * theisDerivative(1000.0);
        EXPECT_LT(smallest, 0.5 * 100.0 * theis(1000.0));
        EXPECT_LE(s.dataDrawdownMin, smallest) << static_cast<int>(style);
        int dots = 0;
        for (const Primitive& p : scene.primitives)
            if (const auto* e = std::get_if<Ellipse>(&p); e != nullptr && e->pen == e->brush) ++dots;
        EXPECT_GE(dots, 41) << static_cast<int>(style);  // the 41 derivatives and the key's dot
        EXPECT_TRUE(testing::hasText(scene, "ds/d ln t"));
        EXPECT_TRUE(testing::hasText(scene, "model ds/d ln t"));
        s.view.derivative = false;
        const Scene plain = buildPlotScene(s);
        EXPECT_FALSE(testing::hasText(plain, "ds/d ln t"));
    }
}

}  // namespace
}  // namespace tolvex::plot
