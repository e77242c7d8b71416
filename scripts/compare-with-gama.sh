#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Adjusts each job a second time with GNU Gama's gama-local, from the file
# korvanet-batch --gama-xml writes, and lays Gama's figures beside ours:
#   - the adjusted coordinates of B, C (and D), twice: once from the
#     approximations in the file (our coordinates), once with them taken out,
#     so that Gama finds its own approximate coordinates and iterates from
#     there;
#   - the a-posteriori m0 and the mean errors mx, my of the determined points.
# A job agrees when every coordinate is within 0.1 mm, m0 within 0.001" and
# every mx, my within 0.1 mm.  A design (精度估算) has error-free
# observations: only its coordinates are compared.
#
# usage: scripts/compare-with-gama.sh GAMA_LOCAL JOB...
#   JOB: a job file, a design (*.design) or a field book (*.kvf)
# environment: KORVANET_BATCH (default build/release/tools/korvanet-batch)
# exit status: 0 when every job agrees, 1 when one does not, 2 on a usage error
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 GAMA_LOCAL JOB..." >&2
    exit 2
fi
gama=$(realpath "$1")
shift
root=$(cd "$(dirname "$0")/.." && pwd)
batch=$(realpath "${KORVANET_BATCH:-$root/build/release/tools/korvanet-batch}")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
n=0
for job in "$@"; do
    n=$((n + 1))
    dir="$work/$n"
    mkdir "$dir"
    case "$job" in
        *.design)
            "$batch" --design --gama-xml "$dir/in.xml" "$job" 2>/dev/null
            "$batch" --design --json "$job" >"$dir/ours.json"
            kind=design
            ;;
        *.kvf)
            "$batch" --fieldbook --gama-xml "$dir/in.xml" "$job" 2>/dev/null
            "$batch" --fieldbook --job "$job" | "$batch" --json - >"$dir/ours.json"
            kind=job
            ;;
        *)
            "$batch" --gama-xml "$dir/in.xml" "$job" 2>/dev/null
            "$batch" --json "$job" >"$dir/ours.json"
            kind=job
            ;;
    esac
    # The same file without the approximations of the adjusted points.
    sed -E 's/(<point id="[^"]*") x="[^"]*" y="[^"]*"( adj="xy")/\1\2/' "$dir/in.xml" >"$dir/own.xml"
    "$gama" "$dir/in.xml" --xml "$dir/out.xml" >/dev/null
    "$gama" "$dir/own.xml" --xml "$dir/own-out.xml" >/dev/null
    python3 - "$job" "$kind" "$dir" <<'EOF' || status=1
import json, math, sys
import xml.etree.ElementTree as ET

job, kind, d = sys.argv[1:4]
IN = "{http://www.gnu.org/software/gama/gama-local}"
OUT = "{http://www.gnu.org/software/gama/gama-local-adjustment}"
ours = json.load(open(d + "/ours.json", encoding="utf-8"))
ids = [p.get("id") for p in ET.parse(d + "/in.xml").getroot().iter(IN + "point")]
by_id = dict(zip(ids, ours["points"]))


def gama(name):
    root = ET.parse(d + "/" + name).getroot()
    adjusted = [(p.findtext(OUT + "id"), float(p.findtext(OUT + "x")), float(p.findtext(OUT + "y")))
                for p in root.find(OUT + "coordinates").find(OUT + "adjusted")]
    m0 = float(root.find(".//" + OUT + "standard-deviation").findtext(OUT + "aposteriori"))
    cov = root.find(".//" + OUT + "cov-mat")
    dim, band = int(cov.findtext(OUT + "dim")), int(cov.findtext(OUT + "band"))
    values = [float(f.text) for f in cov.findall(OUT + "flt")]
    # Rows in the order of the adjusted points above, x then y.
    diagonal, k = [], 0
    for row in range(dim):
        diagonal.append(values[k])
        k += min(band + 1, dim - row)
    return adjusted, m0, diagonal


def coordinate_gap(adjusted):
    return max(max(abs(x - by_id[i]["x"]), abs(y - by_id[i]["y"])) * 1000 for i, x, y in adjusted)


adjusted, m0, diagonal = gama("out.xml")
own, own_m0, _ = gama("own-out.xml")
gap, own_gap = coordinate_gap(adjusted), coordinate_gap(own)
line = f"{job}: coordinates {gap:.6f} mm, from Gama's own approximations {own_gap:.6f} mm"
agrees = gap <= 0.1 and own_gap <= 0.1
if kind == "job":
    sigma_gap = 0
    for n, (i, _, _) in enumerate(adjusted):
        sigma_gap = max(sigma_gap, abs(math.sqrt(diagonal[2 * n]) - by_id[i]["sx_mm"]),
                        abs(math.sqrt(diagonal[2 * n + 1]) - by_id[i]["sy_mm"]))
    m0_gap = abs(m0 - ours["m0_arcsec"])
    line += (f"; m0 ours {ours['m0_arcsec']:.6f}\" Gama {m0:.6f}\" (from its own approximations"
             f" {own_m0:.6f}\"); mx, my {sigma_gap:.6f} mm")
    agrees = agrees and m0_gap <= 0.001 and abs(own_m0 - ours["m0_arcsec"]) <= 0.001 and sigma_gap <= 0.1
else:
    line += f"; Gama m0 {m0:.6f}\" (error-free observations)"
print(("agrees   " if agrees else "DIFFERS  ") + line)
sys.exit(0 if agrees else 1)
EOF
done
exit $status
