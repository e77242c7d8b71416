#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every C++ file of the source tree is formatted as .clang-format says:
# clang-format --dry-run -Werror names each line it would change.  The files
# are the ones git tracks, or in a tree without git every .cpp and .h outside
# build/.  The tree is formatted with the clang-format of Debian 12 (14).
# usage: scripts/check-format.sh [CLANG_FORMAT [SOURCE_DIR]]
set -euo pipefail
clang_format=${1:-clang-format}
cd "${2:-$(dirname "$0")/..}"
command -v "$clang_format" >/dev/null || { echo "FAIL: no $clang_format (scripts/install-deps.sh installs it)"; exit 1; }
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # (a tracked file deleted in the working tree is not checked)
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h' | while IFS= read -r f; do [ -f "$f" ] && echo "$f"; done)
else
  mapfile -t files < <(find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
fi
[ ${#files[@]} -gt 0 ] || { echo "FAIL: no C++ files found in $PWD"; exit 1; }
"$clang_format" --version
if "$clang_format" --dry-run -Werror "${files[@]}"; then
  echo "${#files[@]} C++ files formatted as .clang-format says"
else
  echo "FAIL: the files named above are not formatted; run: clang-format -i FILE"
  exit 1
fi
