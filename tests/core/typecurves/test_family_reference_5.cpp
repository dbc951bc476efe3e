// The slug-test family (Cooper, Bredehoeft and Papadopulos 1967) on its default ranges: the shape of the
// arrays, the two logarithmic grids (beta = T t/rc^2 along the abscissa, alpha = rw^2 S/rc^2 labelling the
// curves) and values at points off the diagonal against mpmath quadrature
// (tests/data/reference/family_slug_5.csv, from tests/reference/slug_unconfined_fractured_reference.py).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "core/typecurves/LogGrid.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex {
namespace {

TEST(SlugFamilyReference, GridsShapeAndValues) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 5;
    NullProgress progress;
    ASSERT_FALSE(checkTypeCurveRanges(s));
    ASSERT_TRUE(computeTypeCurves(s, progress, {}));
    // 20 abscissae (beta 0.002..100) and 10 curves (alpha 1e-10..0.1).
    EXPECT_EQ(s.curveXCount, 21);
    EXPECT_EQ(s.curveYCount, 201);
    EXPECT_EQ(s.familyCount, 10);
    ASSERT_GE(s.curveY.size(), 201u);
    EXPECT_FLOAT_EQ(s.curveX[1], 0.002f);
    EXPECT_FLOAT_EQ(s.curveX[20], 100.0f);
    EXPECT_FLOAT_EQ(s.familyValues[0], 1e-10f);
    EXPECT_FLOAT_EQ(s.familyValues[9], 0.1f);
    for (int i = 1; i <= 20; ++i) EXPECT_FLOAT_EQ(s.curveX[i], logGridValue(0.002f, 100.0f, 20, i - 1)) << i;
    for (int k = 0; k < 10; ++k) EXPECT_FLOAT_EQ(s.familyValues[k], std::pow(10.0, k - 10.0)) << k;

    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/family_slug_5.csv");
    std::string line;
    int rows = 0;
    double worst = -1.0;
    std::string where;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] == 'i') continue;  // comments and the header
        std::istringstream fields(line);
        char comma;
        int i = 0, k = 0;
        double beta, alpha, expected, tol;
        fields >> i >> comma >> k >> comma >> beta >> comma >> alpha >> comma >> expected >> comma >> tol;
        ++rows;
        EXPECT_FLOAT_EQ(s.curveX[i], static_cast<float>(beta));
        EXPECT_FLOAT_EQ(s.familyValues[k], static_cast<float>(alpha));
        const float value = s.curveY[static_cast<std::size_t>(k) * 20 + i];
        const double excess = std::fabs(value / expected - 1.0) / tol;
        if (excess > worst) {
            worst = excess;
            where = "curve " + std::to_string(k) + ", abscissa " + std::to_string(i) + ": " +
                    std::to_string(value) + " against " + std::to_string(expected);
        }
    }
    EXPECT_GE(rows, 5);
    EXPECT_LE(worst, 1.0) << where;
}

}  // namespace
}  // namespace tolvex
