#!/usr/bin/env bash
# The desktop game's costs in one run: the real korvane on an Xvfb screen of
# SCREEN pixels (640x480 unless set; 1280x800 and 3840x2160 show the scaling's
# cost), started RUNS times (5 unless set), the median of each figure:
#   - launch to the loading picture, and to the main menu fully shown (with
#     what start-up took beyond its four seconds of pauses and the wipe);
#   - resident memory (VmRSS, VmHWM) in the main menu and after 30 s of play;
#   - a play frame's work without its wait (median, p99) and the frame
#     period (median, max), read with perf's probes on the frame's wait.
# Usage: [SCREEN=WxH] [RUNS=N] scripts/bench-desktop.sh [BUILD_DIR]   (default: build)
# Needs Xvfb and xdotool; perf (run as root) for the frame figures.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-5}
screen=${SCREEN:-640x480}
play_seconds=30

# A folder that is not a build tree (a copy of korvane, data/ and the
# watcher) is measured as it is.
if [[ -f "$build/CMakeCache.txt" ]]; then
    cmake --build "$build" --target korvane korvane_screen_watch >/dev/null || exit 1
fi
korvane=$(realpath "$build/korvane")
watch=$(realpath "$build/bench/korvane_screen_watch")
data=$(realpath "$build/data")

work=$(mktemp -d /tmp/korvane-bench-XXXXXX)
xvfb_pid=""
game_pid=""
probe_group="kvbench$$"
cleanup() {
    [[ -n "$game_pid" ]] && kill -9 "$game_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    perf probe -q --del "$probe_group:*" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

# Probes on entry to and return from the frame's wait: a frame's work is the
# time from one wait's return to the next wait's entry.
have_perf=0
wait_at=$(nm "$korvane" 2>/dev/null | awk '/ _ZN7korvane9WaitSinceE/ {print $1; exit}')
if command -v perf >/dev/null 2>&1 && [[ -n "$wait_at" ]] &&
    perf probe -q -x "$korvane" -a "$probe_group:enter=0x$wait_at" 2>/dev/null &&
    perf probe -q -x "$korvane" -a "$probe_group:leave=0x$wait_at%return" 2>/dev/null; then
    have_perf=1
fi

status_kib() { awk -v key="$2:" '$1 == key {print $2}' "/proc/$1/status"; }
median() { sort -g | awk '{v[NR] = $1} END {if (NR == 0) print "n/a"; else print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

# A key held long enough for the game's keyboard sample to see it.
press() {
    xdotool keydown "$1"
    sleep 0.15
    xdotool keyup "$1"
}

# Keys for play: pieces go left and right so the well fills slowly; N starts
# a game again after one ends (it does nothing during play).
play_keys() {
    local until=$((SECONDS + $1)) i=0
    while ((SECONDS < until)); do
        case $((i % 6)) in
            0 | 1) press Left ;;
            2 | 3 | 4) press Right ;;
            5) press n ;;
        esac
        i=$((i + 1))
        sleep 0.25
    done
}

for run in $(seq 1 "$runs"); do
    launched=$(date +%s%N)
    (cd "$data" && exec env SDL_AUDIODRIVER=dummy "$korvane" >"$work/out.log" 2>"$work/err.log") &
    game_pid=$!
    read -r _ first_picture < <("$watch" "$launched" 10 "$data/Art/Loading.kvp") || {
        echo "run $run: the loading picture did not show"
        cat "$work/err.log"
        exit 1
    }
    read -r wipe_start menu_shown < <("$watch" "$launched" 20 "$data/Art/Menu.kvp" "$data/Art/Loading.kvp") || {
        echo "run $run: the main menu did not show"
        exit 1
    }
    sleep 1
    echo "$first_picture" >>"$work/first"
    echo "$menu_shown" >>"$work/menu"
    echo "$wipe_start" >>"$work/wipe_start"
    echo "$(echo "$menu_shown $wipe_start" | awk '{print $1 - $2}')" >>"$work/wipe"
    echo "$(status_kib "$game_pid" VmRSS)" >>"$work/menu_rss"
    echo "$(status_kib "$game_pid" VmHWM)" >>"$work/menu_hwm"

    press n
    WATCH_SHARE=0.9 "$watch" "$(date +%s%N)" 5 "$data/Art/Main.kvp" >/dev/null || {
        echo "run $run: N did not start a game"
        exit 1
    }
    if ((have_perf)); then
        perf record -q -o "$work/perf.data" -e "$probe_group:enter" -e "$probe_group:leave__return" \
            -p "$game_pid" -- sleep $((play_seconds - 10)) >/dev/null 2>&1 &
        perf_pid=$!
    fi
    play_keys "$play_seconds"
    if ((have_perf)); then
        wait "$perf_pid"
        perf script -i "$work/perf.data" -F time,event 2>/dev/null | awk '
            { t = $1; sub(":", "", t); t *= 1000 }
            $2 ~ /enter/ && left != "" { print "work", t - left }
            $2 ~ /leave/ { if (left != "") print "period", t - left; left = t }' >"$work/frames"
        awk '$1 == "work" {print $2}' "$work/frames" >>"$work/work_all"
        awk '$1 == "period" {print $2}' "$work/frames" >>"$work/period_all"
    fi
    echo "$(status_kib "$game_pid" VmRSS)" >>"$work/play_rss"
    echo "$(status_kib "$game_pid" VmHWM)" >>"$work/play_hwm"
    kill -TERM "$game_pid"
    wait "$game_pid" 2>/dev/null
    game_pid=""
done

mib() { awk '{printf "%.1f", $1 / 1024}'; }
pct() { sort -g | awk -v p="$1" '{v[NR] = $1} END {if (NR == 0) print "n/a"; else {i = int(NR * p / 100 + 0.5); if (i < 1) i = 1; printf "%.2f", v[i]}}'; }

echo "== korvane on a $screen Xvfb, median of $runs runs"
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf "launch to the loading picture        %8s ms\n" "$(median <"$work/first")"
printf "launch to the main menu fully shown  %8s ms\n" "$(median <"$work/menu")"
printf "  of which the wipe                  %8s ms\n" "$(median <"$work/wipe")"
printf "  beyond the 4 s of pauses and wipe  %8s ms\n" "$(median <"$work/wipe_start" | awk '{print $1 - 4000}')"
printf "main menu: VmRSS %s MiB, VmHWM %s MiB\n" "$(median <"$work/menu_rss" | mib)" "$(median <"$work/menu_hwm" | mib)"
printf "after %d s of play: VmRSS %s MiB, VmHWM %s MiB\n" "$play_seconds" "$(median <"$work/play_rss" | mib)" "$(median <"$work/play_hwm" | mib)"
if ((have_perf)) && [[ -s "$work/work_all" ]]; then
    printf "play frame's work without the wait: median %s ms, p99 %s ms (%d frames)\n" \
        "$(pct 50 <"$work/work_all")" "$(pct 99 <"$work/work_all")" "$(wc -l <"$work/work_all")"
    printf "frame period: median %s ms, max %s ms\n" "$(pct 50 <"$work/period_all")" "$(pct 100 <"$work/period_all")"
else
    echo "play frame figures: n/a (perf with probes is needed, as root)"
fi
