// The report of aquifer parameter estimations.
#include "core/persist/ReportLines.h"
#include "core/persist/Reports.h"
#include "core/solutions/Unconfined.h"
#include "core/state/ModelKind.h"

namespace tolvex {
namespace {

using report::valueAt;
using report::valueLine;

// A data line of the model: "<label>%20.5e<ending>", or the label alone when it has no value.
struct DataLine {
    std::string label;
    float value = 0.0f;
    const char* ending = "\n";
    bool withValue = true;
};

// A parameter: printed once with its starting value paramVector[slot] and once with its fitted value.
struct ParameterLine {
    const char* label;
    int precision;
    const char* ending;
    int slot;
    float AnalysisState::*fitted;
};

struct ModelBlock {
    std::vector<DataLine> data;
    std::vector<ParameterLine> parameters;
};

constexpr const char* kT = "Transmissivity = ";
constexpr const char* kS = "Storotivity = ";
constexpr const char* kQ = "Pumping rate = ";
constexpr const char* kR = "Radius distance = ";
constexpr const char* kTop = "Screen Top Depth of Pumping well (d/b) = ";
constexpr const char* kBottom = "Screen Bottom Depth of Pumping well (l/b) = ";
constexpr const char* kObsTop = "Screen Top Depth of Observation well (d'/b) = ";
constexpr const char* kObsBottom = "Screen Bottom Depth of Observation well (l'/b) = ";

constexpr ParameterLine transmissivityLine{kT, 5, "\n", 1, &AnalysisState::transmissivity};
constexpr ParameterLine storativityLine{kS, 10, "\n", 0, &AnalysisState::storativity};
constexpr ParameterLine lastStorativityLine{kS, 10, "\n\n", 0, &AnalysisState::storativity};

// The screen geometry of a partially penetrating well: piezometer or observation well.
std::vector<DataLine> screenLines(int obsKind, float piezoD, float piezoL, float piezoZ, float wellD,
                                  float wellL, float obsD, float obsL) {
    if (obsKind == 0) {
        return {{kTop, piezoD}, {kBottom, piezoL}, {"Depth of Piezometer (z/b) = ", piezoZ, "\n\n"}};
    }
    return {{kTop, wellD}, {kBottom, wellL}, {kObsTop, obsD}, {kObsBottom, obsL, "\n\n"}};
}

ModelBlock partiallyPenetrating(const AnalysisState& s) {
    ModelBlock b{
        {{kQ, s.pumpingRate}, {kR, s.radialDistance}, {"Aquifer thickness = ", s.aquiferThickness}},
        {transmissivityLine,
         storativityLine,
         {"Vertical hydraulic conductivity = ", 5, "\n\n", 2, &AnalysisState::verticalConductivity}}};
    const auto screen = screenLines(s.ppObsKind, s.ppPiezoD, s.ppPiezoL, s.ppPiezoZ, s.ppWellD, s.ppWellL,
                                    s.ppObsD, s.ppObsL);
    b.data.insert(b.data.end(), screen.begin(), screen.end());
    return b;
}

ModelBlock leakyPartiallyPenetrating(const AnalysisState& s) {
    ModelBlock b{{{kQ, s.pumpingRate},
                  {kR, s.radialDistance},
                  {"Aquifer thickness = ", s.aquiferThickness},
                  {"Thickness of leaky bed = ", s.upperBedThickness}},
                 {transmissivityLine,
                  storativityLine,
                  {"Vertical hydraulic conductivity = ", 5, "\n", 2, &AnalysisState::verticalConductivity},
                  {"Vertical hydraulic conductivity of leaky bed = ", 5, "\n\n", 3,
                   &AnalysisState::upperBedConductivity}}};
    const auto screen = screenLines(s.lppObsKind, s.lppPiezoD, s.lppPiezoL, s.lppPiezoZ, s.lppWellD,
                                    s.lppWellL, s.lppObsD, s.lppObsL);
    b.data.insert(b.data.end(), screen.begin(), screen.end());
    return b;
}

ModelBlock unconfined(const AnalysisState& s) {
    ModelBlock b{{{kQ, s.pumpingRate}, {kR, s.radialDistance}, {kTop, s.mnD}, {kBottom, s.mnL}},
                 {transmissivityLine,
                  storativityLine,
                  {"Vertical hydraulic conductivity of the aquifer = ", 10, "\n", 2,
                   &AnalysisState::verticalConductivity},
                  {"Specific yield = ", 10, "\n\n", 3, &AnalysisState::specificYield}}};
    // The observation the drawdowns were computed for, and the coordinates it uses.
    b.data.push_back(
        {std::string("Observation: ") + unconfinedObservationName(s.mnObsKind), 0.0f, "\n", false});
    if (s.mnObsKind == kPiezometer) {
        b.data.push_back({"Coordinate of Piezometer (z/b) = ", s.mnZ});
    } else if (s.mnObsKind == kObservationScreen) {
        b.data.push_back({"Screen bottom Coordinate of observation well (z1/b) = ", s.mnZ1});
        b.data.push_back({"Screen top of Coordinate observation well (z2/b) = ", s.mnZ2});
    }
    b.data.push_back({"Thickness of the aquifer = ", s.aquiferThickness, "\n\n"});
    return b;
}

ModelBlock modelBlock(const AnalysisState& s) {
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            return {{{kQ, s.pumpingRate}, {kR, s.radialDistance, "\n\n"}},
                    {transmissivityLine, lastStorativityLine}};
        case ModelKind::PartialPenetration:
            return partiallyPenetrating(s);
        case ModelKind::Leaky:
            return {{{kQ, s.pumpingRate}, {kR, s.radialDistance, "\n\n"}},
                    {transmissivityLine,
                     storativityLine,
                     {"Vertical hydraulic conductivity of the leaky layer = ", 10, "\n", 2,
                      &AnalysisState::upperBedConductivity},
                     {"Thickness of the leaky layer = ", 5, "\n\n", 3, &AnalysisState::upperBedThickness}}};
        case ModelKind::LeakyPartial:
            return leakyPartiallyPenetrating(s);
        case ModelKind::LeakyStorage:
            return {{{kQ, s.pumpingRate},
                     {kR, s.radialDistance},
                     {"Thickness of the upper layer = ", s.upperBedThickness},
                     {"thickness of the lower layer = ", s.lowerBedThickness, "\n\n"}},
                    {transmissivityLine,
                     storativityLine,
                     {"Vertical hydraulic conductivity of the upper confining layer = ", 10, "\n", 2,
                      &AnalysisState::upperBedConductivity},
                     {kS, 10, "\n", 4, &AnalysisState::upperBedStorativity},
                     {"Vertical hydraulic conductivity of the lower confining layer = ", 10, "\n", 3,
                      &AnalysisState::lowerBedConductivity},
                     {kS, 10, "\n\n", 5, &AnalysisState::lowerBedStorativity}}};
        case ModelKind::SlugTest:
            return {{{"Radius of the well = ", s.wellRadius},
                     {"Radius of the well case = ", s.casingRadius, "\n\n"}},
                    {transmissivityLine, lastStorativityLine}};
        case ModelKind::Unconfined:
            return unconfined(s);
        case ModelKind::WarrenRoot:
        case ModelKind::BoultonStreltsova:
            return {{{kQ, s.pumpingRate},
                     {kR, s.radialDistance},
                     {"Thickness of the slab = ", s.slabThickness, "\n\n"}},
                    {{"Transmissivity(f) = ", 5, "\n", 1, &AnalysisState::fractureTransmissivity},
                     {"Storotivity(f) = ", 10, "\n", 0, &AnalysisState::fractureStorativity},
                     {"Transmissivity(m) = ", 5, "\n", 3, &AnalysisState::matrixTransmissivity},
                     {"Storotivity(m) = ", 10, "\n\n", 2, &AnalysisState::matrixStorativity}}};
        default:
            return {};
    }
}

const char* estimationTitle(int modelKind) {
    if (const char* shared = report::sharedModelTitle(modelKind)) return shared;
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::SlugTest:
            return "Slug Test For A Finite Diameter Well  In A Nonleaky Aquifer";
        case ModelKind::Unconfined:
            return "Unconfined aquifer (Moench, 1993)";
        case ModelKind::WarrenRoot:
            return "Warren and Root double porosity model (Kazemi etal., 1969; and Moench, 1984)";
        case ModelKind::BoultonStreltsova:
            return "Boulton and Streltsova double porosity model (Kazemi etal., 1969; and Moench, 1984)";
        case ModelKind::Jacob:
            return "Jacob's straight line";
        default:
            return report::kDefaultTitle;
    }
}

