#!/usr/bin/python3
"""References for the accurate unconfined drawdown at small beta, where its eigenvalue series is longest:
beta = 0.03 and 0.001, sigma = 0.01, over td = 0.4..6.7e6, in the four geometries of unconfined.csv and
the piezometer below a partial screen (l = 0.6, d = 0.2, z = 0.5). Same method as unconfined.csv
(accurate_laplace_reference.py: eigenvalue series with exact K0, Gaver-Stehfest with 48 terms at 60 digits),
with the series' length set for each time on its own (one time a curve here). Writes
unconfined_small_beta.csv; cross-checked against 56 terms at 76 digits at three points.

Run with Debian's /usr/bin/python3 (python3-mpmath).
"""

import time

import mpmath as mp

from accurate_laplace_reference import UNCONFINED_GEOMETRIES, Geometry, unconfined_curve
from accurate_reference_common import check, progress, write_table

GEOMETRIES = UNCONFINED_GEOMETRIES + [Geometry(0.6, 0.2, 0.5, 0.0, 1.0, 1)]
SIGMA = 0.01
TIMES = [0.1 * 4.0 ** k for k in (1, 4, 7, 10, 13)]  # 0.4, 25.6, 1638.4, 104857.6, 6710886.4


def make():
    rows = []
    for beta in (0.03, 0.001):
        for td in TIMES:
            t0 = time.time()
            res, n_max, _ = unconfined_curve([td], beta, SIGMA, GEOMETRIES)
            for g, v in zip(GEOMETRIES, res[td]):
                rows.append((td, beta, SIGMA) + g.inputs() + (v,))
            progress(f"small beta {beta} td {td:g}: {n_max} terms, {time.time() - t0:.0f} s")
    count = write_table("unconfined_small_beta.csv", [
        "Moench (1993) unconfined drawdown with drainage constant 1e9 (Neuman 1974) at small beta, Theis",
        "normalization; columns as unconfined.csv. Eigenvalue series with exact K0 to 1e-24 of the value,",
        "Gaver-Stehfest inversion with 48 terms at 60 digits, the series' length set for each time.",
    ], ["td", "beta", "sigma", "l", "d", "z", "z1", "z2", "form", "value"], rows)
    for beta, td in ((0.03, 25.6), (0.001, 1638.4), (0.001, 104857.6)):
        a, _, _ = unconfined_curve([td], beta, SIGMA, GEOMETRIES)
        b, _, _ = unconfined_curve([td], beta, SIGMA, GEOMETRIES, n_terms=56, dps=76)
        for g, x, y in zip(GEOMETRIES, a[td], b[td]):
            check(f"small beta {beta} td {td:g} form {g.form} l {g.l}: Stehfest 48 vs 56 terms", x, y,
                  rel=mp.mpf("1e-12"))
    return count


if __name__ == "__main__":
    mp.mp.dps = 40
    progress(f"wrote {make()} rows")
