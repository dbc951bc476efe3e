// The Hantush-Jacob function as the terms of the partial-penetration series need it: leakyW's
// methods, with the convergent series used up to min(u, q) = 10 instead of 5 (q = (r/B)^2 / (4u)).
// Between the two the series' alternating terms cancel to a relative error of about
// 1e-16 exp(2 min(u, q)), up to 5e-8 of the term, while its absolute error stays below 1e-16 E1(u)
// times exp(min(u, q) - max(u, q) + u), a few units in 1e-12 of the fully penetrating value for
// u <= 10: what a term of the series needs, at a twentieth of the quadrature's cost.
#pragma once

namespace tolvex::accurate {

[[nodiscard]] double leakyTerm(double u, double rOverB);

}  // namespace tolvex::accurate
