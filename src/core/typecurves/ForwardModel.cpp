#include "core/typecurves/ForwardModel.h"

#include <omp.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/numerics/Constants.h"
#include "core/pumping/RateScheduleChecks.h"
#include "core/pumping/Superposition.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/DoublePorosity.h"
#include "core/solutions/PartialPenetration.h"
#include "core/solutions/SlugTest.h"
#include "core/solutions/Unconfined.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/state/Accuracy.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/WellFunctionValues.h"

namespace tolvex {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

float asFloat(double v) {
    return static_cast<float>(v);
}

// Screen geometry of a partially penetrating well: the pumping-well screen (l, d) and either a
// piezometer at depth z (lo = -1, dz = z) or an observation-well screen (lo, dz).
struct Screens {
    double l, d, lo, dz;
};

Screens nonleakyScreens(const AnalysisState& s, const ObservationGeometry& g) {
    if (g.ppObsKind == 0) return {s.ppPiezoL, s.ppPiezoD, -1.0, g.ppPiezoZ};
    return {s.ppWellL, s.ppWellD, g.ppObsL, g.ppObsD};
}

Screens leakyScreens(const AnalysisState& s, const ObservationGeometry& g) {
    if (g.lppObsKind == 0) return {s.lppPiezoL, s.lppPiezoD, -1.0, g.lppPiezoZ};
    return {s.lppWellL, s.lppWellD, g.lppObsL, g.lppObsD};
}

UnconfinedGeometry siteUnconfinedGeometry(const AnalysisState& s, const ObservationGeometry& g) {
    UnconfinedGeometry u = unconfinedGeometry(s);
    u.z = g.mnZ;
    u.z1 = g.mnZ1;
    u.z2 = g.mnZ2;
    u.form = g.mnObsKind;
    return u;
}

// One evaluation: the state's aquifer and well, the site's distance and geometry, the times asked for.
struct Where {
    const AnalysisState& s;
    const ObservationSite& site;
    std::span<const double> times;
};

// Fewest times shared among threads: below it starting the threads costs more than they save. A
// closed form or short series costs some 20 ns a time, so only long records (a logger's thousands of
// readings) are worth sharing.
constexpr long kParallelTimes = 8;
constexpr long kParallelCheapTimes = 4096;

// How a model's times are evaluated: closed forms and series one after another unless the record is
// long; a quadrature or a Laplace inversion per time (models 3-8) shared among the OpenMP threads.
enum class Cost { Cheap, Costly };

// At t = 0 the aquifer has not yet answered the pumping: the drawdown is 0 (models 0-4, whose well
// functions tend to 0 as u = U/t grows without bound) and the normalized slug-test head is 1 (model 5).
// The Laplace inversions of models 6-8 have no value there; checkMisfitInputs refuses it for them.
// Each time writes only its own element, so the values do not depend on the number of threads. Inside
// a parallel region (a family or a caller's own loop) the times stay on the calling thread.
template <class Value>
void fill(const Where& w, std::span<double> out, double atTimeZero, Cost cost, Value&& value) {
    const long n = static_cast<long>(out.size());
    const auto at = [&](long i) { return w.times[i] == 0.0 ? atTimeZero : value(w.times[i]); };
    if (n < (cost == Cost::Cheap ? kParallelCheapTimes : kParallelTimes) || omp_in_parallel()) {
        for (long i = 0; i < n; ++i) out[i] = at(i);  // no parallel region at all: it costs microseconds
        return;
    }
    if (cost == Cost::Cheap) {
#pragma omp parallel for schedule(static)
        for (long i = 0; i < n; ++i) out[i] = at(i);
        return;
    }
#pragma omp parallel for schedule(dynamic, 4)
    for (long i = 0; i < n; ++i) out[i] = at(i);
}

// Drawdown scale Q/(4 pi T) and u factor r^2 S/(4 T) of the Theis family of solutions.
float drawdownScale(const Where& w, double transmissivity) {
    return asFloat(w.s.pumpingRate / (4.0 * kProgramPi * transmissivity));
}
float uFactor(const Where& w, double storativity, double transmissivity) {
    const double r = w.site.radialDistance;
    return asFloat(r * r * storativity / (4.0 * transmissivity));
}

// a r / b with a = sqrt(Kz/Kr) and Kr = T/b (Hantush 1961).
float anisotropy(const Where& w, double kz, double transmissivity) {
    const double b = w.s.aquiferThickness;
    return asFloat(std::sqrt(kz / (transmissivity / b)) * (w.site.radialDistance / b));
}

void confinedFamily(const Where& w, int kind, std::span<const double> q, std::span<double> out) {
    const AnalysisState& s = w.s;
    const double S = q[1], T = q[2];
    const double U = uFactor(w, S, T);
    const double C = drawdownScale(w, T);
    const double r = w.site.radialDistance;
    const bool high = highAccuracy(s);
    // The accurate integrals and sums cost some microseconds a value: shared among the threads.
    const Cost series = high ? Cost::Costly : Cost::Cheap;
    switch (static_cast<ModelKind>(kind)) {
        case ModelKind::Theis:
            fill(w, out, 0.0, Cost::Cheap,
                 [&](double t) { return C * (high ? accurate::theisW(U / t) : confinedW(U / t)); });
            break;
        case ModelKind::PartialPenetration: {
            const double arb = anisotropy(w, q[3], T);
            const Screens g = nonleakyScreens(s, w.site.geometry);
            fill(w, out, 0.0, series, [&](double t) {
                return C * (high ? accurate::partialW(U / t, arb, g.l, g.d, g.lo, g.dz)
                                 : partialW(U / t, arb, g.l, g.d, g.lo, g.dz));
            });
            break;
        }
        case ModelKind::Leaky: {
            const double rB = asFloat(r / std::sqrt(T * q[3]));
            fill(w, out, 0.0, series,
                 [&](double t) { return C * (high ? accurate::leakyW(U / t, rB) : leakyW(U / t, rB)); });
            break;
        }
        case ModelKind::LeakyPartial: {
            const double rB = asFloat(r / std::sqrt(s.upperBedThickness * T / q[4]));
            const double arb = anisotropy(w, q[3], T);
            const Screens g = leakyScreens(s, w.site.geometry);
            fill(w, out, 0.0, Cost::Costly, [&](double t) {
                return C * (high ? accurate::partialLeakyW(U / t, arb, rB, g.l, g.d, g.lo, g.dz)
                                 : partialLeakyW(U / t, arb, rB, g.l, g.d, g.lo, g.dz));
            });
            break;
        }
        default: {
            // Hantush (1960): beta = (r/4) (sqrt(K'S'/(b'TS)) + sqrt(K''S''/(b''TS))).
            const double beta = asFloat(r / 4.0 *
                                        (std::sqrt(q[3] * q[5] / (s.upperBedThickness * T * S)) +
                                         std::sqrt(q[4] * q[6] / (s.lowerBedThickness * T * S))));
            fill(w, out, 0.0, Cost::Costly, [&](double t) {
                return C * (high ? accurate::storageH(U / t, beta) : storageH(U / t, beta, s));
            });
            break;
        }
    }
}

void slugTest(const Where& w, std::span<const double> q, std::span<double> out) {
    const AnalysisState& s = w.s;
    const double rc2 = static_cast<double>(s.casingRadius) * s.casingRadius;
    const double alpha = asFloat(static_cast<double>(s.wellRadius) * s.wellRadius * q[1] / rc2);
    const double betaFactor = asFloat(q[2] / rc2);
    if (highAccuracy(s)) {
        fill(w, out, 1.0, Cost::Costly, [&](double t) { return accurate::slugF(betaFactor * t, alpha); });
        return;
    }
    const SlugKernel kernel(alpha, s);
    fill(w, out, 1.0, Cost::Costly, [&](double t) { return kernel.value(betaFactor * t); });
}

void unconfined(const Where& w, std::span<const double> q, std::span<double> out) {
    const AnalysisState& s = w.s;
    const double S = q[1], T = q[2], kz = q[3], sy = q[4];
    const double r2 = static_cast<double>(w.site.radialDistance) * w.site.radialDistance;
    const double C = drawdownScale(w, T);
    const double beta = asFloat(kz * r2 / (s.aquiferThickness * T));
    const double sigma = asFloat(S / sy);
    const double timeFactor = asFloat(T / (S * r2));
    const UnconfinedGeometry geometry = siteUnconfinedGeometry(s, w.site.geometry);
    const bool high = highAccuracy(s);
    fill(w, out, kNoValue, Cost::Costly, [&](double t) {
        return C * (high ? accurate::unconfinedW(timeFactor * t, beta, sigma, geometry)
                         : unconfinedW(timeFactor * t, beta, sigma, geometry, s));
    });
}

void doublePorosity(const Where& w, int kind, std::span<const double> q, std::span<double> out) {
    const AnalysisState& s = w.s;
    const double sf = q[1], tf = q[2], sm = q[3], tm = q[4];
    const double r = w.site.radialDistance;
    const double bs = s.slabThickness;
    const double C = drawdownScale(w, tf);
    const double sigma = asFloat(sm / sf);
    const double timeFactor = asFloat(tf / (sf * r * r));
    // Warren and Root: lambda = 12 Tm r^2/(Tf bs^2); slabs: gamma = 2 r sqrt(Tm/Tf)/bs (Moench 1984).
    const double param =
        kind == 7 ? asFloat(12.0 * tm * r * r / (tf * bs * bs)) : asFloat(2.0 * r * std::sqrt(tm / tf) / bs);
    const int variant = kind == 7 ? kWarrenRoot : kSlab;
    const bool high = highAccuracy(s);
    fill(w, out, kNoValue, Cost::Costly, [&](double t) {
        return C * (high ? accurate::doublePorosityW(timeFactor * t, param, sigma, variant)
                         : doublePorosityW(timeFactor * t, param, sigma, variant, s));
    });
}

// "Measurement N", and in joined series which series it belongs to: the joined index means nothing to
// the user.
std::string measurementName(const AnalysisState& state, int index) {
    for (const JointSegment& segment : state.joint.segments) {
        if (index < segment.offset || index >= segment.offset + segment.count) continue;
        const std::string& name =
            segment.series == 0
                ? state.firstSeries.name
                : state.extraSeries[static_cast<std::size_t>(segment.series - 1)].settings.name;
        return "Used measurement " + std::to_string(index - segment.offset + 1) + " of " +
               (name.empty() ? "series " + std::to_string(segment.series + 1) : "series \"" + name + "\"");
    }
    return "Measurement " + std::to_string(index + 1);
}

// The format's %s are the measurement's name and the value.
std::string describe(const AnalysisState& state, const char* format, int index, double value) {
    char buffer[320];
    std::snprintf(buffer, sizeof buffer, format, measurementName(state, index).c_str(),
                  formatGeneral(value, 6).c_str());
    return buffer;
}

}  // namespace

