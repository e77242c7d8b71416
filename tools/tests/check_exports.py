#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The CASS coordinate file and the DXF drawing through the real batch tool,
read back as the next program reads them: the CASS file by Python's CSV
reader (and its gbk codec), the drawing by ezdxf.  Every row and every
entity must hold what --json gives for the same job, a design and the job of
a field book: the coordinates to the millimetre with the report's rounding,
the heights of the book, the observed sides between their points, and each
error ellipse magnified by the factor the drawing states.

usage: check_exports.py KORVANET_BATCH EXAMPLES_DIR
"""

import csv
import decimal
import io
import json
import math
import os
import re
import subprocess
import sys
import tempfile

try:
    import ezdxf
except ImportError:
    sys.exit("check_exports.py needs ezdxf (Debian: python3-ezdxf)")

BATCH, EXAMPLES = sys.argv[1], sys.argv[2]
TMP = tempfile.mkdtemp(prefix="exports-")
LAYERS = ("控制点", "观测边", "误差椭圆", "注记")
failures = []
checked = 0


def check(condition, what):
    global checked
    checked += 1
    if not condition:
        failures.append(what)
    return condition


def run(*args):
    return subprocess.run([BATCH, *args], capture_output=True, text=True, stdin=subprocess.DEVNULL)


def path(name):
    return os.path.join(TMP, name)


def millimetres(value):
    """Metres to three decimals, ties away from zero, on the exact binary value."""
    return str(decimal.Decimal(value).quantize(decimal.Decimal("0.001"), rounding=decimal.ROUND_HALF_UP))


def quality_json(mode, source):
    r = run("--json", *mode, source)
    check(r.returncode == 0, f"--json {source}: {r.stderr}")
    return json.loads(r.stdout.splitlines()[0])


def check_cass(what, points, heights, utf8, gbk):
    """Both files: one CRLF line a point, 点名,编码,Y,X,H."""
    check(utf8.endswith(b"\r\n") and utf8.count(b"\r\n") == 4 and utf8.count(b"\n") == 4,
          f"{what}: four CRLF lines")
    rows = list(csv.reader(io.StringIO(utf8.decode("utf-8"), newline="")))
    check(len(rows) == 4, f"{what}: {len(rows)} rows")
    for row, p in zip(rows, points):
        expected = [p["name"] or p["id"], "", millimetres(p["y"]), millimetres(p["x"]),
                    millimetres(heights.get(p["id"], 0.0))]
        check(row == expected, f"{what}: row {row} != {expected}")
    check(list(csv.reader(io.StringIO(gbk.decode("gbk"), newline=""))) == rows,
          f"{what}: the GBK file holds other rows")
    if any(ord(c) > 127 for p in points for c in p["name"]):
        check(gbk != utf8, f"{what}: the GBK file is UTF-8")
    return rows


def xy(point):
    return (point[0], point[1])


def ellipse_factor(points):
    """The largest 1, 2 or 5 times a power of ten that keeps the largest
    ellipse within a twelfth of the figure's larger extent."""
    largest = max((p["ellipse"]["a_mm"] for p in points if "ellipse" in p), default=0)
    if largest == 0:
        return 1
    size = max(max(p["x"] for p in points) - min(p["x"] for p in points),
               max(p["y"] for p in points) - min(p["y"] for p in points))
    bound = size / 12 / (largest / 1000)
    decade = 10 ** math.floor(math.log10(bound))
    return next(step * decade for step in (5, 2, 1) if step * decade <= bound * (1 + 1e-12))


