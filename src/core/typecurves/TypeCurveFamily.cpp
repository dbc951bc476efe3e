#include "core/typecurves/TypeCurveFamily.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/DoublePorosity.h"
#include "core/solutions/PartialPenetration.h"
#include "core/solutions/SlugTest.h"
#include "core/solutions/Unconfined.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/state/Accuracy.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/LogGrid.h"

namespace tolvex {
namespace {

enum class Progress { None, AfterAbscissa, BeforeCurve, AfterCurve };

// What a family needs: its grids (the stored floats and the arguments passed to the well function,
// which for some models are the unrounded grid values) and the well function of one point.
struct FamilyPlan {
    int nx = 0;
    int nf = 1;
    std::vector<float> curveX;  // 1-based
    std::vector<double> xArg;   // 1-based
    std::vector<float> labels;  // empty: familyValues stay as they are (confined model)
    std::vector<double> pArg;
    Progress progress = Progress::None;
    std::function<double(double, double)> value;
};

void abscissaGrid(FamilyPlan& plan, double min, double max, int n) {
    plan.nx = n;
    plan.curveX.assign(n + 1, 0.0f);
    plan.xArg.assign(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) {
        plan.xArg[i] = logGridValue(min, max, n, i - 1);
        plan.curveX[i] = static_cast<float>(plan.xArg[i]);
    }
}

void familyGrid(FamilyPlan& plan, double min, double max, int n) {
    plan.nf = n;
    plan.labels.assign(n, 0.0f);
    plan.pArg.assign(n, 0.0);
    for (int k = 0; k < n; ++k) {
        plan.pArg[k] = logGridValue(min, max, n, k);
        plan.labels[k] = static_cast<float>(plan.pArg[k]);
    }
}

// The curves of models 0-4 are plotted against 1/u: u is the stored float abscissa inverted in double.
void invertAbscissa(FamilyPlan& plan) {
    for (int i = 1; i <= plan.nx; ++i) plan.xArg[i] = 1.0 / plan.curveX[i];
}

// Some families pass the stored float labels themselves to the well function.
void labelsAsArguments(FamilyPlan& plan) {
    plan.pArg.assign(plan.labels.begin(), plan.labels.end());
}

// A table of u values in ascending u gives 1/u in ascending order when read backwards.
void reciprocalTable(FamilyPlan& plan, const std::vector<float>& uList, int count) {
    plan.nx = std::min<int>(count, static_cast<int>(uList.size()));
    plan.curveX.assign(plan.nx + 1, 0.0f);
    for (int i = 1; i <= plan.nx; ++i) plan.curveX[plan.nx + 1 - i] = static_cast<float>(1.0 / uList[i - 1]);
    plan.xArg.assign(plan.nx + 1, 0.0);
}

void tableLabels(FamilyPlan& plan, const std::vector<float>& list, int count) {
    plan.nf = std::min<int>(count, static_cast<int>(list.size()));
    plan.labels.assign(list.begin(), list.begin() + plan.nf);
}

FamilyPlan confinedPlan(AnalysisState& s) {
    FamilyPlan plan;
    if (s.tcTheisUniform == 1) {  // Wenzel (1942)
        reciprocalTable(plan, s.uList144, s.uListCount);
        s.tcTheisCount = plan.nx;
        s.tcTheisMin = static_cast<float>(1.0 / s.uList144[plan.nx - 1]);
        s.tcTheisMax = static_cast<float>(1.0 / s.uList144[0]);
    } else {
        abscissaGrid(plan, s.tcTheisMin, s.tcTheisMax, s.tcTheisCount);
    }
    invertAbscissa(plan);
    plan.pArg.assign(1, 0.0);
    if (highAccuracy(s))
        plan.value = [](double u, double) { return accurate::theisW(u); };
    else
        plan.value = [](double u, double) { return confinedW(u); };
    return plan;
}

FamilyPlan partialPlan(const AnalysisState& s) {
    FamilyPlan plan;
    abscissaGrid(plan, s.tcPpMin, s.tcPpMax, s.tcPpCount);
    invertAbscissa(plan);
    familyGrid(plan, s.tcPpAnisMin, s.tcPpAnisMax, s.tcPpAnisCount);
    const bool piezometer = s.ppObsKind == 0;
    const double l = piezometer ? s.ppPiezoL : s.ppWellL, d = piezometer ? s.ppPiezoD : s.ppWellD;
    const double lo = piezometer ? -1.0 : s.ppObsL, dz = piezometer ? s.ppPiezoZ : s.ppObsD;
    plan.progress = Progress::AfterCurve;
    if (highAccuracy(s))
        plan.value = [=](double u, double x) { return accurate::partialW(u, x, l, d, lo, dz); };
    else
        plan.value = [=](double u, double x) { return partialW(u, x, l, d, lo, dz); };
    return plan;
}

// The range fields of a family on the 1/u axis with a published table of u and family values.
struct HantushRanges {
    float AnalysisState::*min;
    float AnalysisState::*max;
    int AnalysisState::*count;
    float AnalysisState::*familyMin;
    float AnalysisState::*familyMax;
    int AnalysisState::*familyCount;
};

// Hantush's leaky families (1956, 1961): from the range fields, or from the published u and family
// tables, whose extent and counts then overwrite the range fields.
FamilyPlan hantushPlan(AnalysisState& s, bool table, const std::vector<float>& uList, int uCount,
                       const std::vector<float>& familyList, int familyCount, const HantushRanges& r) {
    FamilyPlan plan;
    if (table) {
        reciprocalTable(plan, uList, uCount);
        tableLabels(plan, familyList, familyCount);
        s.*r.count = plan.nx;
        s.*r.familyCount = plan.nf;
        s.*r.min = static_cast<float>(1.0 / uList[plan.nx - 1]);
        s.*r.max = static_cast<float>(1.0 / uList[0]);
        s.*r.familyMin = plan.labels.front();
        s.*r.familyMax = plan.labels.back();
    } else {
        abscissaGrid(plan, s.*r.min, s.*r.max, s.*r.count);
        familyGrid(plan, s.*r.familyMin, s.*r.familyMax, s.*r.familyCount);
    }
    invertAbscissa(plan);
    labelsAsArguments(plan);
    plan.progress = Progress::AfterAbscissa;
    return plan;
}

FamilyPlan leakyPlan(AnalysisState& s) {
    using S = AnalysisState;
    FamilyPlan plan =
        hantushPlan(s, s.tcLeakyUniform == 1, s.leakyUList, s.leakyUCount, s.leakyRbList, s.leakyRbCount,
                    {&S::tcLeakyMin, &S::tcLeakyMax, &S::tcLeakyCount, &S::tcLeakyRbMin, &S::tcLeakyRbMax,
                     &S::tcLeakyRbCount});
    if (highAccuracy(s))
        plan.value = [](double u, double rB) { return accurate::leakyW(u, rB); };
    else
        plan.value = [](double u, double rB) { return leakyW(u, rB); };
    return plan;
}

FamilyPlan leakyPartialPlan(const AnalysisState& s) {
    FamilyPlan plan;
    abscissaGrid(plan, s.tcLppMin, s.tcLppMax, s.tcLppCount);
    invertAbscissa(plan);
    familyGrid(plan, s.tcLppBetaMin, s.tcLppBetaMax, s.tcLppBetaCount);
    const bool piezometer = s.lppObsKind == 0;
    const double x = piezometer ? s.lppPiezoAnis : s.lppWellAnis;
    const double l = piezometer ? s.lppPiezoL : s.lppWellL, d = piezometer ? s.lppPiezoD : s.lppWellD;
    const double lo = piezometer ? -1.0 : s.lppObsL, dz = piezometer ? s.lppPiezoZ : s.lppObsD;
    plan.progress = Progress::AfterAbscissa;
    if (highAccuracy(s)) {
        plan.value = [=](double u, double beta) { return accurate::partialLeakyW(u, x, beta, l, d, lo, dz); };
    } else {
        plan.value = [=](double u, double beta) { return partialLeakyW(u, x, beta, l, d, lo, dz); };
    }
    return plan;
}

FamilyPlan storagePlan(AnalysisState& s) {
    using S = AnalysisState;
    FamilyPlan plan =
        hantushPlan(s, s.tcStorUniform == 1, s.storUList, s.storUCount, s.storBetaList, s.storBetaCount,
                    {&S::tcStorMin, &S::tcStorMax, &S::tcStorCount, &S::tcStorBetaMin, &S::tcStorBetaMax,
                     &S::tcStorBetaCount});
    if (highAccuracy(s))
        plan.value = [](double u, double beta) { return accurate::storageH(u, beta); };
    else
        plan.value = [&s](double u, double beta) { return storageH(u, beta, s); };
    return plan;
}

FamilyPlan slugPlan(const AnalysisState& s) {
    FamilyPlan plan;
    abscissaGrid(plan, s.tcSlugBetaMin, s.tcSlugBetaMax, s.tcSlugBetaCount);
    familyGrid(plan, s.tcSlugAlphaMin, s.tcSlugAlphaMax, s.tcSlugAlphaCount);
    plan.progress = Progress::BeforeCurve;
    if (highAccuracy(s))
        plan.value = [](double beta, double alpha) { return accurate::slugF(beta, alpha); };
    else
        plan.value = [&s](double beta, double alpha) { return slugF(beta, alpha, s); };
    return plan;
}

FamilyPlan unconfinedPlan(AnalysisState& s) {
    FamilyPlan plan;
    if (s.tcAltUniform == 1) {  // Neuman (1975): td as published, not inverted
        plan.nx = std::min<int>(s.altTimeCount, static_cast<int>(s.altTimeList.size()));
        plan.curveX.assign(plan.nx + 1, 0.0f);
        std::copy_n(s.altTimeList.begin(), plan.nx, plan.curveX.begin() + 1);
        tableLabels(plan, s.altParamList, s.altParamCount);
        s.tcMnTdCount = plan.nx;
        s.tcMnKzCount = plan.nf;
        s.tcMnTdMin = plan.curveX[1];
        s.tcMnTdMax = plan.curveX[plan.nx];
        s.tcMnKzMin = plan.labels.front();
        s.tcMnKzMax = plan.labels.back();
    } else {
        abscissaGrid(plan, s.tcMnTdMin, s.tcMnTdMax, s.tcMnTdCount);
        familyGrid(plan, s.tcMnKzMin, s.tcMnKzMax, s.tcMnKzCount);
    }
    plan.xArg.assign(plan.curveX.begin(), plan.curveX.end());
    labelsAsArguments(plan);
    const double sigma = s.mnStorageRatio;
    const UnconfinedGeometry geometry = unconfinedTypeCurveGeometry(s);
    plan.progress = Progress::BeforeCurve;
    if (highAccuracy(s)) {
        plan.value = [sigma, geometry](double td, double beta) {
            return accurate::unconfinedW(td, beta, sigma, geometry);
        };
    } else {
        plan.value = [&s, sigma, geometry](double td, double beta) {
            return unconfinedW(td, beta, sigma, geometry, s);
        };
    }
    return plan;
}

FamilyPlan doublePorosityPlan(const AnalysisState& s, bool warrenRoot) {
    FamilyPlan plan;
    if (warrenRoot) {
        abscissaGrid(plan, s.tcWrTdMin, s.tcWrTdMax, s.tcWrTdCount);
        familyGrid(plan, s.tcWrLambdaMin, s.tcWrLambdaMax, s.tcWrLambdaCount);
    } else {
        abscissaGrid(plan, s.tcBsTdMin, s.tcBsTdMax, s.tcBsTdCount);
        familyGrid(plan, s.tcBsGammaMin, s.tcBsGammaMax, s.tcBsGammaCount);
        // The family is labelled by (gamma rd)^2; the slab solution takes gamma rd itself.
        for (double& p : plan.pArg) p = std::sqrt(p);
    }
    const double sigma = warrenRoot ? s.tcWrSigma : s.tcBsSigma;
    const int variant = warrenRoot ? kWarrenRoot : kSlab;
    plan.progress = Progress::BeforeCurve;
    if (highAccuracy(s)) {
        plan.value = [sigma, variant](double td, double p) {
            return accurate::doublePorosityW(td, p, sigma, variant);
        };
    } else {
        plan.value = [&s, sigma, variant](double td, double p) {
            return doublePorosityW(td, p, sigma, variant, s);
        };
    }
    return plan;
}

FamilyPlan planFamily(AnalysisState& s) {
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            return confinedPlan(s);
        case ModelKind::PartialPenetration:
            return partialPlan(s);
        case ModelKind::Leaky:
            return leakyPlan(s);
        case ModelKind::LeakyPartial:
            return leakyPartialPlan(s);
        case ModelKind::LeakyStorage:
            return storagePlan(s);
        case ModelKind::SlugTest:
            return slugPlan(s);
        case ModelKind::Unconfined:
            return unconfinedPlan(s);
        case ModelKind::WarrenRoot:
            return doublePorosityPlan(s, true);
        default:
            return doublePorosityPlan(s, false);
    }
}

// Steps the progress counter for the outer units (curves or abscissae) up to `done`, in order.
void reportProgress(const FamilyPlan& plan, ProgressSink& progress, int& reported, int done) {
    for (; reported < done; ++reported) {
        if (plan.progress == Progress::BeforeCurve) progress.step(reported + 1);
        if (plan.progress == Progress::AfterAbscissa) progress.step(reported + 1);
        if (plan.progress == Progress::AfterCurve) progress.step(reported);
    }
}

// Evaluates every point. The points are independent and each writes its own element, so they are
// shared among the threads in one parallel loop and the values do not depend on the number of threads.
// Points are taken in the published order (curve by curve, or abscissa by abscissa) in blocks of
// kBlock: a thread computes a block, then counts it off the units it covers with one atomic operation
// per unit, so that the threads do not contend for the counters point by point. The first thread
// reports the progress of the units completed so far, so the counter still runs 1, 2, ... in order.
bool evaluatePlan(const FamilyPlan& plan, std::vector<float>& y, ProgressSink& progress, std::stop_token stop,
                  int threads) {
    constexpr long kBlock = 16;
    const bool byAbscissa = plan.progress == Progress::AfterAbscissa;
    const int outerCount = byAbscissa ? plan.nx : plan.nf;
    const int innerCount = byAbscissa ? plan.nf : plan.nx;
    const long total = static_cast<long>(outerCount) * innerCount;
    const long blocks = (total + kBlock - 1) / kBlock;
    std::vector<std::atomic<int>> remaining(outerCount);
    for (auto& r : remaining) r.store(innerCount);
    int reported = 0;
    int completed = 0;  // leading units done, as seen by the first thread
    if (plan.progress != Progress::None) {
        progress.begin({byAbscissa ? ProgressUnit::Point : ProgressUnit::Curve, outerCount,
                        plan.progress == Progress::AfterCurve ? 1 : 0});
    }
#pragma omp parallel for schedule(dynamic, 1) num_threads(threads) if (threads > 1)
    for (long b = 0; b < blocks; ++b) {
        if (stop.stop_requested()) continue;
        const long end = std::min(total, (b + 1) * kBlock);
        for (long t = b * kBlock; t < end;) {
            const int o = static_cast<int>(t / innerCount);
            const long unitEnd = std::min(end, static_cast<long>(o + 1) * innerCount);
            const int points = static_cast<int>(unitEnd - t);
            for (; t < unitEnd; ++t) {
                const int in = static_cast<int>(t % innerCount);
                const int i = byAbscissa ? o + 1 : in + 1;
                const int k = byAbscissa ? in : o;
                y[static_cast<std::size_t>(k) * plan.nx + i] =
                    static_cast<float>(plan.value(plan.xArg[i], plan.pArg[k]));
            }
            remaining[o].fetch_sub(points);
        }
        if (omp_get_thread_num() == 0) {
            while (completed < outerCount && remaining[completed].load() == 0) ++completed;
            reportProgress(plan, progress, reported, completed);
        }
    }
    if (stop.stop_requested()) return false;
    reportProgress(plan, progress, reported, outerCount);
    return true;
}

struct AxisCheck {
    const char* minName;
    float min;
    const char* maxName;
    float max;
    const char* countName;
    int count;
    int maxCount;
};

std::vector<AxisCheck> rangesOf(const AnalysisState& s) {
    constexpr int kAxis = std::numeric_limits<int>::max();  // the document's limit: checkFamilySize
    constexpr int kFamily = kFamilyCapacity;
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            if (s.tcTheisUniform == 1) return {};
            return {{"tcTheisMin", s.tcTheisMin, "tcTheisMax", s.tcTheisMax, "tcTheisCount", s.tcTheisCount,
                     kAxis}};
        case ModelKind::PartialPenetration:
            return {{"tcPpMin", s.tcPpMin, "tcPpMax", s.tcPpMax, "tcPpCount", s.tcPpCount, kAxis},
                    {"tcPpAnisMin", s.tcPpAnisMin, "tcPpAnisMax", s.tcPpAnisMax, "tcPpAnisCount",
                     s.tcPpAnisCount, kFamily}};
        case ModelKind::Leaky:
            if (s.tcLeakyUniform == 1) return {};
            return {{"tcLeakyMin", s.tcLeakyMin, "tcLeakyMax", s.tcLeakyMax, "tcLeakyCount", s.tcLeakyCount,
                     kAxis},
                    {"tcLeakyRbMin", s.tcLeakyRbMin, "tcLeakyRbMax", s.tcLeakyRbMax, "tcLeakyRbCount",
                     s.tcLeakyRbCount, kFamily}};
        case ModelKind::LeakyPartial:
            return {{"tcLppMin", s.tcLppMin, "tcLppMax", s.tcLppMax, "tcLppCount", s.tcLppCount, kAxis},
                    {"tcLppBetaMin", s.tcLppBetaMin, "tcLppBetaMax", s.tcLppBetaMax, "tcLppBetaCount",
                     s.tcLppBetaCount, kFamily}};
        case ModelKind::LeakyStorage:
            if (s.tcStorUniform == 1) return {};
            return {{"tcStorMin", s.tcStorMin, "tcStorMax", s.tcStorMax, "tcStorCount", s.tcStorCount, kAxis},
                    {"tcStorBetaMin", s.tcStorBetaMin, "tcStorBetaMax", s.tcStorBetaMax, "tcStorBetaCount",
                     s.tcStorBetaCount, kFamily}};
        case ModelKind::SlugTest:
            return {{"tcSlugBetaMin", s.tcSlugBetaMin, "tcSlugBetaMax", s.tcSlugBetaMax, "tcSlugBetaCount",
                     s.tcSlugBetaCount, kAxis},
                    {"tcSlugAlphaMin", s.tcSlugAlphaMin, "tcSlugAlphaMax", s.tcSlugAlphaMax,
                     "tcSlugAlphaCount", s.tcSlugAlphaCount, kFamily}};
        case ModelKind::Unconfined:
            if (s.tcAltUniform == 1) return {};
            return {
                {"tcMnTdMin", s.tcMnTdMin, "tcMnTdMax", s.tcMnTdMax, "tcMnTdCount", s.tcMnTdCount, kAxis},
                {"tcMnKzMin", s.tcMnKzMin, "tcMnKzMax", s.tcMnKzMax, "tcMnKzCount", s.tcMnKzCount, kFamily}};
        case ModelKind::WarrenRoot:
            return {{"tcWrTdMin", s.tcWrTdMin, "tcWrTdMax", s.tcWrTdMax, "tcWrTdCount", s.tcWrTdCount, kAxis},
                    {"tcWrLambdaMin", s.tcWrLambdaMin, "tcWrLambdaMax", s.tcWrLambdaMax, "tcWrLambdaCount",
                     s.tcWrLambdaCount, kFamily}};
        case ModelKind::BoultonStreltsova:
            return {{"tcBsTdMin", s.tcBsTdMin, "tcBsTdMax", s.tcBsTdMax, "tcBsTdCount", s.tcBsTdCount, kAxis},
                    {"tcBsGammaMin", s.tcBsGammaMin, "tcBsGammaMax", s.tcBsGammaMax, "tcBsGammaCount",
                     s.tcBsGammaCount, kFamily}};
        default:
            return {};
    }
}

