#!/usr/bin/env bash
# Installs the Debian packages that building (and, with "test", testing) the
# game needs; only those that are missing, with sudo when not root.
set -euo pipefail

build_packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libpng-dev
    fonts-liberation dpkg-dev
)
# lintian, appstreamcli, desktop-file-validate and man check the package and
# its metadata; fakeroot installs it into a throw-away root when not root.
test_packages=(
    xvfb xauth xdotool x11-utils x11-xserver-utils openbox imagemagick sox clang-format
    # An input method in a Japanese mode (IBus with Anthy, its Python engine,
    # GSettings over dconf) in a D-Bus session of the test's own.
    ibus ibus-anthy python3-gi gir1.2-ibus-1.0 dbus-daemon libglib2.0-bin dconf-service
    dconf-gsettings-backend
    lintian appstream desktop-file-utils man-db fakeroot
    # The Windows build: cross compiler, resource compiler, GoogleTest's
    # sources, and Wine to run it.
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 googletest wine64 unzip
)

wanted=("${build_packages[@]}")
if [[ "${1:-}" == "test" ]]; then
    wanted+=("${test_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
