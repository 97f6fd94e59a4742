#!/usr/bin/env bash
# Builds the web page and the window-system-free suites for WebAssembly, then runs the suites
# under Node and the page in headless Chromium, Firefox ESR and WebKitGTK.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/deps.sh test

# Debian's emcc finds its own Node modules only through NODE_PATH; Node 20's fetch would
# shadow the one the generated JavaScript expects.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-wasm-tests -DCMAKE_BUILD_TYPE=Release -DQEX_WERROR=ON \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node);--no-experimental-fetch"
cmake --build build-wasm-tests -j "$jobs"
ctest --test-dir build-wasm-tests --no-tests=error --output-on-failure -j "$jobs"
