#!/usr/bin/python3
"""30-digit references for the accurate well functions: integrals and series.

Every value is the exact mathematical function (full pi, the defining integral by mpmath's adaptive
tanh-sinh quadrature split at the integrand's features, series summed until the rest is below 1e-30
of the result), computed at 40 digits and written with 20:

  theis.csv          W(u) = E1(u)                                                   Theis (1935)
  leaky.csv          W(u, r/B) = int_u^inf exp(-y - (r/B)^2/(4y)) / y dy             Hantush and Jacob (1955)
  storage.csv        H(u, beta) = int_u^inf exp(-y)/y erfc(beta sqrt(u)/sqrt(y (y-u))) dy  Hantush (1960)
  slug.csv           F(beta, alpha) = (8 alpha/pi^2) int_0^inf exp(-beta y^2/alpha)
                         / (y [(y J0 - 2 alpha J1)^2 + (y Y0 - 2 alpha Y1)^2]) dy
                                                      Cooper, Bredehoeft and Papadopulos (1967)
  partial.csv        W(u) + 2/(pi (l-d)) sum_n W(u, n pi x) (sin n pi l - sin n pi d) cos(n pi z) / n,
                     or with the observation-screen factor 2/(pi^2 (l-d)(lo-dz)) and
                     (sin n pi lo - sin n pi dz) / n^2 in place of cos(n pi z) / n   Hantush (1961)
  partial_leaky.csv  the same with W(u, r/B) and W(u, sqrt((r/B)^2 + (n pi x)^2))     Hantush (1964)

Depths of the partial-penetration series are fractions of the aquifer thickness from its top: l, d
the bottom and top of the pumping screen; lo <= 0 selects the piezometer at dz = z/b, otherwise the
observation screen runs from dz (top) to lo (bottom).

Each function is cross-checked by a second, different method (asserted; see the check_* functions):
series and symmetry identities, an alternative integral representation, a Laplace-domain solution
inverted by Talbot's method, and an image-source (real-space) solution of the partial penetration.

Run with Debian's /usr/bin/python3:
    /usr/bin/python3 tests/reference/accurate_well_functions_reference.py [names...]
names: theis leaky storage slug partial partial_leaky double_porosity unconfined (default: all; the
last two come from accurate_laplace_reference.py).
"""

import sys
import time

import mpmath as mp

from accurate_reference_common import check, check_k0, k0, log_grid, progress, write_table

DPS = 40
TOL = mp.mpf("1e-31")


def decade_points(lo, extra, top=50):
    """Break points for an integral from lo to infinity: lo, the decades above it up to `top`, the
    given interior features, a last point and infinity."""
    lo = mp.mpf(lo)
    points = {lo}
    k = mp.mpf(10) ** mp.floor(mp.log10(lo))
    while k < top:
        if k > lo:
            points.add(k)
        k *= 10
    for e in extra:
        if e > lo:
            points.add(mp.mpf(e))
    last = max(points)
    points.add(last * 4)
    return sorted(points) + [mp.inf]


# ---------------------------------------------------------------- Theis and Hantush-Jacob

def theis(u):
    return mp.e1(mp.mpf(u))


def leaky(u, b):
    """W(u, b), b = r/B, by the defining integral split at the decades and at the integrand's maximum
    y = b/2 (where y + b^2/(4y) is least)."""
    u, b = mp.mpf(u), mp.mpf(b)
    if b == 0:
        return mp.e1(u)
    c = b * b / 4
    # mpmath.quad's tolerance is absolute: the integrand is scaled by exp(m), m the least exponent.
    m = b if u <= b / 2 else u + c / u
    return mp.exp(-m) * mp.quad(lambda y: mp.exp(m - y - c / y) / y, decade_points(u, [b / 4, b / 2, b]))