std::string text(double v) {
    return formatGeneral(v, 6);
}

std::optional<TypeCurveRangeFault> checkAxis(const AxisCheck& a) {
    const std::string count = std::string(a.countName) + " = " + std::to_string(a.count);
    if (a.count < 2) {
        return TypeCurveRangeFault{a.countName, "enter an integer of at least 2",
                                   "The number of points must be at least 2 (" + count + ")."};
    }
    if (a.count > a.maxCount) {
        if (a.maxCount == kFamilyCapacity) {
            return TypeCurveRangeFault{a.countName, "enter at most 100: a family holds at most 100 curves",
                                       "A family holds at most 100 curves (" + count + ")."};
        }
        return TypeCurveRangeFault{
            a.countName, "enter at most " + std::to_string(a.maxCount),
            "The number of points must not exceed " + std::to_string(a.maxCount) + " (" + count + ")."};
    }
    for (const auto& [name, value] : {std::pair{a.minName, a.min}, std::pair{a.maxName, a.max}}) {
        if (!(value > 0.0f) || !std::isfinite(value)) {
            return TypeCurveRangeFault{
                name, "enter a number greater than 0",
                "A range bound must be a positive number (" + std::string(name) + " = " + text(value) + ")."};
        }
    }
    if (a.min > a.max) {
        return TypeCurveRangeFault{a.minName, "enter a number not above the maximum (" + text(a.max) + ")",
                                   "The minimum must not exceed the maximum (" + std::string(a.minName) +
                                       " = " + text(a.min) + ", " + a.maxName + " = " + text(a.max) + ")."};
    }
    return std::nullopt;
}

}  // namespace

