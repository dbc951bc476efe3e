#!/usr/bin/python3
"""The straight line of Cooper and Jacob (1946) through the pumping-test sample, independently of the
program: numpy's least-squares line of the drawdown s on log10(t) over the 14 measurements of the
sample (all in use). Its slope is the drawdown per log cycle of time, and the time where it crosses
s = 0 is t0 = 10^(-intercept / slope).

Writes tests/data/reference/result_summary.csv: case, quantity, value.
Run with Debian's /usr/bin/python3 (numpy):
    /usr/bin/python3 tests/reference/result_summary_reference.py
"""

import os

import numpy as np

SAMPLE_T = [5.0, 10.0, 15.0, 20.0, 30.0, 45.0, 60.0, 75.0, 90.0, 105.0, 240.0, 360.0, 480.0, 600.0]
SAMPLE_S = [3.41, 3.58, 3.97, 4.2, 4.54, 4.88, 5.13, 5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47]


def main():
    slope, intercept = np.polyfit(np.log10(SAMPLE_T), SAMPLE_S, 1)
    t0 = 10.0 ** (-intercept / slope)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "reference",
                       "result_summary.csv")
    with open(out, "w") as fh:
        fh.write("# Jacob's straight line through the pumping-test sample: numpy.polyfit of s on log10 t\n"
                 "# (tests/reference/result_summary_reference.py)\n")
        fh.write("case,quantity,value\n")
        fh.write("jacob_sample,drawdownPerLogCycle,%.12g\n" % slope)
        fh.write("jacob_sample,zeroDrawdownTime,%.12g\n" % t0)


if __name__ == "__main__":
    main()