def leaky_fast(u, b):
    """W(u, b) for the partial-penetration terms: 2 K0(b) - W(b^2/(4u), b) (Hantush 1956), the
    second part taken only where it matters at 1e-36 of the first (its bound is E1(b^2/(4u)))."""
    u, b = mp.mpf(u), mp.mpf(b)
    v = b * b / (4 * u)
    full = 2 * k0(b)
    if v > 2 and mp.exp(-v) / v < mp.mpf("1e-36") * full:
        return full
    return leaky(u, b)


def leaky_series(u, b):
    """Second method: W(u, b) = sum_n (-1)^n/n! (b^2/(4u))^n E_{n+1}(u) (Hantush 1956)."""
    u, b = mp.mpf(u), mp.mpf(b)
    a = b * b / (4 * u)
    with mp.workdps(DPS + 30):
        return mp.nsum(lambda n: (-1) ** int(n) / mp.factorial(n) * a ** n * mp.expint(n + 1, u), [0, mp.inf])


def make_theis():
    us = log_grid(1e-4, 10, 50) + [1e-10, 1e-6, 0.9999999, 1.0, 1.0000001, 20.0, 50.0, 100.0, 500.0]
    rows = [(u, theis(u)) for u in us]
    check("E1 by its series -gamma - ln u - sum (-u)^k/(k k!) at u = 0.37",
          -mp.euler - mp.log(mp.mpf(0.37)) - mp.nsum(lambda k: (-mp.mpf(0.37)) ** k / (k * mp.factorial(k)), [1, mp.inf]),
          theis(0.37), rel=TOL)
    check_k0()
    check("E1 by quadrature of exp(-y)/y at u = 3e-4",
          mp.quad(lambda y: mp.exp(-y) / y, decade_points(3e-4, [])), theis(3e-4), rel=TOL)
    return write_table("theis.csv", ["W(u) = E1(u), Theis (1935); mpmath.e1 at 40 digits."],
                       ["u", "value"], rows)


def make_leaky():
    us = log_grid(1e-4, 10, 16)
    bs = log_grid(0.005, 5, 10)
    cases = [(u, b) for u in us for b in bs]
    # Awkward cases: b = 0 (Theis), u at the integrand's maximum b/2, tiny u (steady state 2 K0(b)),
    # large u with large b (tiny values), large b as the partial-penetration terms need them.
    cases += [(u, 0.0) for u in (1e-4, 0.01, 1.0, 10.0)]
    cases += [(b / 2, b) for b in (0.01, 0.1, 1.0, 4.0)]
    cases += [(1e-8, 0.5), (1e-8, 3.0), (1e-6, 0.001), (10.0, 20.0), (20.0, 5.0), (1.0, 10.0),
              (0.01, 20.0), (0.1, 50.0), (5.0, 80.0)]
    tiny = [(10.0, 20.0), (20.0, 5.0), (0.01, 20.0), (0.1, 50.0), (5.0, 80.0)]
    rows = []
    for i, (u, b) in enumerate(cases):
        rows.append((u, b, leaky(u, b)))
        if i % 40 == 0:
            progress(f"leaky {i}/{len(cases)}")
    for u, b in [(1e-3, 0.05), (0.2, 0.7), (2.0, 3.0), (10.0, 0.5)]:
        check(f"W({u}, {b}) by the series of E_n", leaky_series(u, b), leaky(u, b), rel=TOL)
    for uf, bf in [(1e-4, 0.005), (0.01, 0.5), (1.0, 2.0), (5.0, 5.0)]:
        u, b = mp.mpf(uf), mp.mpf(bf)
        check(f"W({uf}, {bf}) + W(b^2/(4u), b) = 2 K0(b)", leaky(u, b) + leaky(b * b / (4 * u), b),
              2 * mp.besselk(0, b), rel=TOL)
    for u, b in tiny:
        u, b = mp.mpf(u), mp.mpf(b)
        check(f"small value W({mp.nstr(u, 3)}, {mp.nstr(b, 3)}) + W(b^2/(4u), b) = 2 K0(b)",
              leaky(u, b) + leaky(b * b / (4 * u), b), 2 * mp.besselk(0, b), rel=TOL)
    check("W(1e-12, 1) = 2 K0(1) (steady state)", leaky(1e-12, 1.0), 2 * mp.besselk(0, 1), rel=TOL)
    return write_table("leaky.csv", [
        "W(u, r/B) = int_u^inf exp(-y - (r/B)^2/(4y))/y dy, Hantush and Jacob (1955);",
        "mpmath.quad (tanh-sinh) split at the decades and at y = r/(4B), r/(2B), r/B; 40 digits."],
        ["u", "rOverB", "value"], rows)


