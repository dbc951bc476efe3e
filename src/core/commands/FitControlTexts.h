// The fit controls of an initial-guess dialog as texts: beside each fitted field a "Fix" box and
// optional lower and upper bounds (an empty text is no bound). Loading, parsing and checking live here,
// so that every front end refuses the same texts with the same messages.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/commands/Form.h"
#include "core/estimation/FitControls.h"
#include "core/units/DisplayUnits.h"

namespace tolvex {

struct FitFieldTexts {
    bool fixed = false;
    std::string lower;  // empty: no lower bound
    std::string upper;  // empty: no upper bound
};

// The indices into form.fields of the fields the model fits (fittedFieldNames), in exchange order.
[[nodiscard]] std::vector<std::size_t> fittedFieldIndices(const Form& form, int modelKind);

// The texts of field `name` as the controls hold them: bounds written so that they read back unchanged,
// in the document's `units` (the controls hold SI values when units are set).
[[nodiscard]] FitFieldTexts loadFitFieldTexts(const FitControls& controls, const std::string& name,
                                              const DisplayUnits& units = {});

// Parses the texts of the fitted fields (`texts` one per form field, exchange order; entries of fields
// that are not fitted are ignored) and, when all are good, replaces the fixed set and the bounds of
// those fields in `controls` (the others and stopWhenConverged are kept). On failure nothing changes
// and the error names the field: "Please enter a number as the lower bound of "LABEL", or leave it
// empty.", the same for the upper bound, or "The lower bound of "LABEL" must lie below its upper
// bound.". Bounds are read in the document's `units` and kept in SI.
[[nodiscard]] std::optional<FormError> acceptFitFieldTexts(const Form& form, int modelKind,
                                                           const std::vector<FitFieldTexts>& texts,
                                                           FitControls& controls,
                                                           const DisplayUnits& units = {});

}  // namespace tolvex
