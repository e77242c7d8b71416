# SPDX-License-Identifier: GPL-3.0-or-later
# `ctest` run in the source folder runs the suite of the Release build
# (./test or `cmake --preset release && cmake --build --preset release`
# makes it), instead of finding no tests and passing on nothing.
if(EXISTS "build/release/CTestTestfile.cmake")
  subdirs("build/release")
else()
  add_test(release_build_missing "/bin/sh" "-c"
    "echo 'No Release build to test: run ./test, or cmake --preset release && cmake --build --preset release' >&2; exit 1")
endif()
