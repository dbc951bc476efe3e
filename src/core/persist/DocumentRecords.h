// The record sequence of a document file (.tvx), written once for both directions: with an
// ArchiveWriter it writes the state, with an ArchiveReader it reads into it. The file has no header,
// keys or version; reading consumes exactly what writing produced, in this order.
//
// Counts always come before the lists they govern. The reader sizes each array from its count as
// soon as the count is known (the writer sizes its own copy the same way, so a short array is written
// as zeros instead of being read past its end). Counts are 16-bit Words, so no array can grow beyond
// 65536 elements, and fixed-capacity lists are checked against their capacity before use.
#pragma once

#include <algorithm>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex {

template <class Archive>
void numberList(Archive& ar, const char* field, auto& values, int first, int end) {
    ar.expectNumbers(field, static_cast<long long>(end) - first);
    for (int j = first; j < end; ++j) ar.number(field, values[static_cast<std::size_t>(j)]);
}

template <class Archive>
void parameterRecords(Archive& ar, AnalysisState& s) {
    ar.word("fileTag", s.fileTag);
    ar.word("plotContent", s.plotContent);
    ar.word("resultKind", s.resultKind);
    numberList(ar, "paramVector", s.paramVector, 0, kParamVectorCapacity);
    ar.word("paramCount", s.paramCount);
    ar.checkCapacity("paramCount", s.paramCount, kParamVectorCapacity);
    ar.number("pumpingRate", s.pumpingRate);
    ar.number("radialDistance", s.radialDistance);
    ar.number("transmissivity", s.transmissivity);
    ar.number("storativity", s.storativity);
    ar.number("verticalConductivity", s.verticalConductivity);
    ar.number("aquiferThickness", s.aquiferThickness);
    ar.number("upperBedConductivity", s.upperBedConductivity);
    ar.number("upperBedThickness", s.upperBedThickness);
    ar.number("lowerBedConductivity", s.lowerBedConductivity);
    ar.number("lowerBedThickness", s.lowerBedThickness);
    ar.number("upperBedStorativity", s.upperBedStorativity);
    ar.number("lowerBedStorativity", s.lowerBedStorativity);
    ar.number("spareParam", s.spareParam);
    ar.number("wellRadius", s.wellRadius);
    ar.number("casingRadius", s.casingRadius);
}

template <class Archive>
void bouwerRiceRecords(Archive& ar, AnalysisState& s) {
    ar.word("reservedRowCount", s.reservedRowCount);
    ar.resize(s.reservedRowsA, s.reservedRowCount);
    ar.resize(s.reservedRowsB, s.reservedRowCount);
    ar.resize(s.reservedRowsC, s.reservedRowCount);
    ar.expectNumbers("reservedRows", 3LL * s.reservedRowCount);
    for (std::size_t j = 0; j < static_cast<std::size_t>(s.reservedRowCount); ++j) {
        ar.number("reservedRowsA", s.reservedRowsA[j]);
        ar.number("reservedRowsB", s.reservedRowsB[j]);
        ar.number("reservedRowsC", s.reservedRowsC[j]);
    }
    ar.number("brCoefA", s.brCoefA);
    ar.number("brCoefB", s.brCoefB);
    ar.number("brCoefC", s.brCoefC);
    ar.number("brLnReRw", s.brLnReRw);
    ar.number("brLeOverRw", s.brLeOverRw);
    ar.number("screenLength", s.screenLength);
    ar.number("wellDepthInAquifer", s.wellDepthInAquifer);
    ar.number("brAquiferThickness", s.brAquiferThickness);
    ar.number("hydraulicConductivity", s.hydraulicConductivity);
    ar.number("brRate", s.brRate);
    for (std::size_t j = 0; j < static_cast<std::size_t>(kBouwerRiceRows); ++j) {
        ar.number("brTableA", s.brTableA[j]);
        ar.number("brTableB", s.brTableB[j]);
        ar.number("brTableC", s.brTableC[j]);
        ar.number("brTableLeRw", s.brTableLeRw[j]);
    }
    ar.number("specificYield", s.specificYield);
    ar.number("slabThickness", s.slabThickness);
    ar.number("fractureStorativity", s.fractureStorativity);
    ar.number("fractureTransmissivity", s.fractureTransmissivity);
    ar.number("matrixStorativity", s.matrixStorativity);
    ar.number("matrixTransmissivity", s.matrixTransmissivity);
}

