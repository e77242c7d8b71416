#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one test in surroundings of its own, so that no test reads or writes
# the user's settings, files or temporary folder, and two tests running side
# by side (ctest -j) never share a file:
#   HOME and the XDG folders (settings, data, cache, state) fresh and empty,
#   XDG_RUNTIME_DIR of mode 700, TMPDIR (and TEST_TMPDIR for GoogleTest),
#   LeakSanitizer's suppressions of system libraries' leaks,
#   and none of the user's Qt settings that change how a window looks or
#   make Qt Test wait between the keys it types.
# The folder is named after the test's command line, emptied at the start of
# every run and left in the build tree afterwards for a look at what the test
# wrote; CTest never runs one test twice at the same time.
# usage: run_isolated_test.sh ROOT COMMAND [ARGUMENT...]
set -eu
root=${1:?usage: run_isolated_test.sh ROOT COMMAND [ARGUMENT...]}
shift
key=$(printf '%s\n' "$@" | cksum | cut -d ' ' -f 1)
dir="$root/$(basename "$1")-$key"
rm -rf "$dir"
mkdir -p "$dir/home" "$dir/config" "$dir/data" "$dir/cache" "$dir/state" "$dir/runtime" "$dir/tmp"
chmod 700 "$dir/runtime"

export HOME="$dir/home"
export XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" XDG_CACHE_HOME="$dir/cache"
export XDG_STATE_HOME="$dir/state" XDG_RUNTIME_DIR="$dir/runtime"
export TMPDIR="$dir/tmp" TEST_TMPDIR="$dir/tmp"
export QT_QPA_PLATFORM=offscreen
# LeakSanitizer (in the sanitizer builds) is told of the leaks kept inside
# system libraries, whichever way CTest was started; options of the caller's
# own come after ours.
suppressions="$(cd "$(dirname "$0")/.." && pwd)/testing/sanitizers/lsan.supp"
export LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
    QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_IM_MODULE QT_SCALE_FACTOR_ROUNDING_POLICY \
    QTEST_KEYEVENT_DELAY QTEST_MOUSEEVENT_DELAY QTEST_FUNCTION_TIMEOUT
exec "$@"
