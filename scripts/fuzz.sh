#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Timed fuzzing of the job fuzz target (tools/fuzz/), for SECONDS seconds,
# starting from the seed jobs and the kept regression cases.  What it learns
# is kept: the fewest inputs that reach code the kept cases do not are added to
# tools/fuzz/regressions/ (named by their SHA-1), and an input that makes the
# target fail is written there too, as crash-… or leak-…, so that ./test
# replays it from then on.  Commit what you mean to keep.
#
# usage: scripts/fuzz.sh SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/fuzz.sh SECONDS (a whole number > 0)" >&2; exit 2; }

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
fuzzer=build/fuzz/tools/fuzz/korvanet-job-fuzzer
seeds=tools/fuzz/corpus
kept=tools/fuzz/regressions
mkdir -p "$kept"

# What the run grows stays in a scratch folder (the first corpus folder is
# the one libFuzzer writes to); only the merge below touches the kept cases.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log=build/fuzz/timed-run.log
status=0
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$kept/" \
  "$work" "$seeds" "$kept" >"$log" 2>&1 || status=$?
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log" || true
if [ $status -ne 0 ]; then
  tail -n 60 "$log"
  echo "The job fuzz target found a fault; its input is kept in $kept/ (whole log: $log)" >&2
  exit 1
fi

# Merge: of what the run found, keep the fewest inputs that reach the code
# edges the seeds and the kept cases do not (edges only, not hit counts, so
# that the kept cases stay few).
merged=$(mktemp -d)
trap 'rm -rf "$work" "$merged"' EXIT
cp "$seeds"/* "$kept"/* "$merged"/
"$fuzzer" -merge=1 -use_counters=0 "$merged" "$work" >build/fuzz/merge.log 2>&1 ||
  { tail -n 30 build/fuzz/merge.log; exit 1; }
added=0
for f in "$merged"/*; do
  name=$(basename "$f")
  [ -e "$seeds/$name" ] || [ -e "$kept/$name" ] || { cp "$f" "$kept/"; added=$((added + 1)); }
done
echo "$added new regression cases in $kept/"
