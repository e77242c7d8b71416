#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The field book through the real batch tool, against a reduction of its
own written here from the surveyor's formulas: books made from true figures
(examples/make_field_books.py) must reduce, step by step and check by check,
as this reduction does, back to their true angles and sides within their
noise, and their job must adjust to the true coordinates.  Then a published
two-set round, a distance worked by hand, every refusal of the file and an
incomplete book.

usage: check_field_book.py KORVANET_BATCH EXAMPLES_DIR
"""

import io
import json
import math
import os
import random
import subprocess
import sys
import tempfile
import zipfile

BATCH, EXAMPLES = sys.argv[1], sys.argv[2]
sys.path.insert(0, EXAMPLES)
import make_field_books as fb  # noqa: E402

R = 6371000.0
CIRCLE = 1296000.0  # arc seconds
LETTERS = "ABCD"
# Angle k at station `at` from target `frm` to target `to`, clockwise.
ANGLES = {1: (0, 1, 2), 8: (0, 2, 3), 3: (1, 2, 3), 2: (1, 3, 0),
          5: (2, 3, 0), 4: (2, 0, 1), 7: (3, 0, 1), 6: (3, 1, 2)}
SIDES = {1: (0, 1), 2: (1, 3), 3: (1, 2), 4: (0, 2), 5: (2, 3), 6: (0, 3)}
# 四等 with a 2″ theodolite: 半测回归零差, 2C 互差, 各测回较差 (″); by the EDM's
# class a + b·1 km, 读数较差 and 单程各测回较差 (mm).
DIRECTION_LIMITS = {"half_round_closure": 8, "two_c_range": 13, "set_spread": 9}
DISTANCE_LIMITS = {5: (5, 7), 10: (10, 15)}

failures, checked = [], 0
workspace = tempfile.TemporaryDirectory(prefix="check-field-book-")  # removed at exit


def check(condition, what):
    global checked
    checked += 1
    if not condition:
        failures.append(what)
    return condition


def near(got, expected, tolerance, what):
    """Both none, or both figures within `tolerance`."""
    ok = got is None and expected is None or (None not in (got, expected) and abs(got - expected) <= tolerance)
    return check(ok, f"{what}: {got} against {expected}")


def run(*args, stdin=None):
    return subprocess.run([BATCH, *args], capture_output=True, text=True, input=stdin)


def json_of(result):
    """The first object the tool printed, or {} when it printed none."""
    try:
        return json.loads(result.stdout.splitlines()[0])
    except (IndexError, ValueError):
        return {}


def book_file(name, text):
    path = os.path.join(workspace.name, name)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


def seconds(text):
    """A packed d.mmss reading in arc seconds."""
    d, _, f = text.partition(".")
    f = f.ljust(4, "0")
    return int(d) * 3600 + int(f[:2]) * 60 + float(f[2:4] + "." + f[4:])


def turn(s):
    """Arc seconds into (-180°, 180°]."""
    s %= CIRCLE
    return s - CIRCLE if s > CIRCLE / 2 else s


def circular_mean(values):
    return (values[0] + sum(turn(v - values[0]) for v in values) / len(values)) % CIRCLE


def circular_spread(values):
    return max(turn(v - values[0]) for v in values) - min(turn(v - values[0]) for v in values)


def reduce(book):
    """The book reduced here: stations, angles, distances, sides and checks."""
    judged, checks = bool(book.get("class")), {}
    edm_a, edm_b = book.get("edm", (5, 5))
    reading_limit, set_limit = DISTANCE_LIMITS[5 if edm_a + edm_b <= 5 else 10]

    def add(kind, item, value, limit=None):
        checks[(kind, item)] = (value, limit if judged else None)

    stations, angles = {}, {}
    for at, sets in book["stations"].items():
        name = LETTERS[at]
        if len(sets[0]) == 2:  # 测回法: one angle a set
            by_angle = {}
            for (frm, left_from, right_from), (to, left_to, right_to) in sets:
                k = next(k for k, a in ANGLES.items() if a == (at, frm, to))
                left = (seconds(left_to) - seconds(left_from)) % CIRCLE
                right = (seconds(right_to) - seconds(right_from)) % CIRCLE
                values = by_angle.setdefault(k, [])
                add("half_set_difference", f"∠{k} 第{len(values) + 1}测回", abs(turn(left - right)))
                values.append((left + turn(right - left) / 2) % CIRCLE)
            stations[name] = {"angles": by_angle}
            for k, values in by_angle.items():
                angles[k] = circular_mean(values)
                if len(values) > 1:
                    add("angle_set_spread", f"∠{k}", circular_spread(values))
            continue
        station, by_target = stations.setdefault(name, {"sets": []}), {}
        for j, lines in enumerate(sets, 1):
            twoc = [turn(seconds(left) - seconds(right) - CIRCLE / 2) for _, left, right in lines]
            means = [(seconds(left) - c / 2) % CIRCLE for (_, left, _), c in zip(lines, twoc)]
            closed = len(lines) > 2 and lines[-1][0] == lines[0][0]
            origin = means[0]
            if closed:
                for face, side in ((1, "盘左"), (2, "盘右")):
                    add("half_round_closure", f"{name} 第{j}测回 {side}",
                        abs(turn(seconds(lines[-1][face]) - seconds(lines[0][face]))),
                        DIRECTION_LIMITS["half_round_closure"])
                origin = (means[0] + turn(means[-1] - means[0]) / 2) % CIRCLE
            add("two_c_range", f"{name} 第{j}测回", max(twoc) - min(twoc), DIRECTION_LIMITS["two_c_range"])
            # The first target is exactly 0, on its closing line too.
            reduced = [0.0 if t == lines[0][0] else (m - origin) % CIRCLE for (t, _, _), m in zip(lines, means)]
            station["sets"].append((twoc, means, reduced))
            for (t, _, _), value in zip(lines[:-1] if closed else lines, reduced):
                by_target.setdefault(t, []).append(value)
        station["directions"] = {t: circular_mean(v) for t, v in by_target.items()}
        for t in list(by_target)[1:]:
            if len(by_target[t]) > 1:
                add("set_spread", f"{name}→{LETTERS[t]}", circular_spread(by_target[t]), DIRECTION_LIMITS["set_spread"])
        for k, (a, frm, to) in ANGLES.items():
            if a == at:
                angles[k] = (station["directions"][to] - station["directions"][frm]) % CIRCLE

    # Every record: mean slope, constants, weather, horizontal, surface, plane.
    k_mm, r_mm = book.get("constants", (0, 0))
    atm_a, atm_b = book.get("atmosphere", (281.8, 0.29065))
    heights, points, surface = book["heights"], book["points"], book.get("surface")
    y = [fb.from_meridian(p[1]) for p in points]
    distances = []
    for d in book["distances"]:
        frm, to = d["from"], d["to"]
        readings = [[float(r) for r in s] for s in d["sets"]]
        means = [sum(s) / len(s) for s in readings]
        step = {"mean_slope_m": sum(means) / len(means),
                "reading_spread_mm": max((max(s) - min(s)) * 1000 for s in readings),
                "set_spread_mm": (max(means) - min(means)) * 1000 if len(means) > 1 else None}
        step["constants_mm"] = k_mm + r_mm * step["mean_slope_m"] / 1000
        s1 = s2 = step["mean_slope_m"] + step["constants_mm"] / 1000
        if "met" in d:
            t, p = map(float, d["met"])
            s2 = s1 * (1 + (atm_a - atm_b * p / (1 + 0.003661 * t)) * 1e-6)
        step["meteorological_mm"] = (s2 - s1) * 1000
        horizontal = s2
        if "zenith" in d:
            left, right = (seconds(z) for z in d["zenith"])
            horizontal = s2 * math.sin(math.radians((left - (left + right - CIRCLE) / 2) / 3600))
        elif "heights" in d:
            instrument, reflector = map(float, d["heights"])
            horizontal = math.sqrt(s2**2 - ((heights[to] + reflector) - (heights[frm] + instrument)) ** 2)
        step["horizontal_m"] = dH = dG = horizontal
        step["height_mm"] = step["projection_mm"] = None
        if surface is not None:
            dH = dG = horizontal * (1 + (surface - (heights[frm] + heights[to]) / 2) / R)
            step["height_mm"] = (dH - horizontal) * 1000
        if book.get("projection"):
            dG = dH * (1 + ((y[frm] + y[to]) / 2) ** 2 / (2 * R * R) + (y[to] - y[frm]) ** 2 / (24 * R * R))
            step["projection_mm"] = (dG - dH) * 1000
        step["reduced_m"] = dG
        add("reading_spread", f"{LETTERS[frm]}→{LETTERS[to]}", step["reading_spread_mm"], reading_limit)
        if step["set_spread_mm"] is not None:
            add("distance_set_spread", f"{LETTERS[frm]}→{LETTERS[to]}", step["set_spread_mm"], set_limit)
        distances.append(step)

    sides = {}
    for k, (a, b) in SIDES.items():
        way = [[s["reduced_m"] for s, d in zip(distances, book["distances"]) if (d["from"], d["to"]) == ends]
               for ends in ((a, b), (b, a))]
        if not all(way):
            continue
        forward, back = (sum(w) / len(w) for w in way)
        side = sides[k] = {"forward_m": forward, "back_m": back, "difference_mm": abs(forward - back) * 1000,
                           "limit_mm": 2 * (edm_a + edm_b * (forward + back) / 2000), "reduced_m": (forward + back) / 2}
        item = f"S({k}) {LETTERS[a]}-{LETTERS[b]}"
        add("forward_back", item, side["difference_mm"], side["limit_mm"])
        if surface is not None or book.get("projection"):
            # The plane coordinates carry the projection's share whether or
            # not the sides are reduced to the plane.
            distortion = (surface - (heights[a] + heights[b]) / 2) / R if surface is not None else 0
            distortion += ((y[a] + y[b]) / 2) ** 2 / (2 * R * R)
            checks[("projection_distortion", item)] = (abs(distortion) * 1e6, 25)  # judged for every survey
    return stations, angles, distances, sides, checks


def compare(book, out, what):
    """The tool's object against the reduction here, every figure and verdict."""
    stations, angles, distances, sides, checks = reduce(book)
    arcsec, mm = 0.001, 0.01
    for s in (s for s in out["stations"] if s["method"] == "angle"):
        for a in s["angles"]:
            for j, (got, value) in enumerate(zip(a["sets"], stations[s["station"]]["angles"][a["angle"]])):
                near(turn(got["angle_deg"] * 3600 - value), 0, arcsec, f"{what} ∠{a['angle']} set {j + 1}")
    for s in (s for s in out["stations"] if s["method"] == "direction"):
        mine = stations[s["station"]]
        for j, (got, (twoc, means, reduced)) in enumerate(zip(s["sets"], mine["sets"])):
            for i, line in enumerate(got["lines"]):
                w = f"{what} {s['station']} set {j + 1} line {i + 1}"
                near(line["two_c_arcsec"], twoc[i], arcsec, w + " 2C")
                near(turn(line["mean_deg"] * 3600 - means[i]), 0, arcsec, w + " mean")
                near(turn(line["reduced_deg"] * 3600 - reduced[i]), 0, arcsec, w + " reduced")
        for d in s["directions"]:
            near(turn(d["reduced_deg"] * 3600 - mine["directions"][LETTERS.index(d["target"])]), 0, arcsec,
                 f"{what} direction {s['station']}→{d['target']}")
    check({a["index"] for a in out["angles"]} == set(angles), f"{what}: angles {out['angles']}")
    for a in out["angles"]:
        near(turn(a["degrees"] * 3600 - angles.get(a["index"], 0)), 0, arcsec, f"{what} angle {a['index']}")
    check(len(out["distances"]) == len(distances), f"{what}: {len(out['distances'])} distances")
    for i, (got, mine) in enumerate(zip(out["distances"], distances)):
        for key, value in mine.items():
            near(got[key], value, mm / 1000 if key.endswith("_m") else mm, f"{what} distance {i + 1} {key}")
    check({s["index"] for s in out["sides"]} == set(sides), f"{what}: sides {out['sides']}")
    for s in (s for s in out["sides"] if s["index"] in sides):
        for key, value in sides[s["index"]].items():
            near(s[key], value, mm / 1000 if key.endswith("_m") else mm, f"{what} S({s['index']}) {key}")
    got = {(c["kind"], c["item"]): c for c in out["checks"]}
    check(set(got) == set(checks), f"{what}: checks {sorted(set(got) ^ set(checks))} differ")
    for key in set(got) & set(checks):
        (value, limit), c = checks[key], got[key]
        near(c["value"], value, mm if key[0] in ("forward_back", "reading_spread", "distance_set_spread") else arcsec,
             f"{what} check {key}")
        near(c["limit"], limit, mm, f"{what} limit {key}")
        check(c["passed"] == (None if limit is None else value <= limit), f"{what} verdict {key}: {c['passed']}")
        if c["passed"] is False:
            failed.add(key[0])
    verdicts = [c["passed"] for c in out["checks"] if c["passed"] is not None]
    check(out["compliant"] == (all(verdicts) if book.get("class") else None), f"{what}: compliant {out['compliant']}")
    return angles, sides


