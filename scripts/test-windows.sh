#!/usr/bin/env bash
# Builds the Windows program and runs its tests under Wine: the window-system-free suites
# cross-compiled, then the real-X suite and the Windows-only checks against qex-lifts.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/deps.sh test

# One prefix for every test, inside the build folder: never ~/.wine.
mkdir -p build-windows-tests
export WINEPREFIX=$PWD/build-windows-tests/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# shellcheck source-path=SCRIPTDIR source=wine_prefix.sh
. scripts/wine_prefix.sh
wine_prefix_ready
# One server for the whole run; otherwise each program's end waits for Wine's helpers. One
# left over from an interrupted run goes first.
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k || true' EXIT
# Brings up the prefix's services now, so no test waits for them on its first start.
wineboot

cmake -S . -B build-windows-tests -DCMAKE_TOOLCHAIN_FILE=platforms/win32/toolchain-mingw64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQEX_BUILD_TESTS=ON -DQEX_WERROR=ON -DQEX_WINE_PREFIX="$WINEPREFIX"
cmake --build build-windows-tests -j "$jobs"
ctest --test-dir build-windows-tests --no-tests=error --output-on-failure -j "$jobs"

bash scripts/windows.sh
cmake -S tests/windows -B build-windows-native-tests -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQEX_WERROR=ON \
  -DQEX_WINDOWS_BUILD="$PWD/build-windows" -DQEX_WINE_PREFIX="$WINEPREFIX"
cmake --build build-windows-native-tests -j "$jobs"
# One at a time: Wine gives the keyboard to one foreground window per server, so a second
# test's window would take the keys meant for the first.
ctest --test-dir build-windows-native-tests --no-tests=error --output-on-failure
