// Drawdowns of the pumping-test models 0-4 against independent references: the defining integrals of
// W(u), W(u, r/B) and H(u, beta) and the Hantush (1961, 1964) partial-penetration series evaluated
// with mpmath (tests/reference/confined_leaky_reference.py). Each row's tolerance is the known error of
// the program's approximation of its well function, so a wrong factor in u = r^2 S/(4 T t), in
// Q/(4 pi T), in r/B, a r/b or beta, or a screen depth read from the wrong field fails the row.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"
#include "support/CsvTable.h"

namespace tolvex {
namespace {

using Row = test::CsvRow;

std::vector<Row> readTable(const std::string& path) {
    return test::readCsvTable(path);
}

double number(const Row& row, const std::string& key) {
    return std::stod(row.at(key));
}

// Rows of one case share everything but the time.
bool sameCase(const Row& a, const Row& b) {
    for (const auto& [key, value] : a) {
        if (key != "t" && key != "u" && key != "drawdown" && key != "tolerance" && b.at(key) != value)
            return false;
    }
    return true;
}

// Screen depths that no row uses: every geometry field the row does not name holds one of these, so a
// formula that reads the other screen (well for piezometer, nonleaky for leaky) moves the drawdown.
void decoyScreens(AnalysisState& s) {
    s.ppPiezoL = 0.95f, s.ppPiezoD = 0.05f, s.ppPiezoZ = 0.15f;
    s.ppWellL = 0.9f, s.ppWellD = 0.1f, s.ppObsL = 0.85f, s.ppObsD = 0.2f;
    s.lppPiezoL = 0.97f, s.lppPiezoD = 0.07f, s.lppPiezoZ = 0.12f;
    s.lppWellL = 0.92f, s.lppWellD = 0.12f, s.lppObsL = 0.82f, s.lppObsD = 0.22f;
}

void setScreens(AnalysisState& s, int model, const Row& row) {
    const auto l = static_cast<float>(number(row, "l")), d = static_cast<float>(number(row, "d"));
    const auto lo = static_cast<float>(number(row, "lo")), dz = static_cast<float>(number(row, "dz"));
    const bool piezometer = row.at("geometry") == "piezometer";
    if (model == 1) {
        s.ppObsKind = piezometer ? 0 : 1;
        if (piezometer) {
            s.ppPiezoL = l, s.ppPiezoD = d, s.ppPiezoZ = dz;
        } else {
            s.ppWellL = l, s.ppWellD = d, s.ppObsL = lo, s.ppObsD = dz;
        }
    } else if (model == 3) {
        s.lppObsKind = piezometer ? 0 : 1;
        if (piezometer) {
            s.lppPiezoL = l, s.lppPiezoD = d, s.lppPiezoZ = dz;
        } else {
            s.lppWellL = l, s.lppWellD = d, s.lppObsL = lo, s.lppObsD = dz;
        }
    }
}

TEST(ForwardReference, ModelsZeroToFourMatchTheDefiningIntegrals) {
    const std::vector<Row> rows = readTable(TOLVEX_TEST_DATA_DIR "/reference/forward_models_0_4.csv");
    ASSERT_GE(rows.size(), 30u);
    int modelsSeen[5] = {};
    double worstRatio = 0.0;
    std::string worstRow;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const Row& row = rows[k];
        const int model = std::stoi(row.at("model"));
        AnalysisState s = makeDefaultState();
        s.modelKind = model;
        s.pumpingRate = static_cast<float>(number(row, "Q"));
        s.radialDistance = static_cast<float>(number(row, "r"));
        s.aquiferThickness = static_cast<float>(number(row, "b"));
        s.upperBedThickness = static_cast<float>(number(row, "b1"));
        s.lowerBedThickness = static_cast<float>(number(row, "b2"));
        decoyScreens(s);
        setScreens(s, model, row);
        s.usedCount = 1;
        s.times = {number(row, "t")};
        std::vector<double> q(kMaxParameters + 1, 0.0);
        for (int j = 1; j <= kMaxParameters; ++j) q[j] = number(row, "p" + std::to_string(j));
        std::vector<double> out(1, 0.0);
        computeDrawdowns(s, model, q, out);

        const double expected = number(row, "drawdown");
        const double tolerance = number(row, "tolerance");
        const double ratio = std::fabs(out[0] - expected) / tolerance;
        if (!(ratio <= worstRatio)) {
            worstRatio = ratio;
            std::ostringstream text;
            text << "row " << k + 1 << ": model " << model << " " << row.at("geometry")
                 << " t = " << row.at("t") << " (u = " << row.at("u") << ", parameter "
                 << row.at("dimensionless") << "): drawdown " << out[0] << ", reference " << expected
                 << ", tolerance " << tolerance;
            worstRow = text.str();
        }
        ++modelsSeen[model];
    }
    for (int m = 0; m <= 4; ++m) EXPECT_GE(modelsSeen[m], 3) << "model " << m;
    EXPECT_LE(worstRatio, 1.0) << "worst " << worstRow;
}

// forwardMisfit on the rows of each model's first case taken as one measurement set, measured 1 % above
// the reference drawdowns: the RMS of the residuals (model 2: of the log10 residuals) is then 1 % of
// the drawdowns (log10 1.01), give or take the drawdowns' own tolerance.
TEST(ForwardReference, MisfitOfAOnePercentOffset) {
    const std::vector<Row> rows = readTable(TOLVEX_TEST_DATA_DIR "/reference/forward_models_0_4.csv");
    for (int model = 0; model <= 4; ++model) {
        const Row* first = nullptr;
        AnalysisState s = makeDefaultState();
        s.modelKind = model;
        s.times.clear();
        s.measured.clear();
        double sumSquares = 0.0, sumTolerances = 0.0;
        for (const Row& row : rows) {
            if (std::stoi(row.at("model")) != model) continue;
            if (!first) first = &row;
            if (!sameCase(row, *first)) continue;
            const double reference = number(row, "drawdown");
            const double tolerance = number(row, "tolerance");
            s.times.push_back(number(row, "t"));
            s.measured.push_back(1.01 * reference);
            const double residual = model == 2 ? std::log10(1.01) : 0.01 * reference;
            const double spread = model == 2 ? tolerance / reference / std::log(10.0) : tolerance;
            sumSquares += residual * residual;
            sumTolerances += spread * spread;
        }
        ASSERT_TRUE(first) << "model " << model;
        s.pumpingRate = static_cast<float>(number(*first, "Q"));
        s.radialDistance = static_cast<float>(number(*first, "r"));
        s.aquiferThickness = static_cast<float>(number(*first, "b"));
        s.upperBedThickness = static_cast<float>(number(*first, "b1"));
        s.lowerBedThickness = static_cast<float>(number(*first, "b2"));
        decoyScreens(s);
        setScreens(s, model, *first);
        std::vector<float> p(parameterCount(model) + 1, 0.0f);
        for (int j = 1; j <= parameterCount(model); ++j)
            p[j] = static_cast<float>(number(*first, "p" + std::to_string(j)));
        s.usedCount = static_cast<int>(s.times.size());
        s.calculated.assign(s.times.size(), 0.0);
        const float misfit = forwardMisfit(s, p, model);
        const double n = s.usedCount;
        const double expected = std::sqrt(sumSquares / n);
        EXPECT_NEAR(misfit, expected, std::sqrt(sumTolerances / n) + 1e-6 * expected) << "model " << model;
    }
}

// The squares are added into a float: once the sum holds one large square, each square below half its
// unit in the last place (1000340 carries 0.0625) is lost. With S = 1000 every drawdown is exactly 0
// (u > 745), so the residuals are the measurements: one of 1000.17 and 100000 of 0.17 (0.0289 each).
TEST(ForwardReference, MisfitSumsItsSquaresInAFloat) {
    AnalysisState s = makeDefaultState();
    const int n = 100001;
    s.usedCount = n;
    s.times.assign(n, 600.0);
    s.measured.assign(n, 0.17);
    s.measured[0] = 1000.17;
    s.calculated.assign(n, 0.0);
    std::vector<float> p{0.0f, 1000.0f, 8.8f};
    const float misfit = forwardMisfit(s, p, 0);
    EXPECT_EQ(s.calculated[n - 1], 0.0);
    EXPECT_EQ(misfit, static_cast<float>(std::sqrt(1000340.0 / n)));  // not sqrt((1000340.0289 + 2890) / n)
}

}  // namespace
}  // namespace tolvex
