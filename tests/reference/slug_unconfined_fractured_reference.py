#!/usr/bin/python3
"""Independent references for the slug-test, unconfined and double-porosity drawdowns (models 5-8).

Run with Debian's interpreter (numpy, scipy, mpmath):  /usr/bin/python3 slug_unconfined_fractured_reference.py
It writes ../data/reference/forward_models_5_10.csv and family_slug_5.csv (only the latter with --family).

Nothing here uses the program's algorithms (Gauss-Legendre panels with a 0.1 % stopping test, Stehfest's
inversion, polynomial K0). Accurate values come from
  - Cooper, Bredehoeft and Papadopulos (1967): F(beta, alpha) by adaptive mpmath quadrature of
        F = 8 alpha / pi^2 int_0^inf exp(-beta y^2/alpha) / (y [(y J0 - 2 alpha J1)^2 + (y Y0 - 2 alpha Y1)^2]) dy
  - Moench (1993) with instantaneous drainage (Neuman 1974): the eigenvalue series of the Laplace transform
        s(p) = 2/(l-d) 1/p sum_n K0(sqrt(beta e_n^2 + p)) (sin e_n (1-d) - sin e_n (1-l)) O(e_n) / ((sin(2e_n)/2 + e_n)/2)
    with e_n the roots of e tan e = q, q = p / (sigma beta + p/W_D), W_D = 1e9, summed until the terms vanish
    (not a fixed count), inverted by de Hoog's method in 18-digit arithmetic (unchanged at 24 digits to 1e-17;
    on its Bromwich line Re p > 0, so Re q > 0 and each root stays in its strip, which is checked).
    Observation forms: 0 observation well over z1..z2, O = (sin z2 e - sin z1 e)/((z2 - z1) e); 1 full
    thickness, O = sin e / e; 2 piezometer at z, O = cos z e.
  - Warren and Root (1963) and Boulton and Streltsova (1977) in the Laplace form of Moench (1984):
        F(p) = 2 K0(sqrt(p (1 + 1/(1/sigma + p/lambda)))) / p,   F(p) = 2 K0(sqrt(p + gamma f tanh(f/gamma))) / p,
    f = sqrt(sigma p), inverted by Talbot's method in 30-digit arithmetic and checked against de Hoog.
The drawdown of each model from its parameters (Moench 1984, 1993; Cooper et al. 1967):
  5: h/h0 = F(T t/rc^2, rw^2 S/rc^2)
  6: s = Q/(4 pi T) W(T t/(S r^2), Kz r^2/(b T), S/Sy)
  7: s = Q/(4 pi Tf) W(Tf t/(Sf r^2), lambda = 12 Tm r^2/(Tf bs^2), Sm/Sf)
  8: s = Q/(4 pi Tf) W(Tf t/(Sf r^2), gamma = 2 r sqrt(Tm/Tf)/bs, Sm/Sf)

The module also offers fast double-precision versions (fixed Talbot of Abate and Valko 2004 for the double
porosity transforms, de Hoog with double-precision transform values for Moench's, composite Gauss-Legendre
quadrature for the slug integral) that fit_reference_5_10.py uses inside scipy's least squares; main() checks
them against the 30-digit values.
"""
import csv
import math
import os
import sys

import mpmath as mp
import numpy as np
import scipy.special as sp

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data", "reference")
mp.mp.dps = 30
DRAINAGE = mp.mpf(10) ** 9


def f32(x):
    """The value as the program stores it: a 32-bit float."""
    return float(np.float32(x))


# --------------------------------------------------------------------------- slug test (Cooper et al. 1967)
def slug_integrand_mp(y, alpha, beta):
    a = y * mp.besselj(0, y) - 2 * alpha * mp.besselj(1, y)
    b = y * mp.bessely(0, y) - 2 * alpha * mp.bessely(1, y)
    return mp.exp(-beta * y * y / alpha) / (y * (a * a + b * b))


