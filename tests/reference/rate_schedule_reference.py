#!/usr/bin/python3
"""Theis drawdowns of a pumping history with two rate steps and a recovery, by superposition in time
(Theis 1935; Kruseman and de Ridder 1990, ch. 12), with scipy's exponential integral E1 = W(u):

    s(t) = sum over t_i < t of (Q_i - Q_{i-1}) / (4 pi T) * E1(r^2 S / (4 T (t - t_i))).

Writes tests/data/reference/rate_schedule_theis.csv: time, drawdown. Run with Debian's /usr/bin/python3.
"""
import csv
import math
import os

import numpy as np
from scipy.special import exp1

T = 5.0e-3  # m2/s
S = 1.0e-4
R = 30.0  # m
STEPS = [(0.0, 0.004), (600.0, 0.007), (1800.0, 0.0)]  # (time s, rate m3/s)


def drawdown(t):
    total, previous = 0.0, 0.0
    for ti, qi in STEPS:
        if t > ti:
            u = R * R * S / (4.0 * T * (t - ti))
            total += (qi - previous) / (4.0 * math.pi * T) * exp1(u)
        previous = qi
    return total


def main():
    times = sorted(set(np.round(np.logspace(0, 4, 41), 6).tolist() + [0.0, 600.0, 601.0, 1800.0, 1801.0]))
    out = os.path.join(os.path.dirname(__file__), "..", "data", "reference", "rate_schedule_theis.csv")
    with open(out, "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["time", "drawdown"])
        for t in times:
            w.writerow([repr(float(t)), "%.17g" % drawdown(t)])


if __name__ == "__main__":
    main()
