#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The gama-local input files of korvanet-batch --gama-xml, written through
the real tool for the example jobs, the reference jobs, a field book, a design
and jobs whose names XML and Gama's point ids make hard: each must be valid
against GNU Gama's schema and must hold the job's own observations.  The
angles and sides are compared digit for digit with the job's answers, their
ends are found from the adjusted coordinates (the angle turned clockwise at
`from` from `bs` to `fs`, the length between `from` and `to`), and the
weights are those of the adjustment: an angle's standard deviation is
sigma0, a side's the one that Baarda's w of --json implies,
|v| / (|w| sqrt(r)).

usage: check_gama_export.py KORVANET_BATCH EXAMPLES_DIR REFERENCE_JOBS_DIR SCHEMA XMLLINT
"""

import json
import math
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from decimal import Decimal

BATCH, EXAMPLES, REFERENCE, SCHEMA, XMLLINT = sys.argv[1:6]
NS = "{http://www.gnu.org/software/gama/gama-local}"
CIRCLE = Decimal(1296000)  # arc seconds

failures, checked = [], 0
work = tempfile.mkdtemp()


def check(condition, what):
    global checked
    checked += 1
    if not condition:
        failures.append(what)
    return condition


def batch(args, stdin=None):
    r = subprocess.run([BATCH] + args, input=stdin, capture_output=True, text=True)
    if r.returncode != 0:
        raise SystemExit(f"korvanet-batch {' '.join(args)} failed: {r.stderr}")
    return r.stdout


def packed_seconds(text):
    """A packed d.mmss answer as typed, in exact arc seconds (sign kept)."""
    sign = -1 if text.startswith("-") else 1
    whole, _, decimals = text.lstrip("+-").partition(".")
    decimals = decimals.ljust(4, "0")
    seconds = Decimal(decimals[2:4] + "." + decimals[4:] + "0")
    return sign * (Decimal(whole) * 3600 + Decimal(decimals[:2]) * 60 + seconds)


def dms_seconds(text):
    """gama-local's d-m-s text in exact arc seconds."""
    d, m, s = text.split("-")
    return Decimal(d) * 3600 + Decimal(m) * 60 + Decimal(s)


def azimuth(p, q):
    """Degrees from north clockwise, x north and y east."""
    return math.degrees(math.atan2(q["y"] - p["y"], q["x"] - p["x"])) % 360


def seconds_apart(a, b):
    return abs((a - b + 180) % 360 - 180) * 3600


def token(name):
    return " ".join(name.split())


def validate(path, label):
    r = subprocess.run([XMLLINT, "--noout", "--schema", SCHEMA, path], capture_output=True, text=True)
    check(r.returncode == 0, f"{label}: not valid against gama-local.xsd: {r.stderr.strip()}")


