#!/usr/bin/python3
"""The modified Bessel function K0(z) of a complex argument in the right half-plane, in 30-digit arithmetic.

Run with Debian's interpreter (mpmath):  /usr/bin/python3 accurate_complex_bessel_reference.py
It writes ../data/reference/accurate/complex_k0.csv.

mpmath's besselk evaluates K0 by its own hypergeometric series with working precision raised until the
result is correct to the requested digits, a method independent of the program's (ascending series,
Temme's continued fraction, asymptotic expansion). The grid covers moduli 1e-8..700 and arguments 0..pi/2
(the imaginary axis included), denser in 2..24, where the Laplace-domain well functions need K0.

Columns: re, im (the argument z), k0_re, k0_im (K0(z)).
"""
import csv
import os

import mpmath as mp

mp.mp.dps = 30

MODULI = ['1e-8', '1e-4', '0.01', '0.3', '1', '1.9', '2', '2.1', '3.7', '6', '9.5', '14', '17', '20', '24',
          '30', '45', '80', '150', '300', '700']
# Fractions of pi/2: the real axis, the interior of the quadrant and the imaginary axis.
ANGLES = ['0', '0.2', '0.5', '0.8', '0.95', '1']
# A denser grid of 2 <= |z| <= 24, where the program expands K0 about tabulated centres: moduli and
# angles that fall at no particular place of the centres' rings and sectors.
MIDDLE_MODULI = ['2.01', '2.3', '2.77', '3.1', '3.5', '4.2', '4.9', '5.5', '6.6', '7.3', '8.8', '10.4', '11.7',
                 '12.9', '15.3', '16.6', '18.1', '19.4', '21.3', '22.7', '23.9']
MIDDLE_ANGLES = ['0.03', '0.11', '0.27', '0.36', '0.44', '0.61', '0.73', '0.87', '0.99']


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, '..', 'data', 'reference', 'accurate', 'complex_k0.csv')
    with open(out, 'w', newline='') as f:
        f.write('# K0(z) of a complex argument, mpmath besselk at 30 digits '
                '(tests/reference/accurate_complex_bessel_reference.py)\n')
        w = csv.writer(f, lineterminator='\n')
        w.writerow(['re', 'im', 'k0_re', 'k0_im'])
        grid = [(m, a) for m in MODULI for a in ANGLES]
        grid += [(m, a) for m in MIDDLE_MODULI for a in MIDDLE_ANGLES]
        for m, a in grid:
            theta = mp.mpf(a) * mp.pi / 2
            # The argument as the doubles the test passes, so that K0 is compared at the same point.
            re = float(mp.mpf(m) * mp.cos(theta)) if a != '1' else 0.0
            im = float(mp.mpf(m) * mp.sin(theta))
            k = mp.besselk(0, mp.mpc(re, im))
            w.writerow([repr(re), repr(im), mp.nstr(k.real, 25), mp.nstr(k.imag, 25)])


if __name__ == '__main__':
    main()