def slug_F_mp(beta, alpha):
    alpha, beta = mp.mpf(alpha), mp.mpf(beta)
    # Structure near y ~ sqrt(alpha); the Gaussian factor ends the integrand near sqrt(80 alpha / beta).
    lo = mp.sqrt(alpha) * mp.mpf(10) ** -8
    hi = mp.sqrt(alpha * 80 / beta) if beta > 0 else mp.mpf(10) ** 4
    pts = [mp.mpf(0)]
    x = lo
    while x < hi:
        pts.append(x)
        x *= 4
    pts.append(hi)
    total = mp.quad(lambda y: slug_integrand_mp(y, alpha, beta), pts)
    total += mp.quad(lambda y: slug_integrand_mp(y, alpha, beta), [hi, mp.inf])
    return 8 * alpha / mp.pi ** 2 * total


_GL_X, _GL_W = np.polynomial.legendre.leggauss(40)


def slug_F_fast(betas, alpha):
    """F at an array of beta for one alpha: composite 40-point Gauss-Legendre rules on panels growing by a
    factor 2 from 1e-8 sqrt(alpha) (below which the integrand ~ pi^2 y/(16 alpha^2) adds < 1e-16)."""
    betas = np.atleast_1d(np.asarray(betas, dtype=float))
    hi = math.sqrt(alpha * 80.0 / betas.min())
    edges = [math.sqrt(alpha) * 1e-8]
    while edges[-1] < hi:
        edges.append(edges[-1] * 2.0)
    edges = np.array(edges)
    a, b = edges[:-1, None], edges[1:, None]
    y = (0.5 * (b - a) * _GL_X + 0.5 * (b + a)).ravel()
    w = (0.5 * (b - a) * _GL_W).ravel()
    d1 = y * sp.j0(y) - 2 * alpha * sp.j1(y)
    d2 = y * sp.y0(y) - 2 * alpha * sp.y1(y)
    base = w / (y * (d1 * d1 + d2 * d2))
    return 8 * alpha / math.pi ** 2 * np.exp(-np.outer(betas, y * y / alpha)) @ base


# --------------------------------------------------------------------------- unconfined (Moench 1993)
def obs_factor(eps, geom, sin=mp.sin, cos=mp.cos):
    form = geom["form"]
    if form == 0:
        z1, z2 = geom["z1"], geom["z2"]
        return (sin(z2 * eps) - sin(z1 * eps)) / ((z2 - z1) * eps)
    if form == 2:
        return cos(geom["z"] * eps)
    return sin(eps) / eps


def moench_laplace_mp(p, beta, sigma, geom):
    """Moench's transform at a complex p with Re p > 0 (the Bromwich line of de Hoog's method), where
    Re q > 0 and the roots of e tan e = q stay one per strip ((n-1) pi, (n-1) pi + pi/2) in real part."""
    beta, sigma = mp.mpf(beta), mp.mpf(sigma)
    q = p / (sigma * beta + p / DRAINAGE)
    lo, hi = mp.mpf(1) - geom["l"], mp.mpf(1) - geom["d"]
    total = 0
    eps = None
    small = 0
    n = 0
    while True:
        n += 1
        if n == 1:
            eps = mp.sqrt(q) if abs(q) < 1 else mp.atan(q)
        else:
            eps = eps + mp.pi
        for _ in range(200):
            g = eps * mp.sin(eps) - q * mp.cos(eps)
            dg = eps * mp.cos(eps) + (1 + q) * mp.sin(eps)
            step = g / dg
            eps -= step
            if abs(step) < mp.eps * 1000 * abs(eps):
                break
        else:
            raise RuntimeError("root %d did not converge" % n)
        if mp.re(eps) < 0:
            eps = -eps
        strip = mp.re(eps) - (n - 1) * mp.pi
        if not (-0.01 < strip < mp.pi / 2 + 0.01):
            raise RuntimeError("root %d left its strip: %s" % (n, eps))
        term = (mp.besselk(0, mp.sqrt(beta * eps * eps + p)) * (mp.sin(eps * hi) - mp.sin(eps * lo))
                * obs_factor(eps, geom) / ((mp.sin(2 * eps) / 2 + eps) / 2))
        total += term
        small = small + 1 if abs(term) < mp.eps * abs(total) else 0
        if small >= 3 and n >= 8:
            break
        if n > 20000:
            raise RuntimeError("series did not converge")
    return 2 * total / (p * (geom["l"] - geom["d"]))


