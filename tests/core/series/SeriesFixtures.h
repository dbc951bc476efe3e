// Pumping tests seen at several wells for the joint-fit tests: the synthetic data of
// tests/reference/joint_fit_reference.py (tests/data/series/joint_*.dat).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "core/input/Import.h"
#include "core/input/SeriesImport.h"
#include "core/state/AnalysisState.h"

namespace tolvex::testing {

inline std::string seriesFile(const std::string& data, int well) {
    return std::string(TOLVEX_TEST_DATA_DIR) + "/series/joint_" + data + "_" + std::to_string(well) + ".dat";
}

inline ObservationSeries loadSeries(const std::string& data, int well, double r, double weight = 1.0) {
    auto result = importSeries(
        {"well " + std::to_string(well), seriesFile(data, well), r, weight, 0, std::nullopt, {}, 0});
    if (auto* error = std::get_if<std::string>(&result)) ADD_FAILURE() << *error;
    return std::get<ObservationSeries>(result);
}

// The test of `data` ("theis" or "leaky") with well 1 as the classic series and wells 2 and 3 after it.
struct ThreeWells {
    int model;
    float rate;
    std::vector<double> r;
    std::vector<double> weights{1.0, 1.0, 1.0};
};

inline AnalysisState threeWellState(const std::string& data, const ThreeWells& w) {
    AnalysisState s = makeDefaultState();
    s.modelKind = w.model;
    if (auto error = importMeasurements(seriesFile(data, 1), 0, s)) ADD_FAILURE() << *error;
    s.pumpingRate = w.rate;
    s.radialDistance = static_cast<float>(w.r[0]);
    s.firstSeries.weight = w.weights[0];
    s.extraSeries.push_back(loadSeries(data, 2, w.r[1], w.weights[1]));
    s.extraSeries.push_back(loadSeries(data, 3, w.r[2], w.weights[2]));
    return s;
}

inline const ThreeWells kTheisWells{0, 500.0f, {20.0, 60.0, 150.0}};
inline const ThreeWells kLeakyWells{2, 300.0f, {30.0, 90.0, 250.0}};

}  // namespace tolvex::testing
