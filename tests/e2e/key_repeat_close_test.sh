#!/usr/bin/env bash
# Closing the window after a key was held for long: the key's repeats (about
# 30 a second on common desktops) must not queue up in front of the close
# request, which the game takes from its queue one message a frame.
#   key_repeat_close_test.sh KORVANE WRITE_TEST_ASSETS SHOT_PROBE
set -uo pipefail
# shellcheck source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
desktop_begin e2e-repeat "$@"

hold_seconds=30
# The close must act in about the time a close takes with no key held; a
# queue of repeats takes many seconds to drain at 25 messages a second.
close_deadline_ms=3000

assets="$work/assets"
"$write_assets" "$assets"
start_display 640x480 wm || exit 1
# Repeats after half a second, 33 a second, as a player's desktop may set.
for _ in $(seq 1 50); do
    xset r rate 500 33 2>/dev/null
    xset q | grep -q "repeat delay:  500    repeat rate:  33" && break
    sleep 0.1
done
xset q | grep -q "repeat rate:  33" && pass "the keyboard repeats 33 times a second" ||
    fail "xset did not set the repeat rate: $(xset q | grep 'repeat rate')"

start_game "$assets"
wait_screen menu "$menu" 30 && pass "the main menu shows" || fail "main menu"
press n
wait_screen play "$playing" 10 && pass "N starts a game" || fail "N"
wait_piece piece 10 || fail "no piece in the well"
window=$(game_window)

echo "== Left held for $hold_seconds s, then the window closed with Alt+F4"
xdotool keydown Left
sleep "$hold_seconds"
xdotool keyup Left
kill -0 "$game_pid" 2>/dev/null && pass "the game still runs after the key was held" ||
    fail "the game ended while the key was held"
[[ -n "$window" ]] && xdotool windowfocus --sync "$window" 2>/dev/null
asked=$(now_ms)
xdotool key alt+F4
deadline=$((SECONDS + 60))
while kill -0 "$game_pid" 2>/dev/null && ((SECONDS <= deadline)); do
    sleep 0.02
done
took=$(($(now_ms) - asked))
wait_exit 1
echo "  close request to the program's end: $took ms"
[[ "$code" == 0 ]] && pass "closed, the game ends with exit code 0" || fail "exit code $code"
((took <= close_deadline_ms)) && pass "the close acts at once, not behind the key's repeats" ||
    fail "the close took $took ms"

echo "$passes passed, $failures failed"
((failures == 0))