def moench_W_mp(td, beta, sigma, geom, method="dehoog"):
    # 18 digits: each transform value costs a hundred complex K0; the result agrees with 24 digits to 1e-17.
    with mp.workdps(18):
        return +mp.invertlaplace(lambda p: moench_laplace_mp(p, beta, sigma, geom), mp.mpf(td), method=method)


# --------------------------------------------------------------------------- double porosity (Moench 1984)
def dp_laplace_mp(p, param, sigma, variant):
    param, sigma = mp.mpf(param), mp.mpf(sigma)
    if variant == 1:
        arg = p * (1 + 1 / (1 / sigma + p / param))
    else:
        f = mp.sqrt(sigma * p)
        arg = p + param * f * mp.tanh(f / param)
    return 2 * mp.besselk(0, mp.sqrt(arg)) / p


def dp_W_mp(td, param, sigma, variant, method="talbot"):
    return mp.invertlaplace(lambda p: dp_laplace_mp(p, param, sigma, variant), mp.mpf(td), method=method)


# --------------------------------------------------------------------------- fast double-precision versions
TALBOT_M = 24


def talbot_nodes(t):
    """Fixed Talbot (Abate and Valko 2004): s_k and weights so that f(t) = Re sum w_k F(s_k)."""
    M = TALBOT_M
    r = 2.0 * M / (5.0 * t)
    theta = np.arange(1, M) * math.pi / M
    cot = 1.0 / np.tan(theta)
    s = np.concatenate([[r + 0j], r * theta * (cot + 1j)])
    sig = theta + (theta * cot - 1.0) * cot
    w = np.concatenate([[0.5 * math.exp(r * t)], np.exp(t * s[1:]) * (1 + 1j * sig)]) * r / M
    return s, w


def dp_W_fast(td, param, sigma, variant):
    s, w = talbot_nodes(td)
    if variant == 1:
        arg = s * (1 + 1 / (1 / sigma + s / param))
    else:
        f = np.sqrt(sigma * s)
        arg = s + param * f * np.tanh(f / param)
    return float(np.real(np.sum(w * 2 * sp.kv(0, np.sqrt(arg)) / s)))


def moench_laplace_fast(p, beta, sigma, geom):
    """Moench's transform at one complex p with Re p > 0 in double precision, the roots of e tan e = q all at
    once by Newton from (n-1) pi + atan(q/((n-1) pi)); each must lie in its own strip (Re q > 0 there)."""
    q = p / (sigma * beta + p / 1e9)
    lo, hi = 1.0 - geom["l"], 1.0 - geom["d"]
    # Enough terms for K0(sqrt(beta e^2 + p)) to fall below 1e-20 of the first.
    count = max(8, int((48.0 + math.sqrt(abs(p))) / (math.sqrt(beta) * math.pi)) + 3)
    n = np.arange(1, count + 1)
    base = (n - 1) * math.pi
    eps = base + np.arctan(q / np.maximum(base, 1.0))
    eps[0] = np.sqrt(q) if abs(q) < 1 else np.arctan(q)
    for _ in range(60):
        step = (eps * np.sin(eps) - q * np.cos(eps)) / (eps * np.cos(eps) + (1 + q) * np.sin(eps))
        eps = eps - step
        if np.all(np.abs(step) <= 1e-15 * np.abs(eps)):
            break
    eps = np.where(eps.real < 0, -eps, eps)
    strip = eps.real - base
    if np.any(strip < -0.01) or np.any(strip > math.pi / 2 + 0.01):
        raise RuntimeError("a root left its strip at p = %s" % p)
    terms = (sp.kv(0, np.sqrt(beta * eps * eps + p)) * (np.sin(eps * hi) - np.sin(eps * lo))
             * obs_factor(eps, geom, np.sin, np.cos) / ((np.sin(2 * eps) / 2 + eps) / 2))
    return 2 * np.sum(terms) / (p * (geom["l"] - geom["d"]))


