#!/usr/bin/env bash
# Builds and runs every test: the whole suite in a normal build (real X server tests included),
# then the unit tests again with AddressSanitizer and UndefinedBehaviorSanitizer, and the
# real program under the leak checker.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/deps.sh test

# The packager's plain Release build with the tests (plus -Werror, which only adds strictness);
# tests named on: make run turns them off in the same build folder.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQEX_BUILD_TESTS=ON -DQEX_BUILD_BENCH=ON -DQEX_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --no-tests=error --output-on-failure -j "$jobs"

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# The sanitizers bring their own allocator through the shared C++ runtime's operators.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQEX_BUILD_TESTS=ON -DQEX_WERROR=ON \
  -DQEX_STATIC_CXX_RUNTIME=OFF -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" \
  -DCMAKE_MODULE_LINKER_FLAGS="$sanitizers"
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --no-tests=error --output-on-failure -j "$jobs" -L "unit|leak"
scripts/test-web.sh
scripts/test-windows.sh
