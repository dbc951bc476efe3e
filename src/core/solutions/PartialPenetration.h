// Partially penetrating pumping wells with vertical anisotropy (Hantush 1961, 1964).
// Depths l, d (pumping-well screen bottom and top), lo, dz (observation-well screen bottom and top,
// or lo <= 0 and dz = z/b for a piezometer) are fractions of the aquifer thickness from its top;
// x = a r / b with a = sqrt(Kz/Kr).
#pragma once

namespace tolvex {

// W(u) + the nonleaky partial-penetration correction.
[[nodiscard]] double partialW(double u, double x, double l, double d, double lo, double dz);
// W(u, r/B) + the leaky partial-penetration correction (200 terms).
[[nodiscard]] double partialLeakyW(double u, double x, double rB, double l, double d, double lo, double dz);

}  // namespace tolvex
