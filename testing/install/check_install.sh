#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch DESTDIR, as a package would lay it out
# under /usr, and checks what a user gets: only the programs in bin/, the
# installed korvanet-batch giving the golden report of the installed example
# job (and a PDF), and desktop entry, metainfo, job type and manual pages that
# the desktop's own tools accept and that agree with each other.
# usage: check_install.sh CMAKE BUILD_DIR SOURCE_DIR VERSION APP_ID PROGRAM...
set -u
cmake=$1 build=$2 source=$3 version=$4 app_id=$5
shift 5
programs=("$@")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
prefix=$root/usr
share=$prefix/share
failed=0
fail() { echo "FAIL $*"; failed=$((failed + 1)); }

if ! DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$tmp/install.log" 2>&1; then
  cat "$tmp/install.log"
  echo "FAIL cmake --install"
  exit 1
fi

# Nothing but the programs in bin/, nothing beside bin/ and share/.
expected=$(printf '%s\n' "${programs[@]}" | sort)
got=$(ls "$prefix/bin" | sort)
[ "$got" = "$expected" ] || fail "bin/ holds [$(echo $got)], expected [$(echo $expected)]"
[ "$(ls "$prefix" | sort | tr '\n' ' ')" = "bin share " ] || fail "the prefix holds $(ls "$prefix" | tr '\n' ' ')"

# An installed program must not look for libraries in the build or source tree.
for p in "$prefix"/bin/*; do
  if readelf -d "$p" | grep -E 'R(UN)?PATH' | grep -q -e "$build" -e "$source"; then
    fail "$(basename "$p") looks for libraries in the build or source tree: $(readelf -d "$p" | grep -E 'R(UN)?PATH')"
  fi
done

# The installed tool on the installed example job, from an unrelated folder.
batch=$prefix/bin/korvanet-batch
job=$share/doc/korvanet/examples/known-d.txt
mkdir "$tmp/elsewhere" && cd "$tmp/elsewhere" || exit 1
if ! "$batch" "$job" >"$tmp/known-d.report" 2>"$tmp/err"; then
  fail "installed korvanet-batch on $job: $(cat "$tmp/err")"
elif ! cmp "$source/examples/known-d.report" "$tmp/known-d.report"; then
  diff -u "$source/examples/known-d.report" "$tmp/known-d.report" | head -40
  fail "installed korvanet-batch's report differs from examples/known-d.report"
fi

# The order classes, from the table installed under share/korvanet/.
if ! "$batch" --json --class 四等 "$job" >"$tmp/known-d.json" 2>"$tmp/err"; then
  fail "installed korvanet-batch --json --class 四等: $(cat "$tmp/err")"
elif ! grep -q '"compliant":' "$tmp/known-d.json"; then
  fail "the installed tool's JSON has no class checks"
fi

# A design (精度估算) from the installed example, with the installed class table.
if ! "$batch" --design --class 四等 "$share/doc/korvanet/examples/known-d.design" >"$tmp/design.txt" 2>"$tmp/err"; then
  fail "installed korvanet-batch --design: $(cat "$tmp/err")"
elif ! head -1 "$tmp/design.txt" | grep -q '^精度估算'; then
  fail "the installed tool's design does not say 精度估算"
fi

# --pdf, through whatever the installed tool runs for it.
if ! "$batch" --pdf "$tmp/known-d.pdf" "$job" >/dev/null 2>"$tmp/err"; then
  fail "installed korvanet-batch --pdf: $(cat "$tmp/err")"
elif ! pdftotext "$tmp/known-d.pdf" - | grep -q '青龙山'; then
  fail "the installed tool's PDF lacks the name of A"
fi

# The version the package is built as.
"$batch" --version >"$tmp/version" 2>"$tmp/err"
rc=$?
if [ $rc -ne 0 ] || [ "$(cat "$tmp/version")" != "korvanet-batch $version" ]; then
  fail "korvanet-batch --version printed '$(cat "$tmp/version")' (exit $rc), expected 'korvanet-batch $version'"
fi

# The licence as Debian reads it (DEP-5).
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$share/doc/korvanet/copyright" || fail "no machine-readable copyright file in share/doc/korvanet"

# The desktop entry and the metainfo pass the desktop's validators.
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"

# ... and agree with each other and with what got installed.
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon for Icon=$icon"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$prefix/bin/$exec_program" ] || fail "Exec=$exec_program is not an installed program"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$share/applications/$launchable" ] || fail "metainfo launches $launchable, which is not installed"
release=$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$metainfo" | head -1)
[ "$release" = "$version" ] || fail "the metainfo's newest release is $release, the program is $version"

# Every job type the desktop entry claims is defined by the installed MIME
# package, as the shared MIME database compiles it.
mkdir -p "$tmp/mime/packages" && cp "$share"/mime/packages/*.xml "$tmp/mime/packages/"
if ! XDG_DATA_DIRS=$tmp update-mime-database "$tmp/mime" 2>"$tmp/err" || [ -s "$tmp/err" ]; then
  fail "update-mime-database: $(cat "$tmp/err")"
fi
for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
  grep -q "^[0-9]*:$type:" "$tmp/mime/globs2" || fail "no file name pattern defines $type"
done

# The manual pages (compressed, as Debian asks): well-formed for groff and
# man-db, and korvanet-batch's page documents every option its usage text names.
for page in "$share"/man/man1/*.1.gz; do
  [ -e "$page" ] || { fail "no compressed manual page in $share/man/man1"; continue; }
  gzip -dc "$page" | groff -k -man -Tutf8 -ww -z 2>"$tmp/err"
  [ -s "$tmp/err" ] && fail "groff warns on $(basename "$page"): $(cat "$tmp/err")"
  lexgrog "$page" >/dev/null || fail "man-db finds no NAME line in $(basename "$page")"
done
batch_page=$share/man/man1/korvanet-batch.1.gz
if [ -f "$batch_page" ]; then
  MANWIDTH=80 man -l "$batch_page" >"$tmp/page" 2>/dev/null || fail "man -l $batch_page"
  "$batch" >"$tmp/usage" 2>&1
  options=$(grep -o -- '--[a-z][a-z-]*' "$tmp/usage" | sort -u)
  [ -n "$options" ] || fail "korvanet-batch without a job names no options: $(cat "$tmp/usage")"
  for option in $options; do
    # documented where man shows an option: as the tag of its own paragraph
    grep -qE -- "^ {7}$option( |\$)" "$tmp/page" || fail "the manual page does not document $option"
  done
else
  fail "no manual page for korvanet-batch"
fi

echo "$failed failures"
[ $failed -eq 0 ]
