// Type-curve families of the partially penetrating well (models 1 and 3) against the Hantush (1961,
// 1964) series summed to convergence on the leaky function by quadrature
// (tests/reference/confined_leaky_reference.py): the 1/u axis and the family axis (a r / b for model 1,
// r/B for model 3) from their own range fields, and every curve value. The other model's ranges, the
// other observation kind's screens and the other a r / b hold different values, so a field read from
// the wrong place fails.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/typecurves/TypeCurveFamily.h"
#include "support/CsvTable.h"

namespace tolvex {
namespace {

using Row = test::CsvRow;

std::vector<Row> readTable(const std::string& path) {
    return test::readCsvTable(path);
}

float fieldOf(const Row& row, const char* key) {
    return std::stof(row.at(key));
}

// The family of the row's case, computed once per case.
AnalysisState familyOf(const Row& row) {
    AnalysisState s = makeDefaultState();
    const int model = std::stoi(row.at("model"));
    const int kind = std::stoi(row.at("obs_kind"));
    s.modelKind = model;
    // decoys: the ranges of the other model and every screen and a r / b the case does not use
    s.tcPpMin = 0.3f, s.tcPpMax = 3e3f, s.tcPpCount = 7, s.tcPpAnisMin = 0.02f, s.tcPpAnisMax = 5.0f;
    s.tcPpAnisCount = 6;
    s.tcLppMin = 0.4f, s.tcLppMax = 4e4f, s.tcLppCount = 6, s.tcLppBetaMin = 0.03f, s.tcLppBetaMax = 3.0f;
    s.tcLppBetaCount = 5;
    s.ppPiezoL = 0.95f, s.ppPiezoD = 0.05f, s.ppPiezoZ = 0.15f;
    s.ppWellL = 0.9f, s.ppWellD = 0.1f, s.ppObsL = 0.85f, s.ppObsD = 0.2f;
    s.lppPiezoL = 0.97f, s.lppPiezoD = 0.07f, s.lppPiezoZ = 0.12f;
    s.lppWellL = 0.92f, s.lppWellD = 0.12f, s.lppObsL = 0.82f, s.lppObsD = 0.22f;
    const float l = fieldOf(row, "l"), d = fieldOf(row, "d"), lo = fieldOf(row, "lo"),
                dz = fieldOf(row, "dz");
    const float xMin = fieldOf(row, "x_min"), xMax = fieldOf(row, "x_max");
    const float pMin = fieldOf(row, "p_min"), pMax = fieldOf(row, "p_max");
    const int nx = std::stoi(row.at("x_count")), np = std::stoi(row.at("p_count"));
    if (model == 1) {
        s.tcPpMin = xMin, s.tcPpMax = xMax, s.tcPpCount = nx;
        s.tcPpAnisMin = pMin, s.tcPpAnisMax = pMax, s.tcPpAnisCount = np;
        s.ppObsKind = kind;
        if (kind == 0) {
            s.ppPiezoL = l, s.ppPiezoD = d, s.ppPiezoZ = dz;
        } else {
            s.ppWellL = l, s.ppWellD = d, s.ppObsL = lo, s.ppObsD = dz;
        }
    } else {
        s.tcLppMin = xMin, s.tcLppMax = xMax, s.tcLppCount = nx;
        s.tcLppBetaMin = pMin, s.tcLppBetaMax = pMax, s.tcLppBetaCount = np;
        s.lppObsKind = kind;
        s.lppPiezoAnis = fieldOf(row, "anis_piezometer");
        s.lppWellAnis = fieldOf(row, "anis_well");
        if (kind == 0) {
            s.lppPiezoL = l, s.lppPiezoD = d, s.lppPiezoZ = dz;
        } else {
            s.lppWellL = l, s.lppWellD = d, s.lppObsL = lo, s.lppObsD = dz;
        }
    }
    EXPECT_FALSE(checkTypeCurveRanges(s));
    NullProgress progress;
    EXPECT_TRUE(computeTypeCurves(s, progress, {}));
    return s;
}

TEST(FamilyReference, PartialPenetrationFamiliesMatchTheHantushSeries) {
    const std::vector<Row> rows = readTable(TOLVEX_TEST_DATA_DIR "/reference/families_1_3.csv");
    ASSERT_GE(rows.size(), 50u);
    std::map<std::string, AnalysisState> families;
    double worst = 0.0;
    std::string worstText;
    for (const Row& row : rows) {
        const std::string& name = row.at("case");
        if (!families.count(name)) {
            const AnalysisState s = familyOf(row);
            EXPECT_EQ(s.curveXCount, std::stoi(row.at("x_count")) + 1) << name;
            EXPECT_EQ(s.familyCount, std::stoi(row.at("p_count"))) << name;
            EXPECT_EQ(s.typeCurvesReady, 1) << name;
            families.emplace(name, s);
        }
        const AnalysisState& s = families.at(name);
        const int i = std::stoi(row.at("i")), k = std::stoi(row.at("k"));
        const int nx = s.curveXCount - 1;
        ASSERT_LT(k, s.familyCount) << name;
        ASSERT_LE(i, nx) << name;
        // the axes: float grid values, to the rounding of their logarithms
        EXPECT_NEAR(s.curveX[i], std::stod(row.at("curve_x")), 2e-7 * std::stod(row.at("curve_x"))) << name;
        EXPECT_NEAR(s.familyValues[k], std::stod(row.at("family_value")),
                    2e-7 * std::stod(row.at("family_value")))
            << name;
        const double got = s.curveY[static_cast<std::size_t>(k) * nx + i];
        const double expected = std::stod(row.at("curve_y"));
        const double ratio = std::fabs(got - expected) / std::stod(row.at("tolerance"));
        if (!(ratio <= worst)) {
            worst = ratio;
            worstText = name + " curve " + row.at("k") + " (" + row.at("family_value") +
                        ") at 1/u = " + row.at("curve_x") + ": " + std::to_string(got) + ", reference " +
                        row.at("curve_y") + ", tolerance " + row.at("tolerance");
        }
    }
    EXPECT_EQ(families.size(), 4u);
    EXPECT_LE(worst, 1.0) << "worst " << worstText;
}

}  // namespace
}  // namespace tolvex
