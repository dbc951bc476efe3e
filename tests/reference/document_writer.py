#!/usr/bin/python3
"""Independent writer of Tolvex document files (.tvx), for the golden documents of the tests.

The record list, the three record kinds and every default value are written out here from the
document format and the table of defaults, not taken from the program:

  Word    2 bytes, unsigned 16-bit little-endian
  Text    length prefix (one byte below 255; else 0xFF and a 16-bit length below 0xFFFE; else 0xFF,
          0xFFFF and a 32-bit length), then the characters
  Number  a Text holding the value printed with "%20.7e" and a three-digit exponent; float fields are
          rounded to 32-bit float first, table and measurement values are doubles

Each golden document is described by tests/data/documents/<name>.json:

  "changes"  fields that differ from the defaults (scalars and whole arrays), values we know without
             the program (the steps of a command, an imported file parsed here, a logarithmic grid)
  "import"   optional: a delimited measurement file beside the JSON, parsed here by the import rules
             (leading blanks skipped, time up to the first delimiter or blank, drawdown after it,
             both read like atof), and its delimiter
  "grids"    optional: fields computed here on the logarithmic grid 10^(log10 a + j log10(b/a)/(n-1))
  "pins"     values that only the program computes (a type-curve family, fitted parameters, the
             error history). They are regression pins of a reviewed run; their bytes are pins too.

For every document the script writes <name>.tvx and <name>_fields.csv: one row per value the file
holds, "field,index,kind,value", where value is what a reader must get back (a float field as the float
nearest to the file's 8-digit text, a double as that text's value), which the C++ test compares with
the loaded state.

  /usr/bin/python3 tests/reference/document_writer.py              write every document
  /usr/bin/python3 tests/reference/document_writer.py --take-pins  first read the pinned fields of the
        program's files (written by the test with TOLVEX_UPDATE_GOLDEN=1) into the JSON, then write
"""
import argparse
import json
import math
import pathlib
import re
import struct
import sys
from fractions import Fraction

import numpy as np

DATA = pathlib.Path(__file__).resolve().parent.parent / "data" / "documents"
DOCUMENTS = ["default", "typecurves_leaky", "fit_pumping_theis", "import_comma", "changed_fields"]


def f32(x):
    return struct.unpack("<f", struct.pack("<f", float(x)))[0]


# --- defaults of the analysis state -----------------------------------------------------------------

DEFAULT_TIMES = [5.0, 10.0, 15.0, 20.0, 30.0, 45.0, 60.0, 75.0, 90.0, 105.0, 240.0, 360.0, 480.0, 600.0]
DEFAULT_DRAWDOWNS = [3.41, 3.58, 3.97, 4.2, 4.54, 4.88, 5.13, 5.35, 5.55, 5.63, 6.21, 6.36, 6.44, 6.47]


