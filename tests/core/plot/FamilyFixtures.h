// Type-curve families built by hand for the plot tests, laid out as the generator stores them:
// curveX[i] for i = 1..nx, curve k at abscissa i in curveY[k * nx + i].
#pragma once

#include <cmath>
#include <cstddef>

#include "core/solutions/ConfinedLeaky.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot::testing {

// 1/u on the logarithmic grid of (min, max, nx).
inline void fillAbscissa(AnalysisState& s, int nx, double min, double max) {
    s.curveXCount = nx + 1;
    s.curveX.assign(static_cast<std::size_t>(nx) + 1, 0.0f);
    for (int i = 1; i <= nx; ++i) {
        s.curveX[static_cast<std::size_t>(i)] =
            static_cast<float>(std::pow(10.0, std::log10(min) + (i - 1) * std::log10(max / min) / (nx - 1)));
    }
}

// The Theis curve W(u) against 1/u, as model 0 holds it, ready to plot on log-log axes.
inline AnalysisState theisFamily(int nx = 50, double min = 0.1, double max = 10000.0) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    s.tcTheisCount = nx;
    fillAbscissa(s, nx, min, max);
    s.curveYCount = nx + 1;
    s.curveY.assign(static_cast<std::size_t>(nx) + 1, 0.0f);
    for (int i = 1; i <= nx; ++i) {
        s.curveY[static_cast<std::size_t>(i)] =
            static_cast<float>(confinedW(1.0 / s.curveX[static_cast<std::size_t>(i)]));
    }
    s.familyCount = 1;
    s.typeCurvesReady = 1;
    s.plotContent = 0;
    s.xAxisLog = 1;
    s.yAxisLog = 1;
    return s;
}

// A leaky family W(u, r/B) of `curves` curves (model 2), r/B on a logarithmic grid from 0.01 to 2.
inline AnalysisState leakyFamily(int curves, int nx = 30) {
    AnalysisState s = theisFamily(nx);
    s.modelKind = 2;
    s.tcLeakyCount = nx;
    s.tcLeakyRbCount = curves;
    s.familyCount = curves;
    s.curveYCount = nx * curves + 1;
    s.curveY.assign(static_cast<std::size_t>(s.curveYCount), 0.0f);
    for (int k = 0; k < curves; ++k) {
        const double rb = curves == 1 ? 0.1 : std::pow(10.0, -2.0 + k * std::log10(200.0) / (curves - 1));
        s.familyValues[static_cast<std::size_t>(k)] = static_cast<float>(rb);
        for (int i = 1; i <= nx; ++i) {
            const double u = 1.0 / s.curveX[static_cast<std::size_t>(i)];
            s.curveY[static_cast<std::size_t>(k * nx + i)] = static_cast<float>(leakyW(u, rb));
        }
    }
    return s;
}

}  // namespace tolvex::plot::testing
