#!/usr/bin/env bash
# check_package.sh BUILD_DIR
# Makes the Debian package in BUILD_DIR (cpack -G DEB), installs it with dpkg
# into a throw-away root, checks what it put where and that the installed
# programs find their data there, removes it again and checks that nothing
# is left; then lintian (no errors), appstreamcli and desktop-file-validate
# on the installed files. Prints the package's size and dependencies.
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! log=$(cd "$build" && cpack -G DEB 2>&1); then
    echo "$log" >&2
    echo "FAIL: cpack -G DEB" >&2
    exit 1
fi
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$build/korvane_${version}_$(dpkg --print-architecture).deb
[[ -f "$deb" ]] || { echo "FAIL: cpack made no $deb" >&2; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes," \
    "$(dpkg-deb -f "$deb" Installed-Size) KiB installed"
echo "depends: $depends"
for needed in fonts-liberation libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 libc6; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed"
done
[[ "$(dpkg-deb -f "$deb" Section)" == games ]] || fail "section is not games"
# The dependencies are real packages that apt can satisfy on this machine.
apt-get install --simulate --no-install-recommends "$deb" >/dev/null 2>&1 ||
    fail "apt-get cannot satisfy the package's dependencies"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
# The dependencies are not in the empty root; documentation that a minimal
# system's dpkg settings leave out is installed here all the same.
dpkg=(dpkg --root="$root" --force-depends --force-script-chrootless --path-include='*')
if [[ $(id -u) -ne 0 ]]; then
    dpkg=(fakeroot "${dpkg[@]}" --force-not-root)
fi
# dpkg lists every dependency it does not find; show that only on failure.
"${dpkg[@]}" --install "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; exit 1; }

# Every file in its place.
usr=$root/usr
expected=(
    games/korvane lib/games/korvane/korvane games/korvane-replay games/korvane-kvp
    share/applications/io.github.korvane.Korvane.desktop
    share/metainfo/io.github.korvane.Korvane.metainfo.xml
    share/man/man6/korvane.6.gz share/man/man1/korvane-replay.1.gz share/man/man1/korvane-kvp.1.gz
    share/doc/korvane/copyright share/doc/korvane/changelog.gz share/doc/korvane/replay.md
)
while read -r name; do
    expected+=("share/games/korvane/$name")
done < <(grep -v "^#" "$src/assets/data_files.txt")
for size in 32 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/korvane.png")
done
for file in "${expected[@]}"; do
    [[ -f "$usr/$file" ]] || fail "not installed: /usr/$file"
done
for program in games/korvane lib/games/korvane/korvane games/korvane-replay games/korvane-kvp; do
    [[ -x "$usr/$program" ]] || fail "not executable: /usr/$program"
done
installed=$(find "$usr" -type f | wc -l)
[[ $installed -eq ${#expected[@]} ]] || fail "$installed files installed, ${#expected[@]} expected"

# By hand, the same files under any prefix.
if cmake --install "$build" --prefix "$work/by-hand" >"$work/install.log" 2>&1; then
    for file in "${expected[@]}"; do
        [[ -f "$work/by-hand/$file" ]] || fail "cmake --install left out $file"
    done
else
    cat "$work/install.log" >&2
    fail "cmake --install $build"
fi

# Each icon is drawn at the size of its folder.
for size in 32 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x$size/apps/korvane.png
    header=$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')
    [[ "$header" == $(printf '%08x%08x' "$size" "$size") ]] || fail "icon in ${size}x$size is not $size pixels square"
done
cmp -s "$usr/share/icons/hicolor/32x32/apps/korvane.png" "$build/data/korvane.png" ||
    fail "the 32-pixel icon is not the window's icon"

desktop-file-validate "$usr/share/applications/io.github.korvane.Korvane.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/io.github.korvane.Korvane.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate"

# The installed korvane-replay plays from the installed data: a start-up that
# reaches the menu and leaves by E, then the same with the installed loading
# picture spoilt, which must end the program at start-up.
script=$work/exit.replay
printf 'at 8000 down E\nat 8200 up E\nend 20000\n' >"$script"
replay=$usr/games/korvane-replay
"$replay" --trace "$work/good.trace" "$script" || fail "installed korvane-replay failed with its installed data"
grep -q '^exit code=0$' "$work/good.trace" || fail "installed korvane-replay did not leave by the menu"
cp "$usr/share/games/korvane/Art/Loading.kvp" "$work/Loading.kvp"
: >"$usr/share/games/korvane/Art/Loading.kvp"
if "$replay" --trace "$work/spoilt.trace" "$script" 2>/dev/null; then
    fail "installed korvane-replay did not read the installed pictures"
fi
cp "$work/Loading.kvp" "$usr/share/games/korvane/Art/Loading.kvp"

# The launcher starts the installed binary from the data folder, passing its
# arguments on; a stand-in binary reports where it was started and how.
cp "$usr/lib/games/korvane/korvane" "$work/korvane.real"
printf '#!/bin/sh\necho "$(pwd) $*"\n' >"$usr/lib/games/korvane/korvane"
started=$("$usr/games/korvane" one two)
[[ "$started" == "$(cd "$usr/share/games/korvane" && pwd) one two" ]] ||
    fail "the launcher started '$started'"
cp "$work/korvane.real" "$usr/lib/games/korvane/korvane"

"${dpkg[@]}" --purge korvane >/dev/null
left=$(find "$root" -path "$root/var" -prune -o -print | tail -n +2)
[[ -z "$left" ]] || fail "left after removal: $(head -3 <<<"$left")"

# lintian: errors fail, warnings are shown. It leaves a database file in its
# temporary folder now and then, so it is given the scratch folder.
if ! TMPDIR=$work lintian --fail-on error --tag-display-limit 0 "$deb"; then
    fail "lintian reports errors"
fi

[[ $failures -eq 0 ]] && echo "package checks passed"
exit $((failures > 0))