# ---------------------------------------------------------------- Hantush (1960) H(u, beta)

def storage(u, beta, scale=None):
    """H(u, beta) in s = y - u. The erfc switches on where s (u + s) ~ beta^2 u: the integral is
    split at that point, at fractions and multiples of it, and at the decades. mpmath.quad's
    tolerance is absolute: a small value is computed again with the integrand scaled by 1/value."""
    u, beta = mp.mpf(u), mp.mpf(beta)
    if beta == 0:
        return mp.e1(u)
    a = beta * mp.sqrt(u)
    m = mp.mpf(0) if scale is None else -mp.log(scale)

    def f(s):
        if s == 0:
            return mp.mpf(0)
        y = u + s
        return mp.exp(m - y) / y * mp.erfc(a / mp.sqrt(y * s))

    st = (-u + mp.sqrt(u * u + 4 * beta * beta * u)) / 2
    feats = [st * mp.mpf(2) ** k for k in range(-12, 13)]
    feats = [x for x in feats if x < 60]
    pts = [mp.mpf(0)] + sorted(set(feats + [mp.mpf(10) ** k for k in range(-12, 2)] + [mp.mpf(u), 60 * (1 + u)]))
    pts = [p for p in pts if p <= 60 * (1 + u)] + [mp.inf]
    value = mp.exp(-m) * mp.quad(f, pts)
    if scale is None and value < mp.mpf("1e-3"):
        return storage(u, beta, value)
    return value


def storage_alternative(u, beta, scale=None):
    """Second method: erfc(x) = 2/sqrt(pi) int_x^inf exp(-t^2) dt and a change of order give
    H = 2/sqrt(pi) int_0^inf exp(-t^2) E1(y*(t)) dt with y*(y* - u) = beta^2 u / t^2."""
    u, beta = mp.mpf(u), mp.mpf(beta)
    m = mp.mpf(0) if scale is None else -mp.log(scale)

    def g(t):
        if t == 0:
            return mp.mpf(0)
        ystar = (u + mp.sqrt(u * u + 4 * beta * beta * u / (t * t))) / 2
        return mp.exp(m - t * t) * mp.e1(ystar)

    tc = beta * mp.sqrt(u) / mp.sqrt(1 + u)
    pts = [mp.mpf(0)] + sorted(set([tc * mp.mpf(2) ** k for k in range(-8, 8)] + [mp.mpf(1), mp.mpf(3)])) + [mp.inf]
    value = mp.exp(-m) * 2 / mp.sqrt(mp.pi) * mp.quad(g, pts)
    if scale is None and value < mp.mpf("1e-3"):
        return storage_alternative(u, beta, value)
    return value


