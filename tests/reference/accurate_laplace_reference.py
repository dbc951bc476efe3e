#!/usr/bin/python3
"""References for the accurate Laplace-domain well functions (double porosity and unconfined).

  double_porosity.csv  variant 1, Warren and Root (1963) after Moench (1984), param = lambda:
                           F(p) = 2 K0(sqrt(p (1 + 1/(1/sigma + p/lambda)))) / p
                       variant 2, slabs (Boulton and Streltsova 1977; Moench 1984), param = gamma:
                           F(p) = 2 K0(sqrt(p + gamma f tanh(f/gamma))) / p,  f = sqrt(sigma p)
                       inverted by the fixed Talbot contour of Abate and Whitt (2006) as mpmath's
                       invertlaplace(method='talbot') implements it, at 50 digits (complex K0 of mpmath);
                       checked against a Gaver-Stehfest inversion with 48 terms at 70 digits.
  unconfined.csv       Moench (1993) with the drainage constant 1e9 (Neuman 1974), partially penetrating
                       pumping screen from depth d to l below the water table, observed as the
                       full-thickness average (form 0), at a piezometer at height z above the base (1)
                       or over an observation screen from height z1 to z2 (2):
                         F(p) = 2/(l - d) / p sum_n K0(sqrt(beta eps_n^2 + p))
                                (sin eps_n (1-d) - sin eps_n (1-l)) O(eps_n) / ((sin(2 eps_n)/2 + eps_n)/2),
                       eps_n the n-th positive root of eps tan eps = p/(sigma beta + p/1e9), one in each
                       ((n-1) pi, (n-1/2) pi), found by Newton's method on eps - (n-1) pi - atan(q/eps) (a
                       concave increasing function: the iteration converges monotonically);
                       O = sin(eps)/eps, cos(eps z), (sin eps z2 - sin eps z1)/((z2 - z1) eps).
                       Inverted by Gaver-Stehfest on the real axis (a Talbot contour would need complex
                       eigenvalues whose labelling breaks): 48 terms at 60 digits, the series of all
                       Stehfest points of one curve summed to the same number of terms (so that the
                       truncation is a smooth function of p, which the inversion does not amplify), that
                       number set by the bound |term| <= 4 K0(gamma_n)/(eps_n - 1/2) to 1e-24 of the value.
                       Checked against 56 terms at 76 digits at a few times of five curves: they agree to 1e-11
                       below td = 1 (Stehfest's early-time limit), 1e-12 below 10 and 1e-13 above (asserted).

Run through accurate_well_functions_reference.py (names double_porosity, unconfined) or directly.
"""

import sys
import time

import mpmath as mp

from accurate_reference_common import check, k0, progress, write_table


