#!/usr/bin/python3
"""Bouwer and Rice (1976) slug test: ln(Re/rw) and the hydraulic conductivity K for well geometries,
written from the paper's equations, for a head recovery h(t) = exp(-rate t) (so that the fitted rate
of decline of ln h is `rate` exactly).

    ln(Re/rw) = [1.1/ln(Lw/rw) + (A + B min(ln((H - Lw)/rw), 6)) / (Le/rw)]^-1      (H > Lw)
    ln(Re/rw) = [1.1/ln(Lw/rw) + C / (Le/rw)]^-1                                     (H = Lw)
    K = rc^2 ln(Re/rw) / (2 Le) * rate

"The effect of partial penetration reaches a maximum when ln((H - Lw)/rw) = 6, and this is the largest
value to be used" (Bouwer and Rice 1976). A, B, C are read from the paper's curves at Le/rw (the
13-row table below, interpolated linearly). The geometry values are rounded to 32-bit floats first,
as the program stores them; "ratio_capped_K" is K with the ratio (H - Lw)/rw capped at 6 instead of
its logarithm, for comparison only. Row 1 is the well of Bouwer (1989), Ground Water 27(3) 304-309
(rc = 2 in, rw = 4.125 in, Le = 10 ft, Lw = 17.92 ft, H = 18.92 ft).

Run:  /usr/bin/python3 tests/reference/bouwer_rice_reference.py > tests/data/bouwer_rice_reference.csv
"""
import math

import numpy as np

TABLE = [  # Le/rw, A, B, C
    (3.5, 1.6, 0.25, 0.7), (5, 1.65, 0.25, 0.85), (10, 1.75, 0.26, 1.2), (20, 2.2, 0.35, 1.75),
    (30, 2.5, 0.35, 2.0), (50, 3.0, 0.5, 2.75), (70, 3.6, 0.6, 3.25), (100, 4.4, 0.75, 4.25),
    (200, 6.0, 1.13, 7.0), (300, 7.0, 1.5, 8.75), (500, 8.1, 2.13, 10.5), (1000, 9.0, 2.8, 12.25),
    (2000, 9.75, 3.25, 13.0)]


def coefficients(ratio):
    if ratio <= TABLE[0][0]:
        return TABLE[0][1:]
    if ratio >= TABLE[-1][0]:
        return TABLE[-1][1:]
    for low, high in zip(TABLE, TABLE[1:]):
        if low[0] <= ratio <= high[0]:
            f = (ratio - low[0]) / (high[0] - low[0])
            return tuple(a + (b - a) * f for a, b in zip(low[1:], high[1:]))


def ln_re_rw(rw, le, lw, h, cap_logarithm=True):
    a, b, c = coefficients(le / rw)
    well = 1.1 / math.log(lw / rw)
    if h - lw > 0:
        x = (h - lw) / rw
        lnx = min(math.log(x), 6.0) if cap_logarithm else math.log(min(x, 6.0))
        return a, b, c, 1.0 / (well + (a + b * lnx) * rw / le)
    return a, b, c, 1.0 / (well + c * rw / le)


CASES = [  # rw, rc, Le, Lw, H, rate
    (8.25 / 24, 2.0 / 12, 10.0, 17.92, 18.92, 0.1),   # Bouwer (1989): ln((H-Lw)/rw) = 1.07
    (0.1, 0.05, 2.0, 5.0, 100.0, 0.1),                # ln 950 = 6.86: capped at 6
    (1.0, 0.5, 7.5, 100.0, 130.0, 0.1),               # ln 30 = 3.40 (the ratio cap would use ln 6)
    (0.05, 0.025, 1.5, 3.0, 25.0, 0.2),               # ln 440 = 6.09: capped at 6
    (0.1, 0.08, 3.0, 10.0, 10.0, 0.05),               # reaches the base: C
    (0.0762, 0.0254, 1.524, 6.0, 12.0, 0.3),          # ln 78.7 = 4.37
]

print("# Bouwer and Rice (1976): coefficients at Le/rw, ln(Re/rw) with ln((H-Lw)/rw) capped at 6, and K for")
print("# heads exp(-rate t); tests/reference/bouwer_rice_reference.py. ratio_capped_K: K if the ratio were capped.")
print("rw,rc,Le,Lw,H,rate,A,B,C,lnReRw,K,ratio_capped_K")
for case in CASES:
    rw, rc, le, lw, h, rate = (float(np.float32(v)) for v in case)
    a, b, c, ln = ln_re_rw(rw, le, lw, h)
    k = rc * rc * ln / (2.0 * le) * rate
    k_ratio = rc * rc * ln_re_rw(rw, le, lw, h, cap_logarithm=False)[3] / (2.0 * le) * rate
    print(",".join(f"{v!r}" for v in (rw, rc, le, lw, h, rate, a, b, c, ln, k, k_ratio)))
