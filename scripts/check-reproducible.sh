#!/usr/bin/env bash
# Builds the released files a second time, somewhere else, at another time
# of day, with another umask, locale and time zone, and checks that every
# one is the same, byte for byte.
#   check-reproducible.sh [KIND[=DIR]]...
# KIND is one of (all three when none is named):
#   deb      korvane_VERSION_amd64.deb
#   windows  korvane.exe, korvane-VERSION-windows-x64.zip and
#            korvane-VERSION-windows-x64-setup.exe
#   web      korvane-VERSION-web.zip
# DIR is the first build of that kind: an existing build folder (as ./test
# makes build/, build-windows/ and build-web/), whose files are brought up
# to date there, or a new folder to make it in; without DIR, both builds are
# made in a scratch folder. The second build is always made from scratch,
# from a copy of the source (the files git knows or would add) and in a
# build folder, both of other paths and lengths, under faketime 400 days
# ahead, with umask 077, LC_ALL=C and TZ at the other side of the world. Both take SOURCE_DATE_EPOCH from the environment, if it is set.
#
# On a difference it names the file and shows where it differs, to the first
# differing member (diffoscope), and fails. Prints each build's time.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

# The settings ./test and scripts/release.sh build each kind with: the
# bytes depend on them, so both builds must use the same.
configure_options() {
    case "$1" in
    deb) echo "-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_WERROR=ON" ;;
    windows) echo "-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake" ;;
    web)
        echo "-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten-web.cmake" \
            "-DKORVANE_WERROR=ON"
        ;;
    esac
}

# The files a kind's build makes, relative to its folder.
outputs() {
    local version
    version=$(sed -n 's/^project(korvane VERSION \([0-9.]*\)$/\1/p' "$src/CMakeLists.txt")
    case "$1" in
    deb) echo "korvane_${version}_$(dpkg --print-architecture).deb" ;;
    windows)
        echo "korvane.exe korvane-$version-windows-x64.zip korvane-$version-windows-x64-setup.exe"
        ;;
    web) echo "korvane-$version-web.zip" ;;
    esac
}

# build KIND SOURCE DIR: configures DIR from SOURCE unless it is configured
# already, and makes only what KIND's files need (no tests).
build() {
    local kind=$1 source=$2 dir=$3
    if [[ ! -f "$dir/CMakeCache.txt" ]]; then
        # shellcheck disable=SC2046 # the options are words
        (cd "$source" && cmake -S . -B "$dir" -G Ninja $(configure_options "$kind"))
    fi
    case "$kind" in
    deb)
        cmake --build "$dir" -j"$jobs" --target korvane_installed
        (cd "$dir" && cpack -G DEB)
        ;;
    windows)
        cmake --build "$dir" -j"$jobs" --target korvane
        (cd "$dir" && cpack)
        ;;
    web) cmake --build "$dir" -j"$jobs" --target korvane_web_site ;;
    esac
}
# logged LOG COMMAND...: runs COMMAND with its output in LOG, shown on failure.
logged() {
    local log=$1
    shift
    if ! "$@" >"$log" 2>&1; then
        tail -40 "$log" >&2
        echo "FAILED: $*" >&2
        exit 1
    fi
}

kinds=("$@")
[[ ${#kinds[@]} -gt 0 ]] || kinds=(deb windows web)
for kind in "${kinds[@]}"; do
    case "${kind%%=*}" in
    deb | windows | web) ;;
    *)
        echo "usage: $0 [deb|windows|web[=DIR]]..." >&2
        exit 2
        ;;
    esac
done

work=$(mktemp -d /tmp/korvane-reproducible-XXXXXX)
trap 'rm -rf "$work"' EXIT
copy=$work/the-source-copied-elsewhere/korvane
mkdir -p "$copy"
(cd "$src" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do if [[ -e "$file" ]]; then printf '%s\0' "$file"; fi; done |
    tar --null -T - -cf -) | tar -C "$copy" -xf -
failures=0
for request in "${kinds[@]}"; do
    kind=${request%%=*}
    first=$work/first/$kind
    [[ "$request" == *=* ]] && first=$(realpath -m "${request#*=}")
    second=$work/a-second-folder-with-a-longer-path/$kind.build

    started=$SECONDS
    (umask 022 && LC_ALL=C.UTF-8 TZ=UTC logged "$work/$kind-first.log" build "$kind" "$src" "$first")
    echo "$kind: first build $((SECONDS - started)) s ($first)"
    started=$SECONDS
    # Only the clock is moved: faketime would also move the file times that
    # some programs read (makensis does), which no real later build sees.
    (umask 077 && LC_ALL=C TZ=Pacific/Kiritimati NO_FAKE_STAT=1 logged "$work/$kind-second.log" \
        faketime -f "+400d x1" bash -c "$(declare -f configure_options build)
            jobs=$jobs build $kind '$copy' '$second'")
    echo "$kind: second build $((SECONDS - started)) s (elsewhere, 400 days later, umask 077)"

    for file in $(outputs "$kind"); do
        if cmp -s "$first/$file" "$second/$file"; then
            echo "  same: $file $(sha256sum <"$first/$file" | cut -d' ' -f1)"
            continue
        fi
        failures=$((failures + 1))
        echo "  DIFFERENT: $file"
        # diffoscope nests the members down to the first that differs;
        # the start of its report is where to look.
        diffoscope --no-progress --text - "$first/$file" "$second/$file" | head -80 |
            sed 's/^/    /' || true
    done
done
if [[ $failures -gt 0 ]]; then
    echo "FAILED: $failures file(s) differ between two builds of the same source" >&2
    exit 1
fi
echo "every file was the same in both builds"