def stehfest_weights(n):
    m = n // 2
    f = mp.factorial
    weights = []
    for k in range(1, n + 1):
        s = mp.mpf(0)
        for j in range((k + 1) // 2, min(k, m) + 1):
            s += mp.mpf(j) ** m * f(2 * j) / (f(m - j) * f(j) * f(j - 1) * f(k - j) * f(2 * j - k))
        weights.append((-1) ** (k + m) * s)
    return weights


def stehfest(laplace, t, n):
    """Gaver-Stehfest inversion with n terms at the current precision; laplace(k) gives F(k ln2/t)."""
    v = stehfest_weights(n)
    return mp.log(2) / t * mp.fsum(v[k - 1] * laplace(k) for k in range(1, n + 1))


# ---------------------------------------------------------------- double porosity

def dp_laplace(p, param, sigma, variant, kfun):
    if variant == 1:
        arg = p * (1 + 1 / (1 / sigma + p / param))
    else:
        f = mp.sqrt(sigma * p)
        arg = p + param * f * mp.tanh(f / param)
    return 2 * kfun(mp.sqrt(arg)) / p


def dp_talbot(td, param, sigma, variant):
    td, param, sigma = mp.mpf(td), mp.mpf(param), mp.mpf(sigma)
    with mp.workdps(50):
        return mp.invertlaplace(lambda p: dp_laplace(p, param, sigma, variant, k0), td, method="talbot").real


def dp_stehfest(td, param, sigma, variant, n=48, dps=70):
    with mp.workdps(dps):
        td, param, sigma = mp.mpf(td), mp.mpf(param), mp.mpf(sigma)
        ln2 = mp.log(2)
        return stehfest(lambda k: dp_laplace(k * ln2 / td, param, sigma, variant, k0), td, n)


def make_double_porosity():
    tds = [0.1 * 10.0 ** (k / 2) for k in range(15)]
    rows = []
    for variant, params in [(1, [10.0 ** k for k in range(-5, 3)]),
                            (2, [10.0 ** (k / 2 - 2.5) for k in range(8)])]:
        for param in params:
            for td in tds:
                rows.append((td, param, 100.0, variant, dp_talbot(td, param, 100.0, variant)))
            progress(f"double porosity variant {variant} param {param:g}")
    for variant, param in [(1, 1e-3), (2, 1e-5), (2, 100.0), (1, 1.0), (2, 0.1)]:
        for sigma in (1.0, 10.0):
            for td in (0.3, 30.0, 3e4):
                rows.append((td, param, sigma, variant, dp_talbot(td, param, sigma, variant)))
    # Cross-checks.
    for td, param, variant in [(0.1, 1e-3, 1), (3.0, 1e-5, 1), (1e3, 1.0, 1), (1e6, 100.0, 1),
                               (0.1, 0.1, 2), (31.6, 1e-2, 2), (1e4, 3.16, 2)]:
        tol = mp.mpf("1e-11") if td < 1 else mp.mpf("1e-15")
        check(f"double porosity v{variant} td={td} param={param}: Talbot against Stehfest 48",
              dp_talbot(td, param, 100.0, variant), dp_stehfest(td, param, 100.0, variant), rel=tol)
    for td in (0.5, 100.0):
        check(f"Warren-Root lambda = 1e-40 at td={td} -> E1(1/(4 td))", dp_talbot(td, 1e-40, 100.0, 1),
              mp.e1(1 / (4 * mp.mpf(td))), rel=mp.mpf("1e-25"))
        check(f"Warren-Root lambda = 1e40 at td={td} -> E1((1+sigma)/(4 td))", dp_talbot(td, 1e40, 100.0, 1),
              mp.e1(101 / (4 * mp.mpf(td))), rel=mp.mpf("1e-25"))
        check(f"slab gamma = 1e20 at td={td} -> E1((1+sigma)/(4 td))", dp_talbot(td, 1e20, 100.0, 2),
              mp.e1(101 / (4 * mp.mpf(td))), rel=mp.mpf("1e-25"))
    return write_table("double_porosity.csv", [
        "Double porosity, Theis normalization, td = Tf t/(Sf r^2), sigma = Sm/Sf. variant 1 Warren and Root,",
        "param = lambda: F(p) = 2 K0(sqrt(p (1 + 1/(1/sigma + p/lambda))))/p; variant 2 slabs, param = gamma:",
        "F(p) = 2 K0(sqrt(p + gamma f tanh(f/gamma)))/p, f = sqrt(sigma p). Fixed Talbot inversion (Abate and",
        "Whitt 2006; mpmath.invertlaplace) at 50 digits; agrees with Gaver-Stehfest (48 terms, 70 digits)."],
        ["td", "param", "sigma", "variant", "value"], rows)


# ---------------------------------------------------------------- unconfined (Moench 1993)

DRAINAGE = mp.mpf(10) ** 9


class Geometry:
    def __init__(self, l, d, z, z1, z2, form):
        self.l, self.d, self.z, self.z1, self.z2, self.form = l, d, z, z1, z2, form

    def inputs(self):
        return (self.l, self.d, self.z, self.z1, self.z2, self.form)

    def observation(self, eps, s):
        if self.form == 2:
            return (mp.sin(self.z2 * eps) - mp.sin(self.z1 * eps)) / ((mp.mpf(self.z2) - self.z1) * eps)
        if self.form == 1:
            return mp.cos(self.z * eps)
        return s / eps


class Series:
    """The eigenvalue series at one p for several geometries, extended term by term on demand."""

    def __init__(self, p, beta, sigma, geometries):
        self.p, self.beta = p, beta
        self.q = p / (sigma * beta + p / DRAINAGE)
        self.geometries = geometries
        self.n = 0
        self.sums = [mp.mpf(0) for _ in geometries]

    def root(self, n):
        q = self.q
        base = (n - 1) * mp.pi
        if n == 1:
            eps = min(mp.sqrt(q), mp.mpf(1.5))
            while eps - mp.atan(q / eps) >= 0:
                eps /= 2
        else:
            eps = base + mp.atan(q / (base + mp.pi / 4))
        tiny = mp.mpf(2) ** (-mp.mp.prec + 6)
        for _ in range(200):
            h = eps - base - mp.atan(q / eps)
            step = h / (1 + q / (eps * eps + q * q))
            eps -= step
            if abs(step) <= tiny * eps:
                break
        return eps

    def extend(self, n_target):
        while self.n < n_target:
            self.n += 1
            eps = self.root(self.n)
            s = mp.sin(eps)
            kval = k0(mp.sqrt(self.beta * eps * eps + self.p))
            norm = (mp.sin(2 * eps) / 2 + eps) / 2
            for i, g in enumerate(self.geometries):
                screen = mp.sin(eps * (1 - mp.mpf(g.d))) - mp.sin(eps * (1 - mp.mpf(g.l)))
                self.sums[i] += kval * screen * g.observation(eps, s) / norm

    def values(self):
        return [2 / (mp.mpf(g.l) - g.d) * s / self.p for g, s in zip(self.geometries, self.sums)]


def terms_needed(beta, p, value, tol):
    """Smallest n after which the rest of the series is below tol * value: the terms are bounded by
    4 K0(gamma)/(eps - 1/2) with gamma >= sqrt(beta ((m-1) pi)^2 + p), K0(x) < sqrt(pi/(2x)) exp(-x)."""
    n = 1
    while True:
        g1 = mp.sqrt(beta * (n * mp.pi) ** 2 + p)
        g2 = mp.sqrt(beta * ((n + 1) * mp.pi) ** 2 + p)
        ratio = mp.exp(-(g2 - g1))
        bound = 4 * mp.sqrt(mp.pi / (2 * g1)) * mp.exp(-g1) / (n * mp.pi - mp.mpf(0.5)) / (1 - ratio)
        if bound * 2 / p < tol * abs(value):
            return n
        n += 1


def unconfined_curve(tds, beta, sigma, geometries, n_terms=48, dps=60, tol=mp.mpf("1e-24")):
    """Values at every td (for every geometry) with one number of terms for all Stehfest points."""
    with mp.workdps(dps):
        beta, sigma = mp.mpf(beta), mp.mpf(sigma)
        ln2 = mp.log(2)
        weights = stehfest_weights(n_terms)
        cache = {}
        points = {}
        for td in tds:
            for k in range(1, n_terms + 1):
                p = k * ln2 / mp.mpf(td)
                key = mp.nstr(p, 40)
                if key not in cache:
                    cache[key] = Series(p, beta, sigma, geometries)
                points[(td, k)] = cache[key]
        # A rough first pass fixes the term count from the smallest value at the smallest p.
        p_min = min(s.p for s in cache.values())
        probe = Series(p_min, beta, sigma, geometries)
        probe.extend(8)
        scale = min(abs(v) for v in probe.values()) if min(abs(v) for v in probe.values()) > 0 else mp.mpf(1)
        n_max = max(terms_needed(beta, s.p, scale * mp.exp(-mp.sqrt(s.p)) / (1 + s.p), tol)
                    for s in (min(cache.values(), key=lambda s: s.p), max(cache.values(), key=lambda s: s.p)))
        n_max = max(n_max, 8)
        for s in cache.values():
            s.extend(n_max)
        result = {}
        for td in tds:
            vals = [mp.mpf(0)] * len(geometries)
            for k in range(1, n_terms + 1):
                lv = points[(td, k)].values()
                vals = [a + weights[k - 1] * b for a, b in zip(vals, lv)]
            result[td] = [ln2 / mp.mpf(td) * v for v in vals]
        return result, n_max, len(cache)


FULL = Geometry(1.0, 0.0, 0.5, 0.0, 1.0, 0)
UNCONFINED_GEOMETRIES = [
    FULL,
    Geometry(1.0, 0.0, 0.5, 0.0, 1.0, 1),   # piezometer at mid-height, fully screened well
    Geometry(0.5, 0.1, 0.2, 0.0, 1.0, 1),   # piezometer below a partial screen
    Geometry(0.6, 0.2, 0.5, 0.2, 0.6, 2),   # observation screen below a partial screen
]


def make_unconfined():
    rows = []
    tds = [0.1 * 4.0 ** k for k in range(14)]  # 0.1 .. 6.7e6: Stehfest points shared between neighbours
    # (beta, sigma, times): beta = 0.001 needs some 700 terms per point and gets two times only.
    curves = [(7.0, 1e-9, tds), (1.0, 1e-9, tds), (0.1, 1e-9, tds), (0.01, 1e-9, tds),
              (0.001, 1e-9, [1638.4, 6553.6]), (1.0, 1e-3, tds), (1.0, 0.1, tds), (0.1, 1e-3, tds[::2]),
              (0.1, 0.1, tds[::2])]
    for beta, sigma, times in curves:
        t0 = time.time()
        res, n_max, npts = unconfined_curve(times, beta, sigma, UNCONFINED_GEOMETRIES)
        for td in times:
            for g, v in zip(UNCONFINED_GEOMETRIES, res[td]):
                rows.append((td, beta, sigma) + g.inputs() + (v,))
        progress(f"unconfined beta {beta} sigma {sigma}: {n_max} terms, {npts} points, {time.time() - t0:.0f} s")
    count = write_unconfined(rows)
    check_unconfined()
    check_unconfined_limits()
    return count


def check_unconfined():
    # Cross-checks: a second inversion (56 Stehfest terms, 76 digits) at a few times.
    for beta, sigma, sel in [(7.0, 1e-9, [0.1, 26.2144, 6710886.4]), (1.0, 1e-9, [0.1, 1.6, 409.6]),
                             (1.0, 0.1, [0.4, 102.4]), (1.0, 1e-3, [6.4, 1677721.6]), (0.1, 1e-9, [0.4, 26214.4])]:
        res_a, _, _ = unconfined_curve(sel, beta, sigma, UNCONFINED_GEOMETRIES)
        res_b, _, _ = unconfined_curve(sel, beta, sigma, UNCONFINED_GEOMETRIES, n_terms=56, dps=76)
        for td in sel:
            for g, a, b in zip(UNCONFINED_GEOMETRIES, res_a[td], res_b[td]):
                tol = mp.mpf("1e-11") if td < 1 else mp.mpf("1e-12") if td < 10 else mp.mpf("1e-13")
                check(f"unconfined td={td:g} beta={beta} sigma={sigma} form {g.form}: Stehfest 48 vs 56 terms",
                      a, b, rel=tol)


def check_unconfined_limits():
    # Limits: early time E1(1/(4 td)) at a piezometer at the base (the water table, one thickness away,
    # has not acted yet; at mid-height its image already changes the value by 1 % at td = 0.02);
    # late time E1((1 + sigma)/(4 sigma td)) (Neuman 1972: Theis with the specific yield).
    piezo = Geometry(1.0, 0.0, 0.0, 0.0, 1.0, 1)
    res, _, _ = unconfined_curve([0.02], 1.0, 1e-9, [piezo])
    check("unconfined piezometer at the base td=0.02 beta=1 -> E1(1/(4 td))", res[0.02][0], mp.e1(mp.mpf(12.5)), rel=mp.mpf("1e-4"))
    res, _, _ = unconfined_curve([1e9], 1.0, 1e-3, [FULL])
    check("unconfined td=1e9 sigma=1e-3 -> E1((1+sigma)/(4 sigma td))", res[1e9][0],
          mp.e1(mp.mpf(1.001) / (4 * mp.mpf(1e-3) * 1e9)), rel=mp.mpf("1e-3"))


def write_unconfined(rows):
    return write_table("unconfined.csv", [
        "Moench (1993) unconfined drawdown with drainage constant 1e9 (Neuman 1974), Theis normalization;",
        "td = T t/(S r^2), beta = Kz r^2/(Kr b^2), sigma = S/Sy; pumping screen from depth d to l (fractions",
        "of b from the water table); form 0 full-thickness average, 1 piezometer at height z, 2 screen z1..z2",
        "(heights above the base). Eigenvalue series with exact K0, Gaver-Stehfest inversion with 48 terms at",
        "60 digits; agreement with 56 terms asserted to 1e-11 below td = 1, 1e-12 below 10, 1e-13 above (see the script).",
    ], ["td", "beta", "sigma", "l", "d", "z", "z1", "z2", "form", "value"], rows)


MAKERS = {"double_porosity": make_double_porosity, "unconfined": make_unconfined}

if __name__ == "__main__":
    mp.mp.dps = 40
    for name in sys.argv[1:] or list(MAKERS):
        MAKERS[name]()