template <class Archive>
void documentSwitchRecords(Archive& ar, AnalysisState& s) {
    ar.word("newRequested", s.newRequested);
    ar.word("modified", s.modified);
    ar.word("spareFlag", s.spareFlag);
    ar.word("viewToggle", s.viewToggle);
    ar.text("reportFileName", s.reportFileName);
    ar.number("plotXMin", s.plotXMin);
    ar.number("plotXMax", s.plotXMax);
    ar.number("plotYMin", s.plotYMin);
    ar.number("plotYMax", s.plotYMax);
    ar.word("untitled", s.untitled);
    ar.word("modelKind", s.modelKind);
    ar.text("projectDescription", s.projectDescription);
    ar.text("operatorName", s.operatorName);
    ar.word("spareConst", s.spareConst);
    ar.word("guessOnNew", s.guessOnNew);
}

template <class Archive>
void typeCurveRecords(Archive& ar, AnalysisState& s) {
    ar.word("curveXCount", s.curveXCount);
    ar.word("curveYCount", s.curveYCount);
    ar.resize(s.curveX, s.curveXCount + 1);
    ar.resize(s.curveY, s.curveYCount + 1);
    numberList(ar, "curveX", s.curveX, 1, s.curveXCount);
    numberList(ar, "curveY", s.curveY, 1, s.curveYCount);
    ar.number("dataDrawdownMin", s.dataDrawdownMin);
    ar.number("dataDrawdownMax", s.dataDrawdownMax);
    ar.number("dataTimeMax", s.dataTimeMax);
    ar.word("familyCount", s.familyCount);
    ar.checkCapacity("familyCount", s.familyCount, kFamilyCapacity);
    numberList(ar, "familyValues", s.familyValues, 0, s.familyCount);
    ar.word("reservedListCount", s.reservedListCount);
    ar.checkCapacity("reservedListCount", s.reservedListCount, kReservedListCapacity);
    numberList(ar, "reservedList", s.reservedList, 0, s.reservedListCount);
    ar.word("typeCurvesReady", s.typeCurvesReady);
}

template <class Archive>
void confinedAndLeakyRangeRecords(Archive& ar, AnalysisState& s) {
    ar.number("tcTheisMin", s.tcTheisMin);
    ar.number("tcTheisMax", s.tcTheisMax);
    ar.word("tcTheisCount", s.tcTheisCount);
    ar.number("tcPpMin", s.tcPpMin);
    ar.number("tcPpMax", s.tcPpMax);
    ar.word("tcPpAnisCount", s.tcPpAnisCount);
    ar.word("tcPpCount", s.tcPpCount);
    ar.number("tcPpAnisMax", s.tcPpAnisMax);
    ar.number("tcPpAnisMin", s.tcPpAnisMin);
    ar.number("ppWellD", s.ppWellD);
    ar.number("ppObsL", s.ppObsL);
    ar.number("ppObsD", s.ppObsD);
    ar.number("ppPiezoL", s.ppPiezoL);
    ar.number("ppPiezoD", s.ppPiezoD);
    ar.number("ppPiezoZ", s.ppPiezoZ);
    ar.number("ppWellL", s.ppWellL);
    ar.word("ppObsKind", s.ppObsKind);
    ar.number("tcLeakyMin", s.tcLeakyMin);
    ar.number("tcLeakyMax", s.tcLeakyMax);
    ar.word("tcLeakyCount", s.tcLeakyCount);
    ar.number("tcLeakyRbMin", s.tcLeakyRbMin);
    ar.number("tcLeakyRbMax", s.tcLeakyRbMax);
    ar.word("tcLeakyRbCount", s.tcLeakyRbCount);
    ar.number("tcStorMin", s.tcStorMin);
    ar.number("tcStorMax", s.tcStorMax);
    ar.word("tcStorCount", s.tcStorCount);
    ar.number("tcStorBetaMin", s.tcStorBetaMin);
    ar.number("tcStorBetaMax", s.tcStorBetaMax);
    ar.word("tcStorBetaCount", s.tcStorBetaCount);
    ar.number("tcLppMin", s.tcLppMin);
    ar.number("tcLppMax", s.tcLppMax);
    ar.word("tcLppBetaCount", s.tcLppBetaCount);
    ar.word("tcLppCount", s.tcLppCount);
    ar.number("tcLppBetaMax", s.tcLppBetaMax);
    ar.number("tcLppBetaMin", s.tcLppBetaMin);
    ar.number("lppWellD", s.lppWellD);
    ar.number("lppObsL", s.lppObsL);
    ar.number("lppObsD", s.lppObsD);
    ar.number("lppPiezoL", s.lppPiezoL);
    ar.number("lppPiezoD", s.lppPiezoD);
    ar.number("lppPiezoZ", s.lppPiezoZ);
    ar.number("lppWellL", s.lppWellL);
    ar.word("lppObsKind", s.lppObsKind);
    ar.number("lppPiezoAnis", s.lppPiezoAnis);
    ar.number("lppWellAnis", s.lppWellAnis);
}