def moench_W_fast(td, beta, sigma, geom):
    """de Hoog's inversion at 15 digits with the transform in double precision (its Bromwich line has Re p > 0,
    where the roots stay in their strips)."""
    with mp.workdps(15):
        f = mp.invertlaplace(lambda p: mp.mpc(moench_laplace_fast(complex(p), beta, sigma, geom)), td,
                             method="dehoog")
    return float(mp.re(f))


# --------------------------------------------------------------------------- forward model, models 5-8
def dimensionless(model, prm, geo):
    """(argument of the well function at t = 1, family parameter, sigma, scale) of the model."""
    p1, p2, p3, p4 = prm
    r = geo["r"]
    if model == 5:
        rc2 = geo["rc"] ** 2
        return p2 / rc2, geo["rw"] ** 2 * p1 / rc2, None, 1.0
    scale = geo["Q"] / (4 * math.pi * p2)
    td = p2 / (p1 * r * r)
    if model == 6:
        return td, p3 * r * r / (geo["b"] * p2), p1 / p4, scale
    if model == 7:
        return td, 12 * p4 * r * r / (p2 * geo["bs"] ** 2), p3 / p1, scale
    return td, 2 * r * math.sqrt(p4 / p2) / geo["bs"], p3 / p1, scale


def unconfined_geometry(geo):
    return {"form": geo["form"], "l": geo.get("l", 1.0), "d": geo.get("d", 0.0), "z": geo.get("z", 0.5),
            "z1": geo.get("z1", 0.0), "z2": geo.get("z2", 1.0)}


def forward_mp(model, prm, geo, t):
    x, fam, sigma, scale = dimensionless(model, prm, geo)
    if model == 5:
        return slug_F_mp(x * t, fam)
    if model == 6:
        return scale * moench_W_mp(x * t, fam, sigma, unconfined_geometry(geo))
    return scale * dp_W_mp(x * t, fam, sigma, model - 6)


def forward_fast(model, prm, geo, times):
    x, fam, sigma, scale = dimensionless(model, prm, geo)
    times = np.asarray(times, dtype=float)
    if model == 5:
        return slug_F_fast(x * times, fam)
    if model == 6:
        g = unconfined_geometry(geo)
        return np.array([scale * moench_W_fast(x * t, fam, sigma, g) for t in times])
    return np.array([scale * dp_W_fast(x * t, fam, sigma, model - 6) for t in times])


# --------------------------------------------------------------------------- the rows of the test
# Relative tolerances: the specified algorithms' own known errors against exact values (slug: the 0.1 %
# stopping test and the truncation below y = 20; Moench: 12 Stehfest terms and the fixed term count;
# double porosity: 12 Stehfest terms with a 1e-7 polynomial K0).
TOL = {5: 3.7e-3, 6: 9.2e-3, 7: 8.4e-3, 8: 2.5e-3}

# Geometry of each row: Q, r, b (aquifer thickness), rw, rc, bs (slab thickness), unconfined screen and
# observation form. Parameters p1..p4 in the order of the model's vector.
SLUG = {"Q": 75.53, "r": 154.0, "b": 10.0, "rw": 0.2, "rc": 0.1, "bs": 100.0}
UNC = {"Q": 75.53, "r": 20.0, "b": 10.0, "rw": 7.6, "rc": 7.6, "bs": 100.0, "form": 1}
UNC_PZ = dict(UNC, form=2, z=0.25)
UNC_PP = dict(UNC, form=1, l=0.6, d=0.1)
UNC_OW = dict(UNC, form=0, z1=0.2, z2=0.7, l=0.6, d=0.1)
FRAC = {"Q": 75.53, "r": 154.0, "b": 10.0, "rw": 7.6, "rc": 7.6, "bs": 100.0}

