#!/usr/bin/python3
"""Elapsed times of the clock-time fixtures of tests/core/input/test_import_options_clock.cpp, computed
with Python's datetime (independently of the program's calendar arithmetic). Run with Debian's python3."""
from datetime import datetime, timedelta

def elapsed(stamps, start=None, unit=60.0):
    t = [datetime.fromisoformat(s) for s in stamps]
    t0 = datetime.fromisoformat(start) if start else t[0]
    return [(x - t0).total_seconds() / unit for x in t]

# A log across midnight and across the end of February of a leap year, in minutes from the first row.
across = ["2024-02-28 23:58:30", "2024-02-29 00:00:00", "2024-02-29 23:59:59", "2024-03-01 00:00:01"]
print("across midnight, minutes:", [repr(v) for v in elapsed(across)])
# The same rows from a given start 23:55:00 on the first row's day, in hours.
print("from 23:55, hours:", [repr(v) for v in elapsed(across, "2024-02-28 23:55:00", 3600.0)])
# Undated clock times going back at midnight: the next day.
undated = ["2000-01-01 22:30", "2000-01-01 23:45:15", "2000-01-02 00:10", "2000-01-02 01:00"]
print("undated, minutes:", [repr(v) for v in elapsed(undated)])
# Year end.
year = ["2023-12-31T23:59:00", "2024-01-01T00:01:30"]
print("year end, seconds:", [repr(v) for v in elapsed(year, None, 1.0)])
