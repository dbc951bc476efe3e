#!/usr/bin/python3
"""Reference derivatives ds/d ln t of an unequally spaced synthetic drawdown record.

The record: 40 times drawn log-uniformly from 0.05 to 5000 (seed 17), sorted, with one time repeated
(the two drawdowns differ; the derivative uses their mean) and a time 0 (left out). The drawdowns are
Theis drawdowns s = Q/(4 pi T) E1(r^2 S / (4 T t)) with Q = 0.01, T = 1e-3, S = 1e-4, r = 30, plus a
deterministic wobble of 1 % so that the smoothings differ.

Derivatives, computed here with numpy independently of the program:
  bourdet_L0, bourdet_L02: Bourdet et al. (1989): at t_i the first points at least L log10 cycles left
      and right (L shortened by 1e-9 of itself against rounding; the last point on a side when none
      lies that far), the slopes to them weighted by the
      other side's distance in ln t; one-sided slopes at the first and last time.
  window5: Spane and Wurstner (1993) moving window: numpy.polyfit slope of s on ln t over the 5 points
      centred on t_i, cut short at the ends.

Run with Debian's /usr/bin/python3:
    /usr/bin/python3 tests/reference/log_derivative_reference.py
writes tests/data/reference/log_derivative_unequal.csv.
"""
import os

import numpy as np
from scipy.special import exp1

Q, T, S, R = 0.01, 1e-3, 1e-4, 30.0


def record():
    rng = np.random.default_rng(17)
    t = np.sort(10.0 ** rng.uniform(np.log10(0.05), np.log10(5000.0), 40))
    s = Q / (4 * np.pi * T) * exp1(R * R * S / (4 * T * t)) * (1.0 + 0.01 * np.sin(7.0 * np.log(t)))
    t = np.concatenate(([0.0], t[:20], [t[19]], t[20:]))
    s = np.concatenate(([0.0], s[:20], [s[19] * 1.02], s[20:]))
    return t, s


def merged(t, s):
    keep = t > 0
    times = np.unique(t[keep])
    means = np.array([s[keep][t[keep] == x].mean() for x in times])
    return np.log(times), means


def bourdet(x, s, L):
    n, reach, d = len(x), L * np.log(10.0) * (1 - 1e-9), np.empty(len(x))
    d[0] = (s[1] - s[0]) / (x[1] - x[0])
    d[-1] = (s[-1] - s[-2]) / (x[-1] - x[-2])
    for i in range(1, n - 1):
        far_left = np.nonzero(x[i] - x[:i] >= reach)[0]
        far_right = np.nonzero(x[i + 1:] - x[i] >= reach)[0]
        j = far_left[-1] if len(far_left) else 0
        k = i + 1 + far_right[0] if len(far_right) else n - 1
        dl, dr = x[i] - x[j], x[k] - x[i]
        d[i] = ((s[i] - s[j]) / dl * dr + (s[k] - s[i]) / dr * dl) / (dl + dr)
    return d


def window(x, s, points):
    h = points // 2
    return np.array([np.polyfit(x[max(0, i - h):i + h + 1], s[max(0, i - h):i + h + 1], 1)[0]
                     for i in range(len(x))])


def main():
    t, s = record()
    x, sm = merged(t, s)
    columns = {"bourdet_L0": bourdet(x, sm, 0.0), "bourdet_L02": bourdet(x, sm, 0.2),
               "window5": window(x, sm, 5)}
    out = os.path.join(os.path.dirname(__file__), "..", "data", "reference", "log_derivative_unequal.csv")
    with open(out, "w") as f:
        f.write("# tests/reference/log_derivative_reference.py: Theis drawdowns with a 1 % wobble at\n")
        f.write("# unequal times; the derivatives are at each measurement (nan where left out).\n")
        f.write("time,drawdown," + ",".join(columns) + "\n")
        for ti, si in zip(t, s):
            if ti > 0:
                i = int(np.searchsorted(np.exp(x), ti * (1 - 1e-12)))
                row = [columns[c][i] for c in columns]
            else:
                row = [float("nan")] * len(columns)
            f.write(",".join(repr(float(v)) for v in [ti, si] + row) + "\n")


if __name__ == "__main__":
    main()