void clampParameters(std::span<float> p, int modelKind) {
    const int clamped = clampedCount(modelKind);
    for (int j = 1; j <= clamped && j < static_cast<int>(p.size()); ++j) {
        if (!(p[j] >= static_cast<float>(kParameterFloor))) p[j] = static_cast<float>(kParameterFloor);
        if (p[j] > static_cast<float>(kParameterCeiling)) p[j] = static_cast<float>(kParameterCeiling);
    }
}

namespace {

// The drawdowns of the constant pumpingRate from time 0: the classic test, and each step's well of a
// rate schedule.
void constantRateDrawdownsAt(const AnalysisState& state, const ObservationSite& site, int modelKind,
                             std::span<const double> q, std::span<const double> times,
                             std::span<double> out) {
    const Where w{state, site, times};
    if (modelKind >= 0 && modelKind <= 4) {
        confinedFamily(w, modelKind, q, out);
    } else if (modelKind == 5) {
        slugTest(w, q, out);
    } else if (modelKind == 6) {
        unconfined(w, q, out);
    } else if (modelKind == 7 || modelKind == 8) {
        doublePorosity(w, modelKind, q, out);
    }
}

// The models whose drawdown is linear in the rate with an aquifer that does not change in time, and
// which this program superposes: Theis, the leaky aquifer of Hantush and Jacob, Hantush's (1960)
// aquitard storage and the two double-porosity models. Partial penetration and the unconfined aquifer
// would superpose too but are not offered; a slug test has no rate.
bool superposesInTime(int modelKind) {
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::Theis:
        case ModelKind::Leaky:
        case ModelKind::LeakyStorage:
        case ModelKind::WarrenRoot:
        case ModelKind::BoultonStreltsova:
            return true;
        default:
            return false;
    }
}

}  // namespace

