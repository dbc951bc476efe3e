// The report for the calculation of well functions.
#include <algorithm>

#include "core/persist/ReportLines.h"
#include "core/persist/Reports.h"
#include "core/solutions/Unconfined.h"
#include "core/state/ModelKind.h"

namespace tolvex {
namespace {

using report::valueAt;

// One range or geometry line: "<label>%20.5e\n\n" for a value, "<label>%10d\n\n" for a count,
// "<label>\n\n" for a line of text.
struct RangeLine {
    std::string label;
    double value = 0.0;
    bool count = false;
    bool text = false;
};

// The model's range and geometry lines, the label F of its curve function and the name G of its
// family parameter.
struct ModelSection {
    std::vector<RangeLine> lines;
    std::string curveLabel;
    std::string familyLabel;
};

RangeLine count(std::string label, int value) {
    return {std::move(label), static_cast<double>(value), true};
}

constexpr const char* kTopDepth = "Screen Top Depth of Pumping well (d/b) = ";
constexpr const char* kBottomDepth = "Screen Bottom Depth of Pumping well (l/b) = ";
constexpr const char* kPiezometerDepth = "Depth of Piezometer (z/b) = ";
constexpr const char* kObsTopDepth = "Screen Top Depth of Observation well (d'/b) = ";
constexpr const char* kObsBottomDepth = "Screen Bottom Depth of Observation well (l'/b) = ";
constexpr const char* kAnisotropy = "Anisotropy Ratio of Hydraulic Conductivity (ar/b) = ";

ModelSection partiallyPenetrating(const AnalysisState& s) {
    ModelSection m{{{"Minimum 1/u = ", s.tcPpMin},
                    {"Maximum 1/u = ", s.tcPpMax},
                    count("Number of Points (u) = ", s.tcPpCount),
                    {"Minimum ar/b = ", s.tcPpAnisMin},
                    {"Maximum ar/b = ", s.tcPpAnisMax},
                    count("Number of Points (ar/b) = ", s.tcPpAnisCount)},
                   "",
                   "ar/b"};
    if (s.ppObsKind == 0) {
        m.lines.insert(m.lines.end(),
                       {{kTopDepth, s.ppPiezoD}, {kBottomDepth, s.ppPiezoL}, {kPiezometerDepth, s.ppPiezoZ}});
        m.curveLabel = "W(u)+f(u,ar/b,l/b,d/b,z/b)";
    } else {
        m.lines.insert(m.lines.end(), {{kTopDepth, s.ppWellD},
                                       {kBottomDepth, s.ppWellL},
                                       {kObsTopDepth, s.ppObsD},
                                       {kObsBottomDepth, s.ppObsL}});
        m.curveLabel = "W(u)+f(u,ar/b,l/b,d/b,l'/b,d'/b)";
    }
    return m;
}

ModelSection leakyPartiallyPenetrating(const AnalysisState& s) {
    ModelSection m{{{"Minimum 1/u = ", s.tcLppMin},
                    {"Maximum 1/u = ", s.tcLppMax},
                    count("Number of Points (u) = ", s.tcLppCount),
                    {"Minimum beta = ", s.tcLppBetaMin},
                    {"Maximum beta = ", s.tcLppBetaMax},
                    count("Number of Points (beta) = ", s.tcLppBetaCount)},
                   "",
                   "beta"};
    if (s.lppObsKind == 0) {
        m.lines.insert(m.lines.end(), {{kTopDepth, s.lppPiezoD},
                                       {kBottomDepth, s.lppPiezoL},
                                       {kPiezometerDepth, s.lppPiezoZ},
                                       {kAnisotropy, s.lppPiezoAnis}});
        m.curveLabel = "W(u,beta)+f(u,ar/b,l/b,d/b,z/b)";
    } else {
        m.lines.insert(m.lines.end(), {{kTopDepth, s.lppWellD},
                                       {kBottomDepth, s.lppWellL},
                                       {kObsTopDepth, s.lppObsD},
                                       {kObsBottomDepth, s.lppObsL},
                                       {kAnisotropy, s.lppWellAnis}});
        m.curveLabel = "W(u,beta)+f(u,ar/b,l/b,d/b,l'/b,d'/b)";
    }
    return m;
}

ModelSection unconfined(const AnalysisState& s) {
    ModelSection m{{{"Minimum td = ", s.tcMnTdMin},
                    {"Maximum td = ", s.tcMnTdMax},
                    count("Number of Points (td) = ", s.tcMnTdCount),
                    {"Minimum Kz*r^2/Kr/b^2 = ", s.tcMnKzMin},
                    {"Maximum Kz*r^2/Kr/b^2 = ", s.tcMnKzMax},
                    count("Number of Points (Kz*r^2/Kr/b^2) = ", s.tcMnKzCount),
                    {kTopDepth, s.mnD},
                    {kBottomDepth, s.mnL}},
                   "",
                   "Kz*r^2/Kr/b^2"};
    // The observation the curves were computed for (Neuman's table: the full-thickness average).
    const int observation = unconfinedTypeCurveGeometry(s).form;
    m.lines.push_back(
        {std::string("Observation: ") + unconfinedObservationName(observation), 0.0, false, true});
    if (observation == kPiezometer) {
        m.lines.push_back({"Coordinate of Piezometer (z/b) = ", s.mnZ});
        m.curveLabel = "W(u,Kz*r^2/Kr/b^2,l/b,d/b,z/b)";
    } else if (observation == kObservationScreen) {
        m.lines.insert(m.lines.end(), {{"Screen bottom Coordinate of observation well (z1/b) = ", s.mnZ1},
                                       {"Screen top of Coordinate observation well (z2/b) = ", s.mnZ2}});
        m.curveLabel = "W(u,Kz*r^2/Kr/b^2,l/b,d/b,z1/b,z2/b)";
    } else {
        m.curveLabel = "W(u,Kz*r^2/Kr/b^2,l/b,d/b)";
    }
    return m;
}

ModelSection modelSection(const AnalysisState& s) {
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            return {{{"Minimum 1/u = ", s.tcTheisMin},
                     {"Maximum 1/u = ", s.tcTheisMax},
                     count("Number of Points = ", s.tcTheisCount)},
                    "W(u)",
                    ""};
        case ModelKind::PartialPenetration:
            return partiallyPenetrating(s);
        case ModelKind::Leaky:
            return {{{"Minimum 1/u = ", s.tcLeakyMin},
                     {"Maximum 1/u = ", s.tcLeakyMax},
                     count("Number of Points (u) = ", s.tcLeakyCount),
                     {"Minimum r/B = ", s.tcLeakyRbMin},
                     {"Maximum r/B = ", s.tcLeakyRbMax},
                     count("Number of Points (r/B) = ", s.tcLeakyRbCount)},
                    "W(u,r/B)",
                    "r/B"};
        case ModelKind::LeakyPartial:
            return leakyPartiallyPenetrating(s);
        case ModelKind::LeakyStorage:
            return {{{"Minimum 1/u = ", s.tcStorMin},
                     {"Maximum 1/u = ", s.tcStorMax},
                     count("Number of Points (u) = ", s.tcStorCount),
                     {"Minimum beta = ", s.tcStorBetaMin},
                     {"Maximum beta = ", s.tcStorBetaMax},
                     count("Number of Points (beta) = ", s.tcStorBetaCount)},
                    "H(u,beta)",
                    "beta"};
        case ModelKind::SlugTest:
            return {{{"Minimum beta (T*t/rc2) = ", s.tcSlugBetaMin},
                     {"Maximum beta = ", s.tcSlugBetaMax},
                     count("Number of Points (beta)= ", s.tcSlugBetaCount),
                     {"Minimum alpha (rw2*S/rc2)) = ", s.tcSlugAlphaMin},
                     {"Maximum alpha = ", s.tcSlugAlphaMax},
                     count("Number of points (alpha) = ", s.tcSlugAlphaCount)},
                    "F(beta, alpha)",
                    "alpha"};
        case ModelKind::Unconfined:
            return unconfined(s);
        case ModelKind::WarrenRoot:
            return {{{"Minimum lambda a(T'/T)*r*r = ", s.tcWrLambdaMin},
                     {"Maximum lambda = ", s.tcWrLambdaMax},
                     count("Number of Points (lambda)= ", s.tcWrLambdaCount),
                     {"Minimum td/rd2 (T*t/S/r/r) = ", s.tcWrTdMin},
                     {"Maximum td/rd2 = ", s.tcWrTdMax},
                     count("Number of points (td/rd2) = ", s.tcWrTdCount)},
                    "W(td,lambda,sigma)",
                    "lambda"};
        case ModelKind::BoultonStreltsova:
            return {{{"Minimum gamma (T'/T)*r^2/b = ", s.tcBsGammaMin},
                     {"Maximum gamma = ", s.tcBsGammaMax},
                     count("Number of Points (gamma)= ", s.tcBsGammaCount),
                     {"Minimum td/rd^2 (T*t/S/r/r) = ", s.tcBsTdMin},
                     {"Maximum td/rd^2 = ", s.tcBsTdMax},
                     count("Number of points (td/rd^2) = ", s.tcBsTdCount)},
                    "W(td,gamma,sigma)",
                    "gamma"};
        default:
            return {};
    }
}

const char* wellFunctionTitle(int modelKind) {
    if (const char* shared = report::sharedModelTitle(modelKind)) return shared;
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::SlugTest:
            return "Slug Test For A Finite Diameter Well In A Nonleaky Aquifer";
        case ModelKind::Unconfined:
            return "Unconfined aquifer (moench, 1993)";
        case ModelKind::WarrenRoot:
            return "Fractured aquifers (Warren and Root)";
        case ModelKind::BoultonStreltsova:
            return "Fractured aquifers(Boulton and Streltsova)";
        default:
            return report::kDefaultTitle;
    }
}

