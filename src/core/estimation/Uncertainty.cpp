#include "core/estimation/Uncertainty.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <limits>
#include <numeric>

#include "core/estimation/JointSeries.h"
#include "core/estimation/SymmetricEigen.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Steps in ln p of the two central differences combined by Richardson extrapolation: the forward
// model rounds its dimensional factors to float (relative 6e-8), so the steps stay well above that.
constexpr double kStep = 0.02;
// An eigenvalue of the unit-diagonal J^T J below this share of the largest is a direction the data
// do not see (singular values 1e-4 apart: far beyond the 1e-5 error of the differences).
constexpr double kRankTolerance = 1e-8;
// A parameter whose squared share in those directions exceeds this is not determined.
constexpr double kNullShare = 1e-4;
constexpr double kBoundTolerance = 1e-6;  // relative distance that counts as on a bound
constexpr double kCorrelationLimit = 0.99;
constexpr double kConfidence = 0.975;  // two-sided 95 %

using Vector = std::array<double, kMaxParameters + 1>;

struct Problem {
    const AnalysisState& state;
    int kind;
    int n;                    // used measurements
    int count;                // entries of the vector
    Vector p;                 // the point, 1-based
    std::vector<int> active;  // entries in the covariance
};

Vector pointOf(const AnalysisState& s) {
    const std::vector<double> p = buildParameterVectorDouble(s);
    Vector q{};
    for (std::size_t j = 1; j < p.size() && j < q.size(); ++j) q[j] = p[j];
    return q;
}

std::vector<double> drawdownsAt(const Problem& pr, Vector q) {
    for (int j = 1; j <= clampedCount(pr.kind); ++j) {
        q[j] = std::clamp(q[j], kParameterFloor, kParameterCeiling);
    }
    std::vector<double> out(pr.n);
    computeDrawdowns(pr.state, pr.kind, q, out);
    // Joined series: the drawdowns scaled as the weighted residuals are (measured values likewise).
    if (pr.state.joint.joined()) {
        const std::vector<double>& roots = pr.state.joint.rootWeights;
        for (int i = 0; i < pr.n && i < static_cast<int>(roots.size()); ++i) out[i] *= roots[i];
    }
    return out;
}

// d s_i / d ln p_j by central differences at steps h and h/2, extrapolated (Richardson): O(h^4).
std::vector<double> sensitivity(const Problem& pr, int j) {
    const auto central = [&](double h) {
        Vector up = pr.p, down = pr.p;
        up[j] *= std::exp(h);
        down[j] *= std::exp(-h);
        std::vector<double> a = drawdownsAt(pr, up);
        const std::vector<double> b = drawdownsAt(pr, down);
        for (int i = 0; i < pr.n; ++i) a[i] = (a[i] - b[i]) / (2.0 * h);
        return a;
    };
    std::vector<double> coarse = central(kStep);
    const std::vector<double> fine = central(kStep / 2.0);
    for (int i = 0; i < pr.n; ++i) coarse[i] = (4.0 * fine[i] - coarse[i]) / 3.0;
    return coarse;
}

bool onBound(double v, double bound) {
    return std::isfinite(bound) &&
           std::fabs(v - bound) <= kBoundTolerance * std::max(std::fabs(bound), 1e-300);
}

double rangeOf(const std::vector<double>& given, int j, double fallback) {
    return j < static_cast<int>(given.size()) ? given[j] : fallback;
}

// Model 2 carries b'/K' in its vector and reports K' = b'/p3: the same variance in the logarithm,
// the opposite sign in every correlation.
double reportSign(int kind, int j) {
    return kind == static_cast<int>(ModelKind::Leaky) && j == 3 ? -1.0 : 1.0;
}