def make_storage():
    us = log_grid(1e-4, 10, 16)
    bs = log_grid(0.005, 5, 10)
    cases = [(u, b) for u in us for b in bs]
    # The erfc transition close to y = u (small beta), steep (large beta), tiny and large u.
    cases += [(u, b) for u in (1e-4, 0.01, 1.0) for b in (1e-4, 1e-3)]
    cases += [(u, b) for u in (1e-3, 0.1, 3.0) for b in (10.0, 50.0)]
    cases += [(1e-8, 0.1), (1e-8, 5.0), (1e-6, 1.0), (20.0, 0.5), (30.0, 5.0), (0.5, 0.0), (4.0, 0.2)]
    rows = []
    for i, (u, b) in enumerate(cases):
        rows.append((u, b, storage(u, b)))
        if i % 40 == 0:
            progress(f"storage {i}/{len(cases)}")
    for u, b in [(1e-4, 0.005), (1e-3, 1.0), (0.05, 0.3), (1.0, 5.0), (4.0, 0.2), (10.0, 0.05), (3.0, 50.0),
                 (30.0, 5.0)]:
        check(f"H({u}, {b}) by 2/sqrt(pi) int exp(-t^2) E1(y*) dt", storage_alternative(u, b), storage(u, b), rel=TOL)
    check("H(0.3, 0) = E1(0.3)", storage(0.3, 0.0), mp.e1(mp.mpf(0.3)), rel=TOL)
    check("H(0.3, 1e-12) -> E1(0.3)", storage(0.3, 1e-12), mp.e1(mp.mpf(0.3)), rel=mp.mpf("1e-10"))
    return write_table("storage.csv", [
        "H(u, beta) = int_u^inf exp(-y)/y erfc(beta sqrt(u)/sqrt(y (y - u))) dy, Hantush (1960);",
        "mpmath.quad in s = y - u, split at s(u + s) = beta^2 u times powers of two and at the decades; 40 digits."],
        ["u", "beta", "value"], rows)


# ---------------------------------------------------------------- Cooper, Bredehoeft and Papadopulos (1967)

def slug_peak(alpha):
    """The zero of y Y0(y) - 2 alpha Y1(y) below y = 0.89 (where Y0 changes sign), near which the
    integrand peaks; for alpha above about 0.05 there is none and sqrt(alpha) stands in for it."""
    guess = mp.sqrt(2 * alpha / mp.log(2 / mp.sqrt(alpha)))
    try:
        y0 = mp.findroot(lambda y: y * mp.bessely(0, y) - 2 * alpha * mp.bessely(1, y), guess)
    except (ValueError, ZeroDivisionError):
        return mp.sqrt(alpha)
    if isinstance(y0, mp.mpc) or not 0 < y0 < mp.mpf(0.9):
        return mp.sqrt(alpha)
    return y0


class SlugNodes:
    """Gauss-Legendre nodes over geometric intervals of y for one alpha, with the Bessel factors of
    the integrand (they do not depend on beta): F(beta) is then a sum of exponentials."""

    def __init__(self, alpha, y_top, degree=4, ratio=mp.mpf("1.25")):
        self.alpha = alpha = mp.mpf(alpha)
        rule = mp.calculus.quadrature.GaussLegendre(mp.mp)
        base = rule.calc_nodes(degree, mp.mp.prec)
        # The Y part y Y0 - 2 alpha Y1 vanishes near y0 ~ sqrt(2 alpha / ln(2/y0)): there the
        # integrand peaks (relative width about 1/ln(1/alpha)); refine the intervals around it.
        y0 = slug_peak(alpha)
        self.y0 = y0
        edges = set()
        y = mp.sqrt(alpha) * mp.mpf("1e-15")
        while y < y_top:
            edges.add(y)
            y *= ratio
        edges.add(y_top)
        for k in range(-40, 41):
            edges.add(y0 * (1 + mp.mpf(k) / 200))
        edges = sorted(e for e in edges if e <= y_top)
        self.nodes = []
        for a, b in zip(edges[:-1], edges[1:]):
            h = (b - a) / 2
            m = (b + a) / 2
            for x, w in base:
                yy = m + h * x
                j0, j1 = mp.besselj(0, yy), mp.besselj(1, yy)
                y0_, y1_ = mp.bessely(0, yy), mp.bessely(1, yy)
                den = (yy * j0 - 2 * alpha * j1) ** 2 + (yy * y0_ - 2 * alpha * y1_) ** 2
                self.nodes.append((yy * yy / alpha, h * w / (yy * den)))

    def value(self, beta):
        beta = mp.mpf(beta)
        s = mp.fsum(w * mp.exp(-beta * e) for e, w in self.nodes)
        return 8 * self.alpha / mp.pi ** 2 * s


