#!/usr/bin/python3
"""Expected content of the data-plot pictures that the render tests check.

The scene: the default pumping test (14 pairs of time and drawdown), after an estimation
(plotContent 2) whose calculated drawdowns are the measured ones plus 0.25, drawn with the default
plotting window; once with the default axes (logarithmic time, linear drawdown) and once with both
axes linear. The layout follows the drawing rules of the plot: the 1200 x 1000 logical space, the
plot frame (200, 250)-(1000, 950), labels "%5.2f" / "1E%d", a 23 x 14 bold font, escapement 900 for the
turned labels of a linear horizontal axis and -900 for the vertical title. Limits, scales and steps are
32-bit floats as the plot stores them; positions are truncated toward zero.

Writes, under tests/data/render/:
  data_plot_texts.csv   every text of the scene in drawing order: string, reference point, escapement
  data_plot_counts.csv  how many lines and polylines of each pen colour, markers and texts
  data_plot_points.csv  the mapped measured points (marker centres) and calculated points
  data_plot_pixels.csv  pixels of a 1200 x 1000 picture (one pixel per logical unit, y down) whose
                        colour the scene fixes

Run:  /usr/bin/python3 tests/reference/render_data_plot.py   (from the repository root)
"""
import csv
import math
import os

import numpy as np

f32 = np.float32

TIMES = [5.0, 10.0, 15.0, 20.0, 30.0, 45.0, 60.0, 75.0, 90.0, 105.0, 240.0, 360.0, 480.0, 600.0]
DRAWDOWNS = [3.41, 3.58, 3.97, 4.2, 4.54, 4.88, 5.13, 5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47]
CALCULATED_SHIFT = 0.25

LEFT, LOWER, RIGHT, UPPER = 200, 250, 1000, 950
W, H = RIGHT - LEFT, UPPER - LOWER
PICTURE_W, PICTURE_H = 1200, 1000


def trunc(v):
    return int(math.trunc(v))