def check_dxf(what, raw, j):
    doc = ezdxf.read(io.StringIO(raw.decode("gbk")))
    check(doc.encoding == "gbk", f"{what}: code page {doc.encoding}")
    for layer in LAYERS:
        check(doc.layers.has_entry(layer), f"{what}: no layer {layer}")
        check(layer.encode("gbk") in raw, f"{what}: layer {layer} not written in GBK")
    auditor = doc.audit()
    check(not auditor.has_errors and not auditor.has_fixes,
          f"{what}: audit {[e.message for e in auditor.errors + auditor.fixes]}")

    msp = doc.modelspace()
    points = j["points"]
    cad = {p["id"]: (p["y"], p["x"]) for p in points}
    size = max(max(p["x"] for p in points) - min(p["x"] for p in points),
               max(p["y"] for p in points) - min(p["y"] for p in points))

    def near(a, b, tol=1e-6):
        return math.dist(xy(a), xy(b)) <= tol

    drawn = msp.query('POINT[layer=="控制点"]')
    check(len(drawn) == 4, f"{what}: {len(drawn)} POINTs")
    for p in points:
        check(sum(near(e.dxf.location, cad[p["id"]]) for e in drawn) == 1, f"{what}: POINT of {p['id']}")

    names = msp.query('TEXT[layer=="控制点"]')
    check(len(names) == 4, f"{what}: {len(names)} names")
    for p in points:
        label = [t for t in names if t.dxf.text == (p["name"] or p["id"])]
        if check(len(label) == 1, f"{what}: name of {p['id']}"):
            t = label[0]
            at = t.dxf.insert
            nearest = min(points, key=lambda q: math.dist(xy(at), cad[q["id"]]))
            check(nearest is p and math.dist(xy(at), cad[p["id"]]) < 3 * t.dxf.height,
                  f"{what}: name of {p['id']} not beside its point")
            check(size / 200 < t.dxf.height < size / 20, f"{what}: text height {t.dxf.height} for {size} m")

    triangles = [e for e in msp.query('LWPOLYLINE[layer=="控制点"]') if e.closed and len(e) == 3]
    known = [p for p in points if p["known"]]
    check(len(triangles) == len(known), f"{what}: {len(triangles)} triangles for {len(known)} known")
    for p in known:
        round_it = [e for e in triangles
                    if near([sum(v[i] for v in e.get_points("xy")) / 3 for i in (0, 1)], cad[p["id"]], 1e-3)]
        check(len(round_it) == 1, f"{what}: triangle round {p['id']}")

    # The observed sides, found by their adjusted lengths (the six differ).
    sides = [o for o in j["observations"] if o["kind"] == "side"]
    lines = msp.query('LINE[layer=="观测边"]')
    check(len(lines) == len(sides), f"{what}: {len(lines)} lines for {len(sides)} sides")
    for line in lines:
        ends = [next((i for i, c in cad.items() if near(e, c)), None) for e in (line.dxf.start, line.dxf.end)]
        check(None not in ends and ends[0] != ends[1], f"{what}: a side line ends off the points {ends}")
    for o in sides:
        length = o.get("adjusted", o["observed"])  # a design: the length from the coordinates
        matching = [e for e in lines if abs(math.dist(xy(e.dxf.start), xy(e.dxf.end)) - length) < 0.01]
        check(len(matching) == 1, f"{what}: side S({o['index']}) = {length} m drawn {len(matching)} times")

    factor_texts = [t.dxf.text for t in msp.query('TEXT[layer=="误差椭圆"]')]
    stated = [float(m[1]) for t in factor_texts if (m := re.search(r"放大 ([\d.]+) 倍", t))]
    check(stated == [ellipse_factor(points)], f"{what}: factor {factor_texts}, computed {ellipse_factor(points)}")
    k = stated[0] if stated else 1
    rings = [e for e in msp.query('LWPOLYLINE[layer=="误差椭圆"]') if e.closed]
    determined = [p for p in points if "ellipse" in p]
    check(len(rings) == len(determined), f"{what}: {len(rings)} ellipses for {len(determined)} points")
    for p in determined:
        e = p["ellipse"]
        a, b = e["a_mm"] * k / 1000, e["b_mm"] * k / 1000
        t = math.radians(e["azimuth_deg"])
        major, minor = (math.sin(t), math.cos(t)), (math.cos(t), -math.sin(t))  # CAD (east, north)
        cx, cy = cad[p["id"]]
        found = False
        for ring in rings:
            vs = [(x - cx, y - cy) for x, y in ring.get_points("xy")]
            along = [v[0] * major[0] + v[1] * major[1] for v in vs]
            across = [v[0] * minor[0] + v[1] * minor[1] for v in vs]
            on = all(abs((u / a) ** 2 + (w / b) ** 2 - 1) < 1e-6 for u, w in zip(along, across))
            if on and max(along) > 0.98 * a and min(along) < -0.98 * a and max(across) > 0.98 * b:
                found = True
        check(found, f"{what}: no ring on the ellipse of {p['id']} (a {a} m, b {b} m, azimuth {e['azimuth_deg']})")

    notes = " ".join(t.dxf.text for t in msp.query('TEXT[layer=="注记"]'))
    if "sigma0_arcsec" in j:
        check("精度估算" in notes and f"{j['sigma0_arcsec']:.2f}" in notes, f"{what}: design notes {notes}")
    else:
        check(f"m0 = {j['m0_arcsec']:.2f}" in notes, f"{what}: notes {notes} without m0 {j['m0_arcsec']}")


def export(what, mode, source, heights=None):
    """The three files of one figure against its --json."""
    j = quality_json(mode, source)
    tag = re.sub(r"\W", "-", what)
    for name, options in ((f"{tag}.dat", ["--cass"]), (f"{tag}-gbk.dat", ["--cass"]), (f"{tag}.dxf", ["--dxf"])):
        extra = ["--encoding", "gbk"] if name.endswith("-gbk.dat") else []
        r = run(*options, path(name), *extra, *mode, source)
        check(r.returncode == 0 and os.path.exists(path(name)), f"{what} {name}: {r.stderr}")
    with open(path(f"{tag}.dat"), "rb") as f, open(path(f"{tag}-gbk.dat"), "rb") as g:
        rows = check_cass(what, j["points"], heights or {}, f.read(), g.read())
    with open(path(f"{tag}.dxf"), "rb") as f:
        check_dxf(what, f.read(), j)
    return rows


