// The two model-choice dialogs lay their radio buttons out in captioned boxes ("A confined aquifer",
// "A leaky confined aquifer", ...). Their forms hold one radio field; the core lists the box of each
// button separately, and this finds that list for a form.
#pragma once

#include <string>
#include <vector>

#include "core/commands/Form.h"

namespace tolvex::gui {

// The box caption of every button of the form's radio field, in button order ("" for an untitled box);
// empty when the form's buttons are not boxed.
[[nodiscard]] std::vector<std::string> radioGroupCaptions(const Form& form);

}  // namespace tolvex::gui