std::vector<ParameterUncertainty> describeParameters(const AnalysisState& s, const Problem& pr,
                                                     const ParameterRanges& ranges) {
    const auto names = fittedFieldNames(pr.kind);
    const bool flagsMatch = static_cast<int>(s.lsParamFree.size()) == pr.count + 1;
    std::vector<ParameterUncertainty> out;
    for (int j = 1; j <= pr.count; ++j) {
        ParameterUncertainty u;
        u.name = names[j - 1];
        u.symbol = parameterSymbol(pr.kind, j);
        u.value = reportSign(pr.kind, j) < 0 ? static_cast<double>(s.upperBedConductivity) : pr.p[j];
        u.fixed = flagsMatch && s.lsParamFree[j] != 1;
        const bool clamped = j <= clampedCount(pr.kind);
        const double lo = rangeOf(ranges.lower, j, clamped ? kParameterFloor : kNaN);
        const double hi = rangeOf(ranges.upper, j, clamped ? kParameterCeiling : kNaN);
        u.atBound = onBound(static_cast<float>(pr.p[j]), static_cast<float>(lo)) ||
                    onBound(static_cast<float>(pr.p[j]), static_cast<float>(hi));
        u.standardError = u.lower = u.upper = kNaN;
        out.push_back(u);
    }
    return out;
}

std::string joinSymbols(const std::vector<std::string_view>& symbols) {
    std::string text;
    for (std::size_t k = 0; k < symbols.size(); ++k) {
        if (k > 0) text += k + 1 == symbols.size() ? " and " : ", ";
        text += symbols[k];
    }
    return text;
}

// Unit-diagonal J^T J of the active columns, its eigen-decomposition, the pseudo-inverse in theta and
// which active parameters lie in a direction the data do not see.
struct Linearisation {
    std::vector<double> inverse;  // k x k, by rows, in theta (unscaled by sigma^2)
    std::vector<bool> unseen;     // per active parameter
};

Linearisation linearise(const std::vector<std::vector<double>>& columns, int n) {
    const int k = static_cast<int>(columns.size());
    std::vector<double> norm(k);
    for (int a = 0; a < k; ++a) {
        norm[a] =
            std::sqrt(std::inner_product(columns[a].begin(), columns[a].end(), columns[a].begin(), 0.0));
    }
    std::vector<double> m(static_cast<std::size_t>(k) * k, 0.0);
    for (int a = 0; a < k; ++a) {
        for (int b = 0; b < k; ++b) {
            if (norm[a] == 0.0 || norm[b] == 0.0) continue;
            double sum = 0.0;
            for (int i = 0; i < n; ++i) sum += columns[a][i] * columns[b][i];
            m[a * k + b] = sum / (norm[a] * norm[b]);
        }
    }
    const SymmetricEigen eigen = symmetricEigen(m, k);
    const double largest = k > 0 ? *std::max_element(eigen.values.begin(), eigen.values.end()) : 0.0;
    Linearisation lin{std::vector<double>(m.size(), 0.0), std::vector<bool>(k, false)};
    std::vector<double> nullShare(k, 0.0);
    for (int e = 0; e < k; ++e) {
        const double lambda = eigen.values[e];
        const bool seen = lambda > kRankTolerance * largest && lambda > 0.0;
        for (int a = 0; a < k; ++a) {
            const double va = eigen.vectors[a * k + e];
            if (!seen) nullShare[a] += va * va;
            for (int b = 0; seen && b < k; ++b)
                lin.inverse[a * k + b] += va * eigen.vectors[b * k + e] / lambda;
        }
    }
    for (int a = 0; a < k; ++a) {
        lin.unseen[a] = norm[a] == 0.0 || nullShare[a] > kNullShare;
        for (int b = 0; b < k; ++b) {
            lin.inverse[a * k + b] =
                lin.unseen[a] || norm[b] == 0.0 ? 0.0 : lin.inverse[a * k + b] / (norm[a] * norm[b]);
        }
    }
    return lin;
}