def random_book(seed):
    """A plausible braced quadrilateral, clockwise A (south-west) to D, and its book."""
    rng = random.Random(seed)
    zone = 38000000 if rng.random() < 0.3 else 0
    centre = (rng.uniform(2.5e6, 4.5e6), zone + 500000 + rng.uniform(-120000, 120000))
    points = []
    for bearing in (225, 315, 45, 135):
        a, r = math.radians(bearing + rng.uniform(-15, 15)), rng.uniform(800, 1800)
        points.append((round(centre[0] + r * math.cos(a), 3), round(centre[1] + r * math.sin(a), 3)))
    book = {
        "class": "四等" if rng.random() < 0.6 else None,
        "points": points, "heights": [round(rng.uniform(20, 400), 2) for _ in range(4)],
        "names": [f"P{seed}{c}" for c in LETTERS], "d_known": rng.random() < 0.5,
        "edm": rng.choice([(2, 2), (5, 5)]), "constants": (round(rng.uniform(-5, 5), 1), round(rng.uniform(-3, 3), 1)),
        "sets": rng.choice([2, 3]), "closing": rng.random() < 0.7, "vertical": rng.choice(["zenith", "heights"]),
        "met": rng.random() < 0.8, "angle_stations": rng.choice([(), (), (rng.randrange(4),)]),
        "projection": rng.random() < 0.5, "sides": (1, 2, 3, 4, 5, 6), "start": (-0.05, 0.05),
        # Some books are observed badly enough to fail their limits.
        "angle_noise": rng.choice([0.5, 0.5, 5]), "distance_noise": rng.choice([0.8, 0.8, 4]),
    }
    book["tolerance"] = rng.choice([None, 2.5, 3]) if book["class"] else 2.5
    if rng.random() < 0.5:
        book["surface"] = round(rng.uniform(0, 300), 1)
    if not book["d_known"]:
        q1 = rng.uniform(10, 80)
        book["orient"] = (fb.packed((fb.azimuth(points[0], points[1]) - q1) % 360), fb.packed(q1))
    return fb.make_book(book, seed)