void computeDrawdownsAt(const AnalysisState& state, const ObservationSite& site, int modelKind,
                        std::span<const double> q, std::span<const double> times, std::span<double> out) {
    if (state.rateSchedule.empty()) {
        constantRateDrawdownsAt(state, site, modelKind, q, times, out);
        return;
    }
    // checkRateScheduleInputs refuses these before any fit or simulation; never a classic answer.
    if (!superposesInTime(modelKind) || state.pumpingRate == 0.0f || checkRateSchedule(state.rateSchedule)) {
        std::fill(out.begin(), out.end(), kNoValue);
        return;
    }
    superposeRateSteps(state.rateSchedule, state.pumpingRate, times, out,
                       [&](std::span<const double> elapsed, std::span<double> values) {
                           constantRateDrawdownsAt(state, site, modelKind, q, elapsed, values);
                       });
}

std::optional<std::string> checkRateScheduleInputs(const AnalysisState& state, int modelKind) {
    if (state.rateSchedule.empty()) return std::nullopt;
    if (auto error = checkRateSchedule(state.rateSchedule)) return error;
    if (!superposesInTime(modelKind)) {
        return "A pumping history of rate steps is computed by superposition in time, which this program "
               "offers for the Theis, leaky, aquitard-storage and double-porosity models (0, 2, 4, 7 and "
               "8). Model " +
               std::to_string(modelKind) + " (" + std::string(modelName(modelKind)) +
               ") takes the constant pumping rate only: clear the rate steps or choose one of those models.";
    }
    if (state.pumpingRate == 0.0f) {
        return std::string(
            "The pumping rate is 0: with rate steps it is the reference rate of the superposed drawdowns and "
            "must not be 0.");
    }
    return std::nullopt;
}

