// The one record of all analysis data: model, parameters, type-curve ranges and families, measurements,
// estimation settings and results, numerical tables and project texts.
//
// Conventions kept from the document format and the published formulas:
// - Model parameters, ranges, plot limits and estimated values are float; arithmetic on them runs in
//   double and the result is rounded to float when stored. Measurements and numerical tables are double.
// - Arrays marked "1-based" keep element 0 unused, so that indices read exactly as the formulas do:
//   a 1-based array of count c holds its values in elements 1..c-1 (curveX, curveY) or 1..n (tables).
// - Every count that governs an array is a separate int field; whoever changes a count resizes the
//   arrays that depend on it before writing them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/pumping/RateStep.h"
#include "core/series/JointLayout.h"
#include "core/series/ObservationSeries.h"
#include "core/state/ModelKind.h"
#include "core/state/ResultSummary.h"
#include "core/state/ViewSettings.h"
#include "core/units/DisplayUnits.h"

namespace tolvex {

// Capacities fixed by the document layout.
inline constexpr int kParamVectorCapacity = 10;
inline constexpr int kFamilyCapacity = 100;
inline constexpr int kReservedListCapacity = 200;
inline constexpr int kBouwerRiceRows = 13;

struct AnalysisState {
    // --- 1. Run status and flags ---------------------------------------------------------------------
    int fileTag = 100;
    int plotContent = 0;  // 0 type curves, 1 measured (+ calculated), 2 after an estimation
    int resultKind = 0;   // report: 0 type curves, 1 estimation, 2 both
    int paramCount = 2;
    std::array<float, kParamVectorCapacity> paramVector{};  // 0-based starting values of the last run
    std::vector<float> modelParams;                         // 1-based working vector of an estimation
    int newRequested = 0;
    int modified = 0;
    int spareFlag = 0;
    int viewToggle = 0;
    int untitled = 1;
    int modelKind = 0;  // ModelKind code 0..10
    int spareConst = 3;
    int guessOnNew = 0;
    int typeCurvesReady = 0;

    // --- 2. Project texts --------------------------------------------------------------------------------
    std::string reportFileName = "test.out";
    std::string projectDescription = "Theis Type Curve";
    std::string operatorName = "John Doe";

    // --- 3. Aquifer and well parameters ---------------------------------------------------------------
    float pumpingRate = 75.53f;
    float radialDistance = 154.0f;
    float transmissivity = 8.8f;
    float storativity = 1.0e-5f;
    float verticalConductivity = 1.0f;
    float aquiferThickness = 10.0f;
    float upperBedConductivity = 0.042f;
    float upperBedThickness = 21.0f;
    float lowerBedThickness = 21.0f;
    float lowerBedConductivity = 0.001f;
    float upperBedStorativity = 1.0e-4f;
    float lowerBedStorativity = 1.0e-5f;
    float spareParam = 1.0f;
    float wellRadius = 7.6f;
    float casingRadius = 7.6f;
    float specificYield = 0.2f;
    float slabThickness = 100.0f;
    float fractureStorativity = 1.0e-4f;
    float fractureTransmissivity = 10.0f;
    float matrixStorativity = 0.1f;
    float matrixTransmissivity = 1.0f;

    // Bouwer and Rice (1976) slug test.
    float screenLength = 9800.0f;         // Le
    float wellDepthInAquifer = 10000.0f;  // Lw
    float brAquiferThickness = 10000.0f;  // H
    float hydraulicConductivity = 62.0f;  // K
    float brRate = 1.0f;                  // 2 K Le / (ln(Re/rw) rc^2)
    float brCoefA = 1.0f;
    float brCoefB = 1.0f;
    float brCoefC = 1.0f;
    float brLnReRw = 1.0f;
    float brLeOverRw = 1.0f;
    std::array<float, kBouwerRiceRows> brTableLeRw{};
    std::array<float, kBouwerRiceRows> brTableA{};
    std::array<float, kBouwerRiceRows> brTableB{};
    std::array<float, kBouwerRiceRows> brTableC{};

    // --- 4. Partial-penetration geometry (fractions of the aquifer thickness b) -------------------------
    int ppObsKind = 0;  // 0 piezometer, 1 observation well
    float ppPiezoL = 0.75f;
    float ppPiezoD = 0.5f;
    float ppPiezoZ = 0.3f;
    float ppWellL = 0.75f;
    float ppWellD = 0.5f;
    float ppObsL = 0.75f;
    float ppObsD = 0.5f;

    int lppObsKind = 0;
    float lppPiezoL = 0.75f;
    float lppPiezoD = 0.25f;
    float lppPiezoZ = 0.5f;
    float lppWellL = 0.75f;
    float lppWellD = 0.25f;
    float lppObsL = 0.75f;
    float lppObsD = 0.25f;
    float lppPiezoAnis = 0.1f;
    float lppWellAnis = 0.1f;

