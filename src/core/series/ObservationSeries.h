// Observation series of a pumping or slug test: the measurements of one observation well or piezometer
// with where it stands. The document's classic records hold the first series (measurements, used range,
// radial distance and observation geometry in the state's own fields); further series are kept in the
// document's extension block.
#pragma once

#include <string>
#include <vector>

namespace tolvex {

// Where the observation point sits in the aquifer, as fractions of the aquifer thickness, for each
// family of models that sees it (the fields of the same names in AnalysisState).
struct ObservationGeometry {
    int ppObsKind = 0;  // partial penetration, nonleaky: 0 piezometer at depth ppPiezoZ, 1 screen
    float ppPiezoZ = 0.3f;
    float ppObsL = 0.75f;
    float ppObsD = 0.5f;
    int lppObsKind = 0;  // partial penetration, leaky
    float lppPiezoZ = 0.5f;
    float lppObsL = 0.75f;
    float lppObsD = 0.25f;
    int mnObsKind = 0;  // unconfined (Moench 1993)
    float mnZ = 0.5f;
    float mnZ1 = 0.0f;
    float mnZ2 = 1.0f;
    friend bool operator==(const ObservationGeometry&, const ObservationGeometry&) = default;
};

// How measured slug-test values become normalised heads H/H0.
struct SlugHead {
    enum class Reference { One, FirstValue, Number };
    Reference reference = Reference::One;  // One: the values are H/H0 already
    double h0 = 1.0;                       // the initial displacement for Reference::Number
    bool waterLevels = false;              // values are water levels: displacement = |level - static|
    double staticLevel = 0.0;
    friend bool operator==(const SlugHead&, const SlugHead&) = default;
};

// What every series has beyond its measurements; the first series keeps these in the extension block.
struct SeriesSettings {
    std::string name;
    bool on = true;       // switched-on series take part in the fits and the plot's misfit
    double weight = 1.0;  // factor of the series' squared residuals in a joint fit
    SlugHead head;
    friend bool operator==(const SeriesSettings&, const SeriesSettings&) = default;
};

// A series beyond the first.
struct ObservationSeries {
    SeriesSettings settings;
    float radialDistance = 1.0f;
    ObservationGeometry geometry;
    std::vector<double> times;       // all measurements, as the first series' allTimes
    std::vector<double> values;      // drawdowns (slug tests: heads as settings.head says)
    int useFrom = 1;                 // 1-based used range
    int useTo = 0;                   // 0: to the last measurement
    std::vector<double> calculated;  // the model at the used times after a fit (not kept in the document)
    friend bool operator==(const ObservationSeries&, const ObservationSeries&) = default;
};

}  // namespace tolvex
