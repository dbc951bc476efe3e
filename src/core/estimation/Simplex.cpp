#include "core/estimation/Simplex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

constexpr float kNoVertex = 1e20f;
constexpr float kVertexTolerance = 1e-6f;  // relative distance at which vertices coincide

float toFloat(double v) {
    return static_cast<float>(v);
}

// The simplex of the state seen as n+1 vertices of n floats (the free parameters), numbered 1..n+1,
// with a scratch vector for trial points (1-based). A trial is evaluated on the model's whole vector:
// slot[j] is the vector entry of free parameter j, the fixed entries stay as `full` holds them.
struct SimplexView {
    AnalysisState& s;
    int n;
    const VectorControls& controls;
    std::vector<int> slot;
    std::vector<float> full;
    std::vector<float> sum;      // 1-based coordinate sums
    std::vector<float> scratch;  // 1-based

    SimplexView(AnalysisState& state, int count, const VectorControls& c, std::vector<int> slots,
                std::vector<float> vector)
        : s(state),
          n(count),
          controls(c),
          slot(std::move(slots)),
          full(std::move(vector)),
          sum(count + 1, 0.0f),
          scratch(count + 1, 0.0f) {}
    float& x(int v, int j) { return s.simplexVertices[static_cast<std::size_t>(v - 1) * n + (j - 1)]; }
    float& y(int v) { return s.simplexValues[v - 1]; }

    void computeSums() {
        for (int j = 1; j <= n; ++j) {
            float total = 0.0f;
            for (int v = 1; v <= n + 1; ++v) total = toFloat(total + x(v, j));
            sum[j] = total;
        }
    }
    // The misfit of the scratch point; the clamping of the forward model is carried back into it.
    float evaluateScratch() {
        for (int j = 1; j <= n; ++j) full[slot[j]] = scratch[j];
        const float y = forwardMisfit(s, full, s.modelKind);
        for (int j = 1; j <= n; ++j) scratch[j] = full[slot[j]];
        return y;
    }
    // The misfit of vertex v evaluated on a scratch copy: the clamping leaves the vertex as it is.
    float evaluateCopy(int v) {
        for (int j = 1; j <= n; ++j) scratch[j] = x(v, j);
        return evaluateScratch();
    }
};

