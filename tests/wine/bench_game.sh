#!/usr/bin/env bash
# Measures korvane.exe under Wine on a virtual X display (Xvfb 640x480x24):
# launch to the loading picture, launch to the main menu fully shown, and the
# frame period during play (from Wine's own count of presented frames).
#   bench_game.sh [BUILD_DIR]       (default build-windows)
# Run it on a quiet machine; the numbers are only as steady as the machine.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build-windows}" && pwd)
wine_run=$here/wine_run.sh
# shellcheck source=../support/x_session.sh
source "$here/../support/x_session.sh"
# shellcheck source=../support/wine_session.sh
source "$here/../support/wine_session.sh"
session_begin wine-bench
wine_begin "$wine_run" "$build/wine-prefix-bench"
start_display 640x480 || exit 1
wine_ready # the prefix's first start is not the game's
"$wine_run" "$build/tests/write_test_assets.exe" "$work/assets" || exit 1

colour_at() {
    import -window root "png:$work/shot.png" 2>/dev/null
    convert "$work/shot.png" -format \
        "%[fx:round(255*p{$1,$2}.r)] %[fx:round(255*p{$1,$2}.g)] %[fx:round(255*p{$1,$2}.b)]" info:
}
# Seconds since `launched` when both pixels show the colour.
seconds_until() {
    local colour=$1
    while [[ "$(colour_at 20 20)" != "$colour" || "$(colour_at 620 460)" != "$colour" ]]; do
        kill -0 "$game_pid" 2>/dev/null || return 1
        sleep 0.05
    done
    awk -v a="$launched" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'
}

launched=$(date +%s.%N)
(cd "$work/assets" && exec env WINEDEBUG=-all,+fps "$wine_run" "$build/korvane.exe" \
    >/dev/null 2>"$work/fps.log") &
game_pid=$!
echo "launch to loading picture:       $(seconds_until "99 97 99") s"
echo "launch to main menu fully shown: $(seconds_until "16 65 16") s"
window=$(xdotool search --name '^KORVANE$' | head -1)
xdotool windowfocus "$window"
xdotool keydown n
sleep 0.3
xdotool keyup n
sleep 2
: >"$work/fps.log.play"
start=$(wc -l <"$work/fps.log")
sleep 15
# Wine writes the frames it presented each second or so; the first lines of
# play are skipped, and the median of the rest taken.
tail -n +"$((start + 1))" "$work/fps.log" | grep -o 'ddraw_surface_update_frontbuffer.*approx [0-9.]*fps' |
    grep -o '[0-9.]*fps' | tr -d 'fps' | sort -n |
    awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "frame period during play: no samples"; exit 1 }
        m = v[int((NR + 1) / 2)]
        printf "frame period during play:        %.1f ms (median of %d samples, %.2f to %.2f fps)\n",
               1000 / m, NR, v[1], v[NR] }'
zip=$(ls "$build"/korvane-*-windows-x64.zip 2>/dev/null | head -1)
[[ -n "$zip" ]] && echo "zip:                             $(basename "$zip"), $(stat -c %s "$zip") bytes"
