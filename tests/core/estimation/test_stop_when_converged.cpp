// Stopping at convergence against running on to the iteration limit, on every sample set, synthetic set
// and model of the regression-pinned fits (fits_0_4_cases.csv with fit_data_0_4.csv; fits_5_10.csv with
// synthetic_sets_5_10.csv). The early stop may only shorten the run: its error history is the start of
// the full run's, least squares ends on the full run's parameters to 1 float ulp and its RMS, and the
// simplex ends with an RMS no worse than the full run's times (1 + 1e-6). The full run through the
// settings (FitControls::fullRun) is the pinned run, bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "core/estimation/BouwerRice.h"
#include "core/estimation/LeastSquares.h"
#include "core/estimation/Marquardt.h"
#include "core/estimation/Simplex.h"
#include "core/input/SampleSets.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"
#include "support/CsvTable.h"

namespace tolvex {
namespace {

using test::CsvRow;
const std::string kDir = TOLVEX_TEST_DATA_DIR "/reference/";

enum class Method { Simplex, LeastSquares, BouwerRice };

struct Case {
    std::string name;
    AnalysisState state;
    Method method;
};

void useMeasurements(AnalysisState& s, const std::vector<double>& t, const std::vector<double>& v) {
    s.times = s.allTimes = t;
    s.measured = s.allDrawdowns = v;
    s.allCount = s.usedCount = s.useTo = static_cast<int>(t.size());
    s.useFrom = 1;
    s.calculated.assign(t.size(), 0.0);
}

void limit(AnalysisState& s, int iterations) {
    s.maxIterations = iterations;
    s.errorHistory.assign(static_cast<std::size_t>(iterations), 0.0f);
}

// The cases of the pinned fits of models 0-4, with the pinned limits (150 simplex passes, 60 iterations).
void addCases0To4(std::vector<Case>& cases) {
    std::vector<std::string> order;
    std::map<std::string, AnalysisState> states;
    std::map<std::string, std::string> sets;
    for (const CsvRow& row : test::readCsvTable(kDir + "fits_0_4_cases.csv")) {
        const std::string& name = row.at("case");
        if (!states.count(name)) {
            order.push_back(name);
            states.emplace(name, makeDefaultState());
        }
        if (row.at("field") == "data") {
            sets[name] = row.at("value");
        } else {
            EXPECT_FALSE(setFieldText(states.at(name), *findField(row.at("field")), row.at("value")));
        }
    }
    const std::vector<CsvRow> data = test::readCsvTable(kDir + "fit_data_0_4.csv");
    for (const std::string& name : order) {
        AnalysisState s = states.at(name);
        if (sets[name] != "sample") {
            std::vector<double> t, v;
            for (const CsvRow& row : data) {
                if (row.at("set") != sets[name]) continue;
                t.push_back(std::stod(row.at("t")));
                v.push_back(std::stod(row.at("s")));
            }
            useMeasurements(s, t, v);
        }
        limit(s, 150);
        cases.push_back({name + " simplex", s, Method::Simplex});
        limit(s, 60);
        cases.push_back({name + " lsq", s, Method::LeastSquares});
    }
}

// The simplex, least-squares and Bouwer-Rice cases of the pinned fits of models 5-10.
void addCases5To10(std::vector<Case>& cases) {
    const std::vector<CsvRow> synthetic = test::readCsvTable(kDir + "synthetic_sets_5_10.csv");
    for (const CsvRow& r : test::readCsvTable(kDir + "fits_5_10.csv")) {
        const int method = std::stoi(r.at("method"));
        if (method != 1 && method != 2 && method != 4) continue;
        AnalysisState s = makeDefaultState();
        s.modelKind = std::stoi(r.at("model"));
        const int set = std::stoi(r.at("set"));
        if (set == 1) installPredefinedSet(s, kSetSlugTest);
        if (set > 1) {
            std::vector<double> t, v;
            for (const CsvRow& row : synthetic) {
                if (std::stoi(row.at("set")) != set) continue;
                t.push_back(std::stod(row.at("t")));
                v.push_back(std::stod(row.at("value")));
            }
            useMeasurements(s, t, v);
        }
        const std::pair<float AnalysisState::*, const char*> geometry[] = {
            {&AnalysisState::pumpingRate, "Q"},        {&AnalysisState::radialDistance, "r"},
            {&AnalysisState::aquiferThickness, "b"},   {&AnalysisState::wellRadius, "rw"},
            {&AnalysisState::casingRadius, "rc"},      {&AnalysisState::slabThickness, "bs"},
            {&AnalysisState::screenLength, "Le"},      {&AnalysisState::wellDepthInAquifer, "Lw"},
            {&AnalysisState::brAquiferThickness, "H"}, {&AnalysisState::hydraulicConductivity, "K"}};
        for (const auto& [member, column] : geometry) s.*member = std::stof(r.at(column));
        limit(s, std::stoi(r.at("max_iter")));
        const int n = parameterCount(s.modelKind);
        std::vector<double> start(n + 1, 0.0);
        for (int k = 1; k <= n; ++k) start[k] = std::stod(r.at("s" + std::to_string(k)));
        if (n > 0) writeParameterVector(s, std::span<const double>(start));
        const Method m = method == 1   ? Method::Simplex
                         : method == 2 ? Method::LeastSquares
                                       : Method::BouwerRice;
        cases.push_back({"case " + r.at("case"), s, m});
    }
}

struct FitRun {
    int iterations = 0;
    std::vector<float> history;
    float rms = 0.0f;
    std::vector<float> fields;  // the fitted fields, as stored
    FitOutcome outcome;
};

FitRun finish(const AnalysisState& s, FitOutcome outcome) {
    FitRun r{s.iterationsDone, {}, s.rmsError, {}, std::move(outcome)};
    for (int i = 0; i < s.iterationsDone && i < static_cast<int>(s.errorHistory.size()); ++i)
        r.history.push_back(s.errorHistory[i]);
    for (std::string_view name : fittedFieldNames(s.modelKind))
        r.fields.push_back(s.*std::get<float AnalysisState::*>(findField(name)->member));
    return r;
}

FitRun run(const Case& c, const FitControls& controls) {
    AnalysisState s = c.state;
    NullProgress progress;
    FitOutcome outcome;
    if (c.method == Method::Simplex) {
        s.modelParams = buildParameterVector(s);
        outcome = simplexEstimation(s, progress, {}, vectorControls(s, controls));
        writeParameterVector(s, std::span<const float>(s.modelParams));
    } else if (c.method == Method::LeastSquares) {
        outcome = leastSquaresEstimation(s, progress, {}, controls);
    } else {
        prepareBouwerRice(s);
        const MarquardtResult m = marquardtFit(s, progress, {}, vectorControls(s, controls));
        finishBouwerRice(s);
        outcome.end = m.end;
        outcome.converged = m.converged;
    }
    return finish(s, outcome);
}

// The run of the functions without settings, as the pinned tests make it.
FitRun pinnedRun(const Case& c) {
    AnalysisState s = c.state;
    NullProgress progress;
    FitOutcome outcome;
    if (c.method == Method::Simplex) {
        s.modelParams = buildParameterVector(s);
        outcome.end = simplexEstimation(s, progress, {});
        writeParameterVector(s, std::span<const float>(s.modelParams));
    } else if (c.method == Method::LeastSquares) {
        outcome.end = leastSquaresEstimation(s, progress, {});
    } else {
        outcome.end = bouwerRiceEstimation(s, progress, {});
    }
    return finish(s, outcome);
}

std::int64_t ulps(float a, float b) {
    if (a == b) return 0;
    const auto key = [](float f) {
        const auto bits = static_cast<std::int64_t>(std::bit_cast<std::int32_t>(f));
        return bits < 0 ? -(bits & 0x7fffffff) : bits;
    };
    return std::llabs(key(a) - key(b));
}

const std::vector<Case>& allCases() {
    static const std::vector<Case> cases = [] {
        std::vector<Case> c;
        addCases0To4(c);
        addCases5To10(c);
        return c;
    }();
    return cases;
}

TEST(StopWhenConverged, OnlyShortensTheRunOnEveryPinnedFit) {
    ASSERT_GE(allCases().size(), 40u);
    int shortened = 0, iterationsSaved = 0;
    for (const Case& c : allCases()) {
        const FitRun full = run(c, FitControls::fullRun());
        const FitRun early = run(c, FitControls{});
        const FitRun pinned = pinnedRun(c);
        // the settings' full run is the pinned run
        EXPECT_EQ(full.iterations, pinned.iterations) << c.name;
        EXPECT_EQ(full.history, pinned.history) << c.name;
        EXPECT_EQ(full.rms, pinned.rms) << c.name;
        EXPECT_EQ(full.fields, pinned.fields) << c.name;
        EXPECT_EQ(full.outcome.end, pinned.outcome.end) << c.name;

        if (std::getenv("TOLVEX_PRINT_STOPS"))
            std::printf("%-24s %4d of %4d  %s\n", c.name.c_str(), early.iterations, full.iterations,
                        stopReasonText(early.outcome.end).c_str());
        ASSERT_LE(early.iterations, full.iterations) << c.name;
        const std::vector<float> prefix(full.history.begin(), full.history.begin() + early.iterations);
        EXPECT_EQ(early.history, prefix) << c.name;
        if (early.iterations < full.iterations) {
            ++shortened;
            iterationsSaved += full.iterations - early.iterations;
            EXPECT_EQ(early.outcome.end, FitEnd::Settled) << c.name;
            EXPECT_TRUE(early.outcome.converged) << c.name;
            EXPECT_TRUE(full.outcome.converged) << c.name << ": converged early but not at the limit";
        } else {
            EXPECT_EQ(early.outcome.end, full.outcome.end) << c.name;
        }
        if (c.method == Method::Simplex) {
            EXPECT_LE(early.rms, full.rms * (1.0 + 1e-6)) << c.name;
        } else {
            EXPECT_LE(ulps(early.rms, full.rms), 1) << c.name << ": " << early.rms << " vs " << full.rms;
            for (std::size_t k = 0; k < full.fields.size(); ++k) {
                EXPECT_LE(ulps(early.fields[k], full.fields[k]), 1)
                    << c.name << " parameter " << k + 1 << ": " << early.fields[k] << " vs "
                    << full.fields[k];
            }
        }
    }
    RecordProperty("shortened", shortened);
    RecordProperty("iterationsSaved", iterationsSaved);
    EXPECT_GE(shortened, 10) << "the stop at convergence should shorten many of the pinned fits";
}

// The Theis fit of the sample converges at iteration 6 of the default 20; with the setting off the run
// goes on to the limit and still reports convergence. The leaky fit stops at the default limit
// unconverged.
TEST(StopWhenConverged, ReportsWhetherTheFitConverged) {
    struct Expect {
        int model, iterations;
        FitControls controls;
        FitEnd end;
        bool converged;
    };
    const Expect cases[] = {
        {0, 20, FitControls{}, FitEnd::Settled, true},
        {0, 20, FitControls::fullRun(), FitEnd::IterationLimit, true},
        {0, 3, FitControls{}, FitEnd::IterationLimit, false},
        {2, 20, FitControls{}, FitEnd::IterationLimit, false},
    };
    for (const Expect& e : cases) {
        AnalysisState s = makeDefaultState();
        s.modelKind = e.model;
        limit(s, e.iterations);
        NullProgress progress;
        const FitOutcome o = leastSquaresEstimation(s, progress, {}, e.controls);
        EXPECT_EQ(o.end, e.end) << e.model << " " << e.iterations;
        EXPECT_EQ(o.converged, e.converged) << e.model << " " << e.iterations;
        if (e.end == FitEnd::Settled) {
            EXPECT_LT(s.iterationsDone, e.iterations);
            // the last iteration left the stored values unchanged: its error equals the one before
            EXPECT_EQ(s.errorHistory[s.iterationsDone - 1], s.errorHistory[s.iterationsDone - 2]);
        }
    }
}

// The synthetic Theis set: the simplex collapses after 79 of its 150 passes.
TEST(StopWhenConverged, SimplexStopsWhenItsVerticesCoincide) {
    const Case* found = nullptr;
    for (const Case& c : allCases())
        if (c.name == "m0_syn simplex") found = &c;
    ASSERT_TRUE(found);
    AnalysisState s = found->state;
    NullProgress progress;
    s.modelParams = buildParameterVector(s);
    const FitOutcome early = simplexEstimation(s, progress, {}, vectorControls(s, FitControls{}));
    EXPECT_EQ(early.end, FitEnd::Settled);
    EXPECT_TRUE(early.converged);
    EXPECT_LT(s.iterationsDone, s.maxIterations);
    const int n = 2;
    float lowest = s.simplexValues[0], highest = lowest;
    for (int v = 0; v <= n; ++v) {
        lowest = std::min(lowest, s.simplexValues[v]);
        highest = std::max(highest, s.simplexValues[v]);
        for (int j = 0; j < n; ++j) {  // every vertex within 1e-6 of the chosen one
            EXPECT_NEAR(s.simplexVertices[v * n + j], s.modelParams[j + 1], 1e-6 * s.modelParams[j + 1]);
        }
    }
    EXPECT_LE(highest - lowest, 1.2e-7f * lowest);
}

TEST(StopWhenConverged, StopReasonTexts) {
    const std::pair<FitEnd, const char*> texts[] = {
        {FitEnd::Settled, "converged"},
        {FitEnd::IterationLimit, "iteration limit"},
        {FitEnd::Stopped, "stopped by the user"},
        {FitEnd::Converged, "error below the convergence error"},
        {FitEnd::NoAcceptableStep, "no acceptable step"},
        {FitEnd::ClosedForm, "closed form"},
        {FitEnd::NothingFitted, "nothing fitted"},
    };
    for (const auto& [end, text] : texts) EXPECT_EQ(stopReasonText(end), text);
    EXPECT_EQ(notConvergedWarning(20),
              "not converged after 20 iterations; raise the limit or improve the start");
}

}  // namespace
}  // namespace tolvex
