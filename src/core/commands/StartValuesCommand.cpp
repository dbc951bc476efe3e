#include "core/commands/StartValuesCommand.h"

#include <span>
#include <string>

#include "core/estimation/StartValues.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"
#include "core/units/Units.h"

namespace tolvex {
namespace {

constexpr int kShownDigits = 6;

// One "FIELD = VALUE" line per fitted field of the state's model, as the fields hold them now.
std::string fittedValues(const AnalysisState& s) {
    std::string lines;
    for (std::string_view name : fittedFieldNames(s.modelKind)) {
        const FieldInfo* field = findField(name);
        if (field == nullptr || field->type() != FieldType::Float) continue;
        const float value = s.*std::get<float AnalysisState::*>(field->member);
        // In the document's units when it has them (the state holds SI then).
        const std::string unit = unitLabel(field->dimension, s.units);
        lines += "\n" + std::string(name) + " = " +
                 formatGeneral(fromSI(value, field->dimension, s.units), kShownDigits) +
                 (unit.empty() ? "" : " " + unit);
    }
    return lines;
}

}  // namespace

CommandOutcome estimateStartValuesCommand(AnalysisState& state, Interaction& ui) {
    std::string reason;
    const auto start = estimateStartValues(state, &reason);
    if (!start) {
        ui.message(reason);
        return CommandOutcome::Refused;
    }
    writeParameterVector(state, std::span<const double>(start->vector));
    ui.message("Start values estimated from the used measurements (" + start->method +
               "):" + fittedValues(state));
    ui.redraw();
    return CommandOutcome::Done;
}

}  // namespace tolvex