def slug_integral(beta, alpha):
    """Second method (used for F(0, alpha) = 1): mpmath.quad of the integral to infinity."""
    alpha, beta = mp.mpf(alpha), mp.mpf(beta)

    def f(y):
        if y == 0:
            return mp.mpf(0)
        den = (y * mp.besselj(0, y) - 2 * alpha * mp.besselj(1, y)) ** 2 + \
              (y * mp.bessely(0, y) - 2 * alpha * mp.bessely(1, y)) ** 2
        return mp.exp(-beta * y * y / alpha) / (y * den)

    y0 = slug_peak(alpha)
    pts = sorted(set([mp.mpf(0)] + [y0 * (1 + mp.mpf(k) / 40) for k in range(-20, 21)] +
                     [mp.sqrt(alpha) * mp.mpf(10) ** k for k in range(-12, 8)]))
    pts = [p for p in pts if p < 1e4] + [mp.inf]
    return 8 * alpha / mp.pi ** 2 * mp.quad(f, pts)


def slug_laplace_talbot(beta, alpha):
    """Second method: the Laplace transform in beta of F, K0(k)/(P K0(k) + 2 k K1(k)) with
    k = sqrt(alpha P) (from the well's mass balance; Cooper et al. 1967), by Talbot's method."""
    alpha = mp.mpf(alpha)

    def fp(p):
        k = mp.sqrt(alpha * p)
        a0, a1 = mp.besselk(0, k), mp.besselk(1, k)
        return a0 / (p * a0 + 2 * k * a1)

    with mp.workdps(DPS + 20):
        return mp.invertlaplace(fp, mp.mpf(beta), method="talbot")


def make_slug():
    alphas = [10.0 ** -k for k in range(10, 0, -1)]
    betas = log_grid(0.002, 100, 20)
    extra_betas = [1e-5, 1e-3, 300.0, 1000.0]
    rows = []
    for alpha in alphas + [1e-12, 0.5]:
        bl = betas + extra_betas if alpha in alphas else [1e-3, 0.1, 1.0, 10.0]
        beta_min = min(bl)
        # exp(-beta y^2/alpha) < 1e-40 beyond y_top.
        y_top = mp.sqrt(95 * mp.mpf(alpha) / beta_min)
        with mp.workdps(34):
            nodes = SlugNodes(alpha, y_top)
            for beta in bl:
                rows.append((beta, alpha, nodes.value(beta)))
            if alpha in (1e-10, 1e-5, 0.1):
                finer = SlugNodes(alpha, y_top, degree=5)
                for beta in (1e-3, 0.1, 10.0):
                    check(f"F({beta}, {alpha}): 24 against 48 Gauss-Legendre nodes per interval",
                          nodes.value(beta), finer.value(beta), rel=mp.mpf("1e-25"))
        progress(f"slug alpha {alpha} done")
    count = write_slug(rows)
    with mp.workdps(34):
        for alpha in (1e-10, 1e-4, 0.1):
            check(f"F(0, {alpha}) = 1 by quadrature to infinity", slug_integral(0, alpha), 1, rel=mp.mpf("1e-25"))
    for beta, alpha in [(0.01, 1e-10), (1.0, 1e-6), (0.3, 1e-3), (5.0, 0.1), (50.0, 1e-2)]:
        with mp.workdps(34):
            ref = SlugNodes(alpha, mp.sqrt(95 * mp.mpf(alpha) / beta)).value(beta)
        check(f"F({beta}, {alpha}) by Talbot inversion of its Laplace transform",
              slug_laplace_talbot(beta, alpha), ref, rel=mp.mpf("1e-20"))
    return count


def write_slug(rows):
    return write_table("slug.csv", [
        "F(beta, alpha) of Cooper, Bredehoeft and Papadopulos (1967), beta = T t/rc^2, alpha = rw^2 S/rc^2;",
        "24-point Gauss-Legendre rules on geometric intervals (ratio 1.25) from 1e-15 sqrt(alpha) to where",
        "exp(-beta y^2/alpha) < 1e-40, refined at the zero of y Y0 - 2 alpha Y1; 34 digits (agreement with 48",
        "points per interval and with a Talbot inversion of the Laplace transform asserted)."],
        ["beta", "alpha", "value"], rows)


