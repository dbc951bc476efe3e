// The screen geometry of Hantush's (1961) partial-penetration series, shared by the standard sums and
// the accurate ones: the vertical factor of each Fourier term and the series' normalisation. pi is a
// parameter: the standard sums use the program's 3.1415926, the accurate ones the full value.
#pragma once

#include <cmath>

namespace tolvex::partial {

// Screens shorter than this are treated as points of zero length (the correction divides by it).
inline constexpr double kScreenTolerance = 1e-8;

// Depths of one evaluation, fractions of the aquifer thickness from its top.
struct Screens {
    double l;   // bottom of the pumping-well screen
    double d;   // top of the pumping-well screen
    double lo;  // bottom of the observation-well screen; <= 0 selects the piezometer
    double dz;  // top of the observation-well screen, or the piezometer depth
    [[nodiscard]] bool piezometer() const { return lo <= 0.0; }
};

[[nodiscard]] inline bool degenerate(const Screens& s) {
    if (std::fabs(s.l - s.d) <= kScreenTolerance) return true;
    return !s.piezometer() && std::fabs(s.lo - s.dz) <= kScreenTolerance;
}

// The vertical factor of the n-th Fourier term: the pumping screen's source term times the cosine at
// the piezometer (Hantush 1961, eq. for a point), or times the screen average of the observation well.
[[nodiscard]] inline double verticalFactor(int n, const Screens& s, double pi) {
    const double pumping = std::sin(n * (pi * s.l)) - std::sin(n * (pi * s.d));
    if (s.piezometer()) return std::cos(n * (pi * s.dz)) * pumping / n;
    const double observation = std::sin(n * (pi * s.lo)) - std::sin(n * (pi * s.dz));
    return pumping * observation / (static_cast<double>(n) * n);
}

[[nodiscard]] inline double normalisation(const Screens& s, double pi) {
    if (s.piezometer()) return (2.0 / pi) / (s.l - s.d);
    return (2.0 / (pi * pi)) / (s.l - s.d) / (s.lo - s.dz);
}

}  // namespace tolvex::partial
