#!/usr/bin/env bash
# Cross-compiles the Windows program, one static build-windows/qex-lifts.exe, with MinGW-w64.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh windows
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=platforms/win32/toolchain-mingw64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQEX_BUILD_TESTS=OFF -DQEX_WERROR=ON
cmake --build build-windows -j "$(nproc)"
echo "Built build-windows/qex-lifts.exe"
