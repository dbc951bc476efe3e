// The summary of an estimation: what each method leaves in it, checked against values computed without
// the program (scipy's least-squares optimum and its uncertainty, numpy's straight line, the closed form
// of Bouwer and Rice), the marks of the fit settings, the document's units, when it no longer describes
// the data, and its text and tab-separated forms (also under a comma locale).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/commands/EstimationCommands.h"
#include "core/estimation/ResultSummaryBuilder.h"
#include "core/estimation/ResultSummaryText.h"
#include "core/input/DisplayUnitsChange.h"
#include "core/input/SampleSets.h"
#include "core/state/CommaLocale.h"
#include "support/CsvTable.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

std::string dataPath(const std::string& name) {
    return std::string(TOLVEX_TEST_DATA_DIR) + "/" + name;
}

// The value of `quantity` in `case` of a case,quantity,value table.
double reference(const std::string& file, const std::string& caseName, const std::string& quantity) {
    for (const test::CsvRow& row : test::readCsvTable(dataPath(file))) {
        if (row.at("case") == caseName && row.at("quantity") == quantity) return std::stod(row.at("value"));
    }
    ADD_FAILURE() << "no " << caseName << " " << quantity << " in " << file;
    return std::nan("");
}

// A column of the row of `caseName` in tests/data/reference/fits_5_10.csv.
double fitsReference(const std::string& caseName, const std::string& column) {
    for (const test::CsvRow& row : test::readCsvTable(dataPath("reference/fits_5_10.csv"))) {
        if (row.at("case") == caseName) return std::stod(row.at(column));
    }
    ADD_FAILURE() << "no case " << caseName << " in fits_5_10.csv";
    return std::nan("");
}

void expectRelative(double got, double expected, double tolerance, const std::string& what) {
    EXPECT_NEAR(got / expected, 1.0, tolerance) << what << ": " << got << " expected " << expected;
}

const ResultParameter* parameter(const ResultSummary& s, const std::string& name) {
    for (const ResultParameter& p : s.parameters)
        if (p.name == name) return &p;
    ADD_FAILURE() << "no parameter " << name;
    return nullptr;
}

const ResultQuantity* derived(const ResultSummary& s, const std::string& name) {
    for (const ResultQuantity& q : s.derived)
        if (q.name == name) return &q;
    ADD_FAILURE() << "no derived quantity " << name;
    return nullptr;
}

// Least squares as the window runs it, and the summary it leaves.
ResultSummary leastSquares(AnalysisState& s, const FitControls& controls = {}) {
    ScriptedInteraction ui;
    FitOutcome outcome;
    EXPECT_EQ(leastSquaresInversionWith(s, ui, controls, outcome), CommandOutcome::Done);
    return buildResultSummary(s, leastSquaresMethod(s.modelKind), outcome, controls);
}

TEST(ResultSummary, LeastSquaresOnTheSampleGivesScipysOptimumStandardErrorsAndIntervals) {
    AnalysisState s = makeDefaultState();
    const ResultSummary summary = leastSquares(s);
    EXPECT_EQ(summary.method, "lsq");
    EXPECT_EQ(methodNameOfKey(summary.method), "least squares");
    EXPECT_EQ(summary.modelKind, 0);
    EXPECT_EQ(summary.modelName, std::string(modelName(0)));
    ASSERT_EQ(summary.parameters.size(), 2u);
    const std::string table = "reference/fit_uncertainty.csv";
    for (const char* name : {"transmissivity", "storativity"}) {
        const ResultParameter* p = parameter(summary, name);
        ASSERT_NE(p, nullptr);
        SCOPED_TRACE(name);
        EXPECT_TRUE(p->unit.empty());  // no units set: the user's consistent units
        expectRelative(p->value, reference(table, "theis_sample", std::string("value_") + name), 2e-5,
                       "value");
        // The run's optimum differs from scipy's in the sixth digit; the errors follow to about 1e-4.
        expectRelative(p->standardError, reference(table, "theis_sample", std::string("se_") + name), 1e-3,
                       "se");
        expectRelative(p->lower, reference(table, "theis_sample", std::string("lo_") + name), 1e-3, "lower");
        expectRelative(p->upper, reference(table, "theis_sample", std::string("hi_") + name), 1e-3, "upper");
        EXPECT_FALSE(p->fixed || p->bounded || p->atBound);
    }
    EXPECT_EQ(parameter(summary, "transmissivity")->symbol, "T");
    EXPECT_EQ(parameter(summary, "storativity")->symbol, "S");
    expectRelative(summary.rmsError, reference("render/cli_fit_values.csv", "theis-lsq", "rmsError"), 1e-6,
                   "rms");
    EXPECT_EQ(summary.iterations, s.iterationsDone);
    EXPECT_GT(summary.iterations, 0);
    EXPECT_TRUE(summary.converged);
    EXPECT_EQ(convergenceText(summary), "converged");
    EXPECT_TRUE(summary.derived.empty());
    EXPECT_TRUE(resultsCurrent([&] {
        AnalysisState withSummary = s;
        withSummary.lastResults = summary;
        return withSummary;
    }()));
}

