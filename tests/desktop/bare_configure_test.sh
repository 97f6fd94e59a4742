#!/usr/bin/env bash
# A packager's configure: tests off, on a machine without the test and bench packages and
# without any toolkit (their find_package calls disabled), succeeds and leaves no test to run.
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$source" -B "$work/build" -DQEX_BUILD_TESTS=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_X11=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; echo "configure with tests off failed without the test packages"; exit 1; }
listed=$(ctest --test-dir "$work/build" -N)
grep -q 'Total Tests: 0' <<<"$listed" || { echo "$listed"; echo "a build with tests off still has tests"; exit 1; }
