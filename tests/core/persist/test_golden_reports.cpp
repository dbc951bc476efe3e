// Golden reports: the report file of a type-curve run of every model and of a least-squares run of
// every model, compared byte for byte with tests/data/reports/<case>.txt. Those files are regression
// pins of a reviewed run (layout, labels, widths and line order checked by eye against the report
// formats); TOLVEX_UPDATE_GOLDEN=1 rewrites them. Besides the pins, the lines whose numbers are known
// without the program are checked against values formatted here with the C library's printf: the
// abscissa column of the type-curve table against the logarithmic grid of the range, and the time and
// measured columns of the estimation table against the sample set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/commands/EstimationCommands.h"
#include "core/commands/TypeCurveCommands.h"
#include "core/input/SampleSets.h"
#include "core/persist/GoldenFiles.h"
#include "core/persist/Reports.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using namespace tolvex::testing;

// printf's "%<width>.<precision>e" with the exponent widened to three digits, as the reports print it.
std::string printfE(double value, int width, int precision) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision, value);
    std::string text = buffer;
    const std::size_t e = text.find('e');
    if (text.size() - e - 2 < 3) text.insert(e + 2, 3 - (text.size() - e - 2), '0');
    return std::string(width > static_cast<int>(text.size()) ? width - text.size() : 0, ' ') + text;
}

std::string printfF(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%20.7f", value);
    return buffer;
}

// printf's "%20s".
std::string padded(const std::string& text) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%20s", text.c_str());
    return buffer;
}

std::vector<std::string> reportLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The sample sets (time, measured) as the data-input tables give them.
const std::vector<std::pair<double, double>> kPumpingSet{
    {5, 3.41},  {10, 3.58}, {15, 3.97},  {20, 4.2},   {30, 4.54},  {45, 4.88},  {60, 5.13},
    {75, 5.35}, {90, 5.55}, {105, 5.63}, {240, 6.21}, {360, 6.36}, {480, 6.44}, {600, 6.47}};
const std::vector<std::pair<double, double>> kSlugSet{
    {3.01, 0.816},  {6.01, 0.7},    {9.01, 0.616},  {12.01, 0.55},  {15.01, 0.5},   {18.01, 0.45},
    {21.01, 0.4},   {24.01, 0.366}, {27.01, 0.334}, {30.01, 0.3},   {33.01, 0.266}, {36.01, 0.25},
    {39.01, 0.234}, {42.01, 0.2},   {45.01, 0.193}, {48.01, 0.166}, {51.01, 0.159}, {54.01, 0.146},
    {57.01, 0.134}, {60.01, 0.127}, {63.01, 0.116}};

struct Grid {
    float min = 0, max = 0;
    int count = 0;
};

struct ReportCase {
    std::string name;
    std::function<void(AnalysisState&)> setUp;  // model, counts, geometry switches
    bool estimation = false;                    // least squares instead of type curves
    Grid abscissa;                              // type curves: the range of the table's second column
    bool slugData = false;                      // estimation: the slug-test set instead of the pumping test
};

// Small families: six abscissae and three curves, on the default ranges.
std::function<void(AnalysisState&)> model(int kind, int obsKind = 0) {
    return [kind, obsKind](AnalysisState& s) {
        s.modelKind = kind;
        s.ppObsKind = s.lppObsKind = s.mnObsKind = obsKind;
        // Observation-well screens unlike the piezometer defaults, so a mixed-up field shows.
        if (obsKind >= 1) {
            s.ppWellD = 0.4f, s.ppWellL = 0.8f, s.ppObsD = 0.3f, s.ppObsL = 0.6f;
            s.lppWellD = 0.2f, s.lppWellL = 0.7f, s.lppObsD = 0.35f, s.lppObsL = 0.65f, s.lppWellAnis = 0.2f;
            s.mnZ1 = 0.1f, s.mnZ2 = 0.9f;
        }
        s.tcPpCount = s.tcLeakyCount = s.tcLppCount = s.tcStorCount = s.tcSlugBetaCount = s.tcMnTdCount =
            s.tcWrTdCount = s.tcBsTdCount = 6;
        s.tcPpAnisCount = s.tcLeakyRbCount = s.tcLppBetaCount = s.tcStorBetaCount = s.tcSlugAlphaCount =
            s.tcMnKzCount = s.tcWrLambdaCount = s.tcBsGammaCount = 3;
    };
}

ReportCase typeCurves(std::string name, std::function<void(AnalysisState&)> setUp, Grid abscissa) {
    return {std::move(name), std::move(setUp), false, abscissa, false};
}
ReportCase estimation(std::string name, std::function<void(AnalysisState&)> setUp, bool slugData = false) {
    return {std::move(name), std::move(setUp), true, Grid{}, slugData};
}

