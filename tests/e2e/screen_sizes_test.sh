#!/usr/bin/env bash
# The game on the screens players have, under a window manager (openbox):
# 1280x800, 1366x768, 1600x1200 and 1920x1080. With the real pictures, on each:
#   - the picture fills the screen's height, or takes a whole-number factor
#     where that leaves a border under 15 % of the height, in the middle, on
#     black, and matches the headless build's picture scaled the same way:
#     enlarged by a whole number with nearest, then smoothed down to its size;
#   - Alt+Enter makes a window as large as that rule allows inside the
#     desktop's usable area with the window's frame, all of it on the screen,
#     with the picture filling it; and Alt+Enter again the whole screen.
#   screen_sizes_test.sh KORVANE DATA REPLAY REFERENCE_SCRIPT SHOT_PROBE [SIZE...]
# REFERENCE_SCRIPT is a korvane-replay script that shoots the main menu as "menu".
set -uo pipefail
korvane=$1
data=$2
replay=$3
reference_script=$4
probe=$5
shift 5
sizes=("$@")
((${#sizes[@]})) || sizes=(1280x800 1366x768 1600x1200 1920x1080)
here=$(dirname "$0")
# shellcheck source=desktop_session.sh
source "$here/desktop_session.sh"
session_begin e2e-sizes

# scaled NAME W H FACTOR [smooth]: the headless build's picture NAME at W x H,
# scaled by ImageMagick the way the rule says.
scaled() {
    local name=$1 w=$2 h=$3 k=$4 smooth=${5:-} out="$work/ref-$1-$2x$3.png"
    if [[ ! -e "$out" ]]; then
        if [[ -n "$smooth" ]]; then
            convert "$work/reference/$name.png" -filter point -resize "$((k * 100))%" \
                -interpolate bilinear -interpolative-resize "${w}x${h}!" "$out"
        else
            convert "$work/reference/$name.png" -filter point -resize "${w}x${h}!" "$out"
        fi
    fi
    echo "$out"
}

# differs SHOT X Y W H REFERENCE: how many pixels of the screenshot's W x H
# part at X,Y differ from the reference by more than 4 % in a channel.
differs() {
    convert "xwd:$work/$1.xwd" -crop "${4}x${5}+${2}+${3}" +repage "$work/crop.png"
    compare -metric AE -fuzz 4% "$work/crop.png" "$6" null: 2>&1 | cut -d' ' -f1
}

# wait_scaled NAME SCREEN X Y W H FACTOR [smooth]: polls until the screen's
# W x H part at X,Y is the headless build's picture SCREEN scaled to that
# size, but for a few pixels where rounding differs (0.2 % of them). X and Y
# "window": the game window's place, read again at each look, since the window
# manager may still be moving it once it has its size.
wait_scaled() {
    local name=$1 screen=$2 x=$3 y=$4 w=$5 h=$6 reference d="" at_x at_y
    reference=$(scaled "$screen" "$w" "$h" "$7" "${8:-}")
    local allowed=$((w * h / 500)) deadline=$((SECONDS + 30))
    while ((SECONDS <= deadline)); do
        at_x=$x at_y=$y
        [[ "$x" == window ]] && read -r at_x at_y < <(window_origin)
        shot "$name"
        d=$(differs "$name" "$at_x" "$at_y" "$w" "$h" "$reference")
        [[ "$d" =~ ^[0-9]+$ ]] && ((d <= allowed)) && { echo "$d"; return 0; }
        sleep 0.2
    done
    echo "$d"
    return 1
}

# window_origin: the top-left of the game window's inside on the screen, "X Y".
window_origin() {
    xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}'
}

# prop WINDOW NAME: the window's (or the root's) X property NAME, as xprop prints its value.
prop() {
    if [[ "$1" == root ]]; then xprop -root "$2"; else xprop -id "$1" "$2"; fi 2>/dev/null |
        sed -n 's/^[^=]*= //p'
}

mkdir -p "$work/reference"
"$replay" --assets "$data" --shots "$work/reference" "$reference_script" >"$work/replay.log" 2>&1 ||
    { fail "the headless build's pictures: $(tail -3 "$work/replay.log")"; exit 1; }

for size in "${sizes[@]}"; do
    sw=${size%x*}
    sh=${size#*x}
    echo "== $size"
    start_display "$size" wm || exit 1
    start_game "$data"
    window=$(game_window)
    [[ -n "$window" ]] || { fail "no window at $size"; continue; }
    read -r x y w h k smooth < <(place "$sw" "$sh")
    if d=$(wait_scaled "menu-$size" menu "$x" "$y" "$w" "$h" "$k" $smooth); then
        pass "the main menu fills ${w}x${h} at $x,$y, as the headless build's scaled ($d pixels differ)"
    else
        fail "the main menu at ${w}x${h}+$x+$y: $d pixels differ from the headless build's scaled"
    fi
    read -r outside _ < <("$probe" "$work/menu-$size.xwd" blocks 0 0 $((x - 1)) $((sh - 1)) 0 0 0)
    read -r below _ < <("$probe" "$work/menu-$size.xwd" blocks 0 0 $((sw - 1)) $((y - 1)) 0 0 0)
    ((x == 0)) && outside=0
    ((y == 0)) && below=0
    ((outside + below == 0)) && pass "black around the picture" ||
        fail "$((outside + below)) pixels around the picture are not black"

    xdotool key alt+Return
    if placed=$(wait_window_placed "$window"); then
        read -r ww wh wk wsmooth <<<"$placed"
        pass "Alt+Enter makes a ${ww}x${wh} window, the largest the usable area holds with its frame"
    else
        geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
        fail "window ${geometry:-?}, not the largest the usable area holds with its frame"
        ww=${geometry%x*} wh=${geometry#*x} wk=1 wsmooth=smooth
    fi
    if d=$(wait_scaled "window-$size" menu window window "$ww" "$wh" "$wk" $wsmooth); then
        pass "the picture fills the window ($d pixels differ)"
    else
        fail "the picture in the window: $d pixels differ"
    fi
    # Where the window settled, with the picture in it.
    read -r ux uy uw uh < <(prop root _NET_WORKAREA | tr -d ',' | cut -d' ' -f1-4)
    read -r fl fr ft fb < <(prop "$window" _NET_FRAME_EXTENTS | tr -d ',')
    read -r left top < <(window_origin)
    if ((left - fl >= ux && top - ft >= uy && left + ww + fr <= ux + uw && top + wh + fb <= uy + uh)); then
        pass "the window and its frame are on the screen (at $left,$top)"
    else
        fail "the window at $left,$top with its frame leaves the usable area"
    fi

    xdotool key alt+Return
    if d=$(wait_scaled "again-$size" menu "$x" "$y" "$w" "$h" "$k" $smooth); then
        pass "Alt+Enter again: the whole screen, as before ($d pixels differ)"
    else
        fail "back on the whole screen: $d pixels differ"
    fi
    press e
    wait_exit 20
    [[ "$code" == 0 ]] && pass "E leaves with exit code 0" || fail "exit code $code at $size"
done

echo "$passes passed, $failures failed"
((failures == 0))
