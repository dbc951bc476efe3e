#!/usr/bin/python3
"""Least-squares fits with a parameter held fixed or kept inside bounds, computed independently of the
program with scipy.optimize.least_squares.

The cases fit the 14-point pumping-test sample set (the default start and geometry: Q 75.53, r 154)
with Theis's solution (model 0) and the leaky solution of Hantush and Jacob (model 2, whose third
parameter is b'/K' with b' = 21):

  theis_fix_S       S held at its start 1e-5, T fitted
  theis_fix_T       T held at its start 8.8, S fitted
  theis_T_upper     T <= 8 (the free optimum is 8.42): T ends on the bound, S is refitted
  theis_S_lower     S >= 5e-5 (the free optimum is 3.93e-5): S ends on the bound
  theis_inside      1e-6 <= S <= 1e-3 and 1 <= T <= 100: no bound is active, the free optimum
  leaky_K_lower     K' >= 5e-6, i.e. b'/K' <= 4.2e6 (the free optimum is 8.7e6): K' ends on the bound

scipy's trust-region reflective method minimises the sum of squared plain residuals under the bounds
(a fixed parameter is left out of the vector); its active_mask names the parameters on a bound. The
program's Marquardt iteration ends where the gradient formed from 1 % forward differences vanishes, a
little away from the exact optimum (see fit_reference_0_4.py); the script therefore also solves that
condition for the free parameters, with the active ones held on their bounds, and writes both points.
The forward model is that of confined_leaky_reference.py.

Run with Debian's /usr/bin/python3: writes tests/data/reference/fit_controls.csv with one row per case
and parameter (field name, expected value, relative tolerance, whether it ends on a bound) and a row
"rmsError".
"""

import csv
import math
import os
import sys

import numpy as np
from scipy import optimize

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import confined_leaky_reference as ref  # noqa: E402

SAMPLE_T = [5.0, 10.0, 15.0, 20.0, 30.0, 45.0, 60.0, 75.0, 90.0, 105.0, 240.0, 360.0, 480.0, 600.0]
SAMPLE_S = np.array([3.41, 3.58, 3.97, 4.2, 4.54, 4.88, 5.13, 5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47])
B1 = 21.0  # b', the leaky bed's thickness
INF = math.inf

# name, model, fields in vector order, start (vector units), fixed fields, bounds in field units
CASES = [
    dict(name="theis_fix_S", model=0, fix={"storativity"}, bounds={}),
    dict(name="theis_fix_T", model=0, fix={"transmissivity"}, bounds={}),
    dict(name="theis_T_upper", model=0, fix=set(), bounds={"transmissivity": (-INF, 8.0)}),
    dict(name="theis_S_lower", model=0, fix=set(), bounds={"storativity": (5e-5, INF)}),
    dict(name="theis_inside", model=0, fix=set(),
         bounds={"storativity": (1e-6, 1e-3), "transmissivity": (1.0, 100.0)}),
    dict(name="leaky_K_lower", model=2, fix=set(), bounds={"upperBedConductivity": (5e-6, INF)}),
]
FIELDS = {0: ["storativity", "transmissivity"], 2: ["storativity", "transmissivity", "upperBedConductivity"]}
START = {0: [ref.f32(1e-5), ref.f32(8.8)], 2: [ref.f32(1e-5), ref.f32(8.8), ref.f32(21.0) / ref.f32(0.042)]}
GEOMETRY = ref.Geometry()
# Relative tolerance of a fitted value: what the program's well functions allow (Theis 1.9e-7 relative in
# W, the leaky function 1.9e-5, amplified by the fit's conditioning), at least three times the distance
# between the exact optimum and the forward-difference point.
FLOOR = {0: 2e-5, 2: 1e-3}


def vector_bounds(model, name, lo_hi):
    lo, hi = lo_hi
    if model == 2 and name == "upperBedConductivity":  # the vector holds b'/K'
        return (B1 / hi if hi > 0 and hi < INF else 0.0), (B1 / lo if lo > 0 else INF)
    return lo, hi


def field_value(model, name, v):
    return B1 / v if (model == 2 and name == "upperBedConductivity") else v


