#!/usr/bin/python3
"""Moench's (1993) eigenvalue series of the unconfined drawdown in the Laplace domain, in 40-digit arithmetic.

Run with Debian's interpreter (mpmath):  /usr/bin/python3 unconfined_series_reference.py
It writes ../data/reference/unconfined_series.csv.

The series (Moench 1993, instantaneous drainage W_D = 1e9 as Neuman 1974):
    F(p) = 2/(l-d) 1/p sum_{n=1..M} K0(sqrt(beta e_n^2 + p)) (sin e_n (1-d) - sin e_n (1-l)) O(e_n)
                                    / ((sin(2 e_n)/2 + e_n)/2),
with e_n the n-th positive root of e tan e = q, q = p / (sigma beta + p / W_D), found by bracketing in
((n-1) pi, (n-1) pi + pi/2); M = max(4, trunc(30 * 2^(-log10 beta - 2))) terms. The observation form O
(numbering of the program's documents): 0 full thickness, sin e / e; 1 piezometer at height z, cos z e;
2 observation well screened from z1 to z2, (sin z2 e - sin z1 e) / ((z2 - z1) e).
K0 is the polynomial of Abramowitz and Stegun (1964) 9.8.5 and 9.8.6 (with I0 from 9.8.1), evaluated here
in 40 digits, so that the values isolate the rounding of the double-precision series (the polynomial's own
3e-7 error is tested elsewhere). The argument of K0 is capped at 708.

Columns: p, beta, sigma, l, d, z, z1, z2, form, value; absolute: 2/(l-d) 1/p sum |term_n|, the scale of the
rounding error of a double-precision sum; rootRounding: 2/(l-d) 1/p sum |d term_n / d e| e_n 2^-53, the change
that rounding each root to a double brings (large where cos e_n is tiny: q large, piezometer at z = 1).
"""
import csv
import math
import os

import mpmath as mp

mp.mp.dps = 40
W_D = mp.mpf(10) ** 9


def i0_as(x):
    t = (x / mp.mpf('3.75')) ** 2
    c = ['1.0', '3.5156229', '3.0899424', '1.2067492', '0.2659732', '0.0360768', '0.0045813']
    return sum(mp.mpf(a) * t ** k for k, a in enumerate(c))


def k0_as(x):
    if x <= 2:
        y = x * x / 4
        c = ['-0.57721566', '0.42278420', '0.23069756', '0.03488590', '0.00262698', '0.00010750', '0.0000074']
        return -mp.log(x / 2) * i0_as(x) + sum(mp.mpf(a) * y ** k for k, a in enumerate(c))
    y = 2 / x
    c = ['1.25331414', '-0.07832358', '0.02189568', '-0.01062446', '0.00587872', '-0.00251540', '0.00053208']
    return mp.exp(-x) / mp.sqrt(x) * sum(mp.mpf(a) * y ** k for k, a in enumerate(c))


def term_count(beta):
    count = 30.0 * 2.0 ** (-math.log10(beta) - 2.0)
    return 4 if count < 4.0 else int(count)


def root(n, q):
    lo = (n - 1) * mp.pi
    hi = lo + mp.pi / 2
    f = lambda e: e * mp.sin(e) - q * mp.cos(e)
    a, b = lo, hi
    sign_a = mp.sign(f(a))  # f changes sign once in the strip: -q cos at lo, e sin at hi
    for _ in range(200):  # bisection to 40 digits
        m = (a + b) / 2
        if mp.sign(f(m)) == sign_a:
            a = m
        else:
            b = m
    return (a + b) / 2


def series(p, beta, sigma, l, d, z, z1, z2, form):
    p, beta, sigma = mp.mpf(p), mp.mpf(beta), mp.mpf(sigma)
    q = p / (sigma * beta + p / W_D)
    total = mp.mpf(0)
    absolute = mp.mpf(0)
    rounding = mp.mpf(0)

    def term(e):
        gamma = min(mp.sqrt(beta * e * e + p), mp.mpf(708))
        screen = mp.sin(e * (1 - mp.mpf(d))) - mp.sin(e * (1 - mp.mpf(l)))
        if form == 0:
            obs = mp.sin(e) / e
        elif form == 1:
            obs = mp.cos(mp.mpf(z) * e)
        else:
            obs = (mp.sin(mp.mpf(z2) * e) - mp.sin(mp.mpf(z1) * e)) / ((mp.mpf(z2) - mp.mpf(z1)) * e)
        return k0_as(gamma) * screen * obs / ((mp.sin(2 * e) / 2 + e) / 2)

    for n in range(1, term_count(float(beta)) + 1):
        e = root(n, q)
        t = term(e)
        total += t
        absolute += abs(t)
        rounding += abs(mp.diff(term, e)) * e * mp.mpf(2) ** -53
    scale = 2 / ((mp.mpf(l) - mp.mpf(d)) * p)
    return total * scale, absolute * scale, rounding * scale


GEOMETRIES = [  # l, d, z, z1, z2, form
    ('1', '0', '0.5', '0', '1', 0),      # full thickness, fully penetrating: sin e (1-d) = sin e, sin e (1-l) = 0
    ('0.8', '0.3', '1', '0', '1', 1),    # piezometer at the water table: cos e
    ('0.9', '0', '0', '0', '1', 1),      # piezometer at the base: cos 0 = 1
    ('0.6', '0.2', '0.5', '0', '1', 2),  # screen over the whole thickness
    ('1', '0', '0.5', '0.2', '0.7', 2),  # screen inside the aquifer
]
CASES = [  # p, beta, sigma: q from 1e-6 (small sines, long series) to 1e9
    ('1e-6', '1', '1'), ('1e-6', '0.01', '1'), ('1e-3', '1e-4', '1'), ('0.1', '0.01', '0.001'),
    ('10', '1', '0.01'), ('1000', '1e-4', '1e-3'), ('1', '0.1', '1e-6'),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, '..', 'data', 'reference', 'unconfined_series.csv')
    with open(path, 'w', newline='') as f:
        f.write('# Moench (1993) eigenvalue series in 40 digits with the A&S K0 polynomial '
                '(tests/reference/unconfined_series_reference.py)\n')
        w = csv.writer(f, lineterminator='\n')
        w.writerow(['p', 'beta', 'sigma', 'l', 'd', 'z', 'z1', 'z2', 'form', 'value', 'absolute', 'rootRounding'])
        for l, d, z, z1, z2, form in GEOMETRIES:
            for p, beta, sigma in CASES:
                value, absolute, rounding = series(p, beta, sigma, l, d, z, z1, z2, form)
                w.writerow([p, beta, sigma, l, d, z, z1, z2, form, mp.nstr(value, 20), mp.nstr(absolute, 20),
                            mp.nstr(rounding, 6)])


if __name__ == '__main__':
    main()