// rho, n_eff, the covariance scale and nu of the residuals in time order.
void describeResiduals(FitUncertainty& u, const AnalysisState& s, const std::vector<double>& r) {
    std::vector<int> order(r.size());
    std::iota(order.begin(), order.end(), 0);
    // Joined series: in time order within each series (their stretches follow one another).
    const auto seriesOf = [&](int i) {
        for (const JointSegment& segment : s.joint.segments)
            if (i >= segment.offset && i < segment.offset + segment.count) return segment.series;
        return 0;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int sa = seriesOf(a), sb = seriesOf(b);
        return sa != sb ? sa < sb : s.times[a] < s.times[b];
    });
    std::vector<double> ordered;
    for (int i : order) ordered.push_back(r[i]);
    const double n = u.usedCount, k = u.freeCount;
    u.lag1Autocorrelation = lag1Autocorrelation(ordered);
    const double rho = u.lag1Autocorrelation;
    u.effectiveCount = rho > 0.0 ? n * (1.0 - rho) / (1.0 + rho) : n;
    u.enoughInformation = n > k && u.effectiveCount > k;
    u.residualVariance = n > k ? u.sumSquares / (n - k) : kNaN;
    u.covarianceScale = u.enoughInformation ? (n - k) / (u.effectiveCount - k) : kNaN;
    u.degreesOfFreedom = u.effectiveCount - k;
}

void addIntervals(FitUncertainty& u, const Problem& pr, const Linearisation& lin) {
    if (!u.enoughInformation) return;
    const boost::math::students_t distribution(u.degreesOfFreedom);
    const double t = boost::math::quantile(distribution, kConfidence);
    const int k = static_cast<int>(pr.active.size());
    for (int a = 0; a < k; ++a) {
        if (lin.unseen[a]) continue;
        ParameterUncertainty& pu = u.parameters[pr.active[a] - 1];
        const double sd = std::sqrt(u.residualVariance * u.covarianceScale * lin.inverse[a * k + a]);
        pu.standardError = pu.value * sd;
        pu.lower = std::exp(std::log(pu.value) - t * sd);
        pu.upper = std::exp(std::log(pu.value) + t * sd);
    }
}

// "T and S cannot be told apart from these data": a transmissivity (entry 2) is named before the
// storage coefficient (entry 1), as hydrogeologists say it; other pairs in vector order.
std::string pairWarning(const FitUncertainty& u, int first, int second) {
    if (first == 1 && second == 2) std::swap(first, second);
    return joinSymbols({u.parameters[first - 1].symbol, u.parameters[second - 1].symbol}) +
           " cannot be told apart from these data";
}

void addCorrelation(FitUncertainty& u, const Problem& pr, const Linearisation& lin) {
    const int k = static_cast<int>(pr.active.size());
    std::vector<int> shown;
    for (int a = 0; a < k; ++a) {
        if (!lin.unseen[a]) shown.push_back(a);
    }
    for (int a : shown) u.correlationNames.push_back(u.parameters[pr.active[a] - 1].name);
    for (std::size_t x = 0; x < shown.size(); ++x) {
        for (std::size_t y = 0; y < shown.size(); ++y) {
            const int a = shown[x], b = shown[y];
            const double sign = reportSign(pr.kind, pr.active[a]) * reportSign(pr.kind, pr.active[b]);
            const double r = x == y ? 1.0
                                    : sign * lin.inverse[a * k + b] /
                                          std::sqrt(lin.inverse[a * k + a] * lin.inverse[b * k + b]);
            u.correlation.push_back(r);
            if (x < y && std::fabs(r) > kCorrelationLimit) {
                u.warnings.push_back(pairWarning(u, pr.active[a], pr.active[b]));
            }
        }
    }
}

void addUnseenWarning(FitUncertainty& u, const Problem& pr, const Linearisation& lin) {
    std::vector<std::string_view> unseen;
    for (std::size_t a = 0; a < pr.active.size(); ++a) {
        if (lin.unseen[a]) unseen.push_back(u.parameters[pr.active[a] - 1].symbol);
    }
    if (unseen.empty()) return;
    u.warnings.push_back(joinSymbols(unseen) + (unseen.size() == 1 ? " is" : " are") +
                         " not determined by these data (only a combination of parameters reaches the "
                         "drawdowns): no interval is given for " +
                         (unseen.size() == 1 ? "it" : "them"));
}

}  // namespace

