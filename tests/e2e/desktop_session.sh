# Shared by the desktop end-to-end scripts beside screen_test_lib.sh: a
# private X display, the game started on it, keys and screen reading at the
# picture's own size (640x480 screens). The including script sets `korvane`,
# `probe` (the screen reader, shot_probe) and `work` (a scratch folder) and calls
# `desktop_cleanup` on exit.
# shellcheck shell=bash

# shellcheck source=picture_place.sh
source "$(dirname "${BASH_SOURCE[0]}")/picture_place.sh"

xvfb_pid=""
wm_pid=""
game_pid=""

# start_display SIZE [wm]: Xvfb at SIZE (WxH) on a display number it picks
# itself, so runs started at once never share one; with "wm", openbox, waited
# for until it says it is up.
start_display() {
    local size=$1 with_wm=${2:-}
    stop_display
    rm -f "$work/display" "$work/wm-ready"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local deadline=$((SECONDS + 30))
    while [[ ! -s "$work/display" ]] && ((SECONDS < deadline)); do
        sleep 0.1
    done
    if [[ ! -s "$work/display" ]]; then
        echo "Xvfb did not start: $(cat "$work/xvfb.log")"
        return 1
    fi
    export DISPLAY=":$(cat "$work/display")"
    if [[ -n "$with_wm" ]]; then
        openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
        wm_pid=$!
        deadline=$((SECONDS + 30))
        while [[ ! -e "$work/wm-ready" ]] && ((SECONDS < deadline)); do
            sleep 0.1
        done
        [[ -e "$work/wm-ready" ]] || { echo "openbox did not start"; return 1; }
    fi
}

stop_display() {
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    [[ -n "$wm_pid$xvfb_pid" ]] && wait $wm_pid $xvfb_pid 2>/dev/null
    wm_pid=""
    xvfb_pid=""
}

desktop_cleanup() {
    [[ -n "$game_pid" ]] && kill -9 "$game_pid" 2>/dev/null
    stop_display
    rm -rf "$work"
}

# start_game FOLDER [VAR=VALUE ...]: the game from FOLDER, with SDL's silent
# sound unless the variables say otherwise; its output in out.log, err.log.
start_game() {
    local folder=$1
    shift
    (cd "$folder" && exec env SDL_AUDIODRIVER=dummy "$@" "$korvane" >"$work/out.log" 2>"$work/err.log") &
    game_pid=$!
}

# The game's window, by its class; empty when none shows within 20 s.
game_window() {
    local deadline=$((SECONDS + 20)) found=""
    while ((SECONDS <= deadline)); do
        found=$(xdotool search --class KV_Class 2>/dev/null | head -1)
        [[ -n "$found" ]] && break
        sleep 0.1
    done
    echo "$found"
}

# A key held long enough for at least two of the game's input samples (one
# every 100 ms or more) on a busy machine.
press() {
    xdotool keydown "$1"
    sleep 0.35
    xdotool keyup "$1"
}

# wait_piece NAME SECONDS: polls until a piece shows in the well; the last
# screenshot is NAME.
wait_piece() {
    local deadline=$((SECONDS + $2)) count=0
    while ((SECONDS <= deadline)); do
        shot "$1"
        read -r count _ < <(well_blocks "$1")
        ((count > 0)) && return 0
        sleep 0.1
    done
    return 1
}

# The time now in milliseconds.
now_ms() { date +%s%3N; }