ROWS = [
    # slug: alpha = rw^2 S/rc^2 = 4 S (rw = 2 rc, so rw rc would halve it); beta = T t/rc^2
    (5, (1e-2, 2e-3), SLUG, [1.0, 3.0, 10.0]),
    (5, (1e-4, 2e-3), SLUG, [10.0, 30.0]),
    # unconfined: beta = Kz r^2/(b T) = 0.4, sigma = S/Sy = 0.01, td = T t/(S r^2)
    (6, (1e-3, 10.0, 0.1, 0.1), UNC, [0.04, 0.4, 4.0, 40.0]),
    (6, (1e-3, 10.0, 0.1, 0.1), UNC_PZ, [0.4, 4.0]),
    (6, (1e-3, 10.0, 0.1, 0.1), UNC_PP, [0.4, 4.0]),
    (6, (1e-3, 10.0, 0.1, 0.1), UNC_OW, [0.4, 4.0]),
    # Warren and Root: lambda = 12 Tm r^2/(Tf bs^2) = 0.028 and 0.28, sigma = Sm/Sf = 100; lambda moves the
    # end of the fracture-flow period, so the rows lie in the transition
    (7, (1e-4, 10.0, 1e-2, 1e-2), FRAC, [0.3, 10.0, 30.0, 100.0]),
    (7, (1e-4, 10.0, 1e-2, 1e-1), FRAC, [3.0, 10.0]),
    # slabs: gamma = 2 r sqrt(Tm/Tf)/bs = 0.031 and 0.0097
    (8, (1e-4, 10.0, 1e-2, 1e-3), FRAC, [1.0, 10.0, 100.0]),
    (8, (1e-4, 10.0, 1e-2, 1e-4), FRAC, [10.0, 100.0]),
]


def mutants(model, prm, geo):
    """The single-line mistakes the rows must expose: (name, model, parameters, geometry)."""
    p1, p2, p3, p4 = (list(prm) + [0, 0])[:4]
    out = []
    if model == 5:
        g = dict(geo, rw=math.sqrt(geo["rw"] * geo["rc"]))  # alpha with rc rw in place of rw^2
        out.append(("alpha rc*rw", model, prm, g))
    if model == 6:
        out.append(("beta without r^2", model, (p1, p2, p3 / geo["r"] ** 2, p4), geo))
        out.append(("beta with b^2", model, (p1, p2, p3 / geo["b"], p4), geo))
        out.append(("sigma Sy/S", model, (p1, p2, p3, p1 * p1 / p4), geo))
    if model == 7:
        out.append(("lambda without 12", model, (p1, p2, p3, p4 / 12), geo))
    if model == 8:
        out.append(("gamma without 2", model, (p1, p2, p3, p4 / 4), geo))
    return out


def log_grid(lo, hi, n, j):
    """Value j of the logarithmic grid of a range (bounds stored as floats)."""
    lo, hi = f32(lo), f32(hi)
    return 10 ** (math.log10(lo) + j * math.log10(hi / lo) / (n - 1))


