// Writes the document the smoke run of the desktop program opens: the default analysis with the leaky
// model selected, so that the run computes a family of several curves.
#include <cstdio>

#include "core/persist/Document.h"
#include "core/state/AnalysisState.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_document FILE.tvx\n");
        return 2;
    }
    tolvex::AnalysisState state = tolvex::makeDefaultState();
    state.modelKind = 2;
    if (const auto failure = tolvex::saveDocument(state, argv[1])) {
        std::fprintf(stderr, "%s\n", failure->c_str());
        return 1;
    }
    return 0;
}
