#!/usr/bin/env bash
# Installs the Debian packages that building the game needs; only those that
# are missing, with sudo when not root.
#   install-deps.sh           the desktop game
#   install-deps.sh windows   the Windows game (cross-built, no tests)
#   install-deps.sh web       the browser game (cross-built, no tests)
#   install-deps.sh test      everything ./test builds and runs
#   install-deps.sh release   the four packages of a release (scripts/release.sh)
#   install-deps.sh fuzz      clang and its libFuzzer runtime, for fuzzing
set -euo pipefail

# The Windows game: the cross compiler and resource compiler, the build
# machine's own compiler (and zlib) for the art and sound generators and
# the end-to-end tests' screen reader, makensis for the installer and
# strip-nondeterminism for the zip's fixed times.
windows_packages=(
    cmake ninja-build g++ zlib1g-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 nsis
    strip-nondeterminism
)
# The browser game: Debian's Emscripten (which brings Node), the build
# machine's own compiler (and zlib) for the art and sound generators and
# the end-to-end tests' screen reader, and strip-nondeterminism for the
# zip's fixed times.
web_packages=(
    cmake ninja-build g++ zlib1g-dev emscripten nodejs strip-nondeterminism
)
# Two builds of the packages at other times of day, compared member by
# member (scripts/check-reproducible.sh).
reproducible_packages=(faketime diffoscope-minimal)
build_packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libpng-dev zlib1g-dev
    fonts-liberation dpkg-dev strip-nondeterminism
)
# lintian, appstreamcli, desktop-file-validate and man check the package and
# its metadata; fakeroot installs it into a throw-away root when not root.
test_packages=(
    xvfb xauth xdotool x11-utils x11-xserver-utils x11-apps openbox imagemagick sox clang-format
    # An input method in a Japanese mode (IBus with Anthy, its Python engine,
    # GSettings over dconf) in a D-Bus session of the test's own.
    ibus ibus-anthy python3-gi gir1.2-ibus-1.0 dbus-daemon libglib2.0-bin dconf-service
    dconf-gsettings-backend
    # A sound server that a test stops and starts again during a game.
    pulseaudio pulseaudio-utils
    lintian appstream desktop-file-utils man-db fakeroot
    # The Windows build's tests: GoogleTest's sources, Wine to run them,
    # wrestool to read the program's resources back, xmllint for its manifest.
    "${windows_packages[@]}" googletest wine64 unzip icoutils libxml2-utils
    # The web build's tests: Chromium, Firefox and WebKitGTK's MiniBrowser
    # with its WebDriver server (GStreamer's base and good plugins for its
    # sound), driven from Node (npm fetches the drivers, pinned by
    # tests/web/package-lock.json).
    "${web_packages[@]}" chromium firefox-esr webkit2gtk-driver libwebkit2gtk-4.1-0
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    # The load beside the end-to-end tests in scripts/stress-e2e.sh.
    stress-ng
    "${reproducible_packages[@]}"
)

case "${1:-}" in
"") wanted=("${build_packages[@]}") ;;
windows) wanted=("${windows_packages[@]}") ;;
web) wanted=("${web_packages[@]}") ;;
fuzz) wanted=("${build_packages[@]}" clang libclang-rt-14-dev) ;;
test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
release)
    wanted=("${build_packages[@]}" "${windows_packages[@]}" "${web_packages[@]}"
        "${reproducible_packages[@]}" imagemagick)
    ;;
*)
    echo "usage: $0 [windows|web|test|release|fuzz]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
# npm comes with Debian's nodejs as a package of its own, and inside other
# builds of nodejs; it is only asked for where there is none.
if [[ "${1:-}" == test ]] && ! command -v npm >/dev/null; then
    missing+=(npm)
fi
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