TEST(ResultSummary, JacobsLineGivesTAndSAndNumpysSlopeAndZeroTime) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(ModelKind::Jacob);
    const ResultSummary summary = leastSquares(s);
    EXPECT_EQ(summary.method, "jacob");
    const std::string fits = "render/cli_fit_values.csv";
    expectRelative(parameter(summary, "transmissivity")->value,
                   reference(fits, "jacob-lsq", "transmissivity"), 1e-6, "T");
    expectRelative(parameter(summary, "storativity")->value, reference(fits, "jacob-lsq", "storativity"),
                   1e-6, "S");
    expectRelative(summary.rmsError, reference(fits, "jacob-lsq", "rmsError"), 1e-6, "rms");
    const std::string line = "reference/result_summary.csv";
    expectRelative(derived(summary, "drawdownPerLogCycle")->value,
                   reference(line, "jacob_sample", "drawdownPerLogCycle"), 1e-5, "slope");
    expectRelative(derived(summary, "zeroDrawdownTime")->value,
                   reference(line, "jacob_sample", "zeroDrawdownTime"), 1e-5, "t0");
    EXPECT_TRUE(std::isnan(parameter(summary, "transmissivity")->standardError));
    EXPECT_EQ(convergenceText(summary), "closed form");
    EXPECT_EQ(summary.iterations, 0);
}

TEST(ResultSummary, BouwerRiceGivesKReAndTheCoefficientsOfTheClosedForm) {
    AnalysisState s = makeDefaultState();
    installPredefinedSet(s, kSetSlugTest);
    s.modelKind = static_cast<int>(ModelKind::BouwerRice);
    const ResultSummary summary = leastSquares(s);
    EXPECT_EQ(summary.method, "bouwer-rice");
    ASSERT_EQ(summary.parameters.size(), 1u);
    EXPECT_EQ(summary.parameters[0].symbol, "K");
    // Case 300: the slug sample with the default well (rw = rc = 7.6, Le = 9800, Lw = H = 10000).
    expectRelative(summary.parameters[0].value, fitsReference("300", "e1"), 1e-5, "K");
    expectRelative(derived(summary, "brLnReRw")->value, fitsReference("300", "e2"), 2e-6, "ln(Re/rw)");
    expectRelative(derived(summary, "brCoefA")->value, fitsReference("300", "e3"), 2e-6, "A");
    expectRelative(derived(summary, "brCoefB")->value, fitsReference("300", "e4"), 2e-6, "B");
    expectRelative(derived(summary, "brCoefC")->value, fitsReference("300", "e5"), 2e-6, "C");
    expectRelative(derived(summary, "brRate")->value, fitsReference("300", "e6"), 1e-5, "rate");
    // Re = rw exp(ln(Re/rw)).
    expectRelative(derived(summary, "effectiveRadius")->value,
                   fitsReference("300", "rw") * std::exp(fitsReference("300", "e2")), 2e-6, "Re");
    expectRelative(summary.rmsError, fitsReference("300", "rms"), 1e-5, "rms");
}

TEST(ResultSummary, TheTrialRunReportsTheMisfitOfTheValuesAsEntered) {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    ASSERT_EQ(trialInversion(s, ui), CommandOutcome::Done);
    const ResultSummary summary = buildResultSummary(s, EstimationMethod::TrialRun,
                                                     FitOutcome{FitEnd::NothingFitted, false, {}, {}}, {});
    EXPECT_EQ(methodNameOfKey(summary.method), "trial run");
    const std::string fits = "render/cli_fit_values.csv";
    expectRelative(parameter(summary, "transmissivity")->value,
                   reference(fits, "theis-trial", "transmissivity"), 1e-7, "T");
    expectRelative(summary.rmsError, reference(fits, "theis-trial", "rmsError"), 1e-6, "rms");
    EXPECT_EQ(convergenceText(summary), "nothing fitted");
}

