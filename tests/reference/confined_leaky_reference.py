#!/usr/bin/python3
"""Independent references for the pumping-test models 0-4 (confined and leaky aquifers).

The well functions are evaluated from their defining integrals with mpmath (30 digits), not with the
series, Gauss-Laguerre and Gauss-Legendre approximations the program uses:

  W(u)       = E1(u)                                                     Theis (1935)
  W(u, r/B)  = int_u^inf exp(-y - (r/B)^2 / (4 y)) / y dy                 Hantush and Jacob (1955)
  H(u, beta) = int_u^inf exp(-y) / y erfc(beta sqrt(u) / sqrt(y (y - u))) dy   Hantush (1960)

and the partially penetrating well of Hantush (1961; leaky form Hantush 1964), with depths as fractions
of the aquifer thickness from its top, x = a r / b, a = sqrt(Kz / Kr):

  piezometer at z:          W + 2/(pi (l - d)) sum_n (sin n pi l - sin n pi d) cos(n pi z) / n  W(u, w_n)
  observation well d'..l':  W + 2/(pi^2 (l - d)(l' - d')) sum_n (sin n pi l - sin n pi d)
                                                         (sin n pi l' - sin n pi d') / n^2  W(u, w_n)

with W = W(u) and w_n = n pi x (nonleaky), W = W(u, r/B) and w_n = sqrt((r/B)^2 + (n pi x)^2) (leaky).
The series is summed until W(u, w_n) <= 2 K0(w_n) has fallen below 1e-18 of the result, i.e. to
convergence rather than to the program's fixed term counts.

The forward model follows the drawdown table of the program's documentation (parameter vector ->
drawdown): u = U / t with U = r^2 S / (4 T), s = C * well function with C = Q / (4 pi T), pi = 3.1415926
as the program's constant. The factors U, C and the dimensionless model parameters (a r / b, r / B,
beta) are rounded to 32-bit floats as the program stores them, and the state's dimensional fields are
32-bit floats; this is modelled here so that the tolerances only carry the well functions' own error.

Run with Debian's /usr/bin/python3 (numpy, scipy, mpmath):
    /usr/bin/python3 tests/reference/confined_leaky_reference.py
writes tests/data/reference/forward_models_0_4.csv.
"""

import csv
import math
import os

import mpmath as mp
import numpy as np
from scipy import integrate, special

mp.mp.dps = 30
PROGRAM_PI = 3.1415926
HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data", "reference")


def f32(v):
    """v rounded to a 32-bit float, as a Python float."""
    return float(np.float32(v))


# --- well functions, mpmath ------------------------------------------------------------------------


def theis_w(u):
    return float(mp.e1(mp.mpf(u)))


def leaky_w(u, rb):
    """W(u, r/B) by adaptive quadrature of the defining integral (mpmath)."""
    u = mp.mpf(u)
    c = mp.mpf(rb) ** 2 / 4
    if c == 0:
        return float(mp.e1(u))
    f = lambda y: mp.exp(-y - c / y) / y
    # the integrand peaks near y = sqrt(c); split there and by decades for the tanh-sinh rule
    pts = [u]
    peak = mp.sqrt(c)
    for p in (peak / 10, peak, 10 * peak, mp.mpf(1), mp.mpf(10), mp.mpf(50)):
        if p > pts[-1]:
            pts.append(p)
    pts.append(mp.inf)
    return float(mp.quad(f, pts))


def storage_h(u, beta):
    """H(u, beta) by adaptive quadrature of the defining integral (mpmath)."""
    u = mp.mpf(u)
    beta = mp.mpf(beta)
    if beta == 0:
        return float(mp.e1(u))

    def f(y):
        if y <= u:  # the erfc factor vanishes at the lower limit
            return mp.mpf(0)
        return mp.exp(-y) / y * mp.erfc(beta * mp.sqrt(u) / mp.sqrt(y * (y - u)))

    pts = [u, u * (1 + mp.mpf("1e-3")), u * 1.1, 2 * u, 10 * u, 100 * u, 1000 * u]
    pts = [p for p in pts if p < 60] + [mp.mpf(60), mp.inf]
    return float(mp.quad(f, pts))