def stehfest(n_terms):
    """Stehfest (1970) coefficients V1..VN, exact rationals, as doubles."""
    n = n_terms // 2
    fact = math.factorial
    v = []
    for i in range(1, n_terms + 1):
        total = Fraction(0)
        for k in range((i + 1) // 2, min(i, n) + 1):
            total += Fraction(k**n * fact(2 * k), fact(n - k) * fact(k) * fact(k - 1) * fact(i - k) * fact(2 * k - i))
        v.append(float((-1) ** (n + i) * total))
    return v


def gauss_legendre(n):
    nodes, weights = np.polynomial.legendre.leggauss(n)  # ascending nodes on [-1, 1]
    return [0.0] + [float(x) for x in nodes], [0.0] + [float(w) for w in weights]


def defaults():
    s = {
        "fileTag": 100, "plotContent": 0, "resultKind": 0, "paramCount": 2,
        "paramVector": [1.0, 1.0] + [0.0] * 8,
        "newRequested": 0, "modified": 0, "spareFlag": 0, "viewToggle": 0,
        # A saved file never says untitled: the flag is cleared before writing.
        "untitled": 0, "modelKind": 0, "spareConst": 3, "guessOnNew": 0, "typeCurvesReady": 0,
        "reportFileName": "test.out", "projectDescription": "Theis Type Curve", "operatorName": "John Doe",
        "pumpingRate": 75.53, "radialDistance": 154.0, "transmissivity": 8.8, "storativity": 1.0e-5,
        "verticalConductivity": 1.0, "aquiferThickness": 10.0, "upperBedConductivity": 0.042,
        "upperBedThickness": 21.0, "lowerBedThickness": 21.0, "lowerBedConductivity": 0.001,
        "upperBedStorativity": 1.0e-4, "lowerBedStorativity": 1.0e-5, "spareParam": 1.0,
        "wellRadius": 7.6, "casingRadius": 7.6, "specificYield": 0.2, "slabThickness": 100.0,
        "fractureStorativity": 1.0e-4, "fractureTransmissivity": 10.0, "matrixStorativity": 0.1,
        "matrixTransmissivity": 1.0,
        "screenLength": 9800.0, "wellDepthInAquifer": 10000.0, "brAquiferThickness": 10000.0,
        "hydraulicConductivity": 62.0, "brRate": 1.0, "brCoefA": 1.0, "brCoefB": 1.0, "brCoefC": 1.0,
        "brLnReRw": 1.0, "brLeOverRw": 1.0,
        "brTableLeRw": [3.5, 5, 10, 20, 30, 50, 70, 100, 200, 300, 500, 1000, 2000],
        "brTableA": [1.6, 1.65, 1.75, 2.2, 2.5, 3.0, 3.6, 4.4, 6.0, 7.0, 8.1, 9.0, 9.75],
        "brTableB": [0.25, 0.25, 0.26, 0.35, 0.35, 0.5, 0.6, 0.75, 1.13, 1.5, 2.13, 2.8, 3.25],
        "brTableC": [0.7, 0.85, 1.2, 1.75, 2.0, 2.75, 3.25, 4.25, 7.0, 8.75, 10.5, 12.25, 13.0],
        "ppObsKind": 0, "ppPiezoL": 0.75, "ppPiezoD": 0.5, "ppPiezoZ": 0.3, "ppWellL": 0.75,
        "ppWellD": 0.5, "ppObsL": 0.75, "ppObsD": 0.5,
        "lppObsKind": 0, "lppPiezoL": 0.75, "lppPiezoD": 0.25, "lppPiezoZ": 0.5, "lppWellL": 0.75,
        "lppWellD": 0.25, "lppObsL": 0.75, "lppObsD": 0.25, "lppPiezoAnis": 0.1, "lppWellAnis": 0.1,
        "mnObsKind": 0, "mnL": 1.0, "mnD": 0.0, "mnZ": 0.5, "mnZ1": 0.0, "mnZ2": 1.0, "mnStorageRatio": 1.0e-9,
        "tcTheisMin": 0.1, "tcTheisMax": 10000.0, "tcTheisCount": 50,
        "tcPpMin": 0.1, "tcPpMax": 10000.0, "tcPpCount": 30,
        "tcPpAnisMin": 0.05, "tcPpAnisMax": 2.0, "tcPpAnisCount": 10,
        "tcLeakyMin": 0.1, "tcLeakyMax": 10000.0, "tcLeakyCount": 30,
        "tcLeakyRbMin": 0.005, "tcLeakyRbMax": 5.0, "tcLeakyRbCount": 20,
        "tcLppMin": 0.1, "tcLppMax": 10000.0, "tcLppCount": 30,
        "tcLppBetaMin": 0.01, "tcLppBetaMax": 2.0, "tcLppBetaCount": 20,
        "tcStorMin": 0.1, "tcStorMax": 10000.0, "tcStorCount": 30,
        "tcStorBetaMin": 0.005, "tcStorBetaMax": 5.0, "tcStorBetaCount": 20,
        "tcSlugAlphaMin": 1.0e-10, "tcSlugAlphaMax": 0.1, "tcSlugAlphaCount": 10,
        "tcSlugBetaMin": 0.002, "tcSlugBetaMax": 100.0, "tcSlugBetaCount": 20,
        "tcMnTdMin": 0.1, "tcMnTdMax": 1.0e7, "tcMnTdCount": 30,
        "tcMnKzMin": 0.001, "tcMnKzMax": 7.0, "tcMnKzCount": 20,
        "tcWrTdMin": 0.1, "tcWrTdMax": 1.0e6, "tcWrTdCount": 20,
        "tcWrLambdaMin": 1.0e-5, "tcWrLambdaMax": 100.0, "tcWrLambdaCount": 10, "tcWrSigma": 100.0,
        "tcBsTdMin": 0.1, "tcBsTdMax": 1.0e6, "tcBsTdCount": 20,
        "tcBsGammaMin": 1.0e-5, "tcBsGammaMax": 100.0, "tcBsGammaCount": 10, "tcBsSigma": 100.0,
        # Computed curves: 20 points + 1 of nothing yet.
        "curveXCount": 20, "curveX": [0.0] * 20, "curveYCount": 20, "curveY": [0.0] * 20,
        "familyCount": 0, "familyValues": [0.0] * 100,
        "plotXMin": 1.0e-9, "plotXMax": 1.0e9, "plotYMin": 0.001, "plotYMax": 1000.0,
        "dataTimeMax": 0.0, "dataDrawdownMin": 0.0, "dataDrawdownMax": 0.0, "lastPlotStyle": 1,
        "allCount": 14, "useFrom": 1, "useTo": 14, "usedCount": 14,
        "allTimes": DEFAULT_TIMES, "allDrawdowns": DEFAULT_DRAWDOWNS,
        "times": DEFAULT_TIMES, "measured": DEFAULT_DRAWDOWNS,
        "calculated": [0.0] * 14,  # allocated but never computed; this program zeroes it
        "maxIterations": 20, "convergenceError": 1.0e-6, "lsMaxIterations": 20, "lsConvergenceError": 0.0005,
        "iterationsDone": 0, "errorHistory": [], "rmsError": 0.0, "lsSumSquares": 0.0, "lsTrialSumSquares": 0.0,
        "gaussCount": 20, "stehfestCount": 12,
        "reservedRowCount": 5,
        "reservedRowsA": [10.0] * 5, "reservedRowsB": [10.0 * j for j in range(5)],
        "reservedRowsC": [10.0 * (j + 1) for j in range(5)],
        "reservedListCount": 0, "reservedList": [0.0] * 200,
        "reservedTripleA": 700.0, "reservedTripleB": 1.0, "reservedTripleC": 3.0,
        "spareOptionKind": 0, "spareRangeMin": 0.001, "spareRangeMax": 3.0, "spareCountA": 10,
        "spareCountB": 20, "spareLowerBound": 0.1, "spareUpperBound": 1.0e6,
        "spareBlock1": [100.0, 10, 1.0e10, 30, 1.0e-6, 0.1],
        "spareBlock2": [0.1, 20, 10000.0, 30, 1.0, 200.0, 1.0e-4],
    }
    # The reserved series, formed in float as the state forms them: by division, addition, doubling
    # and halving from their second element.
    scale, a, b, c = [0.0, 5.0], [0.0, 30.0], [0.0, 5.0], [0.0, 5.0]
    for _ in range(5):
        scale.append(f32(scale[-1] / f32(10.0)))
    for _ in range(7):
        a.append(f32(a[-1] + 10.0))
        b.append(f32(b[-1] * 2.0))
        c.append(f32(c[-1] / 2.0))
    s.update(reservedScale=scale, reservedSeriesA=a, reservedSeriesB=b, reservedSeriesC=c)
    return s


def complete_tables(s):
    """Tables that follow from their counts, unless the document sets them."""
    if "gaussNodes" not in s:
        s["gaussNodes"], s["gaussWeights"] = gauss_legendre(s["gaussCount"])
    if "stehfestWeights" not in s:
        s["stehfestWeights"] = [0.0] + stehfest(s["stehfestCount"])


# --- the record list --------------------------------------------------------------------------------
# (kind, fields, rows): W word, N float Number, D double Number, T text; a record of several fields is
# a Number group, interleaved per row; rows is a range given as (first, end), where an end that is a
# field name means that field's value (+1 for the 1-based tables, which run to count inclusive).

def word(f): return ("W", [f], None)
def num(f): return ("N", [f], None)
def text(f): return ("T", [f], None)


RECORDS = (
    [word("fileTag"), word("plotContent"), word("resultKind"), ("N", ["paramVector"], (0, 10)),
     word("paramCount")]
    + [num(f) for f in ["pumpingRate", "radialDistance", "transmissivity", "storativity",
                        "verticalConductivity", "aquiferThickness", "upperBedConductivity",
                        "upperBedThickness", "lowerBedConductivity", "lowerBedThickness",
                        "upperBedStorativity", "lowerBedStorativity", "spareParam", "wellRadius",
                        "casingRadius"]]
    + [word("reservedRowCount"),
       ("N", ["reservedRowsA", "reservedRowsB", "reservedRowsC"], (0, "reservedRowCount"))]
    + [num(f) for f in ["brCoefA", "brCoefB", "brCoefC", "brLnReRw", "brLeOverRw", "screenLength",
                        "wellDepthInAquifer", "brAquiferThickness", "hydraulicConductivity", "brRate"]]
    + [("N", ["brTableA", "brTableB", "brTableC", "brTableLeRw"], (0, 13))]
    + [num(f) for f in ["specificYield", "slabThickness", "fractureStorativity", "fractureTransmissivity",
                        "matrixStorativity", "matrixTransmissivity"]]
    + [word("newRequested"), word("modified"), word("spareFlag"), word("viewToggle"), text("reportFileName"),
       num("plotXMin"), num("plotXMax"), num("plotYMin"), num("plotYMax"), word("untitled"), word("modelKind"),
       text("projectDescription"), text("operatorName"), word("spareConst"), word("guessOnNew"),
       word("curveXCount"), word("curveYCount"),
       ("N", ["curveX"], (1, "curveXCount")), ("N", ["curveY"], (1, "curveYCount")),
       num("dataDrawdownMin"), num("dataDrawdownMax"), num("dataTimeMax"),
       word("familyCount"), ("N", ["familyValues"], (0, "familyCount")),
       word("reservedListCount"), ("N", ["reservedList"], (0, "reservedListCount")),
       word("typeCurvesReady"),
       num("tcTheisMin"), num("tcTheisMax"), word("tcTheisCount"),
       num("tcPpMin"), num("tcPpMax"), word("tcPpAnisCount"), word("tcPpCount"), num("tcPpAnisMax"),
       num("tcPpAnisMin")]
    + [num(f) for f in ["ppWellD", "ppObsL", "ppObsD", "ppPiezoL", "ppPiezoD", "ppPiezoZ", "ppWellL"]]
    + [word("ppObsKind"),
       num("tcLeakyMin"), num("tcLeakyMax"), word("tcLeakyCount"),
       num("tcLeakyRbMin"), num("tcLeakyRbMax"), word("tcLeakyRbCount"),
       num("tcStorMin"), num("tcStorMax"), word("tcStorCount"),
       num("tcStorBetaMin"), num("tcStorBetaMax"), word("tcStorBetaCount"),
       num("tcLppMin"), num("tcLppMax"), word("tcLppBetaCount"), word("tcLppCount"), num("tcLppBetaMax"),
       num("tcLppBetaMin")]
    + [num(f) for f in ["lppWellD", "lppObsL", "lppObsD", "lppPiezoL", "lppPiezoD", "lppPiezoZ", "lppWellL"]]
    + [word("lppObsKind"), num("lppPiezoAnis"), num("lppWellAnis")]
    # Elements 1 and 3 of the two spare range blocks are counts, written as Words.
    + [("W" if j in (1, 3) else "N", ["spareBlock1"], (j, j + 1)) for j in range(6)]
    + [("W" if j in (1, 3) else "N", ["spareBlock2"], (j, j + 1)) for j in range(7)]
    + [num("tcSlugAlphaMin"), word("tcSlugAlphaCount"), num("tcSlugAlphaMax"), word("tcSlugBetaCount"),
       num("tcSlugBetaMin"), num("tcSlugBetaMax"),
       num("spareRangeMin"), num("spareRangeMax"), word("spareCountB"), word("spareCountA"),
       num("spareLowerBound"), num("spareUpperBound"), word("spareOptionKind"),
       ("N", ["reservedScale"], (0, 7)),
       ("N", ["reservedSeriesB", "reservedSeriesC", "reservedSeriesA"], (0, 9)),
       num("reservedTripleA"), num("reservedTripleB"), num("reservedTripleC"),
       num("tcMnTdMin"), num("tcMnTdMax"), word("tcMnKzCount"), word("tcMnTdCount"), num("tcMnKzMax"),
       num("tcMnKzMin")]
    + [num(f) for f in ["mnD", "mnL", "mnZ", "mnZ1", "mnZ2", "mnStorageRatio"]]
    + [word("mnObsKind"),
       num("tcWrTdMin"), word("tcWrLambdaCount"), num("tcWrTdMax"), word("tcWrTdCount"),
       num("tcWrLambdaMin"), num("tcWrLambdaMax"), num("tcWrSigma"),
       word("stehfestCount"), ("D", ["stehfestWeights"], (0, "stehfestCount")),
       num("tcBsTdMin"), word("tcBsGammaCount"), num("tcBsTdMax"), word("tcBsTdCount"),
       num("tcBsGammaMin"), num("tcBsGammaMax"), num("tcBsSigma"),
       word("usedCount"), word("allCount"), word("useFrom"), word("useTo"),
       ("D", ["allDrawdowns", "allTimes"], (0, "allCount")),
       ("D", ["measured", "calculated", "times"], (0, "usedCount")),
       num("rmsError"), word("lastPlotStyle"), num("convergenceError"), word("maxIterations"),
       word("lsMaxIterations"), word("iterationsDone"), num("lsConvergenceError"), num("lsTrialSumSquares"),
       num("lsSumSquares"), word("gaussCount"),
       ("D", ["gaussNodes", "gaussWeights"], (1, "gaussCount+1")),
       ("N", ["errorHistory"], (0, "iterationsDone"))]
)


def row_range(s, rows):
    first, end = rows
    if isinstance(end, str):
        end = s[end[:-2]] + 1 if end.endswith("+1") else s[end]
    return range(first, end)


def number_text(value):
    """printf "%20.7e" with a signed exponent of at least three digits."""
    t = "%.7e" % value
    mantissa, exponent = t.split("e")
    sign, digits = exponent[0], exponent[1:].lstrip("0").rjust(3, "0")
    return (mantissa + "e" + sign + digits).rjust(20)


def text_bytes(t):
    data = t.encode("latin-1")
    n = len(data)
    if n < 0xFF:
        prefix = struct.pack("<B", n)
    elif n < 0xFFFE:
        prefix = struct.pack("<BH", 0xFF, n)
    else:
        prefix = struct.pack("<BHI", 0xFF, 0xFFFF, n)
    return prefix + data


def atof(t):
    m = re.match(r"\s*[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?", t)
    return float(m.group(0)) if m else 0.0


def elements(s):
    """Every value of the file in order: (kind, field, index or None, value)."""
    for kind, fields, rows in RECORDS:
        if rows is None:
            yield kind, fields[0], None, s[fields[0]]
            continue
        for j in row_range(s, rows):
            for f in fields:
                yield kind, f, j, s[f][j]


def write_document(s):
    out = bytearray()
    rows = []
    for kind, field, index, value in elements(s):
        if kind == "W":
            out += struct.pack("<H", int(value))
            loaded = int(value)
        elif kind == "T":
            out += text_bytes(value)
            loaded = value
        else:
            t = number_text(f32(value) if kind == "N" else float(value))
            out += text_bytes(t)
            loaded = f32(atof(t)) if kind == "N" else atof(t)
        rows.append((field, "" if index is None else index, kind, loaded))
    return bytes(out), rows


def read_document(data):
    """The values of a file, by the record list (reads pins from a file the program wrote)."""
    values, pos = {}, 0

    def take(n):
        nonlocal pos
        part = data[pos:pos + n]
        pos += n
        return part

    def read_text():
        n = take(1)[0]
        if n == 0xFF:
            n = struct.unpack("<H", take(2))[0]
            if n == 0xFFFF:
                n = struct.unpack("<I", take(4))[0]
        return take(n).decode("latin-1")

    view = defaults()
    for kind, fields, rows in RECORDS:
        indices = [None] if rows is None else row_range(view, rows)
        for j in indices:
            for f in fields:
                if kind == "W":
                    v = struct.unpack("<H", take(2))[0]
                elif kind == "T":
                    v = read_text()
                else:
                    v = atof(read_text())
                if j is None:
                    view[f] = values[f] = v
                else:
                    values.setdefault(f, {})[j] = v
    assert pos == len(data), "bytes follow the last record"
    return values


def logarithmic_grid(lo, hi, n):
    """Value j of a range: 10^(log10 min + j log10(max/min)/(n-1)), bounds as the float fields hold them."""
    lo, hi = f32(lo), f32(hi)
    step = math.log10(hi / lo) / (n - 1)
    return [10.0 ** (math.log10(lo) + j * step) for j in range(n)]


def parse_import(path, delimiter):
    times, drawdowns = [], []
    for line in path.read_text().splitlines():
        line = line.lstrip(" ")
        if not line.strip():
            continue
        ends = [i for i in (line.find(delimiter), line.find(" ")) if i >= 0]
        cut = min(ends) if ends else len(line)
        times.append(atof(line[:cut]))
        drawdowns.append(atof(line[cut + 1:]))
    return times, drawdowns


# Counts that size the arrays of the file and the sizes of the program's own tables are kept as they
# are, and so is untitled, which a file always holds as 0.
ARRAY_COUNTS = {"untitled", "paramCount", "reservedRowCount", "curveXCount", "curveYCount", "familyCount",
                "reservedListCount", "stehfestCount", "usedCount", "allCount", "useFrom", "useTo",
                "maxIterations", "iterationsDone", "gaussCount"}


def distinct_scalars(s):
    """Every other scalar gets a value of its own, so that no two records can trade places unseen."""
    k = 0
    for kind, fields, rows in RECORDS:
        field = fields[0]
        if rows is not None or field in ARRAY_COUNTS or kind == "T":
            continue
        k += 1
        s[field] = 100 + k if kind == "W" else 1000.0 + k + 0.25


def document_state(description):
    s = defaults()
    s.update(description.get("changes", {}))
    imported = description.get("import")
    if imported:
        times, drawdowns = parse_import(DATA / imported["file"], imported["delimiter"])
        n = len(times)
        s.update(allCount=n, usedCount=n, useFrom=1, useTo=n, allTimes=times, allDrawdowns=drawdowns,
                 times=times, measured=drawdowns, calculated=[0.0] * n)
    for field, (lo, hi, n, first) in description.get("grids", {}).items():
        s[field] = [0.0] * first + logarithmic_grid(lo, hi, n)
    if description.get("distinct"):
        distinct_scalars(s)
    for field, value in description.get("pins", {}).items():
        s[field] = value
    complete_tables(s)
    return s


def take_pins(name, description):
    path = DATA / (name + ".tvx")
    values = read_document(path.read_bytes())
    for field in description.get("pins", {}):
        v = values[field]
        if isinstance(v, dict):
            v = [v.get(j, 0.0) for j in range(max(v) + 1)]
        description["pins"][field] = v
    (DATA / (name + ".json")).write_text(json.dumps(description, indent=1) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--take-pins", action="store_true")
    args = parser.parse_args()
    for name in DOCUMENTS:
        json_path = DATA / (name + ".json")
        description = json.loads(json_path.read_text()) if json_path.exists() else {}
        if args.take_pins and description.get("pins"):
            take_pins(name, description)
        data, rows = write_document(document_state(description))
        (DATA / (name + ".tvx")).write_bytes(data)
        with open(DATA / (name + "_fields.csv"), "w") as csv:
            pinned = ", ".join(description.get("pins", {})) or "none"
            csv.write("# Values a reader gets back from %s.tvx, written by tests/reference/document_writer.py.\n"
                      "# field,index,kind (W word, N float, D double, T text),value\n"
                      "# Regression pins (values of a reviewed run of the program): %s\n" % (name, pinned))
            for field, index, kind, value in rows:
                csv.write("%s,%s,%s,%s\n" % (field, index, kind, repr(value) if kind in "ND" else value))
        print("%s.tvx: %d bytes, %d values" % (name, len(data), len(rows)))


if __name__ == "__main__":
    sys.exit(main())