def idiv(a, b):
    """Integer division truncated toward zero, as C does it."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def extents():
    calculated = [d + CALCULATED_SHIFT for d in DRAWDOWNS]
    tmin = min(f32(t) for t in TIMES)
    tmax = max(f32(t) for t in TIMES)
    values = [f32(v) for v in DRAWDOWNS + calculated]
    dmin = f32(float(min(values)) * 0.9)
    dmax = f32(float(max(values)) * 1.1)
    return (tmin, tmax), (dmin, dmax), calculated


def linear_axis(lo, hi, length):
    span = f32(float(hi) - float(lo))
    step = f32(float(span) / 10)
    scale = f32(length / float(span))
    offsets = [trunc(i * float(step) * float(scale)) for i in range(11)]
    labels = ["%5.2f" % (float(lo) + i * float(step)) for i in range(11)]
    return offsets, labels, scale


def decades(lo, hi):
    low = math.floor(math.log10(float(lo)) + 1e-5)
    high = math.ceil(math.log10(float(hi)) - 1e-5)
    return low, max(high, low + 1)


def build(x_log):
    """The scene as lists: texts (string, x, y, escapement), and the counts of the other primitives."""
    (tmin, tmax), (dmin, dmax), calculated = extents()
    texts, lines = [], 0
    # Vertical axis, linear: 11 grid lines, labels at (left - W/8, y + H/75).
    y_offsets, y_labels, y_scale = linear_axis(dmin, dmax, H)
    for off, label in zip(y_offsets, y_labels):
        lines += 1
        texts.append((label, LEFT - W // 8, LOWER + off + H // 75, 0))
    # Horizontal axis.
    if x_log:
        lo, hi = decades(tmin, tmax)
        span = hi - lo
        lines += span * (2 + 2 * 8)
        pitch = trunc(W / span)
        for j in range(span + 1):
            texts.append(("1E%d" % (lo + j), LEFT - W // 50 + pitch * j, LOWER - H // 50, 0))
        x_origin, x_scale = f32(lo), f32(W / span)
    else:
        _, x_labels, x_scale = linear_axis(tmin, tmax, W)
        for i, label in enumerate(x_labels):
            lines += 2
            texts.append((label, LEFT + (W // 10) * i + W // 50, LOWER - H // 50, 900))
        x_origin = tmin
    # Titles: "t" below the horizontal labels, "s" turned to read upwards, centred on the axis height.
    texts.append(("t", LEFT + W // 2, LOWER - (H // 10 if x_log else H // 5), 0))
    texts.append(("s", LEFT - W // 6, LOWER + H // 2 - idiv(H // 50 * 1, 2), -900))

    def map_x(v):
        pos = math.log10(float(f32(v))) if x_log else float(f32(v))
        return trunc((pos - float(x_origin)) * float(x_scale) + LEFT)

    def map_y(v):
        return trunc((float(f32(v)) - float(dmin)) * float(y_scale) + LOWER)

    points = [(map_x(t), map_y(d)) for t, d in zip(TIMES, DRAWDOWNS)]
    calc = [(map_x(t), map_y(c)) for t, c in zip(TIMES, calculated)]
    n = len(TIMES)
    lines += (n - 1) + 2 * n  # the measured line, and a plus sign under every marker
    counts = {
        "black_lines": lines - 2 * n,  # grid lines, ticks and the measured line
        "blue_lines": 2 * n,  # the plus signs under the markers
        "black_polylines": 1,  # the frame
        "blue_polylines": 1,  # the calculated line
        "markers": n,  # ellipses outlined blue, filled yellow
        "texts": len(texts),
    }
    return texts, counts, points, calc


def device(p):
    """Device pixel of a logical point on a 1200 x 1000 picture."""
    return p[0], PICTURE_H - p[1]


def pixels(points, calc):
    """Pixels whose colour the scene fixes; `window` is the half size of the square searched for it
    (0: exactly that pixel), to allow for the rasterisation of a sloping line."""
    rows = []
    rows.append(("background", 1150, 30, (255, 255, 255), 0))
    rows.append(("background inside the frame", *device((960, 900)), (255, 255, 255), 0))
    # The left edge of the frame, between two grid lines.
    rows.append(("frame left edge", *device((LEFT, LOWER + 175)), (0, 0, 0), 0))
    rows.append(("frame upper edge", *device((700, UPPER)), (0, 0, 0), 0))
    # Inside a marker, away from the lines that enter and leave it: the yellow fill.
    for k in (0, 7, 13):
        x, y = points[k]
        rows.append(("marker %d fill" % (k + 1), *device((x - 5, y + 6 if k < 13 else y - 6)),
                     (255, 255, 0), 0))
    # Half way between two calculated points: the blue line.
    for k in (3, 10):
        (x0, y0), (x1, y1) = calc[k], calc[k + 1]
        xm = (x0 + x1) // 2
        ym = y0 + (y1 - y0) * (xm - x0) / (x1 - x0)
        rows.append(("calculated line %d-%d" % (k + 1, k + 2), *device((xm, int(round(ym)))),
                     (0, 0, 255), 1))
    return rows


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "render")
    os.makedirs(root, exist_ok=True)
    with open(os.path.join(root, "data_plot_texts.csv"), "w", newline="") as ft, \
            open(os.path.join(root, "data_plot_counts.csv"), "w", newline="") as fc, \
            open(os.path.join(root, "data_plot_pixels.csv"), "w", newline="") as fp, \
            open(os.path.join(root, "data_plot_points.csv"), "w", newline="") as fq:
        ft.write("# Texts of the data plot in drawing order; written by tests/reference/render_data_plot.py\n")
        fc.write("# Primitive counts of the data plot; written by tests/reference/render_data_plot.py\n")
        fp.write("# Pixels of the 1200x1000 data plot picture (y down); written by "
                 "tests/reference/render_data_plot.py\n")
        fq.write("# Mapped points of the data plot (logical units); written by "
                 "tests/reference/render_data_plot.py\n")
        wt, wc, wp, wq = (csv.writer(f, lineterminator="\n") for f in (ft, fc, fp, fq))
        wq.writerow(["scene", "series", "x", "y"])
        wt.writerow(["scene", "text", "x", "y", "escapement"])
        keys = ["black_lines", "blue_lines", "black_polylines", "blue_polylines", "markers", "texts"]
        wc.writerow(["scene"] + keys)
        wp.writerow(["scene", "what", "x", "y", "red", "green", "blue", "window"])
        for scene, x_log in (("log-time", True), ("linear-time", False)):
            texts, counts, points, calc = build(x_log)
            for text, x, y, esc in texts:
                wt.writerow([scene, "[" + text + "]", x, y, esc])
            wc.writerow([scene] + [counts[k] for k in keys])
            for series, mapped in (("measured", points), ("calculated", calc)):
                for x, y in mapped:
                    wq.writerow([scene, series, x, y])
            for what, x, y, (r, g, b), window in pixels(points, calc):
                wp.writerow([scene, what, x, y, r, g, b, window])


if __name__ == "__main__":
    main()
