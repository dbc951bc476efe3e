#!/usr/bin/python3
"""Laplace-domain drawdown of Moench's (1993) unconfined aquifer seen by an observation well screened
from z1/b to z2/b: the point (piezometer) solution integrated numerically over the screen with mpmath,
to check the closed-form screen average of the program's series.

The point solution at height z above the aquifer base, for a pumping well screened from depth d to
depth l below the water table (Neuman 1974, Moench 1993, instantaneous drainage 1e9):
    F(p, z) = 2/(l - d) / p * sum_n K0(sqrt(beta e_n^2 + p)) (sin e_n (1-d) - sin e_n (1-l)) cos(e_n z)
                                      / ((sin(2 e_n)/2 + e_n)/2),
e_n the n-th positive root of e tan e = q, q = p/(sigma beta + p/1e9), n = 1..M with the program's
truncation M = max(4, trunc(30 * 2^(-log10 beta - 2))). The roots are bracketed in
((n-1) pi, (n-1) pi + pi/2) and found by mpmath's Illinois solver, K0 is mpmath's besselk, and the
screen value is (1/(z2 - z1)) * quad(F(p, z), z1, z2); also the point value at z1 and the full-thickness
average quad(F, 0, 1) for the forms the program had before.

Run:  /usr/bin/python3 tests/reference/unconfined_screen_average.py > tests/data/unconfined_screen_average.csv
"""
import math

import mpmath as mp

mp.mp.dps = 30


def term_count(beta):
    return max(4, int(30.0 * 2.0 ** (-math.log10(beta) - 2.0)))


def roots(q, count):
    out = []
    for n in range(1, count + 1):
        a = (n - 1) * mp.pi
        b = a + mp.pi / 2
        f = lambda e: e * mp.sin(e) - q * mp.cos(e)
        out.append(mp.findroot(f, (a + mp.mpf("1e-30"), b), solver="illinois", tol=mp.mpf("1e-28")))
    return out


def point_solution(p, beta, sigma, l, d):
    p, beta, sigma = mp.mpf(p), mp.mpf(beta), mp.mpf(sigma)
    q = p / (sigma * beta + p / mp.mpf("1e9"))
    eps = roots(q, term_count(float(beta)))
    coef = []
    for e in eps:
        screen = mp.sin(e * (1 - mp.mpf(d))) - mp.sin(e * (1 - mp.mpf(l)))
        coef.append(mp.besselk(0, mp.sqrt(beta * e * e + p)) * screen / ((mp.sin(2 * e) / 2 + e) / 2))
    scale = 2 / (mp.mpf(l) - mp.mpf(d)) / p
    return lambda z: scale * mp.fsum(c * mp.cos(e * z) for c, e in zip(coef, eps))


CASES = [
    # p, beta, sigma, l, d, z1, z2
    (0.01, 1.0, 0.01, 0.6, 0.2, 0.3, 0.7),
    (1.0, 1.0, 0.01, 0.6, 0.2, 0.3, 0.7),
    (30.0, 1.0, 0.01, 0.6, 0.2, 0.3, 0.7),
    (1.0, 0.01, 0.1, 1.0, 0.0, 0.0, 0.25),
    (0.1, 0.01, 0.1, 0.5, 0.0, 0.6, 0.9),
    (3.0, 7.0, 1e-9, 0.8, 0.5, 0.1, 0.45),
    (0.003, 0.1, 0.05, 0.3, 0.0, 0.05, 0.95),
]

print("# Moench (1993) unconfined aquifer, Laplace domain: screen average = (1/(z2-z1)) int_z1^z2 F(p,z) dz")
print("# of the point solution, by mpmath quadrature (tests/reference/unconfined_screen_average.py);")
print("# point = F(p, z1); full = int_0^1 F(p, z) dz.")
print("p,beta,sigma,l,d,z1,z2,screen,point,full")
for p, beta, sigma, l, d, z1, z2 in CASES:
    F = point_solution(p, beta, sigma, l, d)
    screen = mp.quad(F, [z1, (z1 + z2) / 2, z2]) / (mp.mpf(z2) - mp.mpf(z1))
    full = mp.quad(F, [0, 0.5, 1])
    print(f"{p!r},{beta!r},{sigma!r},{l!r},{d!r},{z1!r},{z2!r},"
          f"{mp.nstr(screen, 17)},{mp.nstr(F(z1), 17)},{mp.nstr(full, 17)}")