    // Moench (1993) unconfined geometry.
    int mnObsKind = 0;
    float mnL = 1.0f;
    float mnD = 0.0f;
    float mnZ = 0.5f;
    float mnZ1 = 0.0f;
    float mnZ2 = 1.0f;
    float mnStorageRatio = 1.0e-9f;  // S/Sy

    // --- 5. Type-curve ranges ------------------------------------------------------------------------------
    float tcTheisMin = 0.1f, tcTheisMax = 10000.0f;
    int tcTheisCount = 50;
    float tcPpMin = 0.1f, tcPpMax = 10000.0f;
    int tcPpCount = 30;
    float tcPpAnisMin = 0.05f, tcPpAnisMax = 2.0f;
    int tcPpAnisCount = 10;
    float tcLeakyMin = 0.1f, tcLeakyMax = 10000.0f;
    int tcLeakyCount = 30;
    float tcLeakyRbMin = 0.005f, tcLeakyRbMax = 5.0f;
    int tcLeakyRbCount = 20;
    float tcLppMin = 0.1f, tcLppMax = 10000.0f;
    int tcLppCount = 30;
    float tcLppBetaMin = 0.01f, tcLppBetaMax = 2.0f;
    int tcLppBetaCount = 20;
    float tcStorMin = 0.1f, tcStorMax = 10000.0f;
    int tcStorCount = 30;
    float tcStorBetaMin = 0.005f, tcStorBetaMax = 5.0f;
    int tcStorBetaCount = 20;
    float tcSlugAlphaMin = 1.0e-10f, tcSlugAlphaMax = 0.1f;
    int tcSlugAlphaCount = 10;
    float tcSlugBetaMin = 0.002f, tcSlugBetaMax = 100.0f;
    int tcSlugBetaCount = 20;
    float tcMnTdMin = 0.1f, tcMnTdMax = 1.0e7f;
    int tcMnTdCount = 30;
    float tcMnKzMin = 0.001f, tcMnKzMax = 7.0f;
    int tcMnKzCount = 20;
    float tcWrTdMin = 0.1f, tcWrTdMax = 1.0e6f;
    int tcWrTdCount = 20;
    float tcWrLambdaMin = 1.0e-5f, tcWrLambdaMax = 100.0f;
    int tcWrLambdaCount = 10;
    float tcWrSigma = 100.0f;
    float tcBsTdMin = 0.1f, tcBsTdMax = 1.0e6f;
    int tcBsTdCount = 20;
    float tcBsGammaMin = 1.0e-5f, tcBsGammaMax = 100.0f;
    int tcBsGammaCount = 10;
    float tcBsSigma = 100.0f;

    // Spacing options (0 uniform logarithmic grid, 1 published table); not persisted.
    int tcTheisUniform = 0;
    int tcLeakyUniform = 0;
    int tcStorUniform = 0;
    int tcAltUniform = 0;

    // --- 6. Published value tables of the type-curve families (built once, never persisted) -----------
    int uListCount = 144;  // Wenzel (1942)
    std::vector<float> uList144;
    int leakyRbCount = 20;  // Hantush (1956)
    std::vector<float> leakyRbList;
    int leakyUCount = 29;
    std::vector<float> leakyUList;
    int storBetaCount = 26;  // Hantush (1961)
    std::vector<float> storBetaList;
    int storUCount = 41;
    std::vector<float> storUList;
    int altParamCount = 20;  // Neuman (1975)
    std::vector<float> altParamList;
    int altTimeCount = 45;
    std::vector<float> altTimeList;

    // --- 7. Computed type curves
    // ----------------------------------------------------------------------------
    int curveXCount = 20;       // number of points + 1
    std::vector<float> curveX;  // 1-based
    int curveYCount = 20;       // number of values + 1
    std::vector<float> curveY;  // 1-based; curve k at abscissa i is curveY[k * nx + i]
    int familyCount = 0;
    std::array<float, kFamilyCapacity> familyValues{};

    // --- 8. Plot limits and extents ----------------------------------------------------------------------
    float plotXMin = 1.0e-9f, plotXMax = 1.0e9f;
    float plotYMin = 0.001f, plotYMax = 1000.0f;
    float dataTimeMin = 0.0f, dataTimeMax = 0.0f;
    float dataDrawdownMin = 0.0f, dataDrawdownMax = 0.0f;
    int lastPlotStyle = 1;
    // Plot switches, not persisted.
    int xAxisLog = 1;
    int yAxisLog = 0;
    int xLabelHidden = 0;
    int yLabelHidden = 0;
    int dataHidden = 0;
    // Face name of the plot font; belongs to the view and is never saved.
    std::string plotFontFace = "Times New Roman";
    // Plot style and axes (extension block "view"), and the font size and style the clear style uses.
    ViewSettings view;

