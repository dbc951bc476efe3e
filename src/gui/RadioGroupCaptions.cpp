#include "gui/RadioGroupCaptions.h"

#include "core/commands/SettingsForms.h"
#include "core/commands/TypeCurveForms.h"

namespace tolvex::gui {

std::vector<std::string> radioGroupCaptions(const Form& form) {
    if (form.title == modelSelectionForm().title) return modelSelectionGroups();
    if (form.title == typeCurveSelectionForm().title) return typeCurveSelectionGroups();
    return {};
}

}  // namespace tolvex::gui
