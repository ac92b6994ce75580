# Shared by the desktop end-to-end scripts, with the checks and screen
# reading of tests/support/screen_test_lib.sh: the game started on the
# session's display (tests/support/x_session.sh), keys and screen reading at
# the picture's own size (640x480 screens). The including script calls
# `desktop_begin` (or sets `korvane` and `probe`, the screen reader, and
# calls `session_begin`) before starting anything.
# shellcheck shell=bash

# shellcheck source=../support/screen_test_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/screen_test_lib.sh"
# shellcheck source=../support/x_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
# shellcheck source=picture_place.sh
source "$(dirname "${BASH_SOURCE[0]}")/picture_place.sh"

# desktop_begin NAME KORVANE WRITE_TEST_ASSETS SHOT_PROBE: the arguments
# every desktop test script takes (the game, the test files' writer, the
# screen reader), and the session named NAME.
desktop_begin() {
    korvane=$2
    write_assets=$3
    probe=$4
    session_begin "$1"
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