// Elements 1 and 3 of each spare block are integer counts and go as Words.
template <class Archive>
void spareBlockRecords(Archive& ar, const char* field, auto& block) {
    for (std::size_t j = 0; j < block.size(); ++j) {
        if (j == 1 || j == 3) {
            ar.word(field, block[j]);
        } else {
            ar.number(field, block[j]);
        }
    }
}

template <class Archive>
void slugAndReservedRecords(Archive& ar, AnalysisState& s) {
    spareBlockRecords(ar, "spareBlock1", s.spareBlock1);
    spareBlockRecords(ar, "spareBlock2", s.spareBlock2);
    ar.number("tcSlugAlphaMin", s.tcSlugAlphaMin);
    ar.word("tcSlugAlphaCount", s.tcSlugAlphaCount);
    ar.number("tcSlugAlphaMax", s.tcSlugAlphaMax);
    ar.word("tcSlugBetaCount", s.tcSlugBetaCount);
    ar.number("tcSlugBetaMin", s.tcSlugBetaMin);
    ar.number("tcSlugBetaMax", s.tcSlugBetaMax);
    ar.number("spareRangeMin", s.spareRangeMin);
    ar.number("spareRangeMax", s.spareRangeMax);
    ar.word("spareCountB", s.spareCountB);
    ar.word("spareCountA", s.spareCountA);
    ar.number("spareLowerBound", s.spareLowerBound);
    ar.number("spareUpperBound", s.spareUpperBound);
    ar.word("spareOptionKind", s.spareOptionKind);
    numberList(ar, "reservedScale", s.reservedScale, 0, static_cast<int>(s.reservedScale.size()));
    for (std::size_t j = 0; j < s.reservedSeriesA.size(); ++j) {
        ar.number("reservedSeriesB", s.reservedSeriesB[j]);
        ar.number("reservedSeriesC", s.reservedSeriesC[j]);
        ar.number("reservedSeriesA", s.reservedSeriesA[j]);
    }
    ar.number("reservedTripleA", s.reservedTripleA);
    ar.number("reservedTripleB", s.reservedTripleB);
    ar.number("reservedTripleC", s.reservedTripleC);
}