def true_figure(book):
    p = book["points"]
    angles = {k: (fb.azimuth(p[at], p[to]) - fb.azimuth(p[at], p[frm])) % 360 * 3600
              for k, (at, frm, to) in ANGLES.items()}
    return angles, {k: math.dist(p[a], p[b]) for k, (a, b) in SIDES.items()}


# Books from true figures: the two examples (their files are this script's
# output) and random ones.
books, failed = [], set()
for name, book, comment in fb.example_books():
    with open(os.path.join(EXAMPLES, name), encoding="utf-8") as f:
        check(f.read() == fb.book_text(book, comment), f"examples/{name} is not what make_field_books.py makes")
    books.append((os.path.join(EXAMPLES, name), book))
for book in map(random_book, range(16)):
    books.append((book_file(f"random-{len(books)}.kvf", fb.book_text(book)), book))

for path, book in books:
    r = run("--fieldbook", "--json", path)
    if not check(r.returncode == 0, f"{path}: exit {r.returncode}, {r.stderr}"):
        continue
    out = json.loads(r.stdout)
    angles, sides = compare(book, out, os.path.basename(path))
    true_angles, true_sides = true_figure(book)
    # Within five times the noise: an angle is the difference of two means
    # over the sets, each a difference of two pointings' means.
    noise = max(book["angle_noise"] / 0.5, book["distance_noise"] / 0.8)
    for k, value in angles.items():
        near(turn(value - true_angles[k]), 0, 5 * book["angle_noise"], f"{path}: angle {k} from the true figure (″)")
    for k, side in sides.items():
        near(side["reduced_m"], true_sides[k], 0.005 * book["distance_noise"], f"{path}: S({k}) from the truth (m)")
    if not check(out["completed"] and out["missing"] == [], f"{path}: incomplete, {out['missing']}"):
        continue
    job = run("--fieldbook", "--job", path)
    check(job.stdout.splitlines() == out["job"], f"{path}: --job is not the JSON's job")
    adjusted = run("--json", "-", stdin=job.stdout)
    check(adjusted.returncode == 0, f"{path}: the job does not adjust: {adjusted.stderr}")
    for p in json.loads(adjusted.stdout)["points"]:
        truth = book["points"][LETTERS.index(p["id"])]
        near(math.hypot(p["x"] - truth[0], p["y"] - truth[1]), 0, 0.02 * noise, f"{path}: adjusted {p['id']} (m)")