# --- well functions, double precision (for the fits: many evaluations) ------------------------------


def leaky_w_fast(u, rb):
    """W(u, r/B) by scipy quadrature in ln y (about 1e-13 relative; checked against leaky_w)."""
    if rb == 0.0:
        return float(special.exp1(u))
    c = rb * rb / 4.0
    f = lambda s: math.exp(-math.exp(s) - c * math.exp(-s))
    lo = math.log(u)
    peak = 0.5 * math.log(c)
    hi = max(lo, peak) + 8.0  # exp(-e^8) is far below double precision
    pts = [p for p in (peak - 3.0, peak, peak + 3.0, 0.0, 2.0) if lo < p < hi]
    val, _ = integrate.quad(f, lo, hi, points=pts or None, epsabs=0.0, epsrel=1e-13, limit=400)
    return val


def storage_h_fast(u, beta):
    """H(u, beta) by scipy quadrature in ln(y - u) (about 1e-12 relative; checked against storage_h)."""
    if beta == 0.0:
        return float(special.exp1(u))
    k = beta * math.sqrt(u)

    def f(s):
        v = math.exp(s)  # y - u
        y = u + v
        return math.exp(-y) / y * special.erfc(k / math.sqrt(y * v)) * v

    lo = math.log(u) - 60.0
    hi = math.log(60.0)
    pts = [math.log(u) + d for d in (-20.0, -10.0, -5.0, -2.0, 0.0, 2.0, 5.0) if lo < math.log(u) + d < hi]
    val, _ = integrate.quad(f, lo, hi, points=pts or None, epsabs=0.0, epsrel=1e-12, limit=400)
    return val


def bessel_k0(x):
    return float(special.k0(x))


# --- partially penetrating wells (Hantush 1961, 1964) -----------------------------------------------


def partial_sum(u, x, rb, l, d, lo, dz, leaky, w_fn):
    """The correction series of the partially penetrating well, summed to convergence."""
    pi = math.pi
    total = 0.0
    n = 0
    base = w_fn(u, rb) if leaky else float(special.exp1(u))
    while True:
        n += 1
        w = math.sqrt(rb * rb + (n * pi * x) ** 2) if leaky else n * pi * x
        bound = 2.0 * bessel_k0(w) if w < 700 else 0.0
        if bound < 1e-18 * abs(base) and n > 3:
            break
        pump = math.sin(n * pi * l) - math.sin(n * pi * d)
        if lo <= 0.0:
            coeff = pump * math.cos(n * pi * dz) / n
        else:
            coeff = pump * (math.sin(n * pi * lo) - math.sin(n * pi * dz)) / (n * n)
        if coeff != 0.0:
            total += coeff * w_fn(u, w)
        if n > 1000000:
            raise RuntimeError("partial-penetration series did not converge")
    if lo <= 0.0:
        return base + 2.0 / pi / (l - d) * total
    return base + 2.0 / (pi * pi) / (l - d) / (lo - dz) * total


def partial_error_bound(x, rb, l, d, lo, dz, leaky):
    """Bound on the program's error in the partial-penetration function: its leaky function is good to
    1e-5 absolute (3e-5 with the margin), and never worse than the size 2 K0(w) of a vanishing term;
    the error adds over the program's terms (until n pi x >= 20 nonleaky, 200 leaky)."""
    pi = math.pi
    total = 0.0
    n = 0
    while True:
        n += 1
        w = math.sqrt(rb * rb + (n * pi * x) ** 2) if leaky else n * pi * x
        pump = math.sin(n * pi * l) - math.sin(n * pi * d)
        if lo <= 0.0:
            coeff = pump * math.cos(n * pi * dz) / n
        else:
            coeff = pump * (math.sin(n * pi * lo) - math.sin(n * pi * dz)) / (n * n)
        total += abs(coeff) * min(3e-5, 4.0 * bessel_k0(w) if w < 700 else 0.0)
        if (leaky and n >= 200) or (not leaky and n * pi * x >= 20.0):
            break
    norm = 2.0 / pi / (l - d) if lo <= 0.0 else 2.0 / (pi * pi) / (l - d) / (lo - dz)
    return abs(norm) * total + 3e-5


