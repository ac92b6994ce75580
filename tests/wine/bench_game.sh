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
work=$(mktemp -d /tmp/korvane-wine-bench-XXXXXX)
export KORVANE_WINEPREFIX=$build/wine-prefix-bench
export WINEPREFIX=$KORVANE_WINEPREFIX
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf
wineserver=$(dirname "$("$wine_run" --which-wine)")/wineserver
xvfb_pid=""
game_pid=""
cleanup() {
    [[ -n "$game_pid" ]] && kill -9 "$game_pid" 2>/dev/null
    "$wineserver" -k 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$wineserver" -k 2>/dev/null
for n in $(seq 181 220); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    sleep 1
    xdpyinfo >/dev/null 2>&1 && break
    kill "$xvfb_pid"
    xvfb_pid=""
done
[[ -n "$xvfb_pid" ]] || { echo "cannot start Xvfb"; exit 1; }
"$wine_run" cmd /c exit >/dev/null 2>&1  # the prefix's first start is not the game's
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