std::string modelText(const AnalysisState& s) {
    if (s.modelKind < 0 || s.modelKind > 8) return {};
    const ModelBlock b = modelBlock(s);
    std::string text;
    for (const DataLine& line : b.data) {
        text += line.withValue ? valueLine(line.label, line.value, 5, line.ending) : line.label + line.ending;
    }
    text += "Initial Guess: \n\n";
    for (const ParameterLine& p : b.parameters) {
        text += valueLine(p.label, valueAt(s.paramVector, p.slot), p.precision, p.ending);
    }
    text += "Inversion results: \n\n";
    for (const ParameterLine& p : b.parameters)
        text += valueLine(p.label, s.*p.fitted, p.precision, p.ending);
    return text;
}

std::string drawdownTable(const AnalysisState& s) {
    std::string text = padLeft(" Time  ", 20) + padLeft("Measured-Drawdown", 20) +
                       padLeft("Calculated-Drawdown", 20) + padLeft("Measured-Calculated", 20) + "\n\n";
    for (long long i = 0; i < s.usedCount; ++i) {
        const double measured = valueAt(s.measured, i);
        const double calculated = valueAt(s.calculated, i);
        text += formatF(valueAt(s.times, i), 20, 7) + formatF(measured, 20, 7) + formatF(calculated, 20, 7) +
                formatE(measured - calculated, 20, 7) + "\n";
    }
    return text;
}

std::string convergenceText(const AnalysisState& s) {
    std::string text =
        "\nUser Specified Root Mean Square Error= " + formatE(s.convergenceError, 20, 7) + "\n";
    text += "Final Root Mean Square Error= " + formatE(s.rmsError, 20, 7) + "\n";
    text += "User Specified Number of Iterartions= " + std::to_string(s.maxIterations) + "\n";
    text += "Final Number of Iterartions= " + std::to_string(s.iterationsDone) + "\n\n";
    for (long long i = 0; i < s.iterationsDone; ++i) {
        text += "Iteration No= " + std::to_string(i + 1) +
                " Error = " + formatE(valueAt(s.errorHistory, i), 20, 7) + "\n";
    }
    return text;
}

}  // namespace

std::string estimationReport(const AnalysisState& s) {
    std::string text = "         REPORT OF AQUIFER PARAMETER ESTIMATIONS\n\n";
    text += "Operator's Name: " + s.operatorName + "\n\n";
    text += "Project Description: " + s.projectDescription + "\n";
    text += "\n";
    text += std::string(estimationTitle(s.modelKind)) + "\n\n";
    text += modelText(s);
    text += "\n";
    return text + drawdownTable(s) + convergenceText(s);
}

}  // namespace tolvex
