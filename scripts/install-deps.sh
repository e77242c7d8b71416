#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Korvanet need.
# Only what is missing is installed; nothing happens when everything is there.
set -euo pipefail

packages=(
  g++ cmake ninja-build libgtest-dev libbenchmark-dev
  # the fuzz target: clang and its libFuzzer and sanitizer runtimes, both
  # Debian's default version (14 in Debian 12), so that they always match
  clang libclang-rt-dev
  clang-format                            # the source_format test
  qt6-base-dev qt6-svg-dev qt6-translations-l10n
  nlohmann-json3-dev
  libdxflib-dev                           # the DXF drawing
  python3-ezdxf                           # the DXF drawing read back in a test
  libxml2-utils                           # xmllint: the Gama XML checked against its schema
  python3                                 # the report documents read back (html.parser, csv, zipfile)
  fonts-noto-cjk fonts-arphic-uming
  poppler-utils xvfb xauth
  desktop-file-utils appstream man-db     # checking what gets installed
  dpkg-dev file                           # building the Debian package
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
elif command -v sudo >/dev/null 2>&1; then
  sudo_cmd=(sudo)
else
  echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
