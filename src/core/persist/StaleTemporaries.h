// Temporary files that a killed save left beside its target (".<name>.tolvex-tmp-<pid>-<n>").
#pragma once

#include <string>

namespace tolvex {

// Removes the temporaries of `target` whose saving process no longer runs. Those of a process that
// still runs are kept: it may be saving the same file at this moment.
void removeStaleTemporaries(const std::string& target);

}  // namespace tolvex
