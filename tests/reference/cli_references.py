#!/usr/bin/python3
"""Reference values of the command-line estimations, simulation and Theis type curve.

The default pumping test: Q = 75.53, r = 154, the 14 pairs of time and drawdown below. Theis (1935):
s = Q/(4 pi T) E1(r^2 S/(4 T t)), with scipy's exp1.
  theis-lsq     least squares of the Theis drawdown (scipy.optimize.least_squares, to machine precision):
                T, S, the RMS misfit sqrt(mean(residual^2)) and the drawdowns at the optimum.
                The program's parameters are floats and its misfit surface is flat near the optimum,
                so S agrees to about 6 digits only (tolerance 1e-5); T also has the known reference
                8.4200735 that the test checks to the printed digits.
  theis-trial   the Theis drawdowns and RMS misfit at the start values T = 8.8, S = 1e-5.
  jacob-lsq     Cooper and Jacob (1946) in closed form: x = -ln(r^2/(4t)), the straight line s = a x + b,
                T = Q/(4 pi a), S = T exp(-0.5772 - 4 pi T b/Q) (pi = 3.1415926, T and S as floats),
                drawdowns Q/(4 pi T)(-0.5772 - ln u).
  theis-simulate  Theis drawdowns at T = 8.8, S = 1e-5 at 14 times spaced evenly in log10 from 0.1 to 1000.

  theis-type-curve  the Theis type curve W(u) = E1(u) against 1/u at the 50 points of the default
                logarithmic grid from 0.1 (as the float the range is stored in) to 10000.

Writes tests/data/render/cli_fit_values.csv, cli_fit_drawdowns.csv and cli_theis_type_curve.csv.
Run:  /usr/bin/python3 tests/reference/cli_references.py   (from the repository root)
"""
import csv
import math
import os

import numpy as np
from scipy.optimize import least_squares
from scipy.special import exp1

Q, R = 75.53, 154.0
TIMES = np.array([5, 10, 15, 20, 30, 45, 60, 75, 90, 105, 240, 360, 480, 600.0])
DRAWDOWNS = np.array([3.41, 3.58, 3.97, 4.2, 4.54, 4.88, 5.13, 5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47])
PROGRAM_PI = 3.1415926


def theis(T, S, t):
    return Q / (4 * np.pi * T) * exp1(R * R * S / (4 * T * t))


def rms(calculated):
    return float(np.sqrt(np.mean((calculated - DRAWDOWNS) ** 2)))


def theis_lsq():
    # S scaled by 1e-5 so that both unknowns are of order one.
    fit = least_squares(lambda p: theis(p[0], p[1] * 1e-5, TIMES) - DRAWDOWNS, [8.8, 1.0],
                        xtol=1e-15, ftol=1e-15, gtol=1e-15)
    T, S = fit.x[0], fit.x[1] * 1e-5
    return T, S, theis(T, S, TIMES)


def jacob():
    x = -np.log(R * R / (4 * TIMES))
    n = len(TIMES)
    sx, sxx, sxy, sy = x.sum(), (x * x).sum(), (DRAWDOWNS * x).sum(), DRAWDOWNS.sum()
    a = (n * sxy - sx * sy) / (n * sxx - sx * sx)
    b = (sy - a * sx) / n
    T = float(np.float32(Q / (4 * PROGRAM_PI * a)))
    S = float(np.float32(T * math.exp(-0.5772 - 4 * PROGRAM_PI * T * b / Q)))
    u = R * R * S / (4 * T * TIMES)
    return T, S, Q / (4 * PROGRAM_PI * T) * (-0.5772 - np.log(u))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "render")
    os.makedirs(root, exist_ok=True)
    T, S, lsq = theis_lsq()
    trial = theis(8.8, 1e-5, TIMES)
    jT, jS, jc = jacob()
    sim_times = 10 ** (math.log10(0.1) + np.arange(14) * math.log10(1000 / 0.1) / 13)
    values = [
        ("theis-lsq", "transmissivity", T, 1e-6),
        ("theis-lsq", "storativity", S, 1e-5),
        ("theis-lsq", "rmsError", rms(lsq), 1e-6),
        ("theis-trial", "transmissivity", 8.8, 1e-7),
        ("theis-trial", "storativity", 1e-5, 1e-7),
        ("theis-trial", "rmsError", rms(trial), 1e-6),
        ("jacob-lsq", "transmissivity", jT, 1e-6),
        ("jacob-lsq", "storativity", jS, 1e-6),
        ("jacob-lsq", "rmsError", rms(jc), 1e-6),
    ]
    with open(os.path.join(root, "cli_fit_values.csv"), "w", newline="") as f:
        f.write("# Fitted values on the default pumping test; written by tests/reference/cli_references.py\n")
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["case", "quantity", "value", "relative_tolerance"])
        for case, name, value, tolerance in values:
            w.writerow([case, name, "%.10g" % value, "%g" % tolerance])
    with open(os.path.join(root, "cli_fit_drawdowns.csv"), "w", newline="") as f:
        f.write("# Drawdowns of the fits and the simulation; written by tests/reference/cli_references.py\n")
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["case", "time", "measured", "calculated"])
        for case, times, measured, calculated in (
                ("theis-lsq", TIMES, DRAWDOWNS, lsq), ("theis-trial", TIMES, DRAWDOWNS, trial),
                ("jacob-lsq", TIMES, DRAWDOWNS, jc),
                ("theis-simulate", sim_times, theis(8.8, 1e-5, sim_times), theis(8.8, 1e-5, sim_times))):
            for t, m, c in zip(times, measured, calculated):
                w.writerow([case, "%.10g" % t, "%.10g" % m, "%.10g" % c])
    lo, hi = float(np.float32(0.1)), 10000.0
    grid = 10 ** (math.log10(lo) + np.arange(50) * math.log10(hi / lo) / 49)
    with open(os.path.join(root, "cli_theis_type_curve.csv"), "w", newline="") as f:
        f.write("# Theis type curve W = E1(1/x); written by tests/reference/cli_references.py\n")
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["x", "W"])
        for x in grid:
            w.writerow(["%.10g" % x, "%.12g" % exp1(1 / x)])
    print("Theis least squares: T = %.8g, S = %.8g, RMS = %.8g" % (T, S, rms(lsq)))


if __name__ == "__main__":
    main()
