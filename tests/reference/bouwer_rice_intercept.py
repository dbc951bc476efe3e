#!/usr/bin/python3
"""Reference of tests/core/estimation/test_bouwer_rice_intercept.cpp: the straight line ln(H/H0) = a - b t
through heads with an offset (the early heads disturbed, as by a gravel pack), fitted by numpy.polyfit,
independently of the program's own least squares. Run with Debian's python3."""
import numpy as np

t = np.array([2.0, 5.0, 10.0, 20.0, 30.0, 45.0, 60.0, 90.0, 120.0])
# A straight part ln(H/H0) = -0.35 - 0.0123 t with a small, fixed wobble so that the fit is not exact.
wobble = np.array([0.004, -0.003, 0.002, -0.005, 0.001, 0.003, -0.002, 0.0, -0.001])
lnh = -0.35 - 0.0123 * t + wobble
h = np.exp(lnh)
slope, intercept = np.polyfit(t, np.log(h), 1)
print("heads:", ", ".join(repr(float(v)) for v in h))
print("b (rate) =", repr(float(-slope)))
print("a (intercept) =", repr(float(intercept)))
# The same line through the origin (the classic fit), for contrast: b = -sum(t ln h) / sum(t^2).
print("b through origin =", repr(float(-np.sum(t * np.log(h)) / np.sum(t * t))))
