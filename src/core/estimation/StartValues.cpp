#include "core/estimation/StartValues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

#include "core/estimation/TypeCurveMatching.h"
#include "core/numerics/Constants.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kNodesPerDecade = 16;
// Steps in the logarithm of a shape parameter: from half the grid spacing down to 0.5 %.
constexpr double kRefineFirstStep = 0.6;
constexpr double kRefineLastStep = 0.005;
constexpr std::size_t kMatchedPoints = 200;    // measurements used in the matching (evenly thinned)
constexpr std::size_t kCandidatesChecked = 3;  // best matches compared on the full forward model
// Type curves in 1/u (Theis family) or the dimensionless time, over the range where pumping tests
// are read (u from 100 down to 1e-8); slug-test heads over beta = T t / rc^2 from 1e-4 to 1e5.
constexpr double kPumpingFirst = 1e-2, kPumpingLast = 1e8;
constexpr double kSlugFirst = 1e-4, kSlugLast = 1e5;
constexpr double kJacobConstant = 2.25;  // 4 / exp(Euler's constant), Cooper and Jacob (1946)
constexpr double kSlugAlpha = 1e-3;      // a middle curve of Cooper et al. (1967)

using Vector = std::vector<double>;
using Shape = std::array<double, 2>;

struct Measurements {
    std::vector<double> times, values;  // positive times, in time order
};

Measurements usable(const AnalysisState& s) {
    std::vector<int> order;
    for (int i = 0; i < s.usedCount; ++i) {
        if (s.times[i] > 0.0 && std::isfinite(s.times[i]) && std::isfinite(s.measured[i])) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return s.times[a] < s.times[b]; });
    Measurements m;
    for (int i : order) {
        m.times.push_back(s.times[i]);
        m.values.push_back(s.measured[i]);
    }
    return m;
}

Measurements thinned(const Measurements& m) {
    if (m.times.size() <= kMatchedPoints) return m;
    Measurements out;
    const double stride = static_cast<double>(m.times.size() - 1) / static_cast<double>(kMatchedPoints - 1);
    for (std::size_t k = 0; k < kMatchedPoints; ++k) {
        const auto i = static_cast<std::size_t>(std::lround(stride * static_cast<double>(k)));
        out.times.push_back(m.times[i]);
        out.values.push_back(m.values[i]);
    }
    return out;
}

bool admissible(const Vector& p, int kind) {
    for (std::size_t j = 1; j < p.size(); ++j) {
        const bool clamped = static_cast<int>(j) <= clampedCount(kind);
        if (!std::isfinite(p[j]) || (clamped ? !(p[j] > 0.0) : p[j] < 0.0)) return false;
    }
    return p.size() == static_cast<std::size_t>(parameterCount(kind) + 1);
}

void clampVector(Vector& p, int kind) {
    for (int j = 1; j <= clampedCount(kind); ++j) p[j] = std::clamp(p[j], kParameterFloor, kParameterCeiling);
}

// Sum of squared plain residuals over the used measurements, NaN where a drawdown is not finite.
double sumOfSquares(const AnalysisState& s, Vector p) {
    if (!admissible(p, s.modelKind)) return kNaN;
    clampVector(p, s.modelKind);
    std::vector<double> out(s.usedCount);
    computeDrawdowns(s, s.modelKind, p, out);
    double sum = 0.0;
    for (int i = 0; i < s.usedCount; ++i) sum += (s.measured[i] - out[i]) * (s.measured[i] - out[i]);
    return sum;
}

// --- Cooper and Jacob's straight line, Hvorslev's decline ------------------------------------------

struct Line {
    double intercept = kNaN, slope = kNaN;
};

Line regression(const std::vector<double>& x, const std::vector<double>& y) {
    const double n = static_cast<double>(x.size());
    if (x.size() < 2) return {};
    const double mx = std::accumulate(x.begin(), x.end(), 0.0) / n;
    const double my = std::accumulate(y.begin(), y.end(), 0.0) / n;
    double sxy = 0.0, sxx = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
    }
    if (!(sxx > 0.0)) return {};
    return {my - sxy / sxx * mx, sxy / sxx};
}

struct TheisPair {
    double S = kNaN, T = kNaN;
};

// T and S of the straight line s = a + m ln t through the measurements from index `from` to `to`.
TheisPair jacobLine(const AnalysisState& s, const Measurements& m, std::size_t from, std::size_t to) {
    std::vector<double> x, y;
    for (std::size_t i = from; i < to && i < m.times.size(); ++i) {
        x.push_back(std::log(m.times[i]));
        y.push_back(m.values[i]);
    }
    const Line line = regression(x, y);
    if (!(line.slope > 0.0)) return {};
    const double T = s.pumpingRate / (4.0 * kProgramPi * line.slope);
    const double t0 = std::exp(-line.intercept / line.slope);
    const double r = s.radialDistance;
    return {kJacobConstant * T * t0 / (r * r), T};
}