// Moves the worst vertex through the centroid of the others by the factor f and keeps the trial point
// when it is strictly better.
float tryMove(SimplexView& sv, int worst, double f) {
    const float f1 = toFloat((1.0 - f) / sv.n);
    const float f2 = toFloat(f1 - f);
    for (int j = 1; j <= sv.n; ++j) {
        const float t =
            toFloat(f1 * static_cast<double>(sv.sum[j]) - f2 * static_cast<double>(sv.x(worst, j)));
        sv.scratch[j] = toFloat(sv.controls.clamp(sv.slot[j], t));
    }
    const float y = sv.evaluateScratch();
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

// The initial vertex entry of parameter k: 100 times the start, or the start / 100 when the bounds
// leave no room above it; clamped into the bounds.
float stretched(const VectorControls& c, int k, float start) {
    const float up = start * kSimplexScale;
    const float clamped = toFloat(c.clamp(k, up));
    if (clamped != start || up == start) return clamped;
    return toFloat(c.clamp(k, start / kSimplexScale));
}

void initialSimplex(SimplexView& sv) {
    AnalysisState& s = sv.s;
    const int n = sv.n;
    s.simplexVertices.assign(static_cast<std::size_t>(n) * (n + 1), 0.0f);
    s.simplexValues.assign(n + 1, 0.0f);
    for (int v = 1; v <= n + 1; ++v) {
        for (int j = 1; j <= n; ++j) {
            const int k = sv.slot[j];
            float value = toFloat(sv.controls.clamp(k, sv.full[k]));
            if (v == j + 1) value = stretched(sv.controls, k, value);
            sv.x(v, j) = value;
        }
    }
    for (int v = 1; v <= n + 1; ++v) {
        for (int j = 1; j <= n; ++j) s.modelParams[sv.slot[j]] = sv.x(v, j);
        sv.y(v) = forwardMisfit(s, s.modelParams, s.modelKind);
    }
}

void chooseBestVertex(SimplexView& sv) {
    float lowest = kNoVertex;
    int chosen = 0;
    for (int v = 1; v <= sv.n + 1; ++v) {
        if (sv.y(v) < lowest) {
            lowest = sv.y(v);
            chosen = v;
        }
    }
    if (chosen == 0) return;  // every misfit undefined or huge: modelParams keeps the last evaluated vertex
    for (int j = 1; j <= sv.n; ++j) sv.s.modelParams[sv.slot[j]] = sv.x(chosen, j);
}

// The simplex has collapsed: the misfits of its vertices agree to float precision and every vertex
// lies within 1e-6 (relative) of the best one in every coordinate.
bool collapsed(SimplexView& sv, const Ranking& r) {
    if (!(sv.y(r.worst) - sv.y(r.best) <= std::numeric_limits<float>::epsilon() * std::fabs(sv.y(r.best))))
        return false;
    for (int v = 1; v <= sv.n + 1; ++v) {
        for (int j = 1; j <= sv.n; ++j) {
            const float best = sv.x(r.best, j);
            if (!(std::fabs(sv.x(v, j) - best) <= kVertexTolerance * std::fabs(best))) return false;
        }
    }
    return true;
}

std::vector<int> identitySlots(int n) {
    std::vector<int> slot(n + 1);
    for (int j = 0; j <= n; ++j) slot[j] = j;
    return slot;
}

// The vector entries of the free parameters, 1-based (entry 0 unused).
std::vector<int> freeSlots(int n, const VectorControls& c) {
    std::vector<int> slot{0};
    for (int k = 1; k <= n; ++k) {
        if (!c.isFixed(k)) slot.push_back(k);
    }
    return slot;
}

struct SearchEnd {
    FitEnd end = FitEnd::IterationLimit;
    bool converged = false;
};

SearchEnd search(SimplexView& sv, ProgressSink& progress, std::stop_token stop) {
    AnalysisState& s = sv.s;
    sv.computeSums();
    s.iterationsDone = 0;
    if (sv.n == 0) return {FitEnd::Settled, true};  // every parameter fixed: nothing to search
    progress.begin({ProgressUnit::Iteration, s.maxIterations, 0});
    for (;;) {
        if (stop.stop_requested()) return {FitEnd::Stopped, false};
        progress.step(s.iterationsDone + 1);
        const Ranking r = rank(sv);
        const float error = toFloat((static_cast<double>(sv.y(r.best)) + sv.y(r.worst)) * 0.5);
        if (static_cast<std::size_t>(s.iterationsDone) < s.errorHistory.size())
            s.errorHistory[s.iterationsDone] = error;
        if (error < s.convergenceError) return {FitEnd::Converged, true};
        const bool settled = collapsed(sv, r);
        if (settled && sv.controls.stopWhenConverged) return {FitEnd::Settled, true};
        if (s.iterationsDone >= s.maxIterations) return {FitEnd::IterationLimit, settled};
        ++s.iterationsDone;
        movePass(sv, r);
    }
}

}  // namespace

FitEnd simplexSearch(AnalysisState& s, int n, ProgressSink& progress, std::stop_token stop) {
    const VectorControls unbounded;
    SimplexView sv(s, n, unbounded, identitySlots(n), std::vector<float>(n + 1, 0.0f));
    return search(sv, progress, stop).end;
}

FitEnd simplexEstimation(AnalysisState& s, ProgressSink& progress, std::stop_token stop) {
    return simplexEstimation(s, progress, stop, VectorControls{}).end;
}

FitOutcome simplexEstimation(AnalysisState& s, ProgressSink& progress, std::stop_token stop,
                             const VectorControls& controls) {
    const int n = parameterCount(s.modelKind);
    s.modelParams.resize(n + 1, 0.0f);
    s.paramCount = n;
    for (int i = 1; i <= n && i <= kParamVectorCapacity; ++i) s.paramVector[i - 1] = s.modelParams[i];
    std::vector<int> slots = freeSlots(n, controls);
    const int free = static_cast<int>(slots.size()) - 1;
    SimplexView sv(s, free, controls, std::move(slots), s.modelParams);
    initialSimplex(sv);
    const SearchEnd end = search(sv, progress, stop);
    chooseBestVertex(sv);
    s.rmsError = forwardMisfit(s, s.modelParams, s.modelKind);
    FitOutcome outcome;
    outcome.end = end.end;
    outcome.converged = end.converged;
    const std::vector<double> p(s.modelParams.begin(), s.modelParams.end());
    outcome.atBound = parametersAtBound(s, controls, p);
    return outcome;
}

}  // namespace tolvex