# ---------------------------------------------------------------- Hantush (1961, 1964) partial penetration

def partial_terms(u, x, rb, tol_scale, cache):
    """The W(u, w_n) of the series with w_n = sqrt(rb^2 + (n pi x)^2), until the rest of the series
    is below TOL of tol_scale: W(u, w) <= 2 K0(w) and K0(w + h) <= K0(w) exp(-h)."""
    key = (u, x, rb)
    if key in cache:
        return cache[key]
    u, x, rb = mp.mpf(u), mp.mpf(x), mp.mpf(rb)
    terms = []
    n = 0
    while True:
        n += 1
        w = mp.sqrt(rb * rb + (n * mp.pi * x) ** 2)
        terms.append(leaky_fast(u, w))
        w_next = mp.sqrt(rb * rb + ((n + 1) * mp.pi * x) ** 2)
        ratio = mp.exp(-(w_next - w))
        bound = 2 * k0(w_next) * 4 / ((n + 1) * (1 - ratio)) * 2 / (mp.pi * mp.mpf("1e-3"))
        if bound < mp.mpf("1e-33") * tol_scale:
            break
    cache[key] = terms
    return terms


def partial_series(terms, l, d, lo, dz):
    """2/(pi (l - d)) sum_n W_n (sin n pi l - sin n pi d) cos(n pi dz)/n (piezometer, lo <= 0) or
    2/(pi^2 (l - d)(lo - dz)) sum_n W_n (sin n pi l - sin n pi d)(sin n pi lo - sin n pi dz)/n^2."""
    l, d, lo, dz = (mp.mpf(v) for v in (l, d, lo, dz))
    s = mp.mpf(0)
    for n, wn in enumerate(terms, start=1):
        pump = mp.sin(n * mp.pi * l) - mp.sin(n * mp.pi * d)
        if lo <= 0:
            s += wn * pump * mp.cos(n * mp.pi * dz) / n
        else:
            s += wn * pump * (mp.sin(n * mp.pi * lo) - mp.sin(n * mp.pi * dz)) / (n * n)
    if lo <= 0:
        return 2 / (mp.pi * (l - d)) * s
    return 2 / (mp.pi ** 2 * (l - d) * (lo - dz)) * s


def partial_images(u, x, l, d, z):
    """Second method for the nonleaky piezometer: the line source from depth d to l in an infinite
    aquifer (the 3-D continuous point source erfc(R/(2 sqrt(K t/Ss)))/R integrated over the screen in
    coordinates stretched by a = sqrt(Kz/Kr)), with the images that make the top and the base
    impermeable: W = 1/(l - d) sum_k int_d^l [h(z - xi + 2k) + h(z + xi + 2k)] dxi,
    h(D) = erfc(sqrt(u) sqrt(x^2 + D^2)/x)/sqrt(x^2 + D^2)."""
    u, x, l, d, z = (mp.mpf(v) for v in (u, x, l, d, z))
    su = mp.sqrt(u)

    def h(D):
        r = mp.sqrt(x * x + D * D)
        return mp.erfc(su * r / x) / r

    def strip(k):
        # int_d^l h(z - xi + 2k) dxi + int_d^l h(z + xi + 2k) dxi, split where D passes 0.
        def piece(lo_d, hi_d):
            pts = sorted(set([lo_d, hi_d] + ([mp.mpf(0)] if lo_d < 0 < hi_d else [])))
            return mp.quad(h, pts)
        return piece(z - l + 2 * k, z - d + 2 * k) + piece(z + d + 2 * k, z + l + 2 * k)

    total = strip(0)
    k = 1
    while True:
        add = strip(k) + strip(-k)
        total += add
        if abs(add) < mp.mpf("1e-34") * abs(total) and k > 2:
            break
        k += 1
    return total / (l - d)