void computeDrawdowns(const AnalysisState& state, int modelKind, std::span<const double> q,
                      std::span<double> out) {
    if (!state.joint.joined()) {
        computeDrawdownsAt(state, firstSeriesSite(state), modelKind, q, state.times, out);
        return;
    }
    // Joined series: each stretch of the arrays at its own series' site.
    const auto size = out.size();
    for (const JointSegment& segment : state.joint.segments) {
        const auto offset = std::min(static_cast<std::size_t>(segment.offset), size);
        const auto count = std::min(static_cast<std::size_t>(segment.count), size - offset);
        if (count == 0) continue;
        const ObservationSite site =
            segment.series == 0 ? firstSeriesSite(state)
                                : seriesSite(state.extraSeries[static_cast<std::size_t>(segment.series - 1)]);
        computeDrawdownsAt(state, site, modelKind, q,
                           std::span<const double>(state.times).subspan(offset, count),
                           out.subspan(offset, count));
    }
}

void evaluateForward(AnalysisState& state, std::span<float> p, int modelKind) {
    if (modelKind < 0 || modelKind > kLastTypeCurveModel) return;
    clampParameters(p, modelKind);
    const int n = std::max(state.usedCount, 0);
    if (static_cast<int>(state.calculated.size()) < n) state.calculated.resize(n);
    std::array<double, kMaxParameters + 1> q{};
    const int count = std::min<int>(parameterCount(modelKind), static_cast<int>(p.size()) - 1);
    for (int j = 1; j <= count; ++j) q[j] = p[j];
    computeDrawdowns(state, modelKind, q, std::span<double>(state.calculated.data(), n));
}