bool hasTypeCurves(int modelKind) {
    return modelKind >= 0 && modelKind <= kLastTypeCurveModel;
}

bool usesPublishedTable(const AnalysisState& s) {
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            return s.tcTheisUniform == 1;
        case ModelKind::Leaky:
            return s.tcLeakyUniform == 1;
        case ModelKind::LeakyStorage:
            return s.tcStorUniform == 1;
        case ModelKind::Unconfined:
            return s.tcAltUniform == 1;
        default:
            return false;
    }
}

bool typeCurvesShowProgress(int modelKind) {
    return hasTypeCurves(modelKind) && modelKind != 0;
}

// A family whose curveXCount or curveYCount would not fit a 16-bit word could be computed but never
// saved: it is refused before any point is computed, with the largest abscissa count that fits.
std::optional<TypeCurveRangeFault> checkFamilySize(const std::vector<AxisCheck>& axes) {
    const AxisCheck& x = axes.front();
    const long long curves = axes.size() > 1 ? axes[1].count : 1;
    if (static_cast<long long>(x.count) * curves <= kMaxFamilyValues) return std::nullopt;
    const long long largest = kMaxFamilyValues / curves;
    std::string text = "The document can save at most " + std::to_string(largest) + " points per curve";
    if (curves > 1) text += " for " + std::to_string(curves) + " curves";
    std::string remedy = "enter at most " + std::to_string(largest);
    if (curves > 1) remedy += " with " + std::to_string(curves) + " curves";
    return TypeCurveRangeFault{
        x.countName, remedy + ": the document cannot save more points",
        text + " (" + x.countName + " = " + std::to_string(x.count) + "): choose fewer points."};
}