NONLEAKY_GEOMETRIES = [  # l, d, lo, dz
    (0.75, 0.5, -1.0, 0.3),   # the default piezometer
    (0.75, 0.5, 0.75, 0.5),   # the default observation well
]
NONLEAKY_OTHERS = [
    (0.75, 0.5, -1.0, 0.6),   # piezometer inside the pumping screen
    (0.75, 0.5, -1.0, 0.0),   # piezometer at the top
    (1.0, 0.0, -1.0, 0.4),    # fully screened pumping well: W(u)
    (0.3, 0.0, -1.0, 1.0),    # screen at the top, piezometer at the base
    (0.9, 0.1, 0.6, 0.2),     # observation screen inside the pumping screen
    (0.2, 0.0, 1.0, 0.7),     # screens at opposite ends
]


def make_partial():
    us = [10.0 ** (k / 2) for k in range(-8, 3)]
    xs = log_grid(0.05, 2, 10)
    cache = {}
    rows = []
    for i, u in enumerate(us):
        base = theis(u)
        for x in xs:
            terms = partial_terms(u, x, 0, base, cache)
            for g in NONLEAKY_GEOMETRIES:
                rows.append((u, x) + g + (base + partial_series(terms, *g),))
        progress(f"partial u {i + 1}/{len(us)}")
    for u in (1e-4, 0.01, 1.0):
        base = theis(u)
        for x in (0.05, 0.3, 2.0):
            terms = partial_terms(u, x, 0, base, cache)
            for g in NONLEAKY_OTHERS:
                rows.append((u, x) + g + (base + partial_series(terms, *g),))
    for u, x in [(1e-5, 0.01), (1e-3, 5.0), (5.0, 0.2)]:
        base = theis(u)
        terms = partial_terms(u, x, 0, base, cache)
        for g in NONLEAKY_GEOMETRIES:
            rows.append((u, x) + g + (base + partial_series(terms, *g),))
    # Cross-checks.
    for u, x, g in [(0.01, 0.1, (0.75, 0.5, 0.3)), (1.0, 0.05, (0.75, 0.5, 0.6)), (0.1, 0.3, (0.3, 0.0, 1.0)),
                    (0.01, 0.5, (0.75, 0.5, 0.75))]:
        base = theis(u)
        terms = partial_terms(u, x, 0, base, cache)
        series = base + partial_series(terms, g[0], g[1], -1, g[2])
        check(f"partial piezometer u={u} x={x} {g} against line source with images",
              partial_images(u, x, *g), series, rel=mp.mpf("1e-25"))
    for u, x, (l, d, lo, dz) in [(1e-3, 0.2, (0.75, 0.5, 0.75, 0.5)), (0.3, 0.1, (0.9, 0.1, 0.6, 0.2))]:
        base = theis(u)
        terms = partial_terms(u, x, 0, base, cache)
        avg = mp.quad(lambda z: partial_series(terms, l, d, -1, z), [dz, (dz + lo) / 2, lo]) / (lo - dz)
        check(f"observation screen u={u} x={x} = average of the piezometer over the screen",
              base + avg, base + partial_series(terms, l, d, lo, dz), rel=mp.mpf("1e-28"))
    return write_table("partial.csv", [
        "Hantush (1961) partially penetrating well, nonleaky: W(u) + 2/(pi (l-d)) sum_n W(u, n pi x)",
        "(sin n pi l - sin n pi d) cos(n pi dz)/n for a piezometer at depth dz (lo <= 0), or",
        "W(u) + 2/(pi^2 (l-d)(lo-dz)) sum_n W(u, n pi x)(sin n pi l - sin n pi d)(sin n pi lo - sin n pi dz)/n^2",
        "for an observation screen from dz to lo; full pi, depths from the aquifer top as fractions of b,",
        "x = a r/b. Summed until the rest is below 1e-30 of the value (bound 2 K0(n pi x)); 40 digits.",
        "Far from the screen at early time the value is a cancellation of W(u) against the series: there it",
        "is exact to about 1e-38 absolute only (a few such values are of that size or negative)."],
        ["u", "x", "l", "d", "lo", "dz", "value"], rows)