std::vector<Vector> jacobCandidates(const AnalysisState& s, const Measurements& m) {
    const std::size_t n = m.times.size();
    const TheisPair late = jacobLine(s, m, n / 2, n), early = jacobLine(s, m, 0, (n + 1) / 2);
    const TheisPair firstThird = jacobLine(s, m, 0, std::max<std::size_t>(2, n / 3));
    const TheisPair lastThird = jacobLine(s, m, n - std::min(n, std::max<std::size_t>(2, n / 3)), n);
    const Vector current = buildParameterVectorDouble(s);
    std::vector<Vector> out;
    const auto withTheis = [&](const TheisPair& st) {
        Vector p = current;
        p[1] = st.S;
        p[2] = st.T;
        if (s.modelKind == static_cast<int>(ModelKind::PartialPenetration)) p[3] = st.T / s.aquiferThickness;
        return p;
    };
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Unconfined: {
            // early segment: S; late segment: T and Sy; beta = 1 for Kz (Neuman 1975's middle curves)
            const double r2 = static_cast<double>(s.radialDistance) * s.radialDistance;
            out.push_back(
                {0.0, firstThird.S, lastThird.T, s.aquiferThickness * lastThird.T / r2, lastThird.S});
            break;
        }
        case ModelKind::WarrenRoot:
        case ModelKind::BoultonStreltsova: {
            // early segment: the fractures alone; late segment: fractures and matrix together
            Vector p = current;
            p[1] = firstThird.S;
            p[2] = lastThird.T;
            p[3] = lastThird.S > firstThird.S ? lastThird.S - firstThird.S : 10.0 * firstThird.S;
            out.push_back(p);
            break;
        }
        default:
            out.push_back(withTheis(late));
            out.push_back(withTheis(early));
    }
    return out;
}

// ln H = a - t / t0 through the heads between 0.05 and 0.95 (all positive heads when fewer than two).
std::vector<Vector> slugDecline(const AnalysisState& s, const Measurements& m) {
    std::vector<double> x, y, xAll, yAll;
    for (std::size_t i = 0; i < m.times.size(); ++i) {
        if (!(m.values[i] > 0.0)) continue;
        xAll.push_back(m.times[i]);
        yAll.push_back(std::log(m.values[i]));
        if (m.values[i] > 0.05 && m.values[i] < 0.95) {
            x.push_back(xAll.back());
            y.push_back(yAll.back());
        }
    }
    const Line line = x.size() >= 2 ? regression(x, y) : regression(xAll, yAll);
    if (!(line.slope < 0.0)) return {};
    const double rc2 = static_cast<double>(s.casingRadius) * s.casingRadius;
    const double rw2 = static_cast<double>(s.wellRadius) * s.wellRadius;
    return {{0.0, kSlugAlpha * rc2 / rw2, -line.slope * rc2}};
}

// --- type-curve matching --------------------------------------------------------------------------

struct Candidate {
    double score = kNaN;  // sum of squares of the match or of the forward model
    Vector p;
    std::string method;
    Shape shape{};  // of a type-curve match
};

struct Family {
    std::vector<Shape> shapes;
    bool amplitudeFree = true;
    double xFirst = kPumpingFirst, xLast = kPumpingLast;
};

std::vector<double> grid(std::initializer_list<double> values) {
    return values;
}

std::vector<Shape> product(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<Shape> out;
    for (double x : a) {
        for (double y : b) out.push_back({x, y});
    }
    return out;
}

std::vector<Shape> single(const std::vector<double>& a) {
    return product(a, {0.0});
}