def partial_w(u, x, l, d, lo, dz, fast=False):
    return partial_sum(u, x, 0.0, l, d, lo, dz, False, leaky_w_fast if fast else leaky_w)


def partial_leaky_w(u, x, rb, l, d, lo, dz, fast=False):
    return partial_sum(u, x, rb, l, d, lo, dz, True, leaky_w_fast if fast else leaky_w)


# --- forward model of models 0-4 ------------------------------------------------------------------


class Geometry:
    """State fields used by the forward model, as the 32-bit floats the state stores."""

    def __init__(self, Q=75.53, r=154.0, b=10.0, b1=21.0, b2=21.0, l=0.0, d=0.0, lo=-1.0, dz=0.0):
        self.Q, self.r, self.b = f32(Q), f32(r), f32(b)
        self.b1, self.b2 = f32(b1), f32(b2)  # upper and lower confining-bed thicknesses b', b''
        # screen depths: float fields except the piezometer marker lo = -1
        self.l, self.d, self.dz = f32(l), f32(d), f32(dz)
        self.lo = f32(lo) if lo > 0 else -1.0


def model_factors(model, p, g, rounded=True):
    """U, C and the model's dimensionless parameter, each rounded to float as the program stores them
    (rounded=False keeps them in double: a smooth misfit for the minimisers)."""
    f32 = globals()["f32"] if rounded else float
    S, T = p[0], p[1]
    U = f32(g.r * g.r * S / (4.0 * T))
    C = f32(g.Q / (4.0 * PROGRAM_PI * T))
    extra = None
    if model in (1, 3):
        arb = f32(math.sqrt(p[2] / (T / g.b)) * (g.r / g.b))
        extra = arb
        if model == 3:
            rb = f32(g.r / math.sqrt(g.b1 * T / p[3]))
            extra = (arb, rb)
    elif model == 2:
        extra = f32(g.r / math.sqrt(T * p[2]))
    elif model == 4:
        extra = f32(
            g.r / 4.0 * (math.sqrt(p[2] * p[4] / (g.b1 * T * S)) + math.sqrt(p[3] * p[5] / (g.b2 * T * S)))
        )
    return U, C, extra


def drawdowns(model, p, g, times, fast=False, rounded=True):
    """Drawdowns of model 0-4 for the parameter vector p (S, T, ...) at the given times."""
    U, C, extra = model_factors(model, p, g, rounded)
    out = []
    for t in times:
        u = U / t
        if model == 0:
            w = theis_w(u) if not fast else float(special.exp1(u))
        elif model == 1:
            w = partial_w(u, extra, g.l, g.d, g.lo, g.dz, fast)
        elif model == 2:
            w = (leaky_w_fast if fast else leaky_w)(u, extra)
        elif model == 3:
            w = partial_leaky_w(u, extra[0], extra[1], g.l, g.d, g.lo, g.dz, fast)
        else:
            w = (storage_h_fast if fast else storage_h)(u, extra)
        out.append(C * w)
    return out


# --- tolerances: the program's algorithms against exact values --------------------------------------
# Theis: rational approximations of E1, 1.9e-7 relative. Leaky: power series, 12-point Gauss-Laguerre
# tail and the K0 polynomial, 1.9e-5 relative (1e-5 absolute in W). Partial penetration: the series sits
# on the leaky function, so its error adds over the terms. H(u, beta): 20-point Gauss-Legendre over
# decades, 1e-4 relative for u < 1e-3, 2e-3 below u = 0.3 and 7e-3 up to u = 4. Each bound carries a
# margin of about three.


