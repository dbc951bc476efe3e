// The range an axis covers: the requested data range clamped into the plotting window, made drawable
// where the window or the data leave nothing to draw, and, on a logarithmic axis, widened to whole decades.
#pragma once

namespace tolvex::plot {

struct AxisRange {
    float min = 0.0f;
    float max = 0.0f;
};

// The plotting window as a limit: the axis never extends beyond it and shrinks to data that occupy less.
// On a logarithmic axis a range lying below the window becomes the single decade above its minimum.
[[nodiscard]] AxisRange clampToWindow(AxisRange data, AxisRange window, bool logarithmic);

// A range every axis rule can work with. An inverted or empty range (data beyond the window, or no data
// at all) shows the window itself; a zero-width linear range gets +-10 % around its value (+-1 around
// zero); a logarithmic range keeps to positive values, one decade below its maximum if its minimum is
// not positive, the decade 1..10 if nothing is positive. A range that is fine already stays as it is.
[[nodiscard]] AxisRange drawableRange(AxisRange clamped, AxisRange window, bool logarithmic);

// Whole decades 10^low .. 10^high around a positive range: floor and ceiling of the logarithms, with a
// limit that lies within 1e-5 of a whole decade (in the logarithm) counting as that decade, on either
// side. Float limits are rarely exact powers of ten: ten times a minimum of 0.001 is stored as
// 0.0100000007, and must still end the axis at 1E-2, just as a limit of 1000 gives exactly 3. At least
// one decade.
struct DecadeSpan {
    int low = 0;
    int high = 1;
    [[nodiscard]] int count() const { return high - low; }
};
[[nodiscard]] DecadeSpan decadeSpan(AxisRange positive);

}  // namespace tolvex::plot