Family familyOf(int kind) {
    const auto decades = [](int first, int last) {
        std::vector<double> v;
        for (int e = first; e <= last; ++e) v.push_back(std::pow(10.0, e));
        return v;
    };
    const std::vector<double> anisotropy = grid({0.03, 0.1, 0.3, 1.0, 3.0, 10.0});
    const std::vector<double> leakage =
        grid({0.001, 0.01, 0.03, 0.1, 0.2, 0.3, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0});
    switch (static_cast<ModelKind>(kind)) {
        case ModelKind::Theis:
            return {single({0.0})};
        case ModelKind::PartialPenetration:
            return {single(anisotropy)};
        case ModelKind::Leaky:
            return {single(leakage)};
        case ModelKind::LeakyPartial:
            return {product(anisotropy, grid({0.001, 0.01, 0.03, 0.1, 0.3, 1.0, 2.0}))};
        case ModelKind::LeakyStorage:
            return {single(grid({0.001, 0.003, 0.01, 0.03, 0.1, 0.3, 1.0, 3.0, 10.0}))};
        case ModelKind::SlugTest: {
            std::vector<double> alpha;
            for (int k = -20; k <= 0; ++k) alpha.push_back(std::pow(10.0, 0.5 * k));
            return {single(alpha), false, kSlugFirst, kSlugLast};
        }
        case ModelKind::Unconfined:
            return {product(grid({0.001, 0.01, 0.03, 0.1, 0.3, 1.0, 3.0, 10.0}),
                            grid({1e-4, 1e-3, 1e-2, 0.1, 0.5}))};
        default:
            return {product(decades(-4, 1), grid({1.0, 3.0, 10.0, 30.0, 100.0, 1000.0}))};
    }
}

// The parameter vector whose drawdown is C W(t / U) with the type curve of `shape` (closed forms of
// the forward model's dimensionless groups, solved for the parameters).
Vector parametersOf(const AnalysisState& s, double C, double U, const Shape& shape) {
    const double r = s.radialDistance, r2 = r * r, b = s.aquiferThickness;
    const double T = s.pumpingRate / (4.0 * kProgramPi * C);
    Vector p = buildParameterVectorDouble(s);
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            return {0.0, 4.0 * T * U / r2, T};
        case ModelKind::PartialPenetration:  // a r / b = sqrt(Kz b / T) r / b
            return {0.0, 4.0 * T * U / r2, T, shape[0] * shape[0] * T * b / r2};
        case ModelKind::Leaky:  // r/B = r / sqrt(T b'/K')
            return {0.0, 4.0 * T * U / r2, T, r2 / (shape[0] * shape[0] * T)};
        case ModelKind::LeakyPartial:
            return {0.0, 4.0 * T * U / r2, T, shape[0] * shape[0] * T * b / r2,
                    s.upperBedThickness * T * shape[1] * shape[1] / r2};
        case ModelKind::LeakyStorage: {
            const double S = 4.0 * T * U / r2;
            const double beta0 = r / 4.0 *
                                 (std::sqrt(p[3] * p[5] / (s.upperBedThickness * T * S)) +
                                  std::sqrt(p[4] * p[6] / (s.lowerBedThickness * T * S)));
            const double f = shape[0] / beta0;  // the beds keep their ratios; beta grows like sqrt(K)
            return {0.0, S, T, p[3] * f * f, p[4] * f * f, p[5], p[6]};
        }
        case ModelKind::SlugTest: {  // beta = T t / rc^2, alpha = rw^2 S / rc^2
            const double rc2 = static_cast<double>(s.casingRadius) * s.casingRadius;
            const double rw2 = static_cast<double>(s.wellRadius) * s.wellRadius;
            return {0.0, shape[0] * rc2 / rw2, rc2 / U};
        }
        case ModelKind::Unconfined: {  // td = T t / (S r^2), beta = Kz r^2 / (b T), sigma = S / Sy
            const double S = T * U / r2;
            return {0.0, S, T, shape[0] * b * T / r2, S / shape[1]};
        }
        case ModelKind::WarrenRoot: {  // lambda = 12 Tm r^2 / (Tf bs^2), sigma = Sm / Sf
            const double Sf = T * U / r2, bs = s.slabThickness;
            return {0.0, Sf, T, shape[1] * Sf, shape[0] * T * bs * bs / (12.0 * r2)};
        }
        default: {  // gamma = 2 r sqrt(Tm / Tf) / bs
            const double Sf = T * U / r2, g = shape[0] * s.slabThickness / (2.0 * r);
            return {0.0, Sf, T, shape[1] * Sf, T * g * g};
        }
    }
}

std::string shapeText(const Shape& shape) {
    if (shape[0] == 0.0) return "type-curve match";
    return "type-curve match, shape " + formatGeneral(shape[0], 3) +
           (shape[1] != 0.0 ? " " + formatGeneral(shape[1], 3) : std::string());
}

// The best overlay of the measurements on the type curve of one shape.
class ShapeMatcher {
public:
    ShapeMatcher(const AnalysisState& s, const Measurements& m)
        : s_(s), family_(familyOf(s.modelKind)), data_(thinned(m)), curveState_(s) {}

    [[nodiscard]] const Family& family() const { return family_; }

