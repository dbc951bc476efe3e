#include "core/estimation/SlugHeadFit.h"

#include <cmath>

#include "core/series/SlugHeads.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"

namespace tolvex {
namespace {

bool isSlugModel(int modelKind) {
    return modelKind == static_cast<int>(ModelKind::SlugTest) ||
           modelKind == static_cast<int>(ModelKind::BouwerRice);
}

}  // namespace

double firstSeriesH0(const AnalysisState& s) {
    return initialDisplacement(s.allDrawdowns, s.firstSeries.head);
}

std::optional<std::string> slugHeadError(const AnalysisState& s) {
    const SlugHead& head = s.firstSeries.head;
    if (head == SlugHead{}) return std::nullopt;
    const double h0 = firstSeriesH0(s);
    if (h0 > 0.0 && std::isfinite(h0)) return std::nullopt;
    if (head.reference == SlugHead::Reference::FirstValue)
        return "The first measurement gives the initial displacement H0 = " + formatGeneral(h0, 6) +
               ": it must be positive to divide the heads by.";
    return "The initial displacement H0 = " + formatGeneral(h0, 6) + " must be a positive number.";
}

MeasuredHeads fitOnNormalisedHeads(AnalysisState& s) {
    MeasuredHeads kept;
    const SlugHead& head = s.firstSeries.head;
    if (!isSlugModel(s.modelKind) || head == SlugHead{}) return kept;
    kept.replaced = true;
    kept.measured = s.measured;
    kept.h0 = firstSeriesH0(s);
    for (double& value : s.measured) value = slugDisplacement(value, head) / kept.h0;
    return kept;
}

void restoreMeasuredHeads(AnalysisState& s, const MeasuredHeads& kept) {
    if (!kept.replaced) return;
    s.calculated = headsAsMeasured(s.calculated, kept.h0, kept.measured, s.firstSeries.head);
    s.measured = kept.measured;
}

}  // namespace tolvex