# A published round: exam question "整理表中的全圆方向观测法观测记录" (station
# O, two sets to A, B, C, D closed on A), with its answer 0°00′00″,
# 60°20′39″, 225°16′24″, 290°11′57″; found at
# http://222.198.130.40:8081/view/Subject/showsubject.aspx?id=369fd3d72ab44abaa9d90a798923f0d8
# Here its O is station A and its A, B, C are B, C, D; its fourth target is
# left out (a station sees three points), which changes none of the first
# three's figures.  Worked by hand from its readings: 2C in set 2 +6, +18,
# +12 and +6 on closing, range 12″; 各测回较差 48″ (60°21′03″ - 60°20′15″)
# and 24″ (225°16′36″ - 225°16′12″).  Without a tolerance, a class or the
# other stations the book is incomplete.
PUBLISHED = """point A 甲 1000.000 2000.000\npoint B 乙 - -\npoint C 丙 - -\npoint D 丁 1400.000 2900.000
station A\nset\nB 0.0230 180.0236\nC 60.2336 240.2342\nD 225.1906 45.1918\nB 0.0236 180.0242
set\nB 90.0330 270.0324\nC 150.2348 330.2330\nD 315.1942 135.1930\nB 90.0324 270.0318
"""
published = book_file("published.kvf", PUBLISHED)
r = run("--fieldbook", "--json", published)
out = json_of(r)
station = out.get("stations", [{}])[0]
directions = {d["target"]: d for d in station.get("directions", [])}
for target, (dms, spread) in {"B": ((0, 0, 0), None), "C": ((60, 20, 39), 48), "D": ((225, 16, 24), 24)}.items():
    d = directions.get(target, {})
    near(d.get("reduced_deg"), dms[0] + dms[1] / 60 + dms[2] / 3600, 0.001 / 3600, f"published direction {target}")
    near(d.get("spread_arcsec"), spread, 0.001, f"published spread {target}")
