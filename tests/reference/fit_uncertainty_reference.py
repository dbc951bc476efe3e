#!/usr/bin/python3
"""Parameter uncertainty of least-squares fits, computed independently of the program.

For each case the script finds the least-squares optimum with scipy.optimize.least_squares in the
logarithms theta = ln p of the parameters, then forms, following Bates and Watts (1988, ch. 2):

  sigma^2 = SSR / (n - k),   C = sigma^2 (J^T J)^-1,   se(p) = p sqrt(C_ii),
  rho     = lag-1 autocorrelation of the residuals in time order (mean removed, Box and Jenkins 1976),
  n_eff   = n (1 - rho) / (1 + rho) for rho > 0, else n,
  C'      = C (n - k) / (n_eff - k),   nu = n_eff - k,
  95 % interval exp(theta_i -/+ t(0.975, nu) sqrt(C'_ii)) with scipy.stats.t,
  correlation C_ij / sqrt(C_ii C_jj),

with J the Jacobian of the residuals in theta: analytic for the Theis model (d W(u) / d ln u = -exp(-u)),
scipy's own three-point finite differences (least_squares, jac="3-point") on the accurate leaky
function of confined_leaky_reference.py for the Hantush-Jacob model.

Cases:
  theis_sample   model 0 on the 14-point pumping-test sample (default geometry)
  leaky_sample   model 2 on the same sample (p3 = b'/K', reported as K' = b'/p3)
  theis_noisy    model 0 on 20 synthetic drawdowns with alternating +-1 % noise (rho < 0: no scaling)
  *_fixed_S      the Theis cases with S held at the optimum (k = 1)

Writes tests/data/reference/fit_uncertainty.csv: case, quantity, value. The point of each case
(the optimum's fields) is among the quantities, so the program's test evaluates at the same point.

Run with Debian's /usr/bin/python3 (numpy, scipy, mpmath):
    /usr/bin/python3 tests/reference/fit_uncertainty_reference.py
"""

import csv
import math
import os
import sys

import numpy as np
from scipy import optimize, special, stats

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import confined_leaky_reference as ref  # noqa: E402

SAMPLE_T = [5.0, 10.0, 15.0, 20.0, 30.0, 45.0, 60.0, 75.0, 90.0, 105.0, 240.0, 360.0, 480.0, 600.0]
SAMPLE_S = [3.41, 3.58, 3.97, 4.2, 4.54, 4.88, 5.13, 5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47]
Q, R, B1 = ref.f32(75.53), ref.f32(154.0), ref.f32(21.0)
PI = ref.PROGRAM_PI


def theis(theta, times):
    S, T = np.exp(theta)
    U, C = R * R * S / (4.0 * T), Q / (4.0 * PI * T)
    u = U / np.asarray(times)
    return C * special.exp1(u), C, u


def theis_jacobian(theta, times):
    """d residual / d theta = -d s / d theta: d s/d ln S = -C exp(-u), d s/d ln T = -C W + C exp(-u)."""
    s, C, u = theis(theta, times)
    ds_dlnS = -C * np.exp(-u)
    ds_dlnT = -s + C * np.exp(-u)
    return -np.column_stack([ds_dlnS, ds_dlnT])


def leaky(theta, times):
    S, T, p3 = np.exp(theta)
    g = ref.Geometry()
    return np.array(ref.drawdowns(2, [S, T, p3], g, times, fast=True, rounded=False))


def solve(residuals, x0, jac):
    sol = optimize.least_squares(residuals, x0, jac=jac, method="lm", xtol=1e-15, ftol=1e-15, gtol=1e-15,
                                 max_nfev=5000)
    return sol


def lag1(r):
    d = r - r.mean()
    return float(np.sum(d[:-1] * d[1:]) / np.sum(d * d))


def uncertainty(theta, r, J):
    n, k = J.shape
    ssr = float(r @ r)
    sigma2 = ssr / (n - k)
    cov = sigma2 * np.linalg.inv(J.T @ J)
    rho = lag1(r)
    neff = n * (1.0 - rho) / (1.0 + rho) if rho > 0.0 else float(n)
    scale = (n - k) / (neff - k)
    nu = neff - k
    tq = float(stats.t.ppf(0.975, nu))
    scaled = cov * scale
    sd = np.sqrt(np.diag(scaled))
    p = np.exp(theta)
    corr = cov / np.sqrt(np.outer(np.diag(cov), np.diag(cov)))
    return dict(n=n, k=k, ssr=ssr, sigma2=sigma2, rho=rho, neff=neff, scale=scale, nu=nu, t=tq,
                se=p * sd, lo=np.exp(theta - tq * sd), hi=np.exp(theta + tq * sd), corr=corr)


