#!/usr/bin/env bash
# Builds the browser version into build-web/: the page to serve in
# build-web/site/ and korvane-<version>-web.zip beside it. Installs what the
# build needs first (Debian's Emscripten).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh web

# The page's browser test needs more than the page does; the build's own
# warning names all three together, so say here which are missing.
missing=()
command -v chromium >/dev/null || missing+=("chromium (scripts/install-deps.sh test)")
command -v unzip >/dev/null || missing+=("unzip (scripts/install-deps.sh test)")
[[ -d tests/web/node_modules/playwright-core ]] || missing+=("playwright-core (npm ci in tests/web)")
if ((${#missing[@]} > 0)); then
    echo "The page is built without its browser test; missing:"
    printf '  %s\n' "${missing[@]}"
fi

cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten-web.cmake >/dev/null
echo "Building the browser version in build-web/ (the first time a few minutes on two" \
    "cores); its last long step, linking korvane.wasm with Art/ and Sound/ packed into" \
    "korvane.data, takes up to about 40 s."
cmake --build build-web --target korvane_web_site
echo "The page is in build-web/site/; the zip is $(ls build-web/korvane-*-web.zip)"
