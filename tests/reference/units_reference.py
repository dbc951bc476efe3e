#!/usr/bin/python3
"""Theis (1935) least-squares fits of the default pumping test described in several units.

Each case is fitted on its own, in its own consistent numbers, with scipy's exponential integral
(s = Q/(4 pi T) E1(r^2 S / (4 T t))), so the values below are independent of the program:
  minutes    times in min, Q 75.53 m3/min, r 154 m       -> T in m2/min
  days       times in d,   Q 75.53*1440 m3/d, r 154 m    -> T in m2/d
  feet       times in min, Q 75.53 m3/min, r and s in ft -> T in ft2/min
  mixed-up   times in min, Q 75.53*1440 (m3/d) taken as if it were m3/min: the silent error of
             consistent units, S off by the factor 1440
Writes tests/data/units/units_fit_values.csv.
"""
import csv
import os

import numpy as np
from scipy.optimize import least_squares
from scipy.special import exp1

TIMES_MIN = np.array([5, 10, 15, 20, 30, 45, 60, 75, 90, 105, 240, 360, 480, 600], float)
DRAWDOWNS_M = np.array([3.41, 3.58, 3.97, 4.2, 4.54, 4.88, 5.13, 5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47])
Q = 75.53
R = 154.0
FOOT = 0.3048


def fit(times, drawdowns, q, r):
    def residuals(p):
        t, s = np.exp(p)
        return q / (4 * np.pi * t) * exp1(r * r * s / (4 * t * times)) - drawdowns

    start = np.log([8.8 * TIMES_MIN[0] / times[0], 1e-5])
    best = least_squares(residuals, start, xtol=1e-15, ftol=1e-15, gtol=1e-15)
    t, s = np.exp(best.x)
    rms = np.sqrt(np.mean(residuals(best.x) ** 2))
    return t, s, rms


def main():
    cases = {
        "minutes": fit(TIMES_MIN, DRAWDOWNS_M, Q, R),
        "days": fit(TIMES_MIN / 1440, DRAWDOWNS_M, Q * 1440, R),
        "feet": fit(TIMES_MIN, DRAWDOWNS_M / FOOT, Q / FOOT**3, R / FOOT),
        "mixed-up": fit(TIMES_MIN, DRAWDOWNS_M, Q * 1440, R),
    }
    out = os.path.join(os.path.dirname(__file__), "..", "data", "units", "units_fit_values.csv")
    with open(out, "w", newline="") as f:
        f.write("# Theis least-squares fits of the default pumping test in several units;"
                " written by tests/reference/units_reference.py\n")
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["case", "transmissivity", "storativity", "rmsError"])
        for name, (t, s, rms) in cases.items():
            w.writerow([name, "%.10g" % t, "%.10g" % s, "%.10g" % rms])


if __name__ == "__main__":
    main()
