#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the example field books (.kvf) from the true example figures.

A book is what the theodolite and the EDM would have read on a true
figure: at each station sets of face-left and face-right readings with the
instrument's collimation error (2C), its index error on the zenith, and
pointing noise; for each side sets of slope readings, measured from both
ends.  Each distance is worked backwards from the true plane side through
the Gauss plane, the computation surface, the slope, the weather and the
instrument's constants, so that the book reduces back to the true figure
within its noise.  tools/tests/check_field_book.py makes its random books
here too.  The seed is fixed, so the books are reproducible.  Run it from
this folder:
    python3 make_field_books.py
"""
import math
import random

EARTH_RADIUS = 6371000.0
LETTERS = "ABCD"
SIDE_ENDS = {1: (0, 1), 2: (1, 3), 3: (1, 2), 4: (0, 2), 5: (2, 3), 6: (0, 3)}
# Each station's targets clockwise, from the one its rounds start at: the
# figure's two angles at the station lie between them.
ROUNDS = {0: (1, 2, 3), 1: (2, 3, 0), 2: (3, 0, 1), 3: (0, 1, 2)}


def azimuth(p, q):
    """Azimuth p -> q in degrees, from +x (north) towards +y (east)."""
    return math.degrees(math.atan2(q[1] - p[1], q[0] - p[0])) % 360


def packed(deg, decimals=1):
    """Degrees in [0, 360) -> d.mmss with the seconds to `decimals` decimals."""
    scale = 10**decimals
    total = round(deg * 3600 * scale) % (1296000 * scale)
    d, rest = divmod(total, 3600 * scale)
    m, s = divmod(rest, 60 * scale)
    whole, part = divmod(s, scale)
    return f"{d}.{m:02d}{whole:02d}" + (f"{part:0{decimals}d}" if decimals else "")


def from_meridian(y):
    """y on the Gauss plane without the zone number and the false easting."""
    return (y % 1e6 if y >= 1e6 else y) - 500000


def slope_readings(plane, a, b, book, rng, up):
    """The record a -> b: its slope readings and its vertical data, worked
    backwards from the true plane distance."""
    pa, pb = book["points"][a], book["points"][b]
    ha, hb = book["heights"][a], book["heights"][b]
    d = plane
    if book.get("projection"):
        ym = (from_meridian(pa[1]) + from_meridian(pb[1])) / 2
        dy = from_meridian(pb[1]) - from_meridian(pa[1])
        d /= 1 + ym * ym / (2 * EARTH_RADIUS**2) + dy * dy / (24 * EARTH_RADIUS**2)
    if book.get("surface") is not None:
        d /= 1 + (book["surface"] - (ha + hb) / 2) / EARTH_RADIUS
    instrument, reflector = round(rng.uniform(1.35, 1.65), 3), round(rng.uniform(1.3, 1.8), 3)
    dh = (hb + reflector) - (ha + instrument)
    record = {"from": a, "to": b}
    if up == "zenith":
        z = math.degrees(math.atan2(d, dh))
        index = book["index_error"] / 3600
        record["zenith"] = (packed(z + index + rng.gauss(0, 0.3) / 3600),
                            packed(360 - z + index + rng.gauss(0, 0.3) / 3600))
        s2 = math.hypot(d, dh)
    elif up == "heights":
        record["heights"] = (f"{instrument:.3f}", f"{reflector:.3f}")
        s2 = math.hypot(d, dh)
    else:
        s2 = d
    s1 = s2
    if book.get("met", True):
        t, p = round(rng.uniform(12, 28), 1), round(rng.uniform(990, 1015), 1)
        ka, kb = book.get("atmosphere", (281.8, 0.29065))
        s1 = s2 / (1 + (ka - kb * p / (1 + 0.003661 * t)) * 1e-6)
        record["met"] = (f"{t:.1f}", f"{p:.1f}")
    k, r = book.get("constants", (0, 0))
    noise = book["distance_noise"] / 1000  # m
    mean = (s1 - k / 1000) / (1 + r / 1e6) + rng.gauss(0, noise)
    record["sets"] = []
    for _ in range(book["distance_sets"]):
        centre = mean + rng.gauss(0, noise)
        record["sets"].append([f"{centre + rng.gauss(0, noise / 2):.4f}" for _ in range(book["readings"])])
    return record


def face_readings(direction, collimation, rng, noise):
    """Face left and face right of one pointing, degrees, packed."""
    left = direction + (collimation + rng.gauss(0, noise)) / 3600
    right = direction + 180 - (collimation + rng.gauss(0, noise)) / 3600
    return packed(left % 360), packed(right % 360)


def station_sets(book, at, rng):
    """The station's sets: rounds of directions, or 测回法 angles."""
    p = book["points"]
    n = book["sets"]
    collimation = rng.uniform(-6, 6)  # arc seconds: half the 2C
    noise = book["angle_noise"]
    setting = book.get("start", (0, 0.05))  # degrees: where the circle is set for the first set
    targets = ROUNDS[at]
    sets = []
    if at in book.get("angle_stations", ()):
        # 测回法: each of the figure's two angles at the station on its own.
        for first, second in ((targets[0], targets[1]), (targets[1], targets[2])):
            for j in range(n):
                origin = (j * 180 / n + rng.uniform(*setting)) % 360
                turn = azimuth(p[at], p[second]) - azimuth(p[at], p[first])
                sets.append([(first, *face_readings(origin, collimation, rng, noise)),
                             (second, *face_readings(origin + turn % 360, collimation, rng, noise))])
        return sets
    for j in range(n):
        origin = (j * 180 / n + rng.uniform(*setting)) % 360
        start = azimuth(p[at], p[targets[0]])
        lines = [(t, *face_readings(origin + (azimuth(p[at], p[t]) - start) % 360, collimation, rng, noise))
                 for t in targets]
        if book.get("closing", True):
            drift = rng.gauss(0, noise) / 3600
            lines.append((targets[0], *face_readings(origin + drift, collimation, rng, noise)))
        sets.append(lines)
    return sets