TEST(ResultSummary, FixedBoundedAndAtBoundMarksFollowTheFitSettings) {
    AnalysisState s = makeDefaultState();
    FitControls controls;
    controls.fixed = {"storativity"};
    // The optimum lies near T = 8.4 (with S held at 1e-5 higher still): an upper bound of 8 stops it there.
    controls.bounds["transmissivity"] = ParameterBounds{1.0, 8.0};
    const ResultSummary summary = leastSquares(s, controls);
    const ResultParameter* t = parameter(summary, "transmissivity");
    const ResultParameter* storage = parameter(summary, "storativity");
    ASSERT_TRUE(t && storage);
    EXPECT_TRUE(t->bounded);
    EXPECT_TRUE(t->atBound);
    EXPECT_NEAR(t->value, 8.0, 1e-5);
    EXPECT_TRUE(storage->fixed);
    EXPECT_FALSE(storage->bounded);
    EXPECT_FLOAT_EQ(static_cast<float>(storage->value), 1.0e-5f);
    EXPECT_EQ(parameterMarks(*t), "at a bound");
    EXPECT_EQ(parameterMarks(*storage), "fixed");
    ResultParameter both;
    both.fixed = both.bounded = true;
    EXPECT_EQ(parameterMarks(both), "fixed, bounded");
}

TEST(ResultSummary, ParametersAreShownInTheDocumentsUnits) {
    AnalysisState s = makeDefaultState();
    // The sample's numbers read as days, metres and m3/d: the same fit, now with units.
    changeDisplayUnits(s, *parseUnits("time=d,length=m,rate=m3/d").units);
    const ResultSummary summary = leastSquares(s);
    const ResultParameter* t = parameter(summary, "transmissivity");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->unit, "m\u00b2/d");
    EXPECT_EQ(parameter(summary, "storativity")->unit, "");
    expectRelative(t->value,
                   reference("reference/fit_uncertainty.csv", "theis_sample", "value_transmissivity"), 2e-5,
                   "T in m2/d");
    expectRelative(t->standardError,
                   reference("reference/fit_uncertainty.csv", "theis_sample", "se_transmissivity"), 1e-3,
                   "se in m2/d");
    EXPECT_EQ(summary.rmsUnit, "m");
    expectRelative(summary.rmsError, reference("render/cli_fit_values.csv", "theis-lsq", "rmsError"), 1e-5,
                   "rms");
}

// --- When the summary stops describing the document -------------------------------------------------

struct StaleCase {
    const char* what;
    void (*change)(AnalysisState&);
    bool stale;
};

const StaleCase kStaleCases[] = {
    {"a measurement", [](AnalysisState& s) { s.allDrawdowns[3] += 0.01; }, true},
    {"the used range", [](AnalysisState& s) { s.useFrom = 2; }, true},
    {"the model", [](AnalysisState& s) { s.modelKind = 2; }, true},
    {"the pumping rate", [](AnalysisState& s) { s.pumpingRate = 80.0f; }, true},
    {"a fitted parameter", [](AnalysisState& s) { s.transmissivity = 9.0f; }, true},
    {"a further series", [](AnalysisState& s) { s.extraSeries.emplace_back(); }, true},
    {"the plot's range", [](AnalysisState& s) { s.plotXMax = 100.0f; }, false},
    {"the project's description", [](AnalysisState& s) { s.projectDescription = "Well 7"; }, false},
};

TEST(ResultSummary, IsStaleAfterTheDataOrTheModelChangeAndOnlyThen) {
    AnalysisState fitted = makeDefaultState();
    fitted.lastResults = leastSquares(fitted);
    ASSERT_TRUE(resultsCurrent(fitted));
    for (const StaleCase& c : kStaleCases) {
        AnalysisState s = fitted;
        c.change(s);
        EXPECT_EQ(resultsCurrent(s), !c.stale) << c.what;
    }
    AnalysisState none = makeDefaultState();
    EXPECT_FALSE(resultsCurrent(none));
}

// --- Text and table ------------------------------------------------------------------------------------

std::vector<std::vector<std::string>> parseTable(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            cells.push_back(line.substr(start, tab - start));
        cells.push_back(line.substr(start));
        rows.push_back(cells);
    }
    return rows;
}

// A number cell read back with the C library's own parser in the "C" locale's format: a decimal point.
double cellNumber(const std::string& cell) {
    EXPECT_EQ(cell.find(','), std::string::npos) << cell;
    std::istringstream in(cell);
    in.imbue(std::locale::classic());
    double value = std::nan("");
    in >> value;
    EXPECT_TRUE(in.eof()) << "not a whole number: " << cell;
    return value;
}

