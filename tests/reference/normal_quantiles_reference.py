#!/usr/bin/python3
"""Standard normal quantiles at Blom's (1958) plotting positions (i - 0.375)/(n + 0.25), from scipy,
for the normal probability plot of residuals (tests/core/plot/test_residual_plots.cpp), and a few
quantiles far out in the tails where the rational approximations are weakest.
Prints C++ initialiser rows {i, n, z}.
"""
from scipy.stats import norm

for n in (1, 2, 5, 14, 100):
    for i in sorted({1, 2, (n + 1) // 2, n}):
        if i < 1 or i > n:
            continue
        p = (i - 0.375) / (n + 0.25)
        print("    {%d, %d, %.17g}," % (i, n, norm.ppf(p)))
for p in (1e-10, 1e-5, 0.02, 0.02425, 0.3, 0.5, 0.97575, 0.999999):
    print("    {%.17g, %.17g}," % (p, norm.ppf(p)))