def make_book(book, seed):
    """Fills in the observations of `book` (a dict: points, heights, names
    and the book's settings) from its true figure."""
    rng = random.Random(seed)
    book.setdefault("sets", 2)
    book.setdefault("distance_sets", 2)
    book.setdefault("readings", 3)
    book.setdefault("angle_noise", 0.5)
    book.setdefault("distance_noise", 0.8)
    book.setdefault("index_error", rng.uniform(-12, 12))
    book["stations"] = {at: station_sets(book, at, rng) for at in range(4)}
    p = book["points"]
    book["distances"] = []
    for side in book.get("sides", (1, 2, 3, 4, 5)):
        a, b = SIDE_ENDS[side]
        plane = math.dist(p[a], p[b])
        for frm, to in ((a, b), (b, a)):
            book["distances"].append(slope_readings(plane, frm, to, book, rng, book.get("vertical", "zenith")))
    return book


def book_text(book, comment=""):
    """The book as a .kvf file."""
    out = [f"# {line}" for line in comment.splitlines()]
    if book.get("tolerance") is not None:
        out.append(f"tolerance {book['tolerance']}")
    for i, letter in enumerate(LETTERS):
        x, y = book["points"][i]
        known = i == 0 or (i == 3 and book.get("d_known", True))
        coordinates = f"{x:.3f} {y:.3f}" if known else "- -"
        out.append(f"point {letter} {book['names'][i]} {coordinates} {book['heights'][i]:.2f}")
    if not book.get("d_known", True):
        out.append(f"orient {book['orient'][0]} {book['orient'][1]}")
    out.append(f"theodolite {book.get('theodolite', 2)}")
    if book.get("class"):
        out.append(f"class {book['class']}")
    out.append("edm {} {}".format(*book.get("edm", (5, 5))))
    out.append("constants {} {}".format(*book.get("constants", (0, 0))))
    if "atmosphere" in book:
        out.append("atmosphere {} {}".format(*book["atmosphere"]))
    if book.get("surface") is not None:
        out.append(f"surface {book['surface']}")
    if book.get("projection"):
        out.append("projection")
    for at in range(4):
        out.append(f"station {LETTERS[at]}")
        for lines in book["stations"][at]:
            out.append("set")
            out += [f"{LETTERS[t]} {left} {right}" for t, left, right in lines]
    for d in book["distances"]:
        out.append(f"distance {LETTERS[d['from']]} {LETTERS[d['to']]}")
        out += ["read " + " ".join(s) for s in d["sets"]]
        if "zenith" in d:
            out.append("zenith {} {}".format(*d["zenith"]))
        if "heights" in d:
            out.append("heights {} {}".format(*d["heights"]))
        if "met" in d:
            out.append("met {} {}".format(*d["met"]))
    return "\n".join(out) + "\n"


def example_books():
    """The two example books: (file, book, comment).  The adjusted coordinates
    of the example jobs (korvanet-batch --json known-d.txt, free-d.txt) are
    their truth; the heights are invented."""
    known = make_book({
        "tolerance": 2.5,
        "points": [(3521408.250, 512736.480), (3523210.112, 512402.876),
                   (3523650.738, 514380.303), (3521735.980, 514912.655)],
        "heights": [45.20, 60.10, 52.00, 48.30],
        "names": ["青龙山", "望江楼", "石门", "东岗"],
        "class": "四等", "edm": (2, 2), "constants": (2.0, 1.5),
        "surface": 50.0, "projection": True, "vertical": "zenith",
    }, 20261209)
    free = make_book({
        "tolerance": 3,
        "points": [(2856120.400, 438905.770), (2856980.332, 439420.148),
                   (2856610.889, 440455.618), (2855640.216, 439870.040)],
        "heights": [112.40, 118.75, 131.20, 109.85],
        "names": ["I12", "I13", "II7", "II8"],
        "d_known": False, "orient": ("10.15300", "20.37405"),
        "class": "四等", "edm": (5, 5), "constants": (-3.0, 0),
        "angle_stations": (1,), "vertical": "heights", "sides": (1, 2, 3, 4, 5, 6),
    }, 20261210)
    return [
        ("known-d.kvf", known,
         "The field book of known-d.txt: four stations by 方向观测法, two sets each,\n"
         "sides measured both ways with zenith readings, reduced to the surface\n"
         "and the Gauss plane.  Made by make_field_books.py."),
        ("free-d.kvf", free,
         "The field book of free-d.txt: station B by 测回法, the others by\n"
         "方向观测法, two sets each; sides measured both ways with the instrument\n"
         "and reflector heights.  Made by make_field_books.py."),
    ]


def main():
    for name, book, comment in example_books():
        with open(name, "w", encoding="utf-8") as f:
            f.write(book_text(book, comment))


if __name__ == "__main__":
    main()
