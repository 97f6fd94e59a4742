#!/usr/bin/env bash
# Cross-compiles the Windows program with MinGW-w64 and packs it for Windows users, all in
# build-windows/: the static qex-lifts.exe, the portable qex-lifts-<version>-win64.zip and the
# installer qex-lifts-<version>-win64.exe (NSIS).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh windows
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=platforms/win32/toolchain-mingw64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQEX_BUILD_TESTS=OFF -DQEX_WERROR=ON
# The same sources give the same bytes: the linker stamps the exe, and cpack every packed file,
# with the newest changelog entry's time.
changelog_date=$(sed -n 's/^ -- .*>  //p' platforms/linux/share/changelog.Debian | head -n1)
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date -d "$changelog_date" +%s)}
export SOURCE_DATE_EPOCH
cmake --build build-windows -j "$(nproc)"
(cd build-windows && cpack)
echo "Built in build-windows/: qex-lifts.exe and its packages:"
ls build-windows/qex-lifts-*-win64.zip build-windows/qex-lifts-*-win64.exe
