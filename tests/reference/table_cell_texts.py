#!/usr/bin/python3
"""Texts of the measurement table's value cells, written from the rule rather than from the program:

    "%.4f" when that text reads back as the same double and |value| < 1e15, otherwise the shortest
    decimal text that reads back as the same double (Steele and White 1990; Python's repr gives it).

For each value: the value as an exact hexadecimal float, "fixed" = the "%.4f" text when the rule takes
it (empty otherwise), and "digits" = the number of significant digits of the shortest round-trip text
(the count is the same whichever of fixed or exponent notation prints it). Times in days and small
drawdowns are the values that four decimals used to destroy.

Run:  /usr/bin/python3 tests/reference/table_cell_texts.py > tests/data/table_cell_texts.csv
"""
import math

VALUES = [
    5.0, 3.41, 600.0, 6.47, 0.25, -0.5, 0.0,
    5.8e-5, 1.2e-4, 1.0e-4, 6.9444e-4, 0.00347222, 1.0 / 3.0, 0.1 + 0.2, 2.0 / 3.0 * 1e-3,
    0.0001234, 1.5e-7, 123456.789012, 1440.0 / 7.0, 1e-300, 5e-324, 1.7976931348623157e308,
    1e15, 1e16, 123456789012345680.0, 2.5e20, -7.25e-6, 9.99995, 0.00005, 12.34565,
]


def significant_digits(text):
    mantissa = text.lstrip("-").split("e")[0].replace(".", "")
    return len(mantissa.lstrip("0").rstrip("0")) or 1


print("# tests/reference/table_cell_texts.py: value (hex float), fixed (the %.4f text when it reads")
print("# back exactly and |value| < 1e15, else empty), digits (significant digits of the shortest text)")
print("value,fixed,digits")
for v in VALUES:
    fixed = "%.4f" % v
    takes_fixed = float(fixed) == v and abs(v) < 1e15
    print("%s,%s,%d" % (v.hex(), fixed if takes_fixed else "", significant_digits(repr(v))))
