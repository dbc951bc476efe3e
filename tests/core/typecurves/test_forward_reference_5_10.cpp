// Drawdowns of the slug-test, unconfined and double-porosity models (5-8) at given parameters against
// independent references: mpmath quadrature of the Cooper, Bredehoeft and Papadopulos (1967) integral and
// high-precision de Hoog / Talbot inversions of the Laplace transforms of Moench (1984, 1993), written by
// tests/reference/slug_unconfined_fractured_reference.py. Each row's tolerance is the known error of the
// program's algorithm (truncated Gauss-Legendre panels for the slug test, 12 Stehfest terms otherwise).
// The rows lie where the dimensionless groups matter: rw != rc for alpha = rw^2 S/rc^2, the delayed-yield
// bend for beta = Kz r^2/(b T) and sigma = S/Sy, the transition for lambda = 12 Tm r^2/(Tf bs^2) and
// gamma = 2 r sqrt(Tm/Tf)/bs.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/solutions/Unconfined.h"
#include "core/typecurves/ForwardModel.h"

namespace tolvex {
namespace {

// A CSV file with '#' comment lines and a header line, read as named columns of numbers.
struct Table {
    std::map<std::string, std::size_t> column;
    std::vector<std::vector<double>> rows;
    double at(std::size_t row, const std::string& name) const { return rows[row][column.at(name)]; }
};

Table readTable(const std::string& name) {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/" + name);
    Table table;
    std::string line, field;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::stringstream fields(line);
        const bool header = table.column.empty();
        std::vector<double> values;
        for (std::size_t i = 0; std::getline(fields, field, ','); ++i) {
            if (header) table.column[field] = i;
            values.push_back(field.empty() ? NAN : std::atof(field.c_str()));
        }
        if (!header) table.rows.push_back(values);
    }
    return table;
}

// The state of one row: the geometry fields the model reads and one measurement time.
AnalysisState rowState(const Table& t, std::size_t i) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(t.at(i, "model"));
    s.pumpingRate = static_cast<float>(t.at(i, "Q"));
    s.radialDistance = static_cast<float>(t.at(i, "r"));
    s.aquiferThickness = static_cast<float>(t.at(i, "b"));
    s.wellRadius = static_cast<float>(t.at(i, "rw"));
    s.casingRadius = static_cast<float>(t.at(i, "rc"));
    s.slabThickness = static_cast<float>(t.at(i, "bs"));
    s.mnL = static_cast<float>(t.at(i, "l"));
    s.mnD = static_cast<float>(t.at(i, "d"));
    s.mnZ = static_cast<float>(t.at(i, "z"));
    s.mnZ1 = static_cast<float>(t.at(i, "z1"));
    s.mnZ2 = static_cast<float>(t.at(i, "z2"));
    // The reference numbers its forms 0 screen average, 1 full thickness, 2 piezometer.
    const int form = static_cast<int>(t.at(i, "form"));
    s.mnObsKind = form == 0 ? kObservationScreen : form == 2 ? kPiezometer : kFullThicknessAverage;
    s.tcAltUniform = 0;
    s.usedCount = 1;
    s.times = {t.at(i, "t")};
    s.measured = {0.0};
    s.calculated = {0.0};
    return s;
}

// The drawdown of the row, computed by the forward model from the row's state.
double programValue(const Table& t, std::size_t i) {
    AnalysisState s = rowState(t, i);
    const int n = s.modelKind == 5 ? 2 : 4;
    std::vector<float> p(n + 1, 0.0f);
    for (int k = 1; k <= n; ++k) p[k] = static_cast<float>(t.at(i, "p" + std::to_string(k)));
    evaluateForward(s, p, s.modelKind);
    return s.calculated[0];
}

class ForwardReference : public ::testing::TestWithParam<int> {};

TEST_P(ForwardReference, AgreesWithinTheAlgorithmsKnownError) {
    const Table t = readTable("forward_models_5_10.csv");
    int rows = 0;
    double worst = -1.0;
    std::string where;
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        if (t.at(i, "model") != GetParam()) continue;
        ++rows;
        const double expected = t.at(i, "expected");
        const double value = programValue(t, i);
        const double excess = std::fabs(value - expected) / (t.at(i, "rel_tol") * std::fabs(expected));
        if (!(excess <= worst)) {
            worst = excess;
            std::ostringstream os;
            os << "data row " << i + 1 << " (form " << t.at(i, "form") << ", t = " << t.at(i, "t")
               << "): program " << value << ", reference " << expected << ", error "
               << std::fabs(value / expected - 1.0) << " relative, tolerance " << t.at(i, "rel_tol");
            where = os.str();
        }
    }
    ASSERT_GE(rows, 4) << "too few rows for model " << GetParam();
    EXPECT_LE(worst, 1.0) << "worst " << where;
}

INSTANTIATE_TEST_SUITE_P(Models5To8, ForwardReference, ::testing::Range(5, 9));

}  // namespace
}  // namespace tolvex
