#include "core/estimation/Simplex.h"

#include <algorithm>
#include <span>
#include <vector>

#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

constexpr float kNoVertex = 1e20f;

float toFloat(double v) {
    return static_cast<float>(v);
}

// The simplex of the state seen as n+1 vertices of n floats, numbered 1..n+1, with a scratch vector
// for trial points (1-based, as the forward model takes it).
struct SimplexView {
    AnalysisState& s;
    int n;
    std::vector<float> sum;      // 1-based coordinate sums
    std::vector<float> scratch;  // 1-based

    SimplexView(AnalysisState& state, int count)
        : s(state), n(count), sum(count + 1, 0.0f), scratch(count + 1, 0.0f) {}
    float& x(int v, int j) { return s.simplexVertices[static_cast<std::size_t>(v - 1) * n + (j - 1)]; }
    float& y(int v) { return s.simplexValues[v - 1]; }

    void computeSums() {
        for (int j = 1; j <= n; ++j) {
            float total = 0.0f;
            for (int v = 1; v <= n + 1; ++v) total = toFloat(total + x(v, j));
            sum[j] = total;
        }
    }
    // The misfit of vertex v evaluated on a scratch copy: the clamping leaves the vertex as it is.
    float evaluateCopy(int v) {
        for (int j = 1; j <= n; ++j) scratch[j] = x(v, j);
        return forwardMisfit(s, scratch, s.modelKind);
    }
};

// Moves the worst vertex through the centroid of the others by the factor f and keeps the trial point
// when it is strictly better.
float tryMove(SimplexView& sv, int worst, double f) {
    const float f1 = toFloat((1.0 - f) / sv.n);
    const float f2 = toFloat(f1 - f);
    for (int j = 1; j <= sv.n; ++j)
        sv.scratch[j] =
            toFloat(f1 * static_cast<double>(sv.sum[j]) - f2 * static_cast<double>(sv.x(worst, j)));
    const float y = forwardMisfit(sv.s, sv.scratch, sv.s.modelKind);
    if (y < sv.y(worst)) {
        sv.y(worst) = y;
        for (int j = 1; j <= sv.n; ++j) {
            sv.sum[j] = toFloat(sv.sum[j] + (static_cast<double>(sv.scratch[j]) - sv.x(worst, j)));
            sv.x(worst, j) = sv.scratch[j];
        }
    }
    return y;
}

void shrinkTowards(SimplexView& sv, int best) {
    for (int v = 1; v <= sv.n + 1; ++v) {
        if (v == best) continue;
        for (int j = 1; j <= sv.n; ++j)
            sv.x(v, j) = toFloat(0.5 * (static_cast<double>(sv.x(v, j)) + sv.x(best, j)));
        sv.y(v) = sv.evaluateCopy(v);
    }
    sv.computeSums();
}

struct Ranking {
    int best, worst, nextWorst;
};

Ranking rank(SimplexView& sv) {
    Ranking r{1, 2, 1};
    if (sv.y(1) > sv.y(2)) r = {1, 1, 2};
    for (int i = 1; i <= sv.n + 1; ++i) {
        if (sv.y(i) < sv.y(r.best)) r.best = i;
        if (sv.y(i) > sv.y(r.worst)) {
            r.nextWorst = r.worst;
            r.worst = i;
        } else if (sv.y(i) > sv.y(r.nextWorst) && i != r.worst) {
            r.nextWorst = i;
        }
    }
    return r;
}

// One pass of moves after the ranking.
void movePass(SimplexView& sv, const Ranking& r) {
    float y = tryMove(sv, r.worst, -1.0);
    if (y <= sv.y(r.best)) {
        tryMove(sv, r.worst, 2.0);
        return;
    }
    if (y < sv.y(r.nextWorst)) return;
    const float before = sv.y(r.worst);
    y = tryMove(sv, r.worst, 0.5);
    if (y >= before) shrinkTowards(sv, r.best);
}

void initialSimplex(AnalysisState& s, int n) {
    const std::vector<float> start = s.modelParams;
    s.simplexVertices.assign(static_cast<std::size_t>(n) * (n + 1), 0.0f);
    s.simplexValues.assign(n + 1, 0.0f);
    for (int v = 1; v <= n + 1; ++v) {
        for (int j = 1; j <= n; ++j) {
            float value = start[j];
            if (v == j + 1) value = value * kSimplexScale;
            s.simplexVertices[static_cast<std::size_t>(v - 1) * n + (j - 1)] = value;
        }
    }
    for (int v = 1; v <= n + 1; ++v) {
        std::copy_n(s.simplexVertices.begin() + static_cast<std::ptrdiff_t>(v - 1) * n, n,
                    s.modelParams.begin() + 1);
        s.simplexValues[v - 1] = forwardMisfit(s, s.modelParams, s.modelKind);
    }
}

void chooseBestVertex(AnalysisState& s, int n) {
    float lowest = kNoVertex;
    int chosen = 0;
    for (int v = 1; v <= n + 1; ++v) {
        if (s.simplexValues[v - 1] < lowest) {
            lowest = s.simplexValues[v - 1];
            chosen = v;
        }
    }
    if (chosen == 0) return;  // every misfit undefined or huge: modelParams keeps the last evaluated vertex
    std::copy_n(s.simplexVertices.begin() + static_cast<std::ptrdiff_t>(chosen - 1) * n, n,
                s.modelParams.begin() + 1);
}

}  // namespace

FitEnd simplexSearch(AnalysisState& s, int n, ProgressSink& progress, std::stop_token stop) {
    SimplexView sv(s, n);
    sv.computeSums();
    s.iterationsDone = 0;
    for (;;) {
        if (stop.stop_requested()) return FitEnd::Stopped;
        progress.step(s.iterationsDone + 1);
        const Ranking r = rank(sv);
        const float error = toFloat((static_cast<double>(sv.y(r.best)) + sv.y(r.worst)) * 0.5);
        if (static_cast<std::size_t>(s.iterationsDone) < s.errorHistory.size())
            s.errorHistory[s.iterationsDone] = error;
        if (error < s.convergenceError) return FitEnd::Converged;
        if (s.iterationsDone >= s.maxIterations) return FitEnd::IterationLimit;
        ++s.iterationsDone;
        movePass(sv, r);
    }
}

FitEnd simplexEstimation(AnalysisState& s, ProgressSink& progress, std::stop_token stop) {
    const int n = parameterCount(s.modelKind);
    s.modelParams.resize(n + 1, 0.0f);
    s.paramCount = n;
    for (int i = 1; i <= n && i <= kParamVectorCapacity; ++i) s.paramVector[i - 1] = s.modelParams[i];
    initialSimplex(s, n);
    const FitEnd end = simplexSearch(s, n, progress, stop);
    chooseBestVertex(s, n);
    s.rmsError = forwardMisfit(s, s.modelParams, s.modelKind);
    return end;
}

}  // namespace tolvex
