#include "core/state/AnalysisState.h"

#include <cmath>

#include "core/numerics/GaussLegendreRule.h"
#include "core/numerics/StehfestWeights.h"

namespace tolvex {
namespace {

// The default pumping test: 14 (time, drawdown) pairs.
constexpr std::array<double, 14> kDefaultTimes{5.0,  10.0, 15.0,  20.0,  30.0,  45.0,  60.0,
                                               75.0, 90.0, 105.0, 240.0, 360.0, 480.0, 600.0};
constexpr std::array<double, 14> kDefaultDrawdowns{3.41, 3.58, 3.97, 4.2,  4.54, 4.88, 5.13,
                                                   5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47};

// Hantush (1956) r/B and u values of the leaky family.
const std::vector<float> kLeakyRb{0.01f, 0.015f, 0.03f, 0.05f, 0.075f, 0.1f, 0.15f, 0.2f, 0.3f, 0.4f,
                                  0.5f,  0.6f,   0.7f,  0.8f,  0.9f,   1.0f, 1.5f,  2.0f, 2.5f, 3.0f};

std::vector<float> mantissaList(const std::vector<float>& mantissas, int firstExponent, int lastExponent) {
    std::vector<float> values;
    for (int e = firstExponent; e <= lastExponent; ++e) {
        for (float m : mantissas) values.push_back(static_cast<float>(m * std::pow(10.0, e)));
    }
    return values;
}

void fillPublishedLists(AnalysisState& s) {
    // Wenzel (1942): k * 10^e for e = -15..0; the decades above the first are formed in double from
    // the first nine values and rounded to float.
    s.uListCount = 144;
    s.uList144.assign(s.uListCount, 0.0f);
    for (int k = 0; k < 9; ++k) s.uList144[k] = static_cast<float>((k + 1) * 1.0e-15);
    for (int e = 1; e <= 15; ++e) {
        for (int k = 0; k <= 8; ++k) {
            s.uList144[8 + 9 * (e - 1) + k + 1] = static_cast<float>(std::pow(10.0, e) * s.uList144[k]);
        }
    }
    s.leakyRbCount = 20;
    s.leakyRbList = kLeakyRb;
    s.leakyUList = mantissaList({1.0f, 2.0f, 5.0f, 8.0f}, -6, 0);
    s.leakyUList.push_back(10.0f);
    s.leakyUCount = static_cast<int>(s.leakyUList.size());

    s.storBetaList = mantissaList({1.0f, 2.0f, 3.0f, 5.0f, 7.0f}, -2, 2);
    s.storBetaList.push_back(1000.0f);
    s.storBetaCount = static_cast<int>(s.storBetaList.size());
    s.storUList = mantissaList({1.0f, 2.0f, 5.0f, 7.0f}, -9, 0);
    s.storUList.push_back(10.0f);
    s.storUCount = static_cast<int>(s.storUList.size());

    s.altParamList = {1e-4f, 0.001f, 0.004f, 0.01f, 0.03f, 0.06f, 0.1f, 0.2f, 0.4f, 0.6f,
                      0.8f,  1.0f,   1.5f,   2.0f,  2.5f,  3.0f,  4.0f, 5.0f, 6.0f, 7.0f};
    s.altParamCount = static_cast<int>(s.altParamList.size());
    // Neuman (1975) dimensionless times: the decade 1e4 is absent from the published table.
    s.altTimeList = mantissaList({1.0f, 2.0f, 3.5f, 6.0f}, -1, 3);
    auto upper = mantissaList({1.0f, 2.0f, 3.5f, 6.0f}, 5, 10);
    s.altTimeList.insert(s.altTimeList.end(), upper.begin(), upper.end());
    s.altTimeList.push_back(1.0e11f);
    s.altTimeCount = static_cast<int>(s.altTimeList.size());
}

void fillReservedData(AnalysisState& s) {
    s.reservedScale[0] = 0.0f;
    s.reservedScale[1] = 5.0f;
    for (int j = 2; j < 7; ++j) s.reservedScale[j] = s.reservedScale[j - 1] / 10.0f;
    s.reservedSeriesA[0] = s.reservedSeriesB[0] = s.reservedSeriesC[0] = 0.0f;
    s.reservedSeriesA[1] = 30.0f;
    s.reservedSeriesB[1] = 5.0f;
    s.reservedSeriesC[1] = 5.0f;
    for (int j = 2; j < 9; ++j) {
        s.reservedSeriesA[j] = s.reservedSeriesA[j - 1] + 10.0f;
        s.reservedSeriesB[j] = s.reservedSeriesB[j - 1] * 2.0f;
        s.reservedSeriesC[j] = s.reservedSeriesC[j - 1] / 2.0f;
    }
    s.reservedRowCount = 5;
    s.reservedRowsA.assign(s.reservedRowCount, 0.0f);
    s.reservedRowsB.assign(s.reservedRowCount, 0.0f);
    s.reservedRowsC.assign(s.reservedRowCount, 0.0f);
    for (int j = 0; j < s.reservedRowCount; ++j) {
        s.reservedRowsA[j] = 10.0f;
        s.reservedRowsB[j] = 10.0f * static_cast<float>(j);
        s.reservedRowsC[j] = 10.0f * static_cast<float>(j + 1);
    }
}

// Bouwer and Rice (1976), Fig. 3: coefficients A, B, C against Le/rw.
void fillBouwerRiceTable(AnalysisState& s) {
    s.brTableLeRw = {3.5f,   5.0f,   10.0f,  20.0f,  30.0f,   50.0f,  70.0f,
                     100.0f, 200.0f, 300.0f, 500.0f, 1000.0f, 2000.0f};
    s.brTableA = {1.6f, 1.65f, 1.75f, 2.2f, 2.5f, 3.0f, 3.6f, 4.4f, 6.0f, 7.0f, 8.1f, 9.0f, 9.75f};
    s.brTableB = {0.25f, 0.25f, 0.26f, 0.35f, 0.35f, 0.5f, 0.6f, 0.75f, 1.13f, 1.5f, 2.13f, 2.8f, 3.25f};
    s.brTableC = {0.7f, 0.85f, 1.2f, 1.75f, 2.0f, 2.75f, 3.25f, 4.25f, 7.0f, 8.75f, 10.5f, 12.25f, 13.0f};
}

void fillDefaultMeasurements(AnalysisState& s) {
    s.allCount = s.usedCount = static_cast<int>(kDefaultTimes.size());
    s.useFrom = 1;
    s.useTo = s.allCount;
    s.times.assign(kDefaultTimes.begin(), kDefaultTimes.end());
    s.measured.assign(kDefaultDrawdowns.begin(), kDefaultDrawdowns.end());
    s.calculated.assign(s.usedCount, 0.0);
    s.allTimes = s.times;
    s.allDrawdowns = s.measured;
}

}  // namespace

void initialiseAnalysisState(AnalysisState& s) {
    s = AnalysisState{};
    fillPublishedLists(s);
    fillReservedData(s);
    s.curveY.assign(s.curveYCount, 0.0f);
    s.curveX.assign(s.curveXCount, 0.0f);
    fillDefaultMeasurements(s);
    s.modelParams.assign(1, 0.0f);
    s.simplexValues.assign(1, 0.0f);
    s.simplexVertices.assign(1, 0.0f);
    s.errorHistory.assign(s.maxIterations, 0.0f);
    s.lsParams.assign(2 * s.lsParamCapacity, 0.0);
    s.lsParamFree.assign(2 * s.lsParamCapacity, 1);
    fillBouwerRiceTable(s);
    s.gaussNodes.assign(s.gaussCount + 1, 0.0);
    s.gaussWeights.assign(s.gaussCount + 1, 0.0);
    s.stehfestWeights.assign(s.stehfestCount + 1, 0.0);
    s.paramVector.fill(0.0f);
    for (int j = 0; j < s.paramCount; ++j) s.paramVector[j] = 1.0f;
}

void buildNumericalTables(AnalysisState& s) {
    s.gaussNodes.assign(s.gaussCount + 1, 0.0);
    s.gaussWeights.assign(s.gaussCount + 1, 0.0);
    gaussLegendreRule(-1.0, 1.0, s.gaussNodes, s.gaussWeights, s.gaussCount);
    s.stehfestWeights.assign(s.stehfestCount + 1, 0.0);
    stehfestCoefficients(s.stehfestCount, s.stehfestWeights);
}

AnalysisState makeDefaultState() {
    AnalysisState s;
    initialiseAnalysisState(s);
    buildNumericalTables(s);
    return s;
}

void resizeMeasurementArrays(AnalysisState& s) {
    s.allTimes.resize(s.allCount);
    s.allDrawdowns.resize(s.allCount);
    s.times.resize(s.usedCount);
    s.measured.resize(s.usedCount);
    s.calculated.resize(s.usedCount);
}

}  // namespace tolvex
