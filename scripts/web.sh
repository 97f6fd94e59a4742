#!/usr/bin/env bash
# Builds the viewer as a static web page into build-web/: the page, its style sheet and script,
# the program, icons, manifest, offline worker and licence, ready for any static web server.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh web

# Debian's emcc finds its own Node modules only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-wasm -DCMAKE_BUILD_TYPE=Release -DQEX_BUILD_TESTS=OFF -DQEX_WERROR=ON
cmake --build build-wasm -j "$(nproc)" --target qex-lifts

rm -rf build-web
mkdir -p build-web
cp build-wasm/{index.html,qex-lifts.css,page.js,qex-lifts.js,qex-lifts.wasm,icon.png,icon-256.png} \
   build-wasm/{manifest.webmanifest,sw.js,LICENSE.txt} build-web/
echo "build-web/ is ready: python3 -m http.server -d build-web"