    // --- 9. Measurements -----------------------------------------------------------------------------------
    int allCount = 14;
    std::vector<double> allTimes;
    std::vector<double> allDrawdowns;
    int useFrom = 1;  // 1-based
    int useTo = 14;   // 1-based
    int usedCount = 14;
    std::vector<double> times;       // 0-based, usedCount elements
    std::vector<double> measured;    // "Drawdown(m)"
    std::vector<double> calculated;  // "Drawdown(c)"
    // "Calculate drawdowns" time range; not persisted.
    float calcTimeMin = 0.1f;
    float calcTimeMax = 1000.0f;

    // --- 10. Estimation settings and results -------------------------------------------------------------
    int maxIterations = 20;
    float convergenceError = 1.0e-6f;
    int lsMaxIterations = 20;
    float lsConvergenceError = 0.0005f;
    int iterationsDone = 0;
    std::vector<float> errorHistory;  // element i-1 belongs to iteration i
    float rmsError = 0.0f;
    float lsSumSquares = 0.0f;
    float lsTrialSumSquares = 0.0f;
    int lsParamCapacity = 2;
    std::vector<double> lsParams;
    std::vector<int> lsParamFree;
    // Simplex work arrays, resized by each run; not persisted.
    std::vector<float> simplexValues;
    std::vector<float> simplexVertices;

    // --- 11. Numerical tables ------------------------------------------------------------------------------
    int gaussCount = 20;
    std::vector<double> gaussNodes;    // 1-based, gaussCount + 1 elements
    std::vector<double> gaussWeights;  // 1-based
    int stehfestCount = 12;
    std::vector<double> stehfestWeights;  // 1-based, stehfestCount + 1 elements
    // How the well functions are evaluated (a Accuracy value): 0 the standard algorithms, 1 the
    // high-accuracy ones. A setting of the program, not one of the document's records.
    int accuracy = 0;

    // --- 12. Reserved persisted data (part of the file layout; nothing computes with it) ---------------
    int reservedRowCount = 5;
    std::vector<float> reservedRowsA;
    std::vector<float> reservedRowsB;
    std::vector<float> reservedRowsC;
    std::array<float, 7> reservedScale{};
    std::array<float, 9> reservedSeriesA{};
    std::array<float, 9> reservedSeriesB{};
    std::array<float, 9> reservedSeriesC{};
    int reservedListCount = 0;
    std::array<float, kReservedListCapacity> reservedList{};
    float reservedTripleA = 700.0f;
    float reservedTripleB = 1.0f;
    float reservedTripleC = 3.0f;
    int spareOptionKind = 0;
    float spareRangeMin = 0.001f;
    float spareRangeMax = 3.0f;
    int spareCountA = 10;
    int spareCountB = 20;
    float spareLowerBound = 0.1f;
    float spareUpperBound = 1.0e6f;
    // Range blocks of two dialogs that no command opens; elements 1 and 3 are integer counts
    // (written as Words), the others are Numbers.
    std::array<float, 6> spareBlock1{100.0f, 10.0f, 1.0e10f, 30.0f, 1.0e-6f, 0.1f};
    std::array<float, 7> spareBlock2{0.1f, 20.0f, 10000.0f, 30.0f, 1.0f, 200.0f, 1.0e-4f};

    // --- 13. Data-input options (not persisted) ---------------------------------------------------------
    int drawdownInputMode = 1;    // 0 import a text file, 1 type the values, 2 predefined set
    int importDelimiter = 0;      // 0 comma, 1 space, 2 tab, 3 semicolon
    int predefinedSetChoice = 0;  // selection of the predefined-set dialog; starts at 0 every time

    // --- 14. Field-test data beyond the classic records (kept in the document's extension block) --------
    DisplayUnits units;                          // none set: consistent units of the user's choice
    SeriesSettings firstSeries;                  // name, switch, weight and slug head of the records' series
    std::vector<ObservationSeries> extraSeries;  // observation series 2..n
    std::vector<RateStep> rateSchedule;          // empty: the constant pumpingRate from time 0
    int brFitIntercept = 0;         // Bouwer and Rice: 0 the line through the origin, 1 ln(H/H0) = a - b t
    double brInterceptValue = 0.0;  // the fitted a (0 for the line through the origin); not persisted
    JointLayout joint;              // not persisted: the series joined for a fit's run
    std::optional<ResultSummary> lastResults;  // the last estimation's summary, nothing before one
};

// Installs every default: counts, the published lists, the default measurements, the work arrays,
// the reserved data and the Bouwer-Rice table. The numerical tables are sized but not filled.
void initialiseAnalysisState(AnalysisState& state);

// A state as the program has it at start: defaults installed and the numerical tables built.
[[nodiscard]] AnalysisState makeDefaultState();

// (Re)builds gaussNodes/gaussWeights for gaussCount points and stehfestWeights for stehfestCount terms.
void buildNumericalTables(AnalysisState& state);

// Resizes the five measurement arrays to usedCount (and allCount) elements.
void resizeMeasurementArrays(AnalysisState& state);

}  // namespace tolvex