def family_rows():
    """F on the default slug family (beta 0.002..100, 20 points; alpha 1e-10..0.1, 10 curves) at a few
    (abscissa i = 1..20, curve k = 0..9), away from the diagonal so that a transposed grid shows."""
    path = os.path.join(DATA, "family_slug_5.csv")
    with open(path, "w", newline="") as fh:
        fh.write("# Slug-test family F(beta, alpha) of Cooper, Bredehoeft and Papadopulos (1967) at points of the\n"
                 "# default grids (beta: 0.002..100, 20 points; alpha: 1e-10..0.1, 10 curves), mpmath quadrature\n"
                 "# (tests/reference/slug_unconfined_fractured_reference.py). rel_tol: the program's known error.\n")
        w = csv.writer(fh, lineterminator="\n")
        w.writerow(["i", "k", "beta", "alpha", "expected", "rel_tol"])
        for i, k in ((1, 0), (8, 3), (12, 9), (16, 5), (20, 7), (5, 8)):
            beta, alpha = log_grid(0.002, 100.0, 20, i - 1), log_grid(1e-10, 0.1, 10, k)
            value = slug_F_mp(beta, alpha)
            print("family i=%d k=%d beta=%g alpha=%g F=%s" % (i, k, beta, alpha, mp.nstr(value, 12)), flush=True)
            w.writerow([i, k, "%.12g" % beta, "%.12g" % alpha, mp.nstr(value, 15), TOL[5]])
    print("wrote", path)


def main():
    os.makedirs(DATA, exist_ok=True)
    family_rows()
    if "--family" in sys.argv:
        return
    rows = []
    worst_fast = 0.0
    for model, prm, geo, times in ROWS:
        prm = tuple(list(prm) + [0.0] * (4 - len(prm)))
        # The program stores every input as a float: the references use the same values.
        prm = tuple(f32(v) for v in prm)
        geo = {k: (f32(v) if k != "form" else v) for k, v in geo.items()}
        fast = forward_fast(model, prm, geo, times)
        for t, vf in zip(times, fast):
            exact = forward_mp(model, prm, geo, t)
            x, fam, sigma, scale = dimensionless(model, prm, geo)
            if model in (5, 6):
                check = exact  # checked below against the fast version (other quadrature, Talbot contour)
            else:
                check = scale * dp_W_mp(x * t, fam, sigma, model - 6, method="dehoog")
            spread = abs(check - exact) / abs(exact)
            worst_fast = max(worst_fast, abs(vf - float(exact)) / float(abs(exact)))
            effects = []
            for name, mm, mprm, mgeo in mutants(model, prm, geo):
                mv = forward_fast(mm, mprm, mgeo, [t])[0]
                effects.append("%s x%.0f" % (name, abs(mv - float(exact)) / (TOL[model] * float(exact))))
            print("model %d t=%g value=%s methods agree %.1e; mutant/tolerance: %s"
                  % (model, t, mp.nstr(exact, 15), float(spread), ", ".join(effects)), flush=True)
            rows.append([model, geo["form"] if model == 6 else "",
                         *("%.9g" % v for v in prm), *("%.9g" % geo[k] for k in ("Q", "r", "b", "rw", "rc", "bs")),
                         "%.9g" % geo.get("l", 1.0), "%.9g" % geo.get("d", 0.0), "%.9g" % geo.get("z", 0.5),
                         "%.9g" % geo.get("z1", 0.0), "%.9g" % geo.get("z2", 1.0),
                         "%.9g" % t, mp.nstr(exact, 15), TOL[model]])
    print("fast double-precision versions: worst relative deviation %.1e" % worst_fast)
    path = os.path.join(DATA, "forward_models_5_10.csv")
    with open(path, "w", newline="") as fh:
        fh.write("# Drawdowns (model 5: normalised head) of models 5-8 from tests/reference/"
                 "slug_unconfined_fractured_reference.py: mpmath quadrature (5), 18-digit de Hoog (6) and\n"
                 "# 30-digit Talbot (7-8) inversion of the exact transforms. form: unconfined observation form (0 observation well\n"
                 "# z1..z2, 1 full thickness, 2 piezometer at z). rel_tol: the program's algorithm's known error.\n")
        w = csv.writer(fh, lineterminator="\n")
        w.writerow(["model", "form", "p1", "p2", "p3", "p4", "Q", "r", "b", "rw", "rc", "bs", "l", "d", "z",
                    "z1", "z2", "t", "expected", "rel_tol"])
        w.writerows(rows)
    print("wrote", path)


if __name__ == "__main__":
    main()
