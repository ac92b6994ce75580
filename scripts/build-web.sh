#!/usr/bin/env bash
# Builds the browser version into build-web/: the page to serve in
# build-web/site/ and korvane-<version>-web.zip beside it. Installs what the
# build needs first (Debian's Emscripten).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh web
cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten-web.cmake >/dev/null
cmake --build build-web --target korvane_web_site
echo "The page is in build-web/site/; the zip is $(ls build-web/korvane-*-web.zip)"
