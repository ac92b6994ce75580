#!/usr/bin/env bash
# End-to-end test of the real korvane binary on a virtual X display: keys
# sent with xdotool, the screen read back with xwd. One scenario a run, each
# its own CTest test (e2e_desktop_<scenario>):
#   desktop_test.sh SCENARIO KORVANE WRITE_TEST_ASSETS SHOT_PROBE
#   session          a whole session at 640x480, launch to exit
#   moves            every key of play on a falling piece, and its fall
#   menus            leaving a game and resuming it, the file menu's keys
#   no_display       no display at all
#   missing_picture  a failed start-up: a missing picture
#   no_sound_device  a failed start-up with its message box: no sound device
#   scaled           scaled to 1024x768 under a window manager
#   alt_enter        Alt+Enter both ways at 1600x1200 under a window manager
# The test pictures are plain colours (see tests/support/test_assets.cpp),
# so each screen is told by the colour of a pixel outside the well.
set -uo pipefail
scenario=$1
korvane=$2
write_assets=$3
probe=$4
here=$(dirname "$0")
# shellcheck source=desktop_session.sh
source "$here/desktop_session.sh"
session_begin "e2e-$scenario"

scenario_session() {
    echo "== a whole session at 640x480"
    start_display 640x480 || exit 1
    launched=$(date +%s.%N)
    start_game "$assets"
    wait_for loading 20 20 "$loading" 30 && pass "the loading picture shows" || fail "loading picture"
    wait_screen menu "$menu" 40 &&
        pass "the main menu shows after its wipe" || fail "main menu"
    shown=$(date +%s.%N)
    echo "  launch to main menu fully shown: $(echo "$shown $launched" | awk '{printf "%.2f", $1 - $2}') s"

    press_to_screen n play "$playing" 15 && pass "N starts a game" || fail "N"
    press_to_screen Escape back "$menu" 15 && pass "Escape returns to the main menu" || fail "Escape"
    press_to_screen e exit "$black" 15 && pass "E wipes the screen to black" || fail "E wipe"
    wait_exit 20
    [[ "$code" == 0 ]] && pass "the game ends with exit code 0" || fail "exit code $code"
}

scenario_moves() {
    echo "== every key of play on a falling piece at 640x480"
    start_display 640x480 || exit 1
    start_game "$assets"
    wait_screen menu "$menu" 40 || fail "main menu"
    press_to_screen n play "$playing" 15 || fail "N"
    check_moves
}

scenario_menus() {
    echo "== leaving a game, resuming it, and the file menu at 640x480"
    start_display 640x480 || exit 1
    start_game "$assets"
    wait_screen menu "$menu" 40 || fail "main menu"
    press_to_screen n play "$playing" 15 || fail "N"
    wait_piece piece 15 || fail "no piece in the well"
    check_leave_resume_and_file_menu
    check_file_menu_keys
    press_to_screen e exit "$black" 15 || fail "E wipe"
    wait_exit 20
    [[ "$code" == 0 ]] && pass "the game ends with exit code 0" || fail "exit code $code"
}

scenario_no_display() {
    echo "== no display at all"
    (cd "$assets" && DISPLAY=:1999 WAYLAND_DISPLAY=wayland-1999 SDL_AUDIODRIVER=dummy \
        timeout 10 "$korvane" >/dev/null 2>"$work/nodisplay.log")
    code=$?
    [[ "$code" == 1 ]] && pass "with no display the game exits 1 at once" || fail "exit code $code with no display"
    grep -q "Direct Draw" "$work/nodisplay.log" && pass "standard error carries the display's message" ||
        fail "standard error: $(cat "$work/nodisplay.log")"
}

scenario_missing_picture() {
    echo "== a failed start-up: a missing picture"
    start_display 640x480 || exit 1
    cp -r "$assets" "$work/nomain"
    rm "$work/nomain/Art/Main.kvp"
    start_game "$work/nomain"
    wait_exit 20
    [[ "$code" == 1 ]] && pass "exit code 1" || fail "exit code $code after a missing picture"
    grep -q "Art/Main.kvp" "$work/err.log" && pass "standard error names Art/Main.kvp" ||
        fail "standard error: $(cat "$work/err.log")"
}

scenario_no_sound_device() {
    echo "== a failed start-up with its message box: no sound device"
    start_display 640x480 || exit 1
    start_game "$assets" SDL_AUDIODRIVER=no-such-driver
    box=""
    for _ in $(seq 1 300); do
        box=$(xwininfo -root -tree 2>/dev/null | awk '/"Error": /{print $1; exit}')
        [[ -n "$box" ]] && break
        sleep 0.1
    done
    if [[ -n "$box" ]]; then
        pass "the message box shows"
        dismiss_box "$box" 15
        [[ "$code" == 1 ]] && pass "dismissed, the game ends with exit code 1" || fail "exit code $code"
        grep -q "sound" "$work/err.log" && pass "standard error names the sound step" ||
            fail "standard error: $(cat "$work/err.log")"
    else
        xwininfo -root -tree | head -30
        fail "no message box"
    fi
}

