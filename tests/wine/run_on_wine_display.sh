#!/usr/bin/env bash
# Runs a Windows program under Wine on a private 640x480 Xvfb screen with no
# window manager, as the game test's, and a null sound card:
#   run_on_wine_display.sh WINE_RUN PREFIX PROGRAM.exe [arguments...]
# Wine's desktop process keeps the display it started on, so the prefix's
# server is stopped before and after: the program's start brings up a new
# one on this screen. Tests that share PREFIX must not run at the same time.
set -uo pipefail
wine_run=$1
export KORVANE_WINEPREFIX=$2
export WINEPREFIX=$2
shift 2
wineserver="$(dirname "$("$wine_run" --which-wine)")/wineserver"
stop_server() { [[ -d "$WINEPREFIX" ]] && "$wineserver" -k 2>/dev/null; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf

stop_server
XVFB_SCREEN=640x480x24 XVFB_WINDOW_MANAGER=no \
    "$(dirname "$0")/../sdl_gfx/run_on_xvfb.sh" "$wine_run" "$@"
status=$?
stop_server
exit $status