def tolerance(model, s, C, u, series_bound=None):
    if model == 0:
        return 6e-7 * abs(s)
    if model == 2:
        return 6e-5 * abs(s) + 3e-5 * C
    if model in (1, 3):
        if series_bound is not None:
            return 6e-5 * abs(s) + series_bound * C
        return 2e-4 * abs(s) + 1e-4 * C
    if u < 1e-3:
        return 3e-4 * abs(s)
    if u < 0.3:
        return 6e-3 * abs(s)
    return 2e-2 * abs(s)


# --- the forward table --------------------------------------------------------------------------------

# (model, geometry kind, Geometry, parameters S, T, p3.., times, why these rows)
# The rows sit where the program's known single-line faults change the drawdown by far more than the
# tolerance: intermediate u for beta, close observation points (r/b = 0.2) for the partial-penetration
# series, distinct screen depths for the piezometer and the observation well, b' != b''.
CASES = [
    (0, "full", Geometry(), (1e-5, 8.8), (5.0, 60.0, 600.0), "defaults; u factor and drawdown scale"),
    (0, "full", Geometry(Q=120.0, r=35.0), (3e-4, 25.0), (0.5, 20.0, 2000.0), "second Q, r, S, T"),
    (1, "piezometer", Geometry(r=2.0, b=10.0, l=0.75, d=0.5, dz=0.3), (1e-4, 8.8, 1.0),
     (1e-4, 1e-2, 1.0, 100.0), "piezometer below the screen, a r / b = 0.213"),
    (1, "piezometer", Geometry(r=1.5, b=20.0, l=0.4, d=0.1, dz=0.25), (2e-4, 30.0, 0.2),
     (1e-3, 1.0), "piezometer inside the screen"),
    (1, "well", Geometry(r=2.0, b=10.0, l=0.75, d=0.5, lo=0.6, dz=0.35), (1e-4, 8.8, 1.0),
     (1e-4, 1e-2, 1.0, 100.0), "observation-well screen 0.35-0.6"),
    (2, "full", Geometry(r=20.0), (1e-4, 8.8, 500.0), (1e-3, 0.1, 10.0, 1000.0), "r/B = 0.30"),
    (2, "full", Geometry(), (1e-5, 8.8, 500.0), (5.0, 60.0, 600.0), "defaults, r/B = 2.32"),
    (3, "piezometer", Geometry(r=2.0, b=10.0, b1=21.0, l=0.75, d=0.25, dz=0.5), (1e-4, 8.8, 1.0, 2.0),
     (1e-4, 1e-2, 1.0, 100.0), "piezometer, r/B = 0.21, a r / b = 0.213"),
    (3, "well", Geometry(r=2.0, b=10.0, b1=21.0, l=0.6, d=0.2, lo=0.9, dz=0.55), (1e-4, 8.8, 1.0, 0.5),
     (1e-4, 1e-2, 1.0, 100.0), "observation well below the screen, r/B = 0.10"),
    (4, "full", Geometry(b1=21.0, b2=15.0), (1e-4, 8.8, 0.042, 0.001, 1e-4, 1e-5), (0.1, 1.0, 10.0, 100.0),
     "beta = 0.61, b'' = 15"),
    (4, "full", Geometry(b1=21.0, b2=5.0), (1e-5, 8.8, 0.01, 0.02, 1e-4, 1e-3), (5.0, 60.0, 600.0),
     "beta = 9.1, lower bed dominant"),
]


def series_bound(model, extra, g):
    if model == 1:
        return partial_error_bound(extra, 0.0, g.l, g.d, g.lo, g.dz, False)
    if model == 3:
        return partial_error_bound(extra[0], extra[1], g.l, g.d, g.lo, g.dz, True)
    return None