scenario_scaled() {
    echo "== scaled to 1024x768 under a window manager"
    start_display 1024x768 wm || exit 1
    start_game "$assets"
    x0=0 y0=0 w=1024 h=768
    if wait_picture big "$menu" 40; then
        read -r x0 y0 x1 y1 <<<"$picture_box"
        read -r w h < <("$probe" "$work/big.xwd" size)
        margin_x=$((x0 - (w - 1 - x1))) margin_y=$((y0 - (h - 1 - y1)))
        ((margin_x * margin_x <= 1 && margin_y * margin_y <= 1)) &&
            pass "the main menu's wipe ends in the middle of a larger screen ($x0,$y0 to $x1,$y1)" ||
            fail "the menu at $x0,$y0 to $x1,$y1 is not in the middle of ${w}x$h"
    else
        fail "menu at 1024x768"
    fi
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"KORVANE": /{print $1; exit}')
    if [[ -n "$window" ]]; then
        wait_geometry "$window" "${w}x${h}" 15 && pass "the window covers the whole screen ($geometry)" ||
            fail "window geometry $geometry on a ${w}x${h} screen"
    else
        fail "no KORVANE window"
    fi
    press_until e big_exit $((x0 + 2)) $((y0 + 2)) "$black" 15
    wait_exit 15
    [[ "$code" == 0 ]] && pass "exit code 0" || fail "exit code $code at 1024x768"
}

scenario_alt_enter() {
    echo "== Alt+Enter: full screen and a window, both ways, at 1600x1200 under a window manager"
    start_display 1600x1200 wm || exit 1
    start_game "$assets"
    # The picture on the full screen: 1600x1200 holds it twice with a border of
    # a fifth, so it fills the screen, sharply scaled.
    read -r sx sy sw sh _ < <(place 1600 1200)
    full() { picture_point "$sx" "$sy" "$sw" "$sh" "$1" "$2"; }
    wait_for load2 $(full 320 240) "$loading" 30 || fail "loading picture at 1600x1200"
    window=""
    for _ in $(seq 1 150); do
        window=$(xdotool search --class KV_Class 2>/dev/null | head -1)
        [[ -n "$window" ]] && break
        sleep 0.1
    done
    [[ -n "$window" ]] && pass "the window is found by its class KV_Class" || fail "no window of class KV_Class"
    # During the loading picture, before the menu's wipe: into a window.
    xdotool key alt+Return
    ww=1280 wh=960
    if placed=$(wait_window_placed "$window"); then
        read -r ww wh _ <<<"$placed"
        pass "Alt+Enter makes a ${ww}x${wh} window, the largest the desktop's usable area holds"
    else
        fail "windowed geometry $(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')"
    fi
    inside() {
        local left top
        left=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
        top=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
        picture_point "$left" "$top" "$ww" "$wh" "$1" "$2"
    }
    if wait_for win_menu $(inside 10 10) "$menu" 40 && wait_for win_menu $(inside 630 470) "$menu" 20; then
        pass "the menu's wipe ends in the window"
    else
        fail "menu in the window"
    fi
    read -r ox oy < <(inside 0 0)
    if ((ox >= 12 && oy >= 12)); then
        ! near "$(pixel win_menu $((ox - 8)) $((oy - 8)))" "$menu" &&
            pass "the desktop shows around the window" || fail "the menu shows outside the window"
    fi
    press_until n win_play $(inside 10 10) "$playing" 15 && wait_for win_play $(inside 630 470) "$playing" 15 &&
        pass "N plays in the window" || fail "N in the window"
    xdotool key alt+Return
    wait_geometry "$window" 1600x1200 15 && pass "Alt+Enter again takes the whole screen" ||
        fail "full-screen geometry $geometry"
    if wait_for full_play $(full 0 0) "$playing" 15 && wait_for full_play $(full 639 479) "$playing" 15; then
        pass "the game goes on, filling the screen"
    else
        fail "play after going back to the full screen"
    fi
    press_until Escape full_menu $(full 10 10) "$menu" 15 && wait_for full_menu $(full 630 470) "$menu" 15 && pass "the game's keys act as before" || fail "Escape after Alt+Enter"
    press_until e full_exit $(full 10 10) "$black" 15
    wait_exit 15
    [[ "$code" == 0 ]] && pass "exit code 0" || fail "exit code $code after Alt+Enter"
}

if ! declare -F "scenario_$scenario" >/dev/null; then
    echo "no scenario $scenario"
    exit 2
fi
assets="$work/assets"
"$write_assets" "$assets"
"scenario_$scenario"
echo "$passes passed, $failures failed"
((failures == 0))