std::optional<TypeCurveRangeFault> typeCurveRangeFault(const AnalysisState& state) {
    const std::vector<AxisCheck> axes = rangesOf(state);
    for (const AxisCheck& axis : axes) {
        if (auto fault = checkAxis(axis)) return fault;
    }
    if (!axes.empty()) return checkFamilySize(axes);
    return std::nullopt;
}

std::optional<std::string> checkTypeCurveRanges(const AnalysisState& state) {
    if (auto fault = typeCurveRangeFault(state)) return fault->message;
    return std::nullopt;
}

bool computeTypeCurves(AnalysisState& state, ProgressSink& progress, std::stop_token stop,
                       const TypeCurveOptions& options) {
    if (!hasTypeCurves(state.modelKind)) {
        state.typeCurvesReady = 0;
        return true;
    }
    const FamilyPlan plan = planFamily(state);
    std::vector<float> y(static_cast<std::size_t>(plan.nx) * plan.nf + 1, 0.0f);
    // The Theis and Hantush leaky families cost microseconds: starting threads would cost more.
    const bool closedForm = state.modelKind == 0 || state.modelKind == 2;
    const int threads = options.threads > 0 ? options.threads : (closedForm ? 1 : omp_get_max_threads());
    if (!evaluatePlan(plan, y, progress, stop, threads)) return false;

    state.curveX = plan.curveX;
    state.curveXCount = plan.nx + 1;
    state.curveY = std::move(y);
    state.curveYCount = static_cast<int>(state.curveY.size());
    state.familyCount = plan.nf;
    std::copy(plan.labels.begin(), plan.labels.end(), state.familyValues.begin());
    state.typeCurvesReady = 1;
    return true;
}

}  // namespace tolvex