near(station.get("sets", [{}, {}])[1].get("two_c_range_arcsec"), 12, 0.001, "published 2C range, set 2")
check(not out.get("completed", True) and out.get("job", 0) is None, "the published book passes for complete")
check({"station B", "S(3)", "tolerance"} <= set(out.get("missing", [])), f"published: missing {out.get('missing')}")
r = run("--fieldbook", "--job", published)
check(r.returncode == 1 and r.stdout == "" and all(m in r.stderr for m in ("station B", "S(3)", "tolerance")),
      f"--job of an incomplete book: exit {r.returncode}, {r.stderr!r}")
for option in ("--html", "--odt"):  # the ODT by korvanet-pdf
    report = os.path.join(workspace.name, "incomplete" + option.replace("--", "."))
    r = run("--fieldbook", option, report, published)
    check(r.returncode == 1 and "station B" in r.stderr and not os.path.exists(report),
          f"{option} of an incomplete book: exit {r.returncode}, {r.stderr!r}")

# Every refusal of the file names its line and why; the book gives nothing.
lines = PUBLISHED.splitlines()
for number, text, why in [
        (5, "statoin A", "不认识的关键字"),
        (8, "A 60.2336 240.2342", "测站本身"),
        (8, "E 60.2336 240.2342", "E"),  # a mistyped target, not the set it is in
        (8, "C 60.6036 240.2342", "分是 60"),
        (8, "C 60.2360 240.2342", "秒是 60"),
        (8, "C 60.2336 242.2342", "180 度"),
        (9, "C 225.1906 45.1918", "已有"),
        (11, "set\nB 90.0330 270.0324\nset", "只有 1 行"),
        (16, "distance A A", "测站本身"),
        (17, "read 1832.4812", "2 至 4 个")]:
    bad = lines[:number - 1] + [text] + lines[number:] if number <= len(lines) else \
        lines + ["distance A B"] * (number - len(lines) - 1) + [text]
    path = book_file("refused.kvf", "\n".join(bad) + "\n")
    for mode in ("--json", "--job"):
        r = run("--fieldbook", mode, path)
        where, _, reason = r.stderr.partition(" 行: ")
        check(r.returncode == 1 and where.endswith(f"第 {number}") and why in reason,
              f"{text!r} ({mode}): exit {r.returncode}, {r.stderr!r}")
    check(json_of(run("--fieldbook", "--json", path)).get("error"), f"{text!r}: no failed object")