LEAKY_GEOMETRIES = [
    (0.75, 0.25, -1.0, 0.5),   # the default piezometer
    (0.75, 0.25, 0.75, 0.25),  # the default observation well
]


def make_partial_leaky():
    us = [10.0 ** (k / 2) for k in range(-8, 3)]
    rbs = log_grid(0.01, 2, 8)
    cache = {}
    rows = []
    for i, u in enumerate(us):
        for rb in rbs:
            base = leaky(u, rb)
            terms = partial_terms(u, 0.1, rb, base, cache)
            for g in LEAKY_GEOMETRIES:
                rows.append((u, 0.1, rb) + g + (base + partial_series(terms, *g),))
        progress(f"partial_leaky u {i + 1}/{len(us)}")
    for x in (0.05, 0.5, 2.0):
        for u in (1e-4, 0.01, 1.0, 10.0):
            for rb in (0.01, 0.3, 2.0):
                base = leaky(u, rb)
                terms = partial_terms(u, x, rb, base, cache)
                for g in LEAKY_GEOMETRIES + [(0.75, 0.5, -1.0, 0.3), (0.9, 0.1, 0.6, 0.2)]:
                    rows.append((u, x, rb) + g + (base + partial_series(terms, *g),))
    # Cross-checks: r/B -> 0 gives the nonleaky series; the screen form is the piezometer's average.
    for u, x in [(0.01, 0.1), (1.0, 0.5)]:
        rb = mp.mpf("1e-15")
        base = leaky(u, rb)
        terms = partial_terms(u, x, rb, base, {})
        nl = theis(u) + partial_series(partial_terms(u, x, 0, theis(u), {}), 0.75, 0.25, -1, 0.5)
        check(f"partial leaky u={u} x={x} r/B=1e-15 against the nonleaky series",
              base + partial_series(terms, 0.75, 0.25, -1, 0.5), nl, rel=mp.mpf("1e-25"))
    u, x, rb = 0.03, 0.1, 0.3
    base = leaky(u, rb)
    terms = partial_terms(u, x, rb, base, cache)
    avg = mp.quad(lambda z: partial_series(terms, 0.75, 0.25, -1, z), [0.25, 0.5, 0.75]) / mp.mpf(0.5)
    check("leaky observation screen = average of the piezometer over the screen",
          base + avg, base + partial_series(terms, 0.75, 0.25, 0.75, 0.25), rel=mp.mpf("1e-28"))
    return write_table("partial_leaky.csv", [
        "Hantush (1964) partially penetrating well in a leaky aquifer: W(u, rB) + the series of partial.csv",
        "with W(u, sqrt(rB^2 + (n pi x)^2)) as its terms; full pi; summed until the rest is below 1e-30",
        "of the value; 40 digits. Values that cancel (far from the screen at early time) are exact to about",
        "1e-38 absolute only."],
        ["u", "x", "rB", "l", "d", "lo", "dz", "value"], rows)


MAKERS = {
    "theis": make_theis,
    "leaky": make_leaky,
    "storage": make_storage,
    "slug": make_slug,
    "partial": make_partial,
    "partial_leaky": make_partial_leaky,
}


def main(argv):
    mp.mp.dps = DPS
    names = argv or list(MAKERS) + ["double_porosity", "unconfined"]
    start = time.time()
    for name in names:
        t0 = time.time()
        if name in MAKERS:
            MAKERS[name]()
        else:
            import accurate_laplace_reference
            accurate_laplace_reference.MAKERS[name]()
        progress(f"{name}: {time.time() - t0:.0f} s")
    progress(f"total {time.time() - start:.0f} s")


if __name__ == "__main__":
    main(sys.argv[1:])
