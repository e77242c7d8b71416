#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every job of the given folders through korvanet-batch and compares the
# box texts, the dialogue and the report with the golden files beside the job.
# usage: check_golden_jobs.sh BATCH DIR...
set -u
batch=$1; shift
failed=0; checked=0
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

check() {  # job, mode flag, golden extension
  local job=$1 flag=$2 ext=$3
  local golden="${job%.txt}.$ext"
  [ -f "$golden" ] || return 0
  checked=$((checked + 1))
  local got="$out/$(basename "${job%.txt}").$ext"
  if [ -n "$flag" ]; then "$batch" "$flag" "$job" >"$got" 2>"$out/err"; else "$batch" "$job" >"$got" 2>"$out/err"; fi
  local rc=$?
  if [ $rc -ne 0 ]; then
    echo "FAIL $golden: korvanet-batch exited $rc: $(cat "$out/err")"
    failed=$((failed + 1))
  elif ! diff -u "$golden" "$got"; then
    echo "FAIL $golden differs (above)"
    failed=$((failed + 1))
  else
    echo "ok   $golden"
  fi
}

for dir in "$@"; do
  for job in "$dir"/*.txt; do
    [ -f "$job" ] || continue
    check "$job" --fields fields
    check "$job" --transcript transcript
    check "$job" "" report
  done
done
echo "$checked golden files checked, $failed failed"
[ $checked -gt 0 ] && [ $failed -eq 0 ]
