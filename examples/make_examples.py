#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the example jobs from true quadrilaterals with random observation noise.

Angles get 2 arc seconds of noise (standard deviation), sides 6 mm; the
seed is fixed so the jobs are reproducible.  Run it from this folder:
    python3 make_examples.py
"""
import math
import random

RHO = math.pi / 180


def azimuth(p, q):
    """Azimuth p -> q in degrees, from +x (north) towards +y (east)."""
    a = math.degrees(math.atan2(q[1] - p[1], q[0] - p[0]))
    return a % 360


def dist(p, q):
    return math.hypot(q[0] - p[0], q[1] - p[1])


def packed(deg):
    """Decimal degrees -> d.mmss with seconds to 0.1 (written as d.mmssS)."""
    sign = -1 if deg < 0 else 1
    total = round(abs(deg) * 36000)  # tenths of a second
    d, rest = divmod(total, 36000)
    m, t = divmod(rest, 600)
    text = f"{d}.{m:02d}{t // 10:02d}{t % 10}"
    return ("-" if sign < 0 else "") + text


def observations(A, B, C, D, rng):
    az = lambda p, q: azimuth(p, q)
    angles = [
        az(A, C) - az(A, B),  # 1 at A, from A-B to A-C
        az(B, A) - az(B, D),  # 2 at B, between B-A and B-D
        az(B, D) - az(B, C),  # 3 at B, between B-D and B-C
        az(C, B) - az(C, A),  # 4 at C, between C-B and C-A
        az(C, A) - az(C, D),  # 5 at C, between C-A and C-D
        az(D, C) - az(D, B),  # 6 at D, between D-C and D-B
        az(D, B) - az(D, A),  # 7 at D, between D-B and D-A
        az(A, D) - az(A, C),  # 8 at A, between A-C and A-D
    ]
    angles = [a % 360 + rng.gauss(0, 2.0) / 3600 for a in angles]
    sides = [dist(A, B), dist(B, D), dist(B, C), dist(A, C), dist(C, D), dist(A, D)]
    sides = [s + rng.gauss(0, 0.006) for s in sides]
    return angles, sides


def write(name, lines):
    with open(name, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def main():
    rng = random.Random(20261208)

    # D known: a figure of 1.8 to 2.9 km sides.
    A = (3521408.250, 512736.480)
    B = (3523210.115, 512402.870)
    C = (3523650.742, 514380.301)
    D = (3521735.980, 514912.655)
    angles, sides = observations(A, B, C, D, rng)
    write("known-d.txt",
          ["2.5", f"{A[0]:.3f}", f"{A[1]:.3f}", f"{D[0]:.3f}", f"{D[1]:.3f}",
           "青龙山", "望江楼", "石门", "东岗"]
          + [packed(a) for a in angles] + [f"{s:.3f}" for s in sides[:5]])

    # D not known: oriented by an exterior azimuth T0 and a measured Q1.
    A = (2856120.400, 438905.770)
    B = (2856980.330, 439420.150)
    C = (2856610.880, 440455.620)
    D = (2855640.210, 439870.040)
    angles, sides = observations(A, B, C, D, rng)
    t0 = 10 + 15 / 60 + 30 / 3600
    q1 = azimuth(A, B) - t0 + rng.gauss(0, 2.0) / 3600
    write("free-d.txt",
          ["3", f"{A[0]:.3f}", f"{A[1]:.3f}", "0", "0", packed(t0), packed(q1),
           "I12", "I13", "II7", "II8"]
          + [packed(a) for a in angles] + [f"{s:.3f}" for s in sides])


if __name__ == "__main__":
    main()