def check_file(label, path, result, answers=None):
    """One export against the --json of the same run (`result`) and, for a
    job, its answers as typed."""
    validate(path, label)
    root = ET.parse(path).getroot()
    network = root.find(NS + "network")
    check(network.get("axes-xy") == "ne" and network.get("angles") == "left-handed",
          f"{label}: axes and angles {network.attrib}")
    tolerance = result["tolerance_arcsec"]
    sigma_apr = float(network.find(NS + "parameters").get("sigma-apr"))
    check(math.isclose(sigma_apr, tolerance, rel_tol=1e-6),
          f"{label}: sigma-apr {sigma_apr} for sigma0 {tolerance}")

    points = result["points"]
    # An unnamed point takes its letter, as in every export; names that Gama
    # would read alike give way to the letters for all four.
    names = [token(p["name"] or p["id"]) for p in points]
    expected_ids = names if len(set(names)) == 4 and all(names) else list("ABCD")
    xml_points = list(network.iter(NS + "point"))
    check([p.get("id") for p in xml_points] == expected_ids,
          f"{label}: point ids {[p.get('id') for p in xml_points]}, expected {expected_ids}")
    at = {}
    for p, xp in zip(points, xml_points):
        at[xp.get("id")] = p
        fixed = xp.get("fix") == "xy" and xp.get("adj") is None
        free = xp.get("adj") == "xy" and xp.get("fix") is None
        check(fixed if p["known"] else free, f"{label}: point {p['id']} fix {xp.get('fix')} adj {xp.get('adj')}")
        check(float(xp.get("x")) == p["x"] and float(xp.get("y")) == p["y"],
              f"{label}: point {p['id']} at {xp.get('x')}, {xp.get('y')}, the run has {p['x']}, {p['y']}")
    check(points[0]["known"] and not points[1]["known"] and not points[2]["known"], f"{label}: known points")
    d_known = points[3]["known"]

    obs = network.find(NS + "points-observations").findall(NS + "obs")
    children = [c for o in obs for c in o]
    angles = [c for c in children if c.tag == NS + "angle"]
    distances = [c for c in children if c.tag == NS + "distance"]
    azimuths = [c for c in children if c.tag == NS + "azimuth"]
    observed = {(o["kind"], o["index"]): o for o in result["observations"]}
    n_sides = sum(1 for k in observed if k[0] == "side")
    check(len(angles) == 8 and len(distances) == n_sides and len(azimuths) == (0 if d_known else 1)
          and len(children) == len(angles) + len(distances) + len(azimuths),
          f"{label}: {len(angles)} angles, {len(distances)} distances, {len(azimuths)} azimuths")

    if answers is not None:
        first_name = 5 if d_known else 7
        typed_angles = answers[first_name + 4:first_name + 12]
        typed_sides = answers[first_name + 12:]
    for i, a in enumerate(angles, start=1):
        value = dms_seconds(a.get("val"))
        if answers is not None:
            check(value == packed_seconds(typed_angles[i - 1]),
                  f"{label}: angle {i} written {a.get('val')}, typed {typed_angles[i - 1]}")
        else:
            check(abs(float(value) - observed[("angle", i)]["observed"] * 3600) < 1e-5,
                  f"{label}: angle {i} written {a.get('val')}")
        check(float(a.get("stdev")) == float(sigma_apr), f"{label}: angle {i} stdev {a.get('stdev')}")
        s, b, f = at[a.get("from")], at[a.get("bs")], at[a.get("fs")]
        turned = (azimuth(s, f) - azimuth(s, b)) % 360
        check(seconds_apart(turned, float(value) / 3600) < 60,
              f"{label}: angle {i} {a.get('val')} is no angle from {b['id']} to {f['id']} at {s['id']}")
    side_stdevs = set()
    for i, d in enumerate(distances, start=1):
        if answers is not None:
            check(Decimal(d.get("val")) == Decimal(typed_sides[i - 1]),
                  f"{label}: side {i} written {d.get('val')}, typed {typed_sides[i - 1]}")
        else:
            check(float(d.get("val")) == observed[("side", i)]["observed"], f"{label}: side {i} {d.get('val')}")
        p, q = at[d.get("from")], at[d.get("to")]
        check(abs(math.hypot(q["x"] - p["x"], q["y"] - p["y"]) - float(d.get("val"))) < 0.1,
              f"{label}: side {i} {d.get('val')} m does not join {p['id']} and {q['id']}")
        o = observed[("side", i)]
        if o.get("w"):
            implied = abs(o["residual"]) / (abs(o["w"]) * math.sqrt(o["redundancy"]))
            check(math.isclose(float(d.get("stdev")), implied, rel_tol=1e-5),
                  f"{label}: side {i} stdev {d.get('stdev')} mm, the adjustment's {implied}")
        side_stdevs.add(d.get("stdev"))
    check(len(side_stdevs) == 1 and float(side_stdevs.pop()) > 0, f"{label}: side stdevs")

    for z in azimuths:
        check(z.get("from") == expected_ids[0] and z.get("to") == expected_ids[1],
              f"{label}: azimuth from {z.get('from')} to {z.get('to')}")
        value = dms_seconds(z.get("val"))
        check(seconds_apart(azimuth(points[0], points[1]), float(value) / 3600) < 0.05,
              f"{label}: azimuth {z.get('val')} is not that of A-B")
        stdev = float(z.get("stdev"))
        if answers is not None:
            t0, q1 = answers[5], answers[6]
            check(value == ((packed_seconds(t0) + packed_seconds(q1)) % CIRCLE + CIRCLE) % CIRCLE,
                  f"{label}: azimuth {z.get('val')} for T0 {t0} + Q1 {q1}")
            measured_q1 = float(q1) != 0
        else:
            measured_q1 = True
        if measured_q1:
            check(stdev == sigma_apr, f"{label}: azimuth stdev {stdev}, a measured Q1 has sigma0")
        else:
            check(0 < stdev < sigma_apr / 100, f"{label}: azimuth stdev {stdev}, T0 alone is taken as error-free")


def job(label, text):
    path = os.path.join(work, label.replace("/", "_") + ".txt")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    out = os.path.join(work, label.replace("/", "_") + ".xml")
    batch(["--gama-xml", out, path])
    check_file(label, out, json.loads(batch(["--json", path])), text.splitlines())


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


# The examples and the reference jobs: D known, and D determined with a
# positive, a negative and no Q1.
for name in ("known-d", "free-d"):
    job("examples/" + name, read(os.path.join(EXAMPLES, name + ".txt")))
for name in ("known-d", "free-d", "free-d-negative-q1", "free-d-q1-zero"):
    job("reference/" + name, read(os.path.join(REFERENCE, name + ".txt")))

# Names with the characters that end markup, runs of blanks and Chinese; and
# names that Gama would take for one point, which give way to the letters.
known = read(os.path.join(EXAMPLES, "known-d.txt")).splitlines()
job("names/markup", "\n".join(known[:5] + ['R&D <1>', "望 江  楼", 'say "hi"', "O'Neil"] + known[9:]) + "\n")
job("names/alike", "\n".join(known[:5] + ["P1", "P  2", "P 2", "东岗"] + known[9:]) + "\n")
job("names/unnamed", "\n".join(known[:5] + ["", "望江楼", "", "东岗"] + known[9:]) + "\n")
job("names/letter", "\n".join(known[:5] + ["", "A", "石门", "东岗"] + known[9:]) + "\n")

# A field book: its job's answers are what the file must hold.
book = os.path.join(EXAMPLES, "free-d.kvf")
answers = batch(["--fieldbook", "--job", book])
out = os.path.join(work, "book.xml")
batch(["--fieldbook", "--gama-xml", out, book])
check_file("fieldbook/free-d", out, json.loads(batch(["--json", "-"], answers)), answers.splitlines())

# A design: its error-free observations from the approximate coordinates.
for name in ("free-d", "known-d"):
    design = os.path.join(EXAMPLES, name + ".design")
    out = os.path.join(work, name + "-design.xml")
    batch(["--design", "--gama-xml", out, design])
    check_file("design/" + name, out, json.loads(batch(["--design", "--json", design])))

for f in failures:
    print("FAIL", f)
print(f"{checked} checks, {len(failures)} failures")
sys.exit(1 if failures or checked < 300 else 0)
