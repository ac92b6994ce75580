# Helpers of the end-to-end tests that play korvane.exe under Wine on a
# virtual display, on top of tests/support/screen_test_lib.sh (sourced by the
# including script first). The including script sets `work`, `wine_run` and
# `korvane`; `game_pid` is set here while a game runs.
# shellcheck shell=bash

pixel() {
    convert "$work/$1.png" -format \
        "%[fx:round(255*p{$2,$3}.r)] %[fx:round(255*p{$2,$3}.g)] %[fx:round(255*p{$2,$3}.b)]" info:
}

# The blocks in the well on the plain test background: "width height left top"
# of the box round everything that is not the background, or "0 0 0 0".
well_blocks() {
    local box w h x y
    box=$(convert "$work/$1.png" -crop 312x480+251+0 +repage -fuzz 6% -fill black \
        -opaque "rgb(16,16,66)" -trim -format "%w %h %X %Y" info: 2>/dev/null)
    read -r w h x y <<<"$box"
    # A well with nothing in it trims to one pixel.
    if [[ -z "$w" || "$w" -le 1 ]]; then
        echo "0 0 0 0"
    else
        echo "$w $h ${x#+} ${y#+}"
    fi
}

piece_outline() {
    local w h
    read -r w h _ < <(well_blocks "$1")
    echo "${w}x${h}"
}

game_window() { xdotool search --name '^KORVANE$' 2>/dev/null | head -1; }

focus_game() {
    local window
    window=$(game_window)
    [[ -n "$window" ]] && xdotool windowfocus "$window" 2>/dev/null
}

# A key held for several frames and at least two keyboard samples (one every
# 100 ms), with time to spare on a busy machine.
press() {
    focus_game
    sleep 0.05
    xdotool keydown "$1"
    sleep 0.35
    xdotool keyup "$1"
}

# start_game FOLDER [VARIABLE=VALUE...]: the game from that folder, its
# output in out.log and err.log.
start_game() {
    local folder=$1
    shift
    (cd "$folder" && exec env "$@" "$wine_run" "$korvane" >"$work/out.log" 2>"$work/err.log") &
    game_pid=$!
}

# wait_until SECONDS COMMAND...: polls until the command succeeds.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    while ((SECONDS <= deadline)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

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

# The pixels of two pictures that differ by more than 3 % in a channel,
# leaving out the well and the preview box below the counters, where pieces
# move while the game goes on.
differs_outside_the_well() {
    local a
    for a in "$1" "$2"; do
        convert "$work/$a.png" -fill black -draw "rectangle 251,0 562,479" \
            -draw "rectangle 0,330 250,479" "$work/$a-masked.png"
    done
    compare -metric AE -fuzz 3% "$work/$1-masked.png" "$work/$2-masked.png" null: 2>&1 |
        cut -d' ' -f1
}

# Whether Wine showed a crash or error dialog of its own.
wine_error_dialog() {
    xdotool search --onlyvisible --name '^(Program Error|Wine Debugger)' 2>/dev/null | grep -q .
}

# wait_match NAME REFERENCE SECONDS: polls the screen until it is the picture
# $work/reference/REFERENCE.png, give or take 64 pixels that differ by more
# than 3 % in a channel.
wait_match() {
    local name=$1 reference=$2 seconds=$3 d=""
    local deadline=$((SECONDS + seconds))
    while ((SECONDS <= deadline)); do
        shot "real-$name"
        d=$(compare -metric AE -fuzz 3% "$work/real-$name.png" "$work/reference/$reference.png" \
            null: 2>&1 | cut -d' ' -f1)
        if [[ "$d" =~ ^[0-9]+$ && "$d" -le 64 ]]; then
            pass "$name screen matches the headless build's ($d pixels differ)"
            return 0
        fi
        sleep 0.2
    done
    fail "$name screen: $d pixels differ from the headless build's"
    return 1
}
