#!/usr/bin/env bash
# Runs a Windows program under Wine on a private 640x480 Xvfb screen, with a
# null sound card:
#   run_on_wine_display.sh WINE_RUN PREFIX PROGRAM.exe [arguments...]
# Wine's desktop process keeps the display it started on, so the prefix's
# server is stopped before and after: the program's start brings up a new
# one on this screen. Tests that share PREFIX must not run at the same time.
set -uo pipefail
wine_run=$1
export KORVANE_WINEPREFIX=$2
shift 2
wineserver="$(dirname "$("$wine_run" --which-wine)")/wineserver"
export WINEPREFIX=$KORVANE_WINEPREFIX

work=$(mktemp -d)
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf
server=""
finish() {
    [[ -d "$WINEPREFIX" ]] && "$wineserver" -k 2>/dev/null
    [[ -n "$server" ]] && kill "$server" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

[[ -d "$WINEPREFIX" ]] && "$wineserver" -k 2>/dev/null
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 1 100); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
done
if [[ ! -s "$work/display" ]]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(cat "$work/display")"
"$wine_run" "$@"