# A distance worked by hand, added to known-d.kvf (constants 2.0 mm and
# 1.5 mm/km, the instrument's ppm formula, surface 50.0 m, the Gauss plane):
#   S̄ = (1832.481233 + 1832.481133) / 2 = 1832.481183 m
#   K + R·S̄ = 2.0 + 1.5 × 1.832481 = 4.7487 mm, S1 = 1832.485932 m
#   ppm = 281.8 - 0.29065 × 1003.2 / (1 + 0.003661 × 21.5) = 281.8 - 270.3040 = 11.4960,
#   S2 = S1 (1 + 11.4960e-6) = S1 + 21.0662 mm = 1832.506998 m
#   i = (89°59′03″ + 270°00′52″ - 360°) / 2 = -2.5″, z = 89°59′05.5″,
#   D = S2 sin z = S2 - 0.0641 mm = 1832.506934 m
#   H_m = (45.20 + 60.10) / 2 = 52.65, D_H = D (1 + (50.0 - 52.65) / 6371000) = D - 0.7622 mm = 1832.506172 m
#   y_m = (12736.48 + 12402.88) / 2 = 12569.68, Δy = -333.60 (B as the figure places it):
#   D_g = D_H (1 + 12569.68² / (2 R²) + 333.60² / (24 R²)) = D_H (1 + 1.94627e-6 + 1.1e-10)
#       = D_H + 3.5668 mm = 1832.509739 m
with open(os.path.join(EXAMPLES, "known-d.kvf"), encoding="utf-8") as f:
    hand = book_file("hand.kvf", f.read() + "distance A B\nread 1832.4812 1832.4815 1832.4810\n"
                     "read 1832.4809 1832.4811 1832.4814\nzenith 89.5903 270.0052\nmet 21.5 1003.2\n")
r = run("--fieldbook", "--json", hand)
d = json_of(r).get("distances", [{}])[-1]
for key, value in {"mean_slope_m": 1832.481183, "constants_mm": 4.7487, "meteorological_mm": 21.0662,
                   "horizontal_m": 1832.506934, "height_mm": -0.7622, "projection_mm": 3.5668,
                   "reduced_m": 1832.509739}.items():
    near(d.get(key), value, 0.00001 if key.endswith("_m") else 0.001, f"hand-worked distance {key}")

# --class in place of the book's: 一级's limits for a 2″ theodolite.
r = run("--fieldbook", "--json", "--class", "一级", os.path.join(EXAMPLES, "known-d.kvf"))
limits = {c["limit"] for c in json_of(r).get("checks", []) if c["kind"] == "two_c_range"}
check(limits == {18}, f"--class 一级: 2C limits {limits}")

# The reports of a book's job open with its field sections.
for option in ("--html", "--csv", "--odt"):
    path = os.path.join(workspace.name, "known-d" + option.replace("--", "."))
    r = run("--fieldbook", option, path, os.path.join(EXAMPLES, "known-d.kvf"))
    if check(r.returncode == 0 and os.path.exists(path), f"{option}: exit {r.returncode}, {r.stderr}"):
        with open(path, "rb") as f:
            data = f.read()
        if option == "--odt":
            with zipfile.ZipFile(io.BytesIO(data)) as z:
                data = z.read("content.xml")
        text = data.decode("utf-8-sig")
        check(0 <= text.find("测站 A") < text.find("概况"), f"{option}: the field sections do not open the report")

check(failed >= {"two_c_range", "set_spread", "reading_spread", "forward_back"},
      f"the books fail too few kinds of check: {sorted(failed)}")
print(f"{checked} checks, {len(failures)} failed")
for f in failures[:40]:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