def write_forward_table():
    os.makedirs(DATA, exist_ok=True)
    path = os.path.join(DATA, "forward_models_0_4.csv")
    with open(path, "w", newline="") as fh:
        fh.write("# Drawdowns of the pumping-test models 0-4 from the defining integrals of W(u), W(u, r/B),\n")
        fh.write("# H(u, beta) and the Hantush (1961, 1964) partial-penetration series (mpmath, 30 digits), with\n")
        fh.write("# the program's float rounding of U = r^2 S/(4T), C = Q/(4 pi T) and the dimensionless model\n")
        fh.write("# parameters modelled. Written by tests/reference/confined_leaky_reference.py.\n")
        fh.write("# geometry: full | piezometer (l, d, dz = z) | well (l, d, lo = l', dz = d'); tolerance is\n")
        fh.write("# absolute, in drawdown units, from the program's algorithms' known error against exact values.\n")
        w = csv.writer(fh, lineterminator="\n")
        w.writerow(["model", "geometry", "Q", "r", "b", "b1", "b2", "l", "d", "lo", "dz", "t",
                    "p1", "p2", "p3", "p4", "p5", "p6", "u", "dimensionless", "drawdown", "tolerance"])
        for model, kind, g, p, times, _note in CASES:
            U, C, extra = model_factors(model, p, g)
            values = drawdowns(model, p, g, times)
            params = list(p) + [0.0] * (6 - len(p))
            for t, s in zip(times, values):
                u = U / t
                dimless = extra if not isinstance(extra, tuple) else extra[1]
                w.writerow([model, kind, repr(g.Q), repr(g.r), repr(g.b), repr(g.b1), repr(g.b2),
                            repr(g.l), repr(g.d), repr(g.lo), repr(g.dz), repr(t)]
                           + [repr(v) for v in params]
                           + ["%.6g" % u, "%.6g" % (dimless if dimless is not None else 0.0),
                              "%.15g" % s, "%.3g" % tolerance(model, s, C, u, series_bound(model, extra, g))])
    return path


# --- type-curve families of models 1 and 3 ----------------------------------------------------------

# name, model, observation kind (0 piezometer, 1 well), 1/u range, family range, a r / b of model 3 for
# the piezometer and for the well, the screens used. Each case's ranges differ from the other model's and
# the piezometer's a r / b from the well's, so that reading the wrong field shows.
FAMILIES = [
    ("pp_piezometer", 1, 0, (0.5, 5000.0, 5), (0.05, 2.0, 4), None, (0.75, 0.5, -1.0, 0.3)),
    ("pp_well", 1, 1, (2.0, 2e5, 5), (0.1, 1.0, 3), None, (0.6, 0.2, 0.9, 0.55)),
    ("lpp_piezometer", 3, 0, (0.2, 2e4, 5), (0.01, 2.0, 3), (0.3, 0.6), (0.75, 0.25, -1.0, 0.5)),
    ("lpp_well", 3, 1, (1.0, 1e6, 4), (0.05, 0.5, 3), (0.3, 0.6), (0.7, 0.3, 0.95, 0.65)),
]


def log_grid(lo, hi, n):
    """The logarithmic grid of the type curves: the stored float bounds, values in double."""
    lo, hi = f32(lo), f32(hi)
    return [10.0 ** (math.log10(lo) + j * math.log10(hi / lo) / (n - 1)) for j in range(n)]


