# Shell functions of the end-to-end tests that play korvane.exe under Wine
# on a virtual display, on top of tests/support/screen_test_lib.sh (sourced
# by the including script first). The including script sets `work`,
# `wine_run`, `korvane`, `probe` and `exit_code_of`; `game_pid` is set here
# while a game runs.
# shellcheck shell=bash

# picture NAME: the file of a shot NAME ($work/NAME.xwd) or of a picture the
# headless build drew ($work/NAME.png).
picture() {
    if [[ -f "$work/$1.xwd" ]]; then
        echo "$work/$1.xwd"
    else
        echo "$work/$1.png"
    fi
}

# How far a channel of a screenshot may be from the headless build's picture
# of the same screen: Wine's screen and the headless build widen 5-6-5 in
# their own ways.
picture_tolerance=8

game_window() { xdotool search --name '^KORVANE$' 2>/dev/null | head -1; }

# Keys go to the game's window. It is given the focus only when it has not
# got it: Wine lets go of every key it holds down when the focus moves.
focus_game() {
    local window
    window=$(game_window)
    [[ -n "$window" && "$(xdotool getwindowfocus 2>/dev/null)" != "$window" ]] &&
        xdotool windowfocus --sync "$window" 2>/dev/null
}

# A Unix path as Wine names it on its drive Z:, the root folder.
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }

# start_program FOLDER [VARIABLE=VALUE...] -- PROGRAM [ARGUMENTS...]: a
# Windows program started in FOLDER through `exit_code_of`
# (exit_code_of.cpp), which writes the code it ends with to `exit_code_file`
# for wait_exit; its output in out.log and err.log.
start_program() {
    local folder=$1 variables=()
    shift
    while [[ "$1" != -- ]]; do
        variables+=("$1")
        shift
    done
    shift
    exit_code_file=$work/exit-code
    rm -f "$exit_code_file"
    (cd "$folder" && exec env "${variables[@]}" "$wine_run" "$exit_code_of" \
        "$(windows_path "$exit_code_file")" "$@" >"$work/out.log" 2>"$work/err.log") &
    game_pid=$!
}

# Killing `exit_code_of` leaves the game it started running; Wine ends it.
stop_started_game() { "$wine_run" taskkill /f /im korvane.exe >/dev/null 2>&1; }

# start_game FOLDER [VARIABLE=VALUE...]: the game from that folder.
start_game() { start_program "$@" -- "$(windows_path "$korvane")"; }

# The game window's state as the window manager keeps it: Normal or Iconic.
game_state() { xprop -id "$(game_window)" WM_STATE 2>/dev/null | awk '/window state/ {print $3}'; }
game_iconic() { [[ "$(game_state)" == Iconic ]]; }
game_shown() { [[ "$(game_state)" == Normal ]]; }

# "x y width height" of the inside of the game's window on the screen.
game_inside() {
    xwininfo -id "$(game_window)" 2>/dev/null | awk '
        /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}

# The pixels of two pictures that differ by more than the tolerance in a
# channel right of the well, where nothing moves while the game goes on.
differs_outside_the_well() {
    "$probe" "$(picture "$1")" differs "$(picture "$2")" "$picture_tolerance" beside-well
}

# Whether Wine showed a crash or error dialog of its own.
wine_error_dialog() {
    xdotool search --onlyvisible --name '^(Program Error|Wine Debugger)' 2>/dev/null | grep -q .
}

# wait_match NAME REFERENCE SECONDS: polls the screen until it is the picture
# $work/reference/REFERENCE.png, give or take 64 pixels that differ by more
# than the tolerance in a channel.
wait_match() {
    local name=$1 reference=$2 seconds=$3 d=""
    local deadline=$((SECONDS + seconds))
    while ((SECONDS <= deadline)); do
        shot "real-$name"
        d=$("$probe" "$work/real-$name.xwd" differs "$work/reference/$reference.png" \
            "$picture_tolerance")
        if [[ "$d" =~ ^[0-9]+$ && "$d" -le 64 ]]; then
            pass "$name screen matches the headless build's ($d pixels differ)"
            return 0
        fi
        sleep 0.2
    done
    fail "$name screen: $d pixels differ from the headless build's"
    return 1
}

# press_to_match KEY NAME REFERENCE SECONDS: KEY held until the screen is
# the reference picture (as wait_match).
press_to_match() {
    local status
    key_down "$1"
    wait_match "$2" "$3" "$4"
    status=$?
    key_up "$1"
    return $status
}
