#!/usr/bin/env bash
# Switching away from the game during play and back, with Alt+Tab under a
# window manager (openbox): another window comes on top, the game goes on
# meanwhile (nothing pauses), and once back the whole picture is the game's
# again, with no trace of the window that covered it.
#   alt_tab_test.sh KORVANE WRITE_TEST_ASSETS SHOT_PROBE
set -uo pipefail
# shellcheck source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
desktop_begin e2e-alttab "$@"
other_pid=""
session_on_exit '[[ -z "$other_pid" ]] || kill "$other_pid" 2>/dev/null'

# wait_active WINDOW SECONDS: until the window manager has made WINDOW the
# active one.
wait_active() {
    local deadline=$((SECONDS + $2))
    while ((SECONDS <= deadline)); do
        [[ "$(xdotool getactivewindow 2>/dev/null)" == "$1" ]] && return 0
        sleep 0.1
    done
    return 1
}

# How many pixels of the well (the part of the picture that changes most)
# show the other window's white, and how many of the right-hand strip (never
# drawn on during play) are not the playing picture's colour.
stale_pixels() {
    local differ area right
    read -r differ _ _ _ _ area < <("$probe" "$work/$1.xwd" region well 255 255 255)
    # shellcheck disable=SC2086 # the colour is three words
    read -r right _ < <("$probe" "$work/$1.xwd" region beside-well $playing)
    echo $((area - differ + right))
}

assets="$work/assets"
"$write_assets" "$assets"
start_display 640x480 wm || exit 1
# The other window, white, over the well and the right of the picture.
xev -geometry 300x300+320+90 >/dev/null 2>&1 &
other_pid=$!
other=""
for _ in $(seq 1 100); do
    other=$(xdotool search --name "Event Tester" 2>/dev/null | head -1)
    [[ -n "$other" ]] && break
    sleep 0.1
done
[[ -n "$other" ]] || { fail "the other window did not show"; exit 1; }

start_game "$assets"
window=$(game_window)
wait_screen menu "$menu" 30 && pass "the main menu shows" || fail "main menu"
press n
wait_screen play "$playing" 10 && pass "N starts a game" || fail "N"
wait_piece before 10 || fail "no piece in the well"
wait_active "$window" 10 || fail "the game's window is not the active one"

echo "== Alt+Tab to the other window"
xdotool key alt+Tab
wait_active "$other" 10 && pass "Alt+Tab makes the other window active" ||
    fail "active window $(xdotool getactivewindow 2>/dev/null), not the other one ($other)"
covered=""
deadline=$((SECONDS + 10))
while ((SECONDS <= deadline)); do
    shot away
    (($(stale_pixels away) > 1000)) && { covered=yes; break; }
    sleep 0.1
done
[[ -n "$covered" ]] && pass "the other window shows over the game" || fail "the other window never showed"
echo "  the game's window state while away: $(xprop -id "$window" _NET_WM_STATE 2>/dev/null | cut -d= -f2)"
# Away for a while, as a player would be: the game goes on meanwhile.
sleep 1.5

echo "== Alt+Tab back to the game"
xdotool key alt+Tab
wait_active "$window" 10 && pass "Alt+Tab makes the game active again" ||
    fail "active window $(xdotool getactivewindow 2>/dev/null), not the game's ($window)"
whole=""
deadline=$((SECONDS + 10))
while ((SECONDS <= deadline)); do
    shot back
    (($(stale_pixels back) == 0)) && near "$(pixel back 20 20)" "$playing" && { whole=yes; break; }
    sleep 0.1
done
[[ -n "$whole" ]] && pass "the whole picture is the game's again" ||
    fail "$(stale_pixels back) pixels still show the other window or no picture"
read -r _ bx0 by0 bx1 by1 < <(well_blocks before)
read -r count ax0 ay0 ax1 ay1 < <(well_blocks back)
((count > 0)) && [[ "$bx0 $by0 $bx1 $by1" != "$ax0 $ay0 $ax1 $ay1" ]] &&
    pass "the game went on meanwhile (the well's blocks moved)" || fail "the well did not change"

# The keys act again.
check_key_moves Left
press Escape
wait_screen menu_again "$menu" 10 || fail "Escape"
press e
wait_exit 20
[[ "$code" == 0 ]] && pass "Escape and E leave with exit code 0" || fail "exit code $code"

echo "$passes passed, $failures failed"
((failures == 0))
