#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The batch tool's text modes must start without loading Qt: its ELF file may
# name no Qt library among the libraries it needs.
# usage: check_no_qt.sh PROGRAM
set -euo pipefail
needed=$(readelf --dynamic "$1" | grep '(NEEDED)')
echo "$needed"
# A program that needs nothing at all would mean readelf read the wrong file.
grep -q 'libc\.so' <<<"$needed"
if grep -qi 'qt' <<<"$needed"; then
  echo "FAIL: $1 needs Qt"
  exit 1
fi
