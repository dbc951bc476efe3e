// The logarithmic derivative ds/d ln t of drawdowns, the diagnostic of flow regimes (Bourdet, Whittle,
// Douglas and Pirard 1983; Bourdet, Ayoub and Pirard 1989): radial flow gives a flat derivative, a
// leaky or constant-head boundary a falling one, a no-flow boundary a rising one. It has the unit of the
// drawdown (the time unit cancels in d ln t).
//
// Two smoothings of measured data:
// - Bourdet et al. (1989) L-spacing: at t_i the slopes to the first points at least L log10 cycles to
//   the left and to the right, weighted by the other side's distance in ln t. L = 0 takes the adjacent
//   times: the plain three-point central derivative on ln t, exact for parabolas in ln t.
// - Spane and Wurstner (1993) moving window: the least-squares slope of s against ln t over the window
//   of `window` points centred on t_i.
//
// Times t <= 0 and non-finite values are left out. Repeated times are merged into one point carrying the
// mean of their drawdowns, and every measurement of that time gets its derivative. The ends are
// one-sided: where no point lies L away on one side the window reaches the last point on that side; the
// first and last time take the one-sided slope (Bourdet), and the moving window is cut short at the
// ends (Spane and Wurstner). Fewer than three distinct usable times give no derivative at all.
#pragma once

#include <span>
#include <vector>

namespace tolvex {

inline constexpr double kMaxLSpacing = 0.5;  // log10 cycles, the usual upper end (Bourdet et al. 1989)

struct DerivativeSmoothing {
    enum class Kind { LSpacing, MovingWindow };
    Kind kind = Kind::LSpacing;
    double lSpacing = 0.0;  // log10 cycles, 0 .. kMaxLSpacing
    int window = 3;         // points of the moving window, odd, at least 3
};

// ds/d ln t at each of times[i] (any order), NaN where left out; all NaN (no derivative) for fewer than
// three distinct usable times. The smoothing must have passed checkDerivativeSmoothing.
[[nodiscard]] std::vector<double> logDerivative(std::span<const double> times, std::span<const double> values,
                                                const DerivativeSmoothing& smoothing);

// Why the smoothing cannot be used (an L outside 0 .. 0.5 or not a number, a window that is not an odd
// count of at least 3), or an empty string.
[[nodiscard]] const char* checkDerivativeSmoothing(const DerivativeSmoothing& smoothing);

}  // namespace tolvex
