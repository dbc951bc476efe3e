// What a document read from disk may hold beyond what its record layout can carry: the values that
// the program's own dialogs would never have let into the state. A document can come from anyone, so
// such a value is refused at load like any other fault, before it can make a command take minutes or
// compute nonsense.
#pragma once

#include <string_view>

namespace tolvex {

// Refuses a Word of a document (throws ArchiveError naming the field and the admitted range): the
// sizes of the numerical tables, gaussCount and stehfestCount, must lie in the Integration options'
// ranges. Any other field passes.
void checkDocumentWord(std::string_view field, int value);

}  // namespace tolvex