double lag1Autocorrelation(const std::vector<double>& series) {
    if (series.size() < 2) return 0.0;
    const double mean =
        std::accumulate(series.begin(), series.end(), 0.0) / static_cast<double>(series.size());
    double lagged = 0.0, total = 0.0;
    for (std::size_t i = 0; i < series.size(); ++i) {
        const double d = series[i] - mean;
        total += d * d;
        if (i + 1 < series.size()) lagged += d * (series[i + 1] - mean);
    }
    return total > 0.0 ? lagged / total : 0.0;
}

std::string_view parameterSymbol(int modelKind, int entry) {
    static constexpr std::array<std::string_view, 6> kTheis{"S", "T", "Kz", "K'", "", ""};
    static constexpr std::array<std::string_view, 6> kLeaky{"S", "T", "K'", "", "", ""};
    static constexpr std::array<std::string_view, 6> kStorage{"S", "T", "K'", "K''", "S'", "S''"};
    static constexpr std::array<std::string_view, 6> kUnconfined{"S", "T", "Kz", "Sy", "", ""};
    static constexpr std::array<std::string_view, 6> kDouble{"Sf", "Tf", "Sm", "Tm", "", ""};
    if (entry < 1 || entry > parameterCount(modelKind) || modelKind > kLastTypeCurveModel) return "";
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::Leaky:
            return kLeaky[entry - 1];
        case ModelKind::LeakyStorage:
            return kStorage[entry - 1];
        case ModelKind::Unconfined:
            return kUnconfined[entry - 1];
        case ModelKind::WarrenRoot:
        case ModelKind::BoultonStreltsova:
            return kDouble[entry - 1];
        default:
            return kTheis[entry - 1];
    }
}

std::optional<FitUncertainty> estimateUncertainty(const AnalysisState& s, const ParameterRanges& ranges) {
    // After a joint fit the state holds the first series only: the uncertainty is that of all series.
    if (!s.joint.joined() && jointFitWanted(s)) return estimateUncertainty(joinedCopy(s), ranges);
    const int kind = s.modelKind;
    if (kind < 0 || kind > kLastTypeCurveModel || s.usedCount < 1) return std::nullopt;
    Problem pr{s, kind, s.usedCount, parameterCount(kind), pointOf(s), {}};
    FitUncertainty u;
    u.usedCount = pr.n;
    u.parameters = describeParameters(s, pr, ranges);
    for (int j = 1; j <= pr.count; ++j) {
        const ParameterUncertainty& pu = u.parameters[j - 1];
        if (!pu.fixed && !pu.atBound && pr.p[j] > 0.0 && std::isfinite(pr.p[j])) pr.active.push_back(j);
    }
    u.freeCount = static_cast<int>(pr.active.size());

    const std::vector<double> calculated = drawdownsAt(pr, pr.p);
    std::vector<double> residuals(pr.n);
    for (int i = 0; i < pr.n; ++i) {
        const double root =
            s.joint.joined() && i < std::ssize(s.joint.rootWeights) ? s.joint.rootWeights[i] : 1.0;
        residuals[i] = s.measured[i] * root - calculated[i];
    }
    u.sumSquares = std::inner_product(residuals.begin(), residuals.end(), residuals.begin(), 0.0);
    describeResiduals(u, s, residuals);

    std::vector<std::vector<double>> columns;
    for (int j : pr.active) columns.push_back(sensitivity(pr, j));
    const Linearisation lin = linearise(columns, pr.n);
    for (std::size_t a = 0; a < pr.active.size(); ++a)
        u.parameters[pr.active[a] - 1].determined = !lin.unseen[a];
    addIntervals(u, pr, lin);
    addCorrelation(u, pr, lin);
    addUnseenWarning(u, pr, lin);
    if (!u.enoughInformation && u.freeCount > 0) {
        u.warnings.push_back(
            "not enough independent information for intervals: the residuals' lag-1 "
            "autocorrelation " +
            formatGeneral(u.lag1Autocorrelation, 3) + " leaves an effective count of " +
            formatGeneral(u.effectiveCount, 3) + " measurements for " + std::to_string(u.freeCount) +
            " free parameters");
    }
    return u;
}

}  // namespace tolvex
