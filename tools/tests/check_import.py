#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The instrument imports through the real batch tool: field books made
from true figures (examples/make_field_books.py) are written here as the
total station would have recorded them, in GSI-16 (sexagesimal, 0.1 mm,
ids K1..K4 mapped by --points, the known points from the station set-ups)
and in GSI-8 (gon and decimal degrees, mm, ids A..D, the known points from
a CSV with a header).  `korvanet-batch --import` must give a book that
reduces to the same angles and sides as the original, to what the format
keeps.  Then every refusal names its line, and public detail surveys are
refused with a clear message.

usage: check_import.py KORVANET_BATCH EXAMPLES_DIR DATA_DIR
"""

import json
import os
import subprocess
import sys
import tempfile

BATCH, EXAMPLES, DATA = sys.argv[1], sys.argv[2], sys.argv[3]
sys.path.insert(0, EXAMPLES)
import make_field_books as fb  # noqa: E402

failures, checked = [], 0
workspace = tempfile.TemporaryDirectory(prefix="check-import-")


def check(condition, what):
    global checked
    checked += 1
    if not condition:
        failures.append(what)
    return condition


def run(*args):
    return subprocess.run([BATCH, *args], capture_output=True, text=True)


def write(name, text):
    path = os.path.join(workspace.name, name)
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    return path


def seconds(text):
    d, _, f = text.partition(".")
    f = f.ljust(4, "0")
    return int(d) * 3600 + int(f[:2]) * 60 + float(f[2:4] + "." + f[4:])


def angle_data(packed, unit):
    """A packed reading as the data of a GSI angle word in `unit`."""
    s = seconds(packed)
    if unit == "4":  # DDD.MMSSs, the tenths of a second as the book has them
        d, rest = divmod(round(s * 10), 36000)
        m, rest = divmod(rest, 600)
        return f"{d}{m:02d}{rest:03d}"
    if unit == "2":
        return str(round(s / 3240 * 1e5))
    return str(round(s / 3600 * 1e5))  # decimal degrees


def length_data(metres, unit):
    return str(round(float(metres) * {"0": 1e3, "6": 1e4, "8": 1e5}[unit]))


def word(wi, unit, data, sixteen, info=".."):
    width = 16 if sixteen else 8
    return f"{wi}.{info}{unit}+{data.rjust(width, '0')} "


def observed(book):
    """The book as the instrument observes it, station by station: each set's
    face I clockwise, then face II back, with the slope distance at the first
    pointing of a measured target on each face.  Yields (station, None) at
    each set-up and (station, (target, face, reading, zenith, slope)) for
    each pointing."""
    zeniths = {(d["from"], d["to"]): d["zenith"] for d in book["distances"]}
    records = {(d["from"], d["to"]): d for d in book["distances"]}
    for at, sets in book["stations"].items():
        yield at, None
        for j, set_lines in enumerate(sets):
            closed = len(set_lines) > 2 and set_lines[-1][0] == set_lines[0][0]
            body = set_lines[:-1] if closed else set_lines
            # Face II turns back: a closed round ends on the book's first line,
            # whose face-II reading is the last one the instrument recorded.
            order_ii = list(range(len(set_lines) - 1, -1, -1)) if closed else [0] + list(range(len(body) - 1, 0, -1))
            measured = set()
            for face, order in ((0, range(len(set_lines))), (1, order_ii)):
                for i in order:
                    t, left, right = set_lines[i]
                    slope = None
                    if (at, t) in records and (t, face) not in measured:
                        measured.add((t, face))
                        slope = records[(at, t)]["sets"][j][face]
                    z = zeniths.get((at, t), ("88.3000", "271.2954"))
                    yield at, (t, face, (left, right)[face], z[face], slope)


def gsi_text(book, ids, sixteen, hz_unit, v_unit, d_unit, coordinates, d_shift=0.0):
    """The book as a GSI file: a set-up block a station, then a block a pointing."""
    lines, block = [], [0]
    star = "*" if sixteen else ""

    def emit(words):
        block[0] += 1
        point = words[0].rjust(16 if sixteen else 8, "0")
        lines.append(f"{star}11{block[0]:04d}+{point} " + "".join(words[1:]))

    for at, pointing in observed(book):
        if pointing is None:
            setup = [ids[at]]
            if coordinates and at in (0, 3):
                x, y = book["points"][at]
                x += d_shift if at == 3 else 0
                setup += [word("84", d_unit, length_data(y, d_unit), sixteen, ".."),
                          word("85", d_unit, length_data(x, d_unit), sixteen, ".."),
                          word("86", d_unit, length_data(book["heights"][at], d_unit), sixteen, "..")]
            setup.append(word("88", d_unit, length_data(1.562, d_unit), sixteen, ".."))
            emit(setup)
            continue
        t, face, reading, zenith, slope = pointing
        words = [ids[t], word("21", hz_unit, angle_data(reading, hz_unit), sixteen, "32"),
                 word("22", v_unit, angle_data(zenith, v_unit), sixteen, "32")]
        if slope is not None:
            words.append(word("31", d_unit, length_data(slope, d_unit), sixteen, ".."))
            words.append(word("51", ".", "17+000", sixteen, ".."))
            words.append(word("87", d_unit, length_data(1.300, d_unit), sixteen, ".."))
        words.append(word("41", ".", "99", sixteen, ".."))
        emit(words)
    return "\r\n".join(lines) + "\r\n"


def raw_text(book, ids):
    """The book as a domestic instrument's text raw data: STA a station, then
    SD + HVD for a pointing with a distance, SA + HV for one without."""
    lines = ["JOB DAY1", "INST NTS"]
    for at, pointing in observed(book):
        if pointing is None:
            lines.append(f"STA {ids[at]},1.562,CTRL")
            continue
        t, face, reading, zenith, slope = pointing
        if slope is None:
            lines += [f"SA {ids[t]},1.300,", f"HV {reading},{zenith}"]
        else:
            lines += [f"SD {ids[t]},1.300,", f"HVD {reading},{zenith},{slope}"]
    return "\r\n".join(lines) + "\r\n"


def reduce(path):
    result = run("--fieldbook", "--json", path)
    try:
        return json.loads(result.stdout.splitlines()[0])
    except (IndexError, ValueError):
        return {}


def compare(original, imported, angle_tol, side_tol_mm, what):
    a, b = reduce(original), reduce(imported)
    check(bool(b.get("angles")), f"{what}: the imported book gives no angles")
    for x, y in zip(a.get("angles", []), b.get("angles", [])):
        check(abs(x["degrees"] - y["degrees"]) * 3600 <= angle_tol,
              f"{what}: angle {x['index']} {y['degrees']} against {x['degrees']}")
    check(len(a.get("sides", [])) == len(b.get("sides", [])) > 0, f"{what}: sides {b.get('sides')}")
    for x, y in zip(a.get("sides", []), b.get("sides", [])):
        check(abs(x["reduced_m"] - y["reduced_m"]) * 1000 <= side_tol_mm,
              f"{what}: side {x['index']} {y['reduced_m']} against {x['reduced_m']}")
    # Each line's 2C is the paper book's: the opening line pairs face I's
    # first reading with face II's last.
    for sa, sb in zip(a.get("stations", []), b.get("stations", [])):
        for ka, kb in zip(sa["sets"], sb["sets"]):
            for la, lb in zip(ka["lines"], kb["lines"]):
                check(abs(la["two_c_arcsec"] - lb["two_c_arcsec"]) <= 2 * angle_tol,
                      f"{what}: station {sa['station']} 2C of {lb['target']} {lb['two_c_arcsec']} against "
                      f"{la['two_c_arcsec']}")
    check(a.get("missing") == b.get("missing"), f"{what}: missing {b.get('missing')} against {a.get('missing')}")


def book_lines(text, key):
    return [line.split() for line in text.splitlines() if line.startswith(key + " ")]


def true_book(seed):
    return fb.make_book({
        "points": [(3521408.250, 512736.480), (3523210.112, 512402.876),
                   (3523650.738, 514380.303), (3521735.980, 514912.655)],
        "heights": [45.20, 60.10, 52.00, 48.30], "names": ["A", "B", "C", "D"],
        "met": False, "constants": (0, 0), "vertical": "zenith", "readings": 2,
    }, seed)


# GSI-16: sexagesimal to 0.1", 0.1 mm, K1..K4 through --points, A and D
# known from their set-ups.
book = true_book(7)
original = write("original-16.kvf", fb.book_text(book))
ids16 = ["K1", "K2", "K3", "K4"]
gsi16_text = gsi_text(book, ids16, True, "4", "4", "6", True)
gsi16 = write("day-16.gsi", gsi16_text)
result = run("--import", gsi16, "--points", "A=K1,B=K2,C=K3,D=K4")
check(result.returncode == 0, f"GSI-16 import failed: {result.stderr}")
imported16 = write("imported-16.kvf", result.stdout)
compare(original, imported16, 0.001, 0.0001, "GSI-16")
points = {p[1]: p for p in book_lines(result.stdout, "point")}
check(points.get("A") == ["point", "A", "K1", "3521408.25", "512736.48", "45.2"], f"GSI-16 A: {points.get('A')}")
check(points.get("B") == ["point", "B", "K2", "-", "-"], f"GSI-16 B: {points.get('B')}")
check(book_lines(result.stdout, "heights")[:1] == [["heights", "1.562", "1.3"]],
      f"GSI-16 heights: {book_lines(result.stdout, 'heights')[:1]}")
check(book_lines(result.stdout, "constants") == [["constants", "0", "0"]] and "met " not in result.stdout,
      "GSI-16: the instrument's distances need constants 0 0 and no met")
check("WI 51 +17+000" in result.stdout and "WI 41 ×" in result.stdout,
      "GSI-16: the book does not say which corrections and words it found")
# A day's file holds more than the figure: a pointing at a point the
# mapping leaves out (BM1, inside a set) and a station beyond it (K9) are
# left out, each with its note, and the book is the figure's; but a set
# whose first target, its zero direction, is left out is refused at its line.
day = gsi16_text.split("\r\n")
extra = day[:3] + [day[2].replace("00000000000000K3", "0000000000000BM1")] + day[3:-1]
extra += [day[0].replace("00000000000000K1", "00000000000000K9"), day[1], ""]
result = run("--import", write("day-extra.gsi", "\r\n".join(extra)), "--points", "A=K1,B=K2,C=K3,D=K4")
check(result.returncode == 0, f"a day with more than the figure: {result.stderr}")
compare(original, write("imported-extra.kvf", result.stdout), 0.001, 0.0001, "GSI-16 with BM1 and K9")
check("照准点 BM1 不在点号对应中" in result.stdout and "测站 K9 不在点号对应中" in result.stdout,
      f"the points left out are not noted: {result.stdout[:800]}")
zero = day[:1] + [day[1][:8] + "0000000000000BM1" + day[1][24:]] + day[2:]
result = run("--import", write("day-zero.gsi", "\r\n".join(zero)), "--points", "A=K1,B=K2,C=K3,D=K4")
check(result.returncode == 1 and "第 2 行" in result.stderr and "起始方向 BM1" in result.stderr,
      f"a zero direction left out: {result.returncode} {result.stderr!r}")

# A CSV of the known points holds over the set-ups, and the book says where
# they disagree: D by 12 mm, A not at all.
(xa, ya), (xd, yd) = book["points"][0], book["points"][3]
csv = write("known-16.csv", f"K1,{xa:.3f},{ya:.3f}\nK4,{xd + 0.012:.3f},{yd:.3f},48.30\n")
result = run("--import", gsi16, csv, "--points", "A=K1,B=K2,C=K3,D=K4")
points = {p[1]: p for p in book_lines(result.stdout, "point")}
check(points.get("D") == ["point", "D", "K4", f"{xd + 0.012:.3f}", f"{yd:.3f}", "48.30"], f"CSV D: {points.get('D')}")
check(sum("不同, 用坐标文件的" in line for line in result.stdout.splitlines()) == 1,
      f"CSV: D's set-up, 12 mm off, is not noted once: {result.stdout[:600]}")

# GSI-8: gon and decimal degrees, mm, ids A..D as they are, A and D from a
# CSV of points whose header orders the columns (eight figures hold no
# coordinates to the millimetre).
book = true_book(8)
original = write("original-8.kvf", fb.book_text(book))
gsi8 = write("day-8.gsi", gsi_text(book, list("ABCD"), False, "2", "3", "0", False))
(xa, ya), (xd, yd) = book["points"][0], book["points"][3]
csv = write("known.csv", f"点号;编码;E;N;H\nA;GPS;{ya:.3f};{xa:.3f};45.20\nD;GPS;{yd:.3f};{xd:.3f};48.30\nQ9;;1;2;3\n")
result = run("--import", gsi8, csv)
check(result.returncode == 0, f"GSI-8 import failed: {result.stderr}")
imported8 = write("imported-8.kvf", result.stdout)
# 0.00001 gon is 0.0324", 0.00001 deg 0.036": the angles keep 0.02",
# the sides the half millimetre of the readings.
compare(original, imported8, 0.05, 0.5, "GSI-8")
points = {p[1]: p for p in book_lines(result.stdout, "point")}
check(points.get("D") == ["point", "D", "D", f"{xd:.3f}", f"{yd:.3f}", "48.30"], f"GSI-8 D: {points.get('D')}")
check("编码 未用" in result.stdout and "Q9" in result.stdout, "GSI-8: the unused column and point are not noted")

# Without the CSV A has no coordinates, and the book says so.
result = run("--import", gsi8)
check(result.returncode == 0 and not book_lines(result.stdout, "point A") and "point A A x y" in result.stdout,
      f"GSI-8 alone: {result.stdout[:400]} {result.stderr}")

# The text raw data of a domestic instrument: the same book through the
# other format, ids P1..P4 mapped by --points; every reading as the book has it.
book = true_book(9)
original = write("original-raw.kvf", fb.book_text(book))
raw = write("day-raw.txt", raw_text(book, ["P1", "P2", "P3", "P4"]))
(xa, ya), (xd, yd) = book["points"][0], book["points"][3]
known = write("known-raw.csv", f"P1\t{xa:.3f}\t{ya:.3f}\t45.2\nP4\t{xd:.3f}\t{yd:.3f}\t48.3\n")
result = run("--import", raw, known, "--points", "A=P1,B=P2,C=P3,D=P4")
check(result.returncode == 0, f"text raw import failed: {result.stderr}")
compare(original, write("imported-raw.kvf", result.stdout), 0.001, 0.0001, "text raw")
check(book_lines(result.stdout, "heights")[:1] == [["heights", "1.562", "1.3"]],
      f"text raw heights: {book_lines(result.stdout, 'heights')[:1]}")

# Every refusal names its line.
head = "*110001+00000000000000K1 88...0+0000000000001500 \n"
k2 = "*110002+00000000000000K2 21.324+0000000001234560 22.324+0000000009000000 "
refusals = [
    ("bad word", head + k2.replace("21.324+", "21.324x") + "\n", "第 2 行", "符号"),
    ("bad unit", head + k2.replace("21.324", "21.320") + "\n", "第 2 行", "不是角度单位"),
    ("before a station", k2 + "\n", "第 1 行", "之前没有设站"),
    ("face II without face I", head + k2.replace("0000009000000", "0000027000000") + "\n", "第 2 行", "盘右"),
    ("unmapped id", head + k2 + "\n", "第 1 行", "K1、K2"),
    ("unknown format", "\n\nhello world\n", "第 3 行", "不认识"),
    ("csv", "点名,x,y\nP1,1.5,abc\n", "第 2 行", "abc"),
]
for what, text, line, why in refusals:
    mapping = [] if what == "unmapped id" else ["--points", "A=K1,B=K2"]
    result = run("--import", write(f"refused-{what}.gsi", text), *mapping)
    check(result.returncode == 1 and line in result.stderr and why in result.stderr and not result.stdout,
          f"{what}: {result.returncode} {result.stderr!r}")
big = write("big.gsi", head * (4 * 1024 * 1024 // len(head) + 1))
result = run("--import", big)
check(result.returncode == 1 and "MiB" in result.stderr, f"too large: {result.stderr!r}")
result = run("--import", workspace.name)
check(result.returncode == 1 and "文件夹" in result.stderr, f"folder: {result.stderr!r}")

# Public detail surveys (tools/tests/data/README): pointings without a
# station set-up are refused with the line, never read as a figure.
for name in ("leica_gsi16_gurob.gsi", "leica_gsi8_ertola.gsi"):
    result = run("--import", os.path.join(DATA, name), "--points", "A=1,B=2,C=3,D=4")
    check(result.returncode == 1 and "第 1 行" in result.stderr and "之前没有设站" in result.stderr,
          f"{name}: {result.returncode} {result.stderr!r}")

print(f"{checked} checks, {len(failures)} failed")
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
