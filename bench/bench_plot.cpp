// Cost of a plot: building the scene of the largest family (100 curves of 200 points, leaky W(u, r/B)
// on log-log axes, with its two-column legend) and painting it on a 1600 x 1200 image. A frame at
// 60 Hz is 16.7 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>

#include "core/plot/PlotScene.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/state/AnalysisState.h"
#ifdef TOLVEX_HAVE_RENDER
#include <QImage>
#include <QPainter>

#include "render/HeadlessGui.h"
#include "render/ScenePainter.h"
#endif

namespace {

constexpr int kCurves = 100;
constexpr int kPoints = 200;

double logGrid(double min, double max, int n, int j) {
    return std::pow(10.0, std::log10(min) + j * std::log10(max / min) / (n - 1));
}

tolvex::AnalysisState largestFamily() {
    tolvex::AnalysisState s = tolvex::makeDefaultState();
    s.modelKind = 2;
    s.plotContent = 0;
    s.typeCurvesReady = 1;
    s.xAxisLog = 1;
    s.yAxisLog = 1;
    s.tcLeakyCount = kPoints;
    s.tcLeakyRbCount = kCurves;
    s.familyCount = kCurves;
    s.curveXCount = kPoints + 1;
    s.curveYCount = kPoints * kCurves + 1;
    s.curveX.assign(static_cast<std::size_t>(s.curveXCount), 0.0f);
    s.curveY.assign(static_cast<std::size_t>(s.curveYCount), 0.0f);
    for (int i = 1; i <= kPoints; ++i) s.curveX[i] = static_cast<float>(logGrid(0.1, 1.0e4, kPoints, i - 1));
    for (int k = 0; k < kCurves; ++k) {
        const double rb = logGrid(0.005, 5.0, kCurves, k);
        s.familyValues[static_cast<std::size_t>(k)] = static_cast<float>(rb);
        for (int i = 1; i <= kPoints; ++i) {
            s.curveY[static_cast<std::size_t>(k * kPoints + i)] =
                static_cast<float>(tolvex::leakyW(1.0 / s.curveX[i], rb));
        }
    }
    return s;
}

void BM_BuildLargestFamilyScene(benchmark::State& state) {
    tolvex::AnalysisState s = largestFamily();
    for (auto _ : state) benchmark::DoNotOptimize(tolvex::plot::buildPlotScene(s));
}
BENCHMARK(BM_BuildLargestFamilyScene)->Unit(benchmark::kMillisecond);

#ifdef TOLVEX_HAVE_RENDER
void BM_PaintLargestFamilyScene(benchmark::State& state) {
    const tolvex::render::GuiSession session;
    tolvex::AnalysisState s = largestFamily();
    const tolvex::plot::Scene scene = tolvex::plot::buildPlotScene(s);
    QImage image(1600, 1200, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        tolvex::render::paintScene(painter, scene, QRectF(0, 0, 1600, 1200));
        painter.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintLargestFamilyScene)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
