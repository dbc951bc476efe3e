// Drawdowns of every model simulated with one parameter set each: the times and the geometry and
// parameters by field name. A fit started elsewhere must find the parameters again (RMS 0 there).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tolvex::test {

struct SyntheticCase {
    int model;
    int count;
    float tMin, tMax;
    std::vector<std::pair<std::string, std::string>> truth;  // geometry and the parameters simulated
};

inline std::vector<SyntheticCase> syntheticCases() {
    return {{0, 20, 0.1f, 1000.0f, {{"storativity", "2e-4"}, {"transmissivity", "25"}}},
            {1,
             25,
             1e-5f,
             100.0f,
             {{"radialDistance", "2"},
              {"storativity", "2e-4"},
              {"transmissivity", "6"},
              {"verticalConductivity", "0.5"}}},
            {2,
             25,
             1e-4f,
             1000.0f,
             {{"radialDistance", "20"},
              {"storativity", "2e-4"},
              {"transmissivity", "5"},
              {"upperBedConductivity", "0.02"}}},
            {3,
             25,
             1e-5f,
             100.0f,
             {{"radialDistance", "2"},
              {"storativity", "2e-4"},
              {"transmissivity", "6"},
              {"verticalConductivity", "0.6"},
              {"upperBedConductivity", "1"}}},
            {4, 25, 0.01f, 1000.0f, {{"storativity", "2e-4"}, {"transmissivity", "6"}}},
            {5, 20, 0.01f, 100.0f, {{"storativity", "1e-3"}, {"transmissivity", "30"}}},
            {6,
             30,
             1e-6f,
             1000.0f,
             {{"radialDistance", "20"},
              {"storativity", "5e-4"},
              {"transmissivity", "12"},
              {"verticalConductivity", "0.5"},
              {"specificYield", "0.15"}}},
            {7,
             25,
             1e-3f,
             1e4f,
             {{"fractureStorativity", "2e-4"},
              {"fractureTransmissivity", "15"},
              {"matrixStorativity", "0.05"},
              {"matrixTransmissivity", "0.5"}}},
            {8,
             25,
             1e-3f,
             1e4f,
             {{"fractureStorativity", "2e-4"},
              {"fractureTransmissivity", "15"},
              {"matrixStorativity", "0.05"},
              {"matrixTransmissivity", "0.5"}}}};
}

}  // namespace tolvex::test