def write_family_table():
    path = os.path.join(DATA, "families_1_3.csv")
    with open(path, "w", newline="") as fh:
        fh.write("# Type-curve families of the partially penetrating well, nonleaky (model 1) and leaky (model 3):\n")
        fh.write("# curveX = 1/u on the logarithmic grid (stored as float, u = 1/curveX in double), familyValues\n")
        fh.write("# = a r / b (model 1) or r/B (model 3) on theirs, curveY from the Hantush (1961, 1964) series\n")
        fh.write("# summed to convergence on W(u, r/B) by quadrature. Written by confined_leaky_reference.py.\n")
        fh.write("# tolerance (absolute, in W): the leaky function's 1e-5 error summed over the program's terms.\n")
        w = csv.writer(fh, lineterminator="\n")
        w.writerow(["case", "model", "obs_kind", "x_min", "x_max", "x_count", "p_min", "p_max", "p_count",
                    "anis_piezometer", "anis_well", "l", "d", "lo", "dz", "i", "k", "curve_x", "family_value",
                    "curve_y", "tolerance"])
        for name, model, kind, xr, pr, anis, (l, d, lo, dz) in FAMILIES:
            xs = log_grid(*xr)
            ps = log_grid(*pr)
            l32, d32, dz32 = f32(l), f32(d), f32(dz)
            lo32 = f32(lo) if lo > 0 else -1.0
            for k, p in enumerate(ps):
                for i, x in enumerate(xs, start=1):
                    u = 1.0 / f32(x)
                    if model == 1:
                        y = partial_w(u, p, l32, d32, lo32, dz32, fast=True)
                    else:
                        x_ar = f32(anis[kind])
                        y = partial_leaky_w(u, x_ar, p, l32, d32, lo32, dz32, fast=True)
                    if model == 1:
                        bound = partial_error_bound(p, 0.0, l32, d32, lo32, dz32, False)
                    else:
                        bound = partial_error_bound(f32(anis[kind]), p, l32, d32, lo32, dz32, True)
                    tol = tolerance(model, y, 1.0, u, bound)
                    w.writerow([name, model, kind, repr(f32(xr[0])), repr(f32(xr[1])), xr[2], repr(f32(pr[0])),
                                repr(f32(pr[1])), pr[2], repr(f32(anis[0])) if anis else 0,
                                repr(f32(anis[1])) if anis else 0, repr(l32), repr(d32), repr(lo32), repr(dz32),
                                i, k, "%.9g" % f32(x), "%.9g" % f32(p), "%.9g" % y, "%.2g" % tol])
    return path


def self_check():
    """Published values and the fast double-precision forms against the mpmath forms."""
    assert abs(theis_w(1.0) - 0.219383934395520) < 1e-14
    # Hantush (1956) table: W(0.01, 0.1) = 3.8150, W(0.01, 1.0) = 0.8420
    assert abs(leaky_w(0.01, 0.1) - 3.8150) < 1e-4
    assert abs(leaky_w(0.01, 1.0) - 0.8420) < 1e-4
    # the symmetry W(u, r/B) = 2 K0(r/B) - W(r^2/(4 B^2 u), r/B), a different path through the integral
    for u, rb in ((0.01, 1.0), (1e-4, 0.3), (0.05, 2.0)):
        lhs = leaky_w(u, rb)
        rhs = 2.0 * float(mp.besselk(0, rb)) - leaky_w(rb * rb / (4.0 * u), rb)
        assert abs(lhs - rhs) < 1e-13 * max(1.0, abs(lhs)), (u, rb, lhs, rhs)
        assert abs(leaky_w_fast(u, rb) - lhs) < 1e-11 * abs(lhs), (u, rb)
    # H(u, beta): Hantush (1960) table H(0.01, 0.1) = 2.84 and the Theis limit for beta -> 0
    assert abs(storage_h(0.01, 0.1) - 2.844) < 2e-3
    assert abs(storage_h(1e-3, 1e-9) - theis_w(1e-3)) < 1e-6
    for u, beta in ((0.01, 0.1), (1e-3, 1.0), (0.3, 0.6), (2e-5, 5.0)):
        assert abs(storage_h_fast(u, beta) - storage_h(u, beta)) < 1e-10 * storage_h(u, beta), (u, beta)
    # the partial-penetration correction vanishes for a fully screened well
    full = partial_w(1e-3, 0.2, 1.0, 0.0, -1.0, 0.4, fast=True)
    assert abs(full - theis_w(1e-3)) < 1e-9
    g = Geometry(r=2.0, b=10.0, l=0.75, d=0.5, dz=0.3)
    fast = drawdowns(1, (1e-4, 8.8, 1.0), g, (1e-2,), fast=True)[0]
    slow = drawdowns(1, (1e-4, 8.8, 1.0), g, (1e-2,))[0]
    assert abs(fast - slow) < 1e-10 * abs(slow)


if __name__ == "__main__":
    self_check()
    print("wrote", write_forward_table())
    print("wrote", write_family_table())
