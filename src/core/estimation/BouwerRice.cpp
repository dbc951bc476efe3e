#include "core/estimation/BouwerRice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/estimation/Marquardt.h"
#include "core/estimation/SlugHeadFit.h"
#include "core/series/SlugHeads.h"
#include "core/state/FieldTable.h"

namespace tolvex {
namespace {

// Bouwer and Rice (1976): the effect of the aquifer below the well on Re grows no further once
// ln((H - Lw)/rw) reaches 6, the largest value to be used in their equation for ln(Re/rw). The cap is
// on the logarithm (a ratio of about 403), not on the ratio itself.
constexpr double kPenetrationLogCap = 6.0;

float interpolate(float low, float high, double fraction) {
    return static_cast<float>(low + (high - low) * fraction);
}

std::string named(const char* what, const char* field, double value) {
    return std::string(what) + " (" + field + " = " + formatGeneral(value, 6) + ").";
}

}  // namespace

BouwerRiceCoefficients interpolateBouwerRice(const AnalysisState& s, float ratio) {
    const auto& l = s.brTableLeRw;
    const int last = kBouwerRiceRows - 1;
    if (ratio < l[0]) return {s.brTableA[0], s.brTableB[0], s.brTableC[0]};
    if (ratio > l[last]) return {s.brTableA[last], s.brTableB[last], s.brTableC[last]};
    int k = 1;
    while (k < last && l[k] < ratio) ++k;
    const double fraction = (static_cast<double>(ratio) - l[k - 1]) / (static_cast<double>(l[k]) - l[k - 1]);
    return {interpolate(s.brTableA[k - 1], s.brTableA[k], fraction),
            interpolate(s.brTableB[k - 1], s.brTableB[k], fraction),
            interpolate(s.brTableC[k - 1], s.brTableC[k], fraction)};
}

float bouwerRiceLnReRw(const AnalysisState& s, const BouwerRiceCoefficients& c) {
    const double rw = s.wellRadius, le = s.screenLength, lw = s.wellDepthInAquifer, h = s.brAquiferThickness;
    const double wellTerm = 1.1 / std::log(lw / rw);
    if (h - lw > 0.0) {
        const double lnX = std::min(std::log((h - lw) / rw), kPenetrationLogCap);
        return static_cast<float>(1.0 / (wellTerm + (c.a + c.b * lnX) * rw / le));
    }
    return static_cast<float>(1.0 / (wellTerm + c.c * rw / le));
}

std::optional<std::string> checkBouwerRiceInputs(const AnalysisState& s) {
    const int n = s.usedCount;
    if (n < 1) return std::string("No measurements are in use: at least one is needed.");
    if (static_cast<int>(s.times.size()) < n || static_cast<int>(s.measured.size()) < n) {
        return std::string("The measurement table holds fewer values than are in use.");
    }
    if (auto error = slugHeadError(s)) return error;
    const double h0 = firstSeriesH0(s);
    const bool classic = s.firstSeries.head == SlugHead{};
    for (int i = 0; i < n; ++i) {
        const double head =
            classic ? s.measured[i] : slugDisplacement(s.measured[i], s.firstSeries.head) / h0;
        if (!(head > 0.0) || !std::isfinite(head) || !std::isfinite(s.times[i])) {
            char buffer[160];
            std::snprintf(
                buffer, sizeof buffer,
                "Measurement %d has the value %s: the Bouwer and Rice fit takes the logarithm of positive "
                "heads only.",
                i + 1, formatGeneral(s.measured[i], 6).c_str());
            return std::string(buffer);
        }
    }
    if (!(s.wellRadius > 0.0f))
        return named("The radius of the well must be positive", "wellRadius", s.wellRadius);
    if (!(s.casingRadius > 0.0f)) {
        return named("The radius of the well case must be positive", "casingRadius", s.casingRadius);
    }
    if (!(s.wellDepthInAquifer > s.wellRadius)) {
        return named("The length of well in aquifer must exceed the radius of the well", "wellDepthInAquifer",
                     s.wellDepthInAquifer);
    }
    if (!(s.screenLength > 0.0f))
        return named("The well screen length must be positive", "screenLength", s.screenLength);
    if (s.brFitIntercept != 0 &&
        std::none_of(s.times.begin(), s.times.begin() + n, [&](double t) { return t != s.times[0]; })) {
        return std::string("A line with an intercept needs measurements at two different times at least.");
    }
    return std::nullopt;
}

void prepareBouwerRice(AnalysisState& s) {
    s.lsParamCapacity = 1;
    s.lsParams.assign(3, 0.0);
    s.lsParamFree.assign(2, 1);
    s.brLeOverRw = static_cast<float>(static_cast<double>(s.screenLength) / s.wellRadius);
    const BouwerRiceCoefficients c = interpolateBouwerRice(s, s.brLeOverRw);
    s.brCoefA = c.a;
    s.brCoefB = c.b;
    s.brCoefC = c.c;
    s.brLnReRw = bouwerRiceLnReRw(s, c);
    const double rc = s.casingRadius;
    const double rate = 2.0 * s.hydraulicConductivity * s.screenLength / s.brLnReRw / rc / rc;
    s.brRate = static_cast<float>(rate);
    s.lsParams[1] = s.lsParams[2] = rate;
    s.brInterceptValue = 0.0;
    for (int i = 0; i < s.usedCount; ++i) s.measured[i] = -std::log(s.measured[i]);
}

void fitBouwerRiceLine(AnalysisState& s, bool rateFixed) {
    const int n = s.usedCount;
    double meanT = 0.0, meanY = 0.0;
    for (int i = 0; i < n; ++i) {
        meanT += s.times[i] / n;
        meanY += s.measured[i] / n;
    }
    double rate = s.lsParams[1];
    if (!rateFixed) {
        double sxy = 0.0, sxx = 0.0;
        for (int i = 0; i < n; ++i) {
            sxy += (s.times[i] - meanT) * (s.measured[i] - meanY);
            sxx += (s.times[i] - meanT) * (s.times[i] - meanT);
        }
        rate = sxy / sxx;
    }
    const double offset = meanY - rate * meanT;  // -ln(H/H0) = offset + rate t
    s.lsParams[1] = s.lsParams[2] = rate;
    s.brInterceptValue = -offset;
    s.calculated.resize(s.measured.size());
    for (int i = 0; i < n; ++i) s.calculated[i] = offset + rate * s.times[i];
    s.iterationsDone = 0;
}

void finishBouwerRice(AnalysisState& s) {
    const double rate = s.lsParams[1];
    const double rc = s.casingRadius;
    s.brRate = static_cast<float>(rate);
    s.hydraulicConductivity = static_cast<float>(rate * s.brLnReRw * rc * rc / 2.0 / s.screenLength);
    float sum = 0.0f;
    for (int i = 0; i < s.usedCount; ++i) {
        s.measured[i] = std::exp(-s.measured[i]);
        s.calculated[i] = std::exp(-s.calculated[i]);
        const double r = s.calculated[i] - s.measured[i];
        sum = static_cast<float>(sum + r * r);
    }
    s.rmsError = static_cast<float>(std::sqrt(static_cast<double>(sum) / s.usedCount));
}

FitEnd bouwerRiceEstimation(AnalysisState& s, ProgressSink& progress, std::stop_token stop) {
    const MeasuredHeads kept = fitOnNormalisedHeads(s);
    prepareBouwerRice(s);
    FitEnd end = FitEnd::ClosedForm;
    if (s.brFitIntercept != 0) {
        fitBouwerRiceLine(s, false);
    } else {
        end = marquardtFit(s, progress, stop).end;
    }
    finishBouwerRice(s);
    restoreMeasuredHeads(s, kept);
    return end;
}

}  // namespace tolvex
