#!/usr/bin/env bash
# Builds the viewer and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQEX_BUILD_TESTS=OFF
cmake --build build -j "$(nproc)" --target qex-lifts
exec build/qex-lifts
