#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How fast korvanet-batch runs jobs, timed by bash itself:
#  1. a whole --fields job as a process, side by side in one run with
#     /bin/true and a trivial C++ program (one that loads only the C++
#     runtime), launched in turn so that a drift of the machine's speed
#     touches all three alike;
#  2. many --fields jobs in one process, in jobs per second.
# Quote the medians; the machine is shared and its noise shows in the spread.
#
# usage: scripts/bench-batch.sh [BUILD_DIR]      (default build/release)
# environment: ROUNDS (default 7), LAUNCHES per round (default 500),
#              JOBS in the one-process run (default 20000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
batch=$(realpath "$build/tools/korvanet-batch")
rounds=${ROUNDS:-7}
launches=${LAUNCHES:-500}
jobs=${JOBS:-20000}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '#include <iostream>\nint main() { std::cout << ""; }\n' >"$work/trivial.cpp"
g++ -O2 -o "$work/trivial-c++" "$work/trivial.cpp"

echo "== libraries korvanet-batch loads"
ldd "$batch"

# Time only a job that gives the right answer.
cmp -s <("$batch" --fields examples/known-d.txt) examples/known-d.fields ||
  { echo "korvanet-batch --fields does not reproduce examples/known-d.fields" >&2; exit 1; }

# Wall and processor seconds (user + system, the children's included) of a
# command, from bash's own `time`: "WALL CPU" on one line.
TIMEFORMAT='%R %U %S'
timed() { { time "$@" >/dev/null; } 2>&1 | awk '{ printf "%s %.6f\n", $1, $2 + $3 }'; }
launch_loop() { for ((i = 0; i < launches; i++)); do "$@"; done; }
# A quotient of two decimal numbers, by awk (no calculator package needed).
quotient() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.9g", a / b }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Median milliseconds per launch of column $2 (1 wall, 2 cpu) of file $1.
per_ms() { awk -v c="$2" '{ print $c }' "$1" | median | awk -v n="$launches" '{ printf "%.3f", $1 / n * 1000 }'; }

echo
echo "== a whole --fields job as a process: $rounds rounds of $launches launches of each, in turn"
: >"$work/batch" >"$work/true" >"$work/cxx"
for ((r = 0; r < rounds; r++)); do
  timed launch_loop "$batch" --fields examples/known-d.txt >>"$work/batch"
  timed launch_loop /bin/true >>"$work/true"
  timed launch_loop "$work/trivial-c++" >>"$work/cxx"
done
printf '%-34s %9s %9s %14s\n' "per launch (median)" "wall ms" "cpu ms" "wall/true"
tw=$(per_ms "$work/true" 1)
for row in "korvanet-batch --fields known-d:batch" "trivial C++ program:cxx" "/bin/true:true"; do
  w=$(per_ms "$work/${row##*:}" 1)
  printf '%-34s %9s %9s %13.2fx\n' "${row%:*}" "$w" "$(per_ms "$work/${row##*:}" 2)" "$(quotient "$w" "$tw")"
done
echo "(each launch includes the launching shell's fork, alike for all three)"

echo
echo "== many --fields jobs in one process: $jobs example jobs, $rounds runs"
cd examples
list=()
for ((i = 0; i < jobs / 2; i++)); do list+=(known-d.txt free-d.txt); done
: >"$work/many"
for ((r = 0; r < rounds; r++)); do timed "$batch" --fields "${list[@]}" >>"$work/many"; done
for col in 1:wall 2:cpu; do
  s=$(awk -v c="${col%:*}" '{ print $c }' "$work/many" | median)
  printf '%-5s %.3f s (median): %6.0f jobs/s, %6.1f µs a job\n' "${col#*:}" "$s" "$(quotient "$jobs" "$s")" \
    "$(quotient "$s" "$jobs" | awk '{ print $1 * 1000000 }')"
done
