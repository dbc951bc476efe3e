// The title block of a printed or exported plot: a framed band below the plot naming the project, the
// operator, the well, the model, the parameters with their units, the RMS error and the date. The plot's
// scene is moved up and the page grows by the band's height, so every backend draws both unchanged.
#pragma once

#include <string>
#include <vector>

#include "core/plot/PlotCanvas.h"
#include "core/plot/Scene.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// The texts of the block. Numbers are written independently of the process locale and in the
// document's display units (a unit label follows each value when units are set).
struct TitleBlockTexts {
    std::vector<std::string> left;   // project, operator, well, model
    std::vector<std::string> right;  // parameters (one a line), RMS, date
};

// `date` is written as given (the front ends pass today's date, ISO 8601).
[[nodiscard]] TitleBlockTexts titleBlockTexts(const AnalysisState& state, const std::string& date);

// Short symbol of a fitted field ("transmissivity" -> "T"); the field name itself for one not known.
[[nodiscard]] std::string parameterSymbol(const std::string& fieldName);

// Logical height of the band that holds `texts`, frame and margins included.
[[nodiscard]] int titleBlockHeight(const TitleBlockTexts& texts);

// `plot` moved up by the band's height with the band drawn below it; the width stays.
[[nodiscard]] Scene withTitleBlock(Scene plot, const TitleBlockTexts& texts, const std::string& fontFace,
                                   const TextMeasure& measure = {});

}  // namespace tolvex::plot
