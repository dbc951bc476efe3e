#include "core/typecurves/ObservationSite.h"

namespace tolvex {

ObservationGeometry stateGeometry(const AnalysisState& s) {
    ObservationGeometry g;
    g.ppObsKind = s.ppObsKind;
    g.ppPiezoZ = s.ppPiezoZ;
    g.ppObsL = s.ppObsL;
    g.ppObsD = s.ppObsD;
    g.lppObsKind = s.lppObsKind;
    g.lppPiezoZ = s.lppPiezoZ;
    g.lppObsL = s.lppObsL;
    g.lppObsD = s.lppObsD;
    g.mnObsKind = s.mnObsKind;
    g.mnZ = s.mnZ;
    g.mnZ1 = s.mnZ1;
    g.mnZ2 = s.mnZ2;
    return g;
}

ObservationSite firstSeriesSite(const AnalysisState& s) {
    return {s.radialDistance, stateGeometry(s)};
}

}  // namespace tolvex