std::string repeated(const std::string& cell, int times) {
    std::string row;
    for (int i = 0; i < times; ++i) row += padLeft(cell, 10);
    return row + "\n";
}

// The table: a dash row, the heading, a rule, for a family the parameter rows and another rule, and
// one row per abscissa with u, 1/u (or the model's abscissa) and the value of every curve.
std::string curveTable(const AnalysisState& s, const ModelSection& m) {
    const int curves = std::clamp(s.familyCount, 0, kFamilyCapacity);
    const int columns = 3 + std::max(curves - 1, 0);
    const std::string rule = repeated("---------", columns);
    std::string text = repeated("----------", columns);
    text += padLeft(" u  ", 10) + "| " + padLeft(" 1/u ", 10) + "|" + m.curveLabel + "\n";
    text += rule;
    if (curves > 1) {
        text += std::string(20, ' ') + "|" + m.familyLabel + "=\n";
        text += std::string(20, ' ');
        for (int j = 0; j < curves; ++j) text += "|" + formatE(valueAt(s.familyValues, j), 9, 2);
        text += "\n" + rule;
    }
    const long long n = s.curveXCount;
    for (long long i = 1; i < n; ++i) {
        const double x = valueAt(s.curveX, i);
        text += formatE(1.0 / x, 10, 2) + formatE(x, 10, 2);
        for (long long j = 0; j < curves; ++j) text += formatE(valueAt(s.curveY, (n - 1) * j + i), 10, 2);
        text += "\n";
    }
    return text;
}

}  // namespace

std::string wellFunctionReport(const AnalysisState& s) {
    const ModelSection m = modelSection(s);
    std::string text = "         REPORT FOR THE CALCULATION OF WELL FUNCTIONS\n\n";
    text += "Operator's Name: " + s.operatorName + "\n\n";
    text += "Project Description:\n\n";
    text += padLeft(s.projectDescription, 80) + "\n";
    text += "\n";
    text += std::string(wellFunctionTitle(s.modelKind)) + "\n\n";
    for (const RangeLine& line : m.lines) {
        text += line.label;
        if (!line.text)
            text += line.count ? formatD(static_cast<long long>(line.value), 10) : formatE(line.value, 20, 5);
        text += "\n\n";
    }
    return text + curveTable(s, m);
}

}  // namespace tolvex
