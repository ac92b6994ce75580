# Shared by the end-to-end tests of the real game (tests/e2e, tests/wine):
# results, screenshots of a virtual display, colour checks and waiting for
# the game. The including script sets `work` (a scratch folder), `game_pid`
# when a game runs, and its own `pixel NAME X Y`, which prints "R G B",
# `press KEY`, `well_blocks NAME`, whose first word is 0 for an empty well,
# and `piece_outline NAME`.
# shellcheck shell=bash

passes=0
failures=0

pass() { echo "ok: $1"; passes=$((passes + 1)); }

fail() { echo "FAILED: $1"; failures=$((failures + 1)); }

shot() { import -display "$DISPLAY" -window root "png:$work/$1.png" 2>/dev/null; }

# near "R G B" "R G B": true when every channel is within 14.
near() {
    local a=($1) b=($2)
    for c in 0 1 2; do
        local d=$((a[c] - b[c]))
        ((d < 0)) && d=$((-d))
        ((d > 14)) && return 1
    done
    return 0
}

# wait_for NAME X Y "R G B" SECONDS: polls the screen until the pixel has
# that colour; the last screenshot is NAME.png.
wait_for() {
    local name=$1 x=$2 y=$3 colour=$4 seconds=$5
    local deadline=$((SECONDS + seconds))
    while ((SECONDS <= deadline)); do
        if shot "$name" && near "$(pixel "$name" "$x" "$y")" "$colour"; then
            return 0
        fi
        sleep 0.1
    done
    echo "  (pixel $x,$y is $(pixel "$name" "$x" "$y" 2>/dev/null), wanted $colour)"
    return 1
}

# wait_screen NAME "R G B" SECONDS: the whole screen shows that picture, its
# top-left and bottom-right corners both, so a wipe onto it has ended.
wait_screen() {
    wait_for "$1" 20 20 "$2" "$3" && wait_for "$1" 620 460 "$2" "$3"
}

# wait_exit SECONDS: waits for the game to end and sets `code` to its exit
# code ("timeout" when it had to be killed).
wait_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$game_pid" 2>/dev/null && ((SECONDS <= deadline)); do
        sleep 0.1
    done
    if kill -0 "$game_pid" 2>/dev/null; then
        kill -9 "$game_pid"
        wait "$game_pid" 2>/dev/null
        code=timeout
    else
        wait "$game_pid"
        code=$?
    fi
    game_pid=""
}

# check_up_turns SHOT SQUARE: with the piece as SHOT shows it, Up held turns
# it at every input sample, so one of the pictures taken meanwhile shows it
# turned (two turns can look like none). The square, whose outline is SQUARE,
# looks the same turned. Uses the caller's `piece_outline NAME` ("WxH") and,
# where the game's window must be focused first, its `focus_game`.
check_up_turns() {
    local before after
    before=$(piece_outline "$1")
    after=$before
    if declare -F focus_game >/dev/null; then
        focus_game
    fi
    xdotool keydown Up
    for _ in $(seq 1 8); do
        shot up
        after=$(piece_outline up)
        [[ "$after" != "$before" ]] && break
    done
    xdotool keyup Up
    if [[ "$before" == "$2" ]]; then
        pass "Up on the square (which looks the same turned)"
    elif [[ "$before" != "$after" ]]; then
        pass "Up turns the piece ($before -> $after)"
    else
        fail "Up: the piece kept its outline $before"
    fi
}

# From a game in play: Escape to the main menu, R back into the same game
# with its piece, Escape again, and G into the file menu.
check_leave_resume_and_file_menu() {
    local first
    press Escape
    wait_screen escape "$menu" 8 && pass "Escape returns to the main menu" || fail "Escape"
    press r
    wait_screen resume "$playing" 8 && pass "R resumes the game" || fail "R"
    read -r first _ < <(well_blocks resume)
    ((first > 0)) && pass "the resumed game still has its piece" || fail "resumed game lost its piece"
    press Escape
    wait_screen menu2 "$menu" 8 || fail "Escape again"
    press g
    wait_screen file "$filemenu" 8 && pass "G opens the file menu" || fail "G"
}

# The colours of the small test pictures.
loading="99 97 99"
menu="16 65 16"
playing="16 16 66"
filemenu="66 16 16"
black="0 0 0"