def rows_of(case, names, values, u, sign=None):
    sign = sign or [1.0] * len(names)
    out = [(case, "n", u["n"]), (case, "k", u["k"]), (case, "ssr", u["ssr"]), (case, "sigma2", u["sigma2"]),
           (case, "rho", u["rho"]), (case, "neff", u["neff"]), (case, "scale", u["scale"]), (case, "nu", u["nu"]),
           (case, "t975", u["t"])]
    for j, name in enumerate(names):
        out += [(case, "value_" + name, values[j]), (case, "se_" + name, u["se"][j]), (case, "lo_" + name, u["lo"][j]),
                (case, "hi_" + name, u["hi"][j])]
        for k2, other in enumerate(names):
            if k2 > j:
                out.append((case, "corr_" + name + "_" + other, sign[j] * sign[k2] * u["corr"][j, k2]))
    return out


def theis_case(case, times, measured):
    times, measured = np.asarray(times), np.asarray(measured)
    res = lambda th: measured - theis(th, times)[0]  # noqa: E731
    sol = solve(res, np.log([1e-4, 10.0]), lambda th: theis_jacobian(th, times))
    theta = sol.x
    u = uncertainty(theta, res(theta), theis_jacobian(theta, times))
    S, T = np.exp(theta)
    rows = rows_of(case, ["storativity", "transmissivity"], [S, T], u)
    # S held fixed at the optimum: T alone is free, J its one column (the point is T's optimum too)
    one = uncertainty(theta[1:], res(theta), theis_jacobian(theta, times)[:, 1:])
    rows += [(case + "_fixed_S", q, v) for _, q, v in rows_of(case, ["transmissivity"], [T], one)]
    return rows


def leaky_case(case, times, measured):
    times, measured = np.asarray(times), np.asarray(measured)
    res = lambda th: measured - leaky(th, times)  # noqa: E731
    x0 = np.log([1e-4, 8.0, 1e6])
    sol = optimize.least_squares(res, x0, jac="3-point", method="trf", bounds=(x0 - 7.0, x0 + 7.0),
                                 x_scale="jac", xtol=1e-15, ftol=1e-15, gtol=1e-15, max_nfev=2000)
    theta = sol.x
    u = uncertainty(theta, sol.fun, sol.jac)
    S, T, p3 = np.exp(theta)
    # K' = b'/p3: the same standard deviation in the logarithm, the opposite sign of correlation
    kp = B1 / p3
    sd3 = u["se"][2] / p3
    u["se"][2] = kp * sd3
    u["lo"][2], u["hi"][2] = B1 / u["hi"][2], B1 / u["lo"][2]
    return rows_of(case, ["storativity", "transmissivity", "upperBedConductivity"], [S, T, kp], u,
                   sign=[1.0, 1.0, -1.0])


def noisy_theis_set():
    times = [10.0 ** (-1.0 + 4.0 * j / 19.0) for j in range(20)]
    clean, _, _ = theis(np.log([2e-4, 25.0]), times)
    noisy = [round(c * (1.0 + 0.01 * (-1) ** j), 6) for j, c in enumerate(clean)]
    return times, noisy


def main():
    rows = []
    rows += theis_case("theis_sample", SAMPLE_T, SAMPLE_S)
    rows += leaky_case("leaky_sample", SAMPLE_T, SAMPLE_S)
    times, noisy = noisy_theis_set()
    rows += theis_case("theis_noisy", times, noisy)
    for j, (t, s) in enumerate(zip(times, noisy)):
        rows += [("theis_noisy", "time_%d" % j, t), ("theis_noisy", "drawdown_%d" % j, s)]
    path = os.path.join(ref.DATA, "fit_uncertainty.csv")
    with open(path, "w", newline="") as f:
        f.write("# Uncertainty of least-squares fits (tests/reference/fit_uncertainty_reference.py): scipy\n")
        f.write("# optimum in ln p, J analytic (Theis) or scipy 3-point differences (leaky), Student's t from\n")
        f.write("# scipy.stats; se/lo/hi with the covariance scaled for the residuals' lag-1 autocorrelation.\n")
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["case", "quantity", "value"])
        for case, q, v in rows:
            w.writerow([case, q, repr(float(v))])
    for case, q, v in rows:
        if not q.startswith(("time_", "drawdown_")):
            print(case, q, v)


if __name__ == "__main__":
    main()
