#!/usr/bin/env bash
# The game on a machine whose OpenGL is broken (a libGL that finds no driver,
# as with a mismatched driver, remote X or some virtual machines): the
# picture is shown without any GPU stack, so the game plays on. A player's
# old setting asking for the GPU (KORVANE_PRESENT=gpu) changes nothing.
#   broken_gl_test.sh KORVANE WRITE_TEST_ASSETS SHOT_PROBE
set -uo pipefail
# shellcheck source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
desktop_begin e2e-gl "$@"

assets="$work/assets"
"$write_assets" "$assets"
start_display 640x480 wm || exit 1
start_game "$assets" LIBGL_DRIVERS_PATH=/nonexistent KORVANE_PRESENT=gpu
wait_screen menu "$menu" 30 && pass "the main menu shows" || fail "main menu: $(cat "$work/err.log")"
press n
wait_screen play "$playing" 10 && pass "N starts a game" || fail "N"
wait_piece piece 10 && pass "a piece falls into the well" || fail "no piece in the well"
if kill -0 "$game_pid" 2>/dev/null; then
    gl=$(grep -c -E '/lib(GL|GLX|EGL)[._]' "/proc/$game_pid/maps")
    ((gl == 0)) && pass "no OpenGL library is loaded" ||
        fail "OpenGL libraries loaded: $(grep -o -E '[^/]*lib(GL|GLX|EGL)[._][^ ]*' "/proc/$game_pid/maps" | sort -u | tr '\n' ' ')"
fi
press Escape
wait_screen back "$menu" 10 && pass "Escape returns to the main menu" || fail "Escape"
press e
wait_screen exit "$black" 10 && pass "E leaves" || fail "E"
wait_exit 15
[[ "$code" == 0 ]] && pass "exit code 0" || fail "exit code $code: $(cat "$work/err.log")"

echo "$passes passed, $failures failed"
((failures == 0))
