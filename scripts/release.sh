#!/usr/bin/env bash
# Builds the release from the current commit into dist/: the Debian
# package, the Windows zip and installer, and the web zip, with SHA256SUMS
# beside them.
#   release.sh
# It builds from a clean clone of the commit (changes not committed are not
# in it), with SOURCE_DATE_EPOCH the commit's time, so that anyone who builds
# the same commit on Debian 12 gets the same bytes. Each file is built twice,
# the second time elsewhere and later (scripts/check-reproducible.sh), and
# must be the same both times; the screenshots in docs/screenshots/ must be
# what the built game shows. Installs what the builds need first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh release

commit=$(git rev-parse HEAD)
if [[ -n "$(git status --porcelain --untracked-files=no)" ]]; then
    echo "note: the changes not committed are not in the release of $commit" >&2
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

work=$(mktemp -d /tmp/korvane-release-XXXXXX)
trap 'rm -rf "$work"' EXIT
source=$work/korvane
git clone --quiet --no-checkout "$root" "$source"
git -C "$source" fetch --quiet "$root" HEAD
git -C "$source" checkout --quiet --detach "$commit"

started=$SECONDS
"$source/scripts/check-reproducible.sh" deb="$work/build" windows="$work/build-windows" \
    web="$work/build-web"

# The screenshots, as docs/releasing.md checks them by hand.
"$work/build/tools/replay/korvane-replay" --demo --shots "$work/shots" \
    "$source/docs/screenshots.replay" >/dev/null
changed=0
for shot in "$source"/docs/screenshots/*.png; do
    if ! compare -metric AE "$shot" "$work/shots/${shot##*/}" /dev/null 2>/dev/null; then
        echo "screenshot ${shot##*/} differs from what the game shows" >&2
        changed=$((changed + 1))
    fi
done
if [[ $changed -gt 0 ]]; then
    echo "FAILED: update docs/screenshots/ (see docs/releasing.md) and commit first" >&2
    exit 1
fi
echo "screenshots: every one is what the game shows"

version=$(sed -n 's/^project(korvane VERSION \([0-9.]*\)$/\1/p' "$source/CMakeLists.txt")
rm -rf dist
mkdir dist
cp "$work/build/korvane_${version}_amd64.deb" \
    "$work/build-windows/korvane-$version-windows-x64.zip" \
    "$work/build-windows/korvane-$version-windows-x64-setup.exe" \
    "$work/build-web/korvane-$version-web.zip" dist/
(cd dist && sha256sum -- * >SHA256SUMS)
echo "release of $commit in dist/, built in $((SECONDS - started)) s:"
cat dist/SHA256SUMS