    [[nodiscard]] std::optional<Candidate> match(const Shape& shape) {
        const Vector unit = parametersOf(s_, 1.0, 1.0, shape);
        if (!admissible(unit, s_.modelKind)) return std::nullopt;
        const auto curve = [&](std::span<const double> x, std::span<double> w) {
            curveState_.times.assign(x.begin(), x.end());
            computeDrawdowns(curveState_, s_.modelKind, unit, w);
        };
        const TypeCurveTable table = tabulateTypeCurve(curve, family_.xFirst, family_.xLast, kNodesPerDecade);
        const auto found = matchTypeCurve(table, data_.times, data_.values, family_.amplitudeFree);
        if (!found) return std::nullopt;
        return Candidate{found->sumSquares, parametersOf(s_, found->amplitude, found->timeFactor, shape),
                         shapeText(shape), shape};
    }

private:
    const AnalysisState& s_;
    Family family_;
    Measurements data_;
    AnalysisState curveState_;
};

// The largest value each shape parameter takes on the family's grid.
Shape largestShape(const Family& family) {
    Shape top{0.0, 0.0};
    for (const Shape& shape : family.shapes)
        for (std::size_t d = 0; d < top.size(); ++d) top[d] = std::max(top[d], shape[d]);
    return top;
}

// Pattern search (Hooke and Jeeves 1961) on the logarithms of the shape parameters from a grid match:
// a step to either side of each, kept when the overlay fits better, the step halved when none does.
// The search stays below the grid's largest values: beyond them the curves hardly change, and a slug
// test's alpha = rw^2 S / rc^2 would drift to storativities above 1.
Candidate refined(ShapeMatcher& matcher, Candidate best) {
    const Shape top = largestShape(matcher.family());
    const int dimensions = best.shape[1] != 0.0 ? 2 : best.shape[0] != 0.0 ? 1 : 0;
    for (double step = kRefineFirstStep; dimensions > 0 && step >= kRefineLastStep; step /= 2.0) {
        bool moved = true;
        while (moved) {
            moved = false;
            for (int d = 0; d < dimensions; ++d) {
                for (double sign : {1.0, -1.0}) {
                    Shape trial = best.shape;
                    trial[d] *= std::exp(sign * step);
                    if (trial[d] > top[d]) continue;
                    const auto c = matcher.match(trial);
                    if (c && c->score < best.score) best = *c, moved = true;
                }
            }
        }
    }
    return best;
}

std::vector<Candidate> typeCurveMatches(const AnalysisState& s, const Measurements& m) {
    ShapeMatcher matcher(s, m);
    std::vector<Candidate> out;
    for (const Shape& shape : matcher.family().shapes) {
        if (auto c = matcher.match(shape)) out.push_back(std::move(*c));
    }
    std::sort(out.begin(), out.end(),
              [](const Candidate& a, const Candidate& b) { return a.score < b.score; });
    if (out.size() > kCandidatesChecked) out.resize(kCandidatesChecked);
    for (Candidate& c : out) c = refined(matcher, c);
    return out;
}

}  // namespace

std::optional<StartValues> estimateStartValues(const AnalysisState& state, std::string* reason) {
    const auto refuse = [&](const char* why) -> std::optional<StartValues> {
        if (reason != nullptr) *reason = why;
        return std::nullopt;
    };
    const int kind = state.modelKind;
    if (kind < 0 || kind > kLastTypeCurveModel) return refuse("Start values are computed for models 0 to 8.");
    const Measurements m = usable(state);
    if (m.times.size() < 2) {
        return refuse("Start values need at least two measurements with a positive time and a finite value.");
    }
    std::vector<Candidate> candidates;
    const bool slug = kind == static_cast<int>(ModelKind::SlugTest);
    for (const Vector& p : slug ? slugDecline(state, m) : jacobCandidates(state, m))
        candidates.push_back({kNaN, p, slug ? "log-linear decline" : "Cooper-Jacob line"});
    for (Candidate& c : typeCurveMatches(state, m)) candidates.push_back(std::move(c));

    std::optional<StartValues> best;
    double bestScore = kNaN;
    for (Candidate& c : candidates) {
        c.score = sumOfSquares(state, c.p);
        if (std::isfinite(c.score) && !(c.score >= bestScore)) {
            clampVector(c.p, kind);
            bestScore = c.score;
            best = StartValues{c.p, c.method};
        }
    }
    if (!best) return refuse("No start values give finite drawdowns for these measurements.");
    return best;
}

std::optional<std::string> applyStartValues(AnalysisState& state) {
    std::string reason;
    const auto start = estimateStartValues(state, &reason);
    if (!start) return reason;
    writeParameterVector(state, std::span<const double>(start->vector));
    return std::nullopt;
}

}  // namespace tolvex