float forwardMisfit(AnalysisState& state, std::span<float> p, int modelKind) {
    if (modelKind < 0 || modelKind > kLastTypeCurveModel) return 0.0f;
    evaluateForward(state, p, modelKind);
    const int n = state.usedCount;
    if (n < 1) return 0.0f;
    const bool logarithmic = modelKind == static_cast<int>(ModelKind::Leaky);
    // Joined series weigh their residuals (sqrt(weight) times the residual, squared); the classic
    // series is summed as it always was.
    const std::vector<double>& roots = state.joint.rootWeights;
    const bool weighted = state.joint.joined() && static_cast<int>(roots.size()) >= n;
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double m = state.measured[i], c = state.calculated[i];
        double d = logarithmic ? std::log10(m) - std::log10(c) : m - c;
        if (weighted) d *= roots[i];
        sum = static_cast<float>(sum + d * d);
    }
    return static_cast<float>(std::sqrt(static_cast<double>(sum) / n));
}

bool definedAtTimeZero(int modelKind) {
    return modelKind >= 0 && modelKind <= static_cast<int>(ModelKind::SlugTest);
}

std::optional<std::string> checkMisfitInputs(const AnalysisState& state, int modelKind, MisfitForm form) {
    const int n = state.usedCount;
    if (n < 1) return std::string("No measurements are in use: at least one is needed.");
    if (static_cast<int>(state.times.size()) < n || static_cast<int>(state.measured.size()) < n) {
        return std::string("The measurement table holds fewer values than are in use.");
    }
    for (int i = 0; i < n; ++i) {
        const double t = state.times[i];
        if (t == 0.0 && !definedAtTimeZero(modelKind)) {
            return describe(
                state,
                modelKind == static_cast<int>(ModelKind::Jacob)
                    ? "%s has the time %s: Jacob's straight line takes the logarithm "
                      "of the time, which has no value at time 0. Leave it out of the used range."
                    : "%s has the time %s: this model's drawdown is computed by a "
                      "numerical Laplace inversion, which has no value at time 0. Leave it out of "
                      "the used range.",
                i, t);
        }
        if (!(t >= 0.0) || !std::isfinite(t)) {
            return describe(state, "%s has the time %s: times must not be negative.", i, t);
        }
        if (!std::isfinite(state.measured[i])) {
            return describe(state, "%s has the drawdown %s, which is not a number.", i, state.measured[i]);
        }
        if (form == MisfitForm::OfForwardModel && modelKind == static_cast<int>(ModelKind::Leaky) &&
            !(state.measured[i] > 0.0)) {
            return describe(state,
                            "%s has the drawdown %s: the logarithmic misfit of the leaky model needs "
                            "positive "
                            "drawdowns.",
                            i, state.measured[i]);
        }
    }
    return checkDrawdownsDefined(state, modelKind);
}

std::optional<std::string> checkDrawdownsDefined(const AnalysisState& state, int modelKind) {
    if (auto error = checkRateScheduleInputs(state, modelKind)) return error;
    if (modelKind < 0 || modelKind > 8 || state.usedCount < 1) return std::nullopt;
    AnalysisState trial = state;
    trial.modelKind = modelKind;  // the parameter vector follows the model
    trial.calculated.assign(static_cast<std::size_t>(trial.usedCount), 0.0);
    std::vector<float> p = buildParameterVector(trial);
    evaluateForward(trial, p, modelKind);
    return calculatedDrawdownsError(trial, modelKind);
}

std::optional<std::string> calculatedDrawdownsError(const AnalysisState& state, int modelKind) {
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(state.usedCount, 0)),
                                   std::min(state.calculated.size(), state.times.size()));
    const auto bad = firstBadValue(std::span<const double>(state.calculated).first(n));
    if (!bad) return std::nullopt;
    const std::string time = formatGeneral(state.times[bad->index], 6);
    if (!std::isfinite(bad->value)) {
        return "The drawdown at time " + time +
               " cannot be computed with these parameters: check the radii, thicknesses, screen depths and "
               "storage ratios of the model.";
    }
    return "The drawdown at time " + time + " came out as " + formatGeneral(bad->value, 6) +
           ", and a well function is never negative: " +
           negativeValueCause(modelKind, state.stehfestCount, state.gaussCount) + ".";
}

}  // namespace tolvex
