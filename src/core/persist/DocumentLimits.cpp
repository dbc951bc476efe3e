#include "core/persist/DocumentLimits.h"

#include "core/persist/Archive.h"
#include "core/state/NumericalTableLimits.h"

namespace tolvex {

void checkDocumentWord(std::string_view field, int value) {
    if (auto error = numericalTableSizeError(field, value)) throw ArchiveError(*error);
}

}  // namespace tolvex
