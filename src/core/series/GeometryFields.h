// The observation geometry's fields by name (the names of the same fields in AnalysisState), for the
// document's series section and the test descriptions alike.
#pragma once

#include "core/series/ObservationSeries.h"

namespace tolvex {

// Calls visit(name, member) for every field; `Geometry` may be const.
template <class Geometry, class Visit>
void forEachGeometryField(Geometry& g, Visit&& visit) {
    visit("ppObsKind", g.ppObsKind);
    visit("ppPiezoZ", g.ppPiezoZ);
    visit("ppObsL", g.ppObsL);
    visit("ppObsD", g.ppObsD);
    visit("lppObsKind", g.lppObsKind);
    visit("lppPiezoZ", g.lppPiezoZ);
    visit("lppObsL", g.lppObsL);
    visit("lppObsD", g.lppObsD);
    visit("mnObsKind", g.mnObsKind);
    visit("mnZ", g.mnZ);
    visit("mnZ1", g.mnZ1);
    visit("mnZ2", g.mnZ2);
}

}  // namespace tolvex