void expectTableHolds(const ResultSummary& summary, const std::string& table) {
    const auto rows = parseTable(table);
    ASSERT_GE(rows.size(), 4u + summary.parameters.size());
    EXPECT_EQ(rows[0], resultTableColumns());
    for (const auto& row : rows) EXPECT_EQ(row.size(), resultTableColumns().size());
    std::map<std::string, std::vector<std::string>> byName;
    for (const auto& row : rows) byName[row[0]] = row;
    EXPECT_EQ(byName["model"][2], summary.modelName);
    EXPECT_EQ(byName["method"][2], methodNameOfKey(summary.method));
    for (const ResultParameter& p : summary.parameters) {
        const auto& row = byName[p.name];
        ASSERT_EQ(row.size(), 8u) << p.name;
        EXPECT_EQ(row[1], p.symbol);
        EXPECT_NEAR(cellNumber(row[2]) / p.value, 1.0, 1e-8) << p.name;
        EXPECT_EQ(row[3], p.unit);
        if (std::isfinite(p.standardError)) {
            EXPECT_NEAR(cellNumber(row[4]) / p.standardError, 1.0, 1e-8) << p.name;
            EXPECT_NEAR(cellNumber(row[5]) / p.lower, 1.0, 1e-8) << p.name;
            EXPECT_NEAR(cellNumber(row[6]) / p.upper, 1.0, 1e-8) << p.name;
        } else {
            EXPECT_EQ(row[4], "") << "a missing error is an empty cell";
        }
    }
    EXPECT_NEAR(cellNumber(byName["rmsError"][2]) / summary.rmsError, 1.0, 1e-8);
    EXPECT_EQ(std::stoi(byName["iterations"][2]), summary.iterations);
}

TEST(ResultSummaryText, TheTableReadsBackCellForCell) {
    AnalysisState s = makeDefaultState();
    const ResultSummary theis = leastSquares(s);
    expectTableHolds(theis, resultSummaryTable(theis));
    AnalysisState slug = makeDefaultState();
    installPredefinedSet(slug, kSetSlugTest);
    slug.modelKind = static_cast<int>(ModelKind::BouwerRice);
    const ResultSummary br = leastSquares(slug);
    expectTableHolds(br, resultSummaryTable(br));
}

TEST(ResultSummaryText, NumbersKeepTheDecimalPointUnderACommaLocale) {
    AnalysisState s = makeDefaultState();
    const ResultSummary summary = leastSquares(s);
    const std::string before = resultSummaryTable(summary);
    const std::string textBefore = resultSummaryText(summary);
    testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "the locale " << testing::kCommaLocale << " is not installed";
    EXPECT_EQ(resultSummaryTable(summary), before);
    EXPECT_EQ(resultSummaryText(summary), textBefore);
    expectTableHolds(summary, resultSummaryTable(summary));
}

TEST(ResultSummaryText, TextNamesEveryPartAndTabsInTextsCannotSplitARow) {
    ResultSummary s;
    s.modelName = "Theis";
    s.method = "simplex";
    s.parameters.push_back(
        ResultParameter{"transmissivity", "T", "m\u00b2/d", 8.5, 0.25, 8.0, 9.0, false, true, false});
    s.derived.push_back(ResultQuantity{"brLnReRw", "ln(Re/rw)", "", 2.5});
    s.rmsError = 0.125;
    s.rmsUnit = "m";
    s.iterations = 12;
    s.converged = false;
    s.stopReason = "iteration limit";
    s.warnings = {"T and S cannot\tbe told apart"};
    s.stale = true;
    const std::string text = resultSummaryText(s);
    for (const char* part :
         {"Model: Theis\n", "Method: simplex\n", "changed after this fit",
          "T = 8.5 m\u00b2/d, standard error 0.25, 95 % interval 8 .. 9 (bounded)", "ln(Re/rw) = 2.5\n",
          "RMS error: 0.125 m\n", "Iterations: 12 (not converged)\n", "Warning: T and S cannot"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
    const auto rows = parseTable(resultSummaryTable(s));
    for (const auto& row : rows) EXPECT_EQ(row.size(), 8u);
    EXPECT_EQ(rows.back()[7], "T and S cannot be told apart");
    EXPECT_NE(rows[2][7].find("stale"), std::string::npos);
}

}  // namespace
}  // namespace tolvex