class Problem:
    def __init__(self, case):
        self.model = case["model"]
        self.names = FIELDS[self.model]
        self.start = list(START[self.model])
        self.free = [k for k, n in enumerate(self.names) if n not in case["fix"]]
        lo, hi = [], []
        for k in self.free:
            b = case["bounds"].get(self.names[k], (-INF, INF))
            vb = vector_bounds(self.model, self.names[k], b)
            lo.append(vb[0])
            hi.append(vb[1])
        self.lo, self.hi = np.array(lo), np.array(hi)

    def vector(self, x, held=None):
        p = list(self.start)
        for k, v in zip(self.free, x):
            p[k] = v
        if held:
            for k, v in held.items():
                p[k] = v
        return p

    def drawdowns(self, p):
        return np.array(ref.drawdowns(self.model, p, GEOMETRY, SAMPLE_T, fast=True, rounded=False))

    def residuals(self, x):
        return SAMPLE_S - self.drawdowns(self.vector(x))


def constrained_optimum(problem):
    """scipy's bounded least squares in the free parameters, scaled by their magnitudes."""
    x0 = np.clip(np.array([problem.start[k] for k in problem.free]), problem.lo, problem.hi)
    # start inside the box: trf needs a strictly feasible point
    x0 = np.where(x0 <= problem.lo, problem.lo * (1 + 1e-3), x0)
    x0 = np.where(x0 >= problem.hi, problem.hi * (1 - 1e-3), x0)
    sol = optimize.least_squares(problem.residuals, x0, method="trf", bounds=(problem.lo, problem.hi),
                                 x_scale=np.abs(x0), xtol=1e-15, ftol=1e-15, gtol=1e-15, max_nfev=5000)
    return sol.x, sol.active_mask


def forward_difference_point(problem, x, active):
    """Where the 1 % forward-difference gradient of the parameters not on a bound vanishes."""
    held = {problem.free[i]: x[i] for i in range(len(x)) if active[i] != 0}
    moving = [i for i in range(len(x)) if active[i] == 0]
    if not moving:
        return np.array(x)

    def point(logy):
        z = np.array(x, dtype=float)
        for j, i in enumerate(moving):
            z[i] = math.exp(logy[j])
        return z

    def gradient(logy):
        z = point(logy)
        base = problem.drawdowns(problem.vector(z, held))
        r = SAMPLE_S - base
        g = []
        for i in moving:
            y = z.copy()
            y[i] *= 1.01
            g.append(np.dot(problem.drawdowns(problem.vector(y, held)) - base, r) / np.dot(base, base))
        return g

    sol = optimize.root(gradient, np.log([x[i] for i in moving]), method="hybr", options={"xtol": 1e-14})
    return point(sol.x)


def rms(v):
    return math.sqrt(float(np.mean(np.square(v))))


def main():
    rows = []
    for case in CASES:
        problem = Problem(case)
        x, active = constrained_optimum(problem)
        fd = forward_difference_point(problem, x, active)
        p_exact, p_fd = problem.vector(x), problem.vector(fd)
        for k, name in enumerate(problem.names):
            if k not in problem.free:
                rows.append([case["name"], case["model"], name, "%.10g" % field_value(problem.model, name, p_fd[k]),
                             1e-7, "fixed", "held at its start"])
                continue
            i = problem.free.index(k)
            expected = field_value(problem.model, name, p_fd[k])
            exact = field_value(problem.model, name, p_exact[k])
            gap = abs(expected / exact - 1.0)
            tol = 1e-6 if active[i] != 0 else max(FLOOR[problem.model], 3.0 * gap)
            rows.append([case["name"], case["model"], name, "%.10g" % expected, "%.2g" % tol,
                         "bound" if active[i] != 0 else "free",
                         "scipy optimum %.9g; forward-difference point %.2g away" % (exact, gap)])
        r_fd = rms(SAMPLE_S - problem.drawdowns(p_fd))
        r_exact = rms(SAMPLE_S - problem.drawdowns(p_exact))
        rows.append([case["name"], case["model"], "rmsError", "%.10g" % r_fd, FLOOR[problem.model] / 2, "",
                     "scipy optimum's RMS %.9g" % r_exact])
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "reference", "fit_controls.csv")
    with open(out, "w", newline="") as f:
        f.write("# Fits with fixed parameters and bounds on the 14-point pumping sample\n")
        f.write("# (tests/reference/fit_controls_reference.py; scipy.optimize.least_squares, method trf)\n")
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["case", "model", "field", "value", "tolerance", "kind", "note"])
        w.writerows(rows)


if __name__ == "__main__":
    main()