def report_pairs(source):
    """The (X, Y) pairs of the text report, as printed."""
    r = run(source)
    check(r.returncode == 0, f"report of {source}: {r.stderr}")
    return set(re.findall(r"(-?\d+\.\d{3})\s+(-?\d+\.\d{3})", r.stdout))


def job_with(source, changes):
    """The example job with some answer lines replaced: {line number: text}."""
    with open(source, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for number, text in changes.items():
        lines[number - 1] = text
    name = path(f"job-{len(os.listdir(TMP))}.txt")
    with open(name, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    return name


for example in ("known-d", "free-d"):
    job = os.path.join(EXAMPLES, f"{example}.txt")
    rows = export(f"{example} job", [], job)
    # The file and the printed report give the same digits.
    pairs = report_pairs(job)
    for row in rows:
        check((row[3], row[2]) in pairs, f"{example}: {row[0]} X {row[3]} Y {row[2]} not in the report")

    design = os.path.join(EXAMPLES, f"{example}.design")
    export(f"{example} design", ["--design"], design)

    # The field book's job, with the heights the book gives its points.
    book = os.path.join(EXAMPLES, f"{example}.kvf")
    heights = {}
    with open(book, encoding="utf-8") as f:
        for line in f:
            w = line.split()
            if len(w) == 6 and w[0] == "point":
                heights[w[1]] = float(w[5])
    check(len(heights) == 4, f"{book}: heights {heights}")
    r = run("--fieldbook", "--job", book)
    book_job = path(f"{example}-book.txt")
    with open(book_job, "w", encoding="utf-8") as f:
        f.write(r.stdout)
    j = quality_json([], book_job)
    r = run("--cass", path(f"{example}-book.dat"), "--fieldbook", book)
    r2 = run("--cass", path(f"{example}-book-gbk.dat"), "--encoding", "gbk", "--fieldbook", book)
    check(r.returncode == 0 and r2.returncode == 0, f"{book}: {r.stderr} {r2.stderr}")
    with open(path(f"{example}-book.dat"), "rb") as f, open(path(f"{example}-book-gbk.dat"), "rb") as g:
        check_cass(f"{example} field book", j["points"], heights, f.read(), g.read())
    r = run("--dxf", path(f"{example}-book.dxf"), "--fieldbook", book)
    with open(path(f"{example}-book.dxf"), "rb") as f:
        check_dxf(f"{example} field book", f.read(), j)

# A known coordinate typed to the tenth of a millimetre on an exact tie
# (1/16 m): the report rounds it away from zero, and so must the file.
known = os.path.join(EXAMPLES, "known-d.txt")
tie = job_with(known, {2: "3521408.0625"})
rows = export("tie", [], tie)
check(rows[0][3] == "3521408.063", f"tie: A's X written {rows[0][3]}")
check(("3521408.063", rows[0][2]) in report_pairs(tie), "tie: the report shows another X of A")

# A name GBK has no code for: UTF-8 takes it, GBK and the drawing refuse it
# and write nothing.
hangul = "한강"
check(not all(c.encode("gbk", errors="ignore") for c in hangul), "the test's name must be outside GBK")
odd = job_with(known, {7: hangul})
r = run("--cass", path("odd.dat"), odd)
check(r.returncode == 0, f"UTF-8 with {hangul}: {r.stderr}")
with open(path("odd.dat"), encoding="utf-8", newline="") as f:
    check(f.read().split("\r\n")[1].startswith(hangul + ","), "UTF-8 file without the name")
for args, name in ((["--cass", path("odd-gbk.dat"), "--encoding", "gbk"], "odd-gbk.dat"),
                   (["--dxf", path("odd.dxf")], "odd.dxf")):
    r = run(*args, odd)
    check(r.returncode != 0 and "GBK" in r.stderr and hangul in r.stderr, f"{name}: {r.returncode} {r.stderr}")
    check(not os.path.exists(path(name)), f"{name} written with a name GBK cannot hold")

# A comma in a name would shift CASS's columns.
comma = job_with(known, {7: "望江,楼"})
r = run("--cass", path("comma.dat"), comma)
check(r.returncode != 0 and "逗号" in r.stderr and not os.path.exists(path("comma.dat")),
      f"a name with a comma: {r.returncode} {r.stderr}")

# A failed job writes nothing and says why; a folder that does not exist is
# refused with the writer's reason.
failed = job_with(known, {1: "0"})
for option, name in (("--cass", "failed.dat"), ("--dxf", "failed.dxf")):
    r = run(option, path(name), failed)
    check(r.returncode != 0 and "计算中止" in r.stderr, f"{option} of a failed job: {r.returncode} {r.stderr}")
    check(not os.path.exists(path(name)), f"{option}: a failed job wrote {name}")
    missing = path(os.path.join("no-such-folder", name))
    r = run(option, missing, known)
    check(r.returncode != 0 and "无法保存" in r.stderr and missing in r.stderr and "不存在" in r.stderr,
          f"{option} into a missing folder: {r.returncode} {r.stderr}")

if failures:
    print(f"{len(failures)} of {checked} checks failed:")
    for f in failures:
        print("  " + f)
    sys.exit(1)
print(f"all {checked} checks passed")