const Grid kInverseU{0.1f, 10000.0f, 6};
const std::vector<ReportCase> kCases = {
    typeCurves("typecurves_model0", model(0), {0.1f, 10000.0f, 50}),
    typeCurves("typecurves_model1_piezometer", model(1), kInverseU),
    typeCurves("typecurves_model1_obswell", model(1, 1), kInverseU),
    typeCurves("typecurves_model2", model(2), kInverseU),
    typeCurves("typecurves_model3_piezometer", model(3), kInverseU),
    typeCurves("typecurves_model3_obswell", model(3, 1), kInverseU),
    typeCurves("typecurves_model4", model(4), kInverseU),
    typeCurves("typecurves_model5", model(5), {0.002f, 100.0f, 6}),
    // The unconfined observation kinds: 0 full-thickness average, 1 point at z/b, 2 screen z1/b..z2/b.
    typeCurves("typecurves_model6_average", model(6), {0.1f, 1.0e7f, 6}),
    typeCurves("typecurves_model6_point", model(6, 1), {0.1f, 1.0e7f, 6}),
    typeCurves("typecurves_model6_screen", model(6, 2), {0.1f, 1.0e7f, 6}),
    typeCurves("typecurves_model7", model(7), {0.1f, 1.0e6f, 6}),
    typeCurves("typecurves_model8", model(8), {0.1f, 1.0e6f, 6}),
    estimation("estimation_model0", model(0)),
    estimation("estimation_model1_piezometer", model(1)),
    estimation("estimation_model1_obswell", model(1, 1)),
    estimation("estimation_model2", model(2)),
    estimation("estimation_model3_piezometer", model(3)),
    estimation("estimation_model3_obswell", model(3, 1)),
    estimation("estimation_model4", model(4)),
    estimation("estimation_model5", model(5), true),
    estimation("estimation_model6_average", model(6)),
    estimation("estimation_model6_point", model(6, 1)),
    estimation("estimation_model6_screen", model(6, 2)),
    estimation("estimation_model7", model(7)),
    estimation("estimation_model8", model(8)),
    estimation("estimation_model9", model(9)),
    estimation("estimation_model10", model(10), true),
};

AnalysisState runCase(const ReportCase& c) {
    AnalysisState s = makeDefaultState();
    c.setUp(s);
    ScriptedInteraction ui;
    if (c.estimation) {
        if (c.slugData) installPredefinedSet(s, kSetSlugTest);
        EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done) << c.name;
        EXPECT_EQ(s.resultKind, 1) << c.name;
    } else {
        EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Done) << c.name;
        EXPECT_EQ(s.resultKind, 0) << c.name;
    }
    EXPECT_TRUE(ui.messages.empty()) << c.name << ": " << (ui.messages.empty() ? "" : ui.messages[0]);
    return s;
}

// The lines checked against values formatted here; returns what is wrong, or nothing.
std::string checkKnownLines(const ReportCase& c, const std::vector<std::string>& lines) {
    if (!c.estimation) {
        // The data rows end the report: u, the abscissa, then the curves, ten characters each.
        if (lines.size() < static_cast<std::size_t>(c.abscissa.count)) return "too few lines";
        const std::size_t first = lines.size() - static_cast<std::size_t>(c.abscissa.count);
        const double step =
            std::log10(static_cast<double>(c.abscissa.max) / c.abscissa.min) / (c.abscissa.count - 1);
        for (int j = 0; j < c.abscissa.count; ++j) {
            const double x = std::pow(10.0, std::log10(static_cast<double>(c.abscissa.min)) + j * step);
            const std::string& line = lines[first + static_cast<std::size_t>(j)];
            if (line.substr(10, 10) != printfE(x, 10, 2) || line.substr(0, 10) != printfE(1.0 / x, 10, 2))
                return "row " + std::to_string(j + 1) + " \"" + line + "\", abscissa " + printfE(x, 10, 2);
        }
        return {};
    }
    const auto& set = c.slugData ? kSlugSet : kPumpingSet;
    const auto table = std::find(lines.begin(), lines.end(),
                                 padded(" Time  ") + padded("Measured-Drawdown") +
                                     padded("Calculated-Drawdown") + padded("Measured-Calculated"));
    if (table == lines.end() || lines.end() - table < static_cast<long>(set.size()) + 2) return "no table";
    for (std::size_t i = 0; i < set.size(); ++i) {
        const std::string expected = printfF(set[i].first) + printfF(set[i].second);
        if (table[2 + static_cast<long>(i)].substr(0, 40) != expected)
            return "table row " + std::to_string(i + 1);
    }
    if (std::find(lines.begin(), lines.end(), "User Specified Number of Iterartions= 20") == lines.end())
        return "no line of the iteration limit";
    const bool pumped = !c.slugData && c.name != "estimation_model9";
    const std::string rate = "Pumping rate = " + printfE(75.53f, 20, 5);
    if (pumped && std::find(lines.begin(), lines.end(), rate) == lines.end())
        return "no line \"" + rate + "\"";
    return {};
}

TEST(GoldenReport, EveryModelAsReviewed) {
    for (const ReportCase& c : kCases) {
        const AnalysisState state = runCase(c);
        const std::string text = reportText(state);
        const std::string path = dataPath("reports/" + c.name + ".txt");
        EXPECT_EQ(checkKnownLines(c, reportLines(text)), "") << c.name;
        if (updateGoldenRequested()) {
            writeBytes(path, text);
            ADD_FAILURE() << "wrote " << path << "; review it before committing";
            continue;
        }
        const std::string golden = readBytes(path);
        const std::size_t at = firstDifference(text, golden);
        if (at == std::string::npos) continue;
        const auto line =
            std::count(golden.begin(), golden.begin() + static_cast<long>(std::min(at, golden.size())), '\n');
        ADD_FAILURE() << c.name << ".txt differs first at byte " << at << ", line " << line + 1
                      << "\n  program: " << excerpt(text, at) << "\n  golden:  " << excerpt(golden, at);
    }
}

// Report kind 2 writes the well-function report followed directly by the estimation report: after a
// type-curve run and a fit of the same analysis, the two golden reports one after the other.
TEST(GoldenReport, BothReportsInOneFile) {
    AnalysisState state = runCase(kCases[0]);
    ScriptedInteraction ui;
    ASSERT_EQ(leastSquaresInversion(state, ui), CommandOutcome::Done);
    state.resultKind = 2;
    EXPECT_EQ(reportText(state), readBytes(dataPath("reports/typecurves_model0.txt")) +
                                     readBytes(dataPath("reports/estimation_model0.txt")));
}

}  // namespace
}  // namespace tolvex