template <class Archive>
void unconfinedAndFracturedRecords(Archive& ar, AnalysisState& s) {
    ar.number("tcMnTdMin", s.tcMnTdMin);
    ar.number("tcMnTdMax", s.tcMnTdMax);
    ar.word("tcMnKzCount", s.tcMnKzCount);
    ar.word("tcMnTdCount", s.tcMnTdCount);
    ar.number("tcMnKzMax", s.tcMnKzMax);
    ar.number("tcMnKzMin", s.tcMnKzMin);
    ar.number("mnD", s.mnD);
    ar.number("mnL", s.mnL);
    ar.number("mnZ", s.mnZ);
    ar.number("mnZ1", s.mnZ1);
    ar.number("mnZ2", s.mnZ2);
    ar.number("mnStorageRatio", s.mnStorageRatio);
    ar.word("mnObsKind", s.mnObsKind);
    ar.number("tcWrTdMin", s.tcWrTdMin);
    ar.word("tcWrLambdaCount", s.tcWrLambdaCount);
    ar.number("tcWrTdMax", s.tcWrTdMax);
    ar.word("tcWrTdCount", s.tcWrTdCount);
    ar.number("tcWrLambdaMin", s.tcWrLambdaMin);
    ar.number("tcWrLambdaMax", s.tcWrLambdaMax);
    ar.number("tcWrSigma", s.tcWrSigma);
    // The table is 1-based with stehfestCount + 1 elements; the file holds elements 0..count-1, so the
    // last coefficient is not in it and the loader recomputes the table.
    ar.word("stehfestCount", s.stehfestCount);
    ar.resize(s.stehfestWeights, s.stehfestCount + 1);
    numberList(ar, "stehfestWeights", s.stehfestWeights, 0, s.stehfestCount);
    ar.number("tcBsTdMin", s.tcBsTdMin);
    ar.word("tcBsGammaCount", s.tcBsGammaCount);
    ar.number("tcBsTdMax", s.tcBsTdMax);
    ar.word("tcBsTdCount", s.tcBsTdCount);
    ar.number("tcBsGammaMin", s.tcBsGammaMin);
    ar.number("tcBsGammaMax", s.tcBsGammaMax);
    ar.number("tcBsSigma", s.tcBsSigma);
}

template <class Archive>
void measurementRecords(Archive& ar, AnalysisState& s) {
    ar.word("usedCount", s.usedCount);
    ar.word("allCount", s.allCount);
    ar.word("useFrom", s.useFrom);
    ar.word("useTo", s.useTo);
    ar.resize(s.allDrawdowns, s.allCount);
    ar.resize(s.allTimes, s.allCount);
    ar.expectNumbers("allTimes", 2LL * s.allCount);
    for (std::size_t j = 0; j < static_cast<std::size_t>(s.allCount); ++j) {
        ar.number("allDrawdowns", s.allDrawdowns[j]);
        ar.number("allTimes", s.allTimes[j]);
    }
    ar.resize(s.measured, s.usedCount);
    ar.resize(s.calculated, s.usedCount);
    ar.resize(s.times, s.usedCount);
    ar.expectNumbers("times", 3LL * s.usedCount);
    for (std::size_t j = 0; j < static_cast<std::size_t>(s.usedCount); ++j) {
        ar.number("measured", s.measured[j]);
        ar.number("calculated", s.calculated[j]);
        ar.number("times", s.times[j]);
    }
}

template <class Archive>
void estimationRecords(Archive& ar, AnalysisState& s) {
    ar.number("rmsError", s.rmsError);
    ar.word("lastPlotStyle", s.lastPlotStyle);
    ar.number("convergenceError", s.convergenceError);
    ar.word("maxIterations", s.maxIterations);
    ar.word("lsMaxIterations", s.lsMaxIterations);
    ar.word("iterationsDone", s.iterationsDone);
    ar.number("lsConvergenceError", s.lsConvergenceError);
    ar.number("lsTrialSumSquares", s.lsTrialSumSquares);
    ar.number("lsSumSquares", s.lsSumSquares);
    ar.word("gaussCount", s.gaussCount);
    ar.resize(s.gaussNodes, s.gaussCount + 1);
    ar.resize(s.gaussWeights, s.gaussCount + 1);
    ar.expectNumbers("gaussNodes", 2LL * s.gaussCount);
    for (std::size_t j = 1; j <= static_cast<std::size_t>(s.gaussCount); ++j) {
        ar.number("gaussNodes", s.gaussNodes[j]);
        ar.number("gaussWeights", s.gaussWeights[j]);
    }
    // Room for the next run's history as well as for the values read.
    ar.resize(s.errorHistory, std::max(s.iterationsDone, s.maxIterations));
    numberList(ar, "errorHistory", s.errorHistory, 0, s.iterationsDone);
}

template <class Archive>
void documentRecords(Archive& ar, AnalysisState& s) {
    parameterRecords(ar, s);
    bouwerRiceRecords(ar, s);
    documentSwitchRecords(ar, s);
    typeCurveRecords(ar, s);
    confinedAndLeakyRangeRecords(ar, s);
    slugAndReservedRecords(ar, s);
    unconfinedAndFracturedRecords(ar, s);
    measurementRecords(ar, s);
    estimationRecords(ar, s);
}

}  // namespace tolvex
