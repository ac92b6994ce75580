#!/usr/bin/env bash
# The game's window as a window manager (openbox) and a compositor see it:
#   - at start-up only the whole screen is ever shown, never a small framed
#     window first that then jumps to the full screen (a flash);
#   - the compositor is asked to stand aside (_NET_WM_BYPASS_COMPOSITOR) on
#     the whole screen only: in the Alt+Enter window the desktop around it is
#     seen, and a compositor that stood aside would stop for all of it.
#   startup_window_test.sh KORVANE WRITE_TEST_ASSETS SHOT_PROBE
set -uo pipefail
# shellcheck source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
desktop_begin e2e-window "$@"
watch_pid=""
session_on_exit '[[ -z "$watch_pid" ]] || kill "$watch_pid" 2>/dev/null'

size=640x480

# The size of every window the window manager showed, as it was shown
# ("WxH"), from xev's report of the screen's top-level windows.
mapped_sizes() {
    awk '
        /^(CreateNotify|ConfigureNotify|MapNotify) event/ { kind = $1; getline; line = $0
            if (!match(line, /window 0x[0-9a-f]+/)) next
            id = substr(line, RSTART + 7, RLENGTH - 7)
            if (kind != "MapNotify") {
                if (match(line, /width [0-9]+, height [0-9]+/)) {
                    split(substr(line, RSTART, RLENGTH), f, /[ ,]+/)
                    size[id] = f[2] "x" f[4]
                }
            } else print size[id]
        }' "$1"
}

# bypass: the game window's _NET_WM_BYPASS_COMPOSITOR, empty when unset.
bypass() { xprop -id "$window" _NET_WM_BYPASS_COMPOSITOR 2>/dev/null | sed -n 's/^[^=]*= //p'; }

# wait_bypass VALUE: until the property has VALUE (empty: unset).
wait_bypass() {
    local deadline=$((SECONDS + 10))
    while ((SECONDS <= deadline)); do
        [[ "$(bypass)" == "$1" ]] && return 0
        sleep 0.1
    done
    return 1
}

# wait_geometry WxH: until the game's window has that size.
wait_geometry() {
    local deadline=$((SECONDS + 15))
    while ((SECONDS <= deadline)); do
        [[ "$(xwininfo -id "$window" | awk '/^  Width:/ {w = $2} /^  Height:/ {h = $2} END {print w "x" h}')" == "$1" ]] &&
            return 0
        sleep 0.1
    done
    return 1
}

# wait_windowed: until the window manager no longer has the game full screen.
wait_windowed() {
    local deadline=$((SECONDS + 15))
    while ((SECONDS <= deadline)); do
        [[ "$(xprop -id "$window" _NET_WM_STATE)" != *FULLSCREEN* ]] && return 0
        sleep 0.1
    done
    return 1
}

assets="$work/assets"
"$write_assets" "$assets"
start_display "$size" wm || exit 1
# The watcher must listen before the game starts: it is started, a property
# of the screen is set, and the game waits until the watcher has seen it.
xev -root -event substructure -event property >"$work/map.log" 2>&1 &
watch_pid=$!
watching() {
    xprop -root -f KORVANE_WATCH 8s -set KORVANE_WATCH on
    grep -q '^PropertyNotify' "$work/map.log"
}
wait_until 20 watching || { fail "the window watcher does not start"; exit 1; }
start_game "$assets"
window=$(game_window)
[[ -n "$window" ]] || { fail "no game window"; exit 1; }
wait_screen menu "$menu" 30 && pass "the main menu shows" || fail "main menu"
kill "$watch_pid" 2>/dev/null
wait "$watch_pid" 2>/dev/null
watch_pid=""
shown=$(mapped_sizes "$work/map.log" | sort -u | tr '\n' ' ')
[[ "$shown" == "$size " ]] && pass "at start-up only the whole screen was shown ($shown)" ||
    fail "windows shown at start-up: $shown"

wait_bypass 1 && pass "on the whole screen the compositor is asked to stand aside" ||
    fail "_NET_WM_BYPASS_COMPOSITOR on the whole screen: '$(bypass)'"
xdotool key alt+Return
wait_windowed && pass "Alt+Enter leaves the full screen" || fail "still full screen after Alt+Enter"
wait_bypass "" && pass "in a window the compositor is not asked to stand aside" ||
    fail "_NET_WM_BYPASS_COMPOSITOR in a window: '$(bypass)'"
xdotool key alt+Return
wait_geometry "$size" && pass "Alt+Enter again takes the whole screen" || fail "not back on the whole screen"
wait_bypass 1 && pass "and asks the compositor to stand aside again" ||
    fail "_NET_WM_BYPASS_COMPOSITOR back on the whole screen: '$(bypass)'"
press e
wait_exit 20
[[ "$code" == 0 ]] && pass "E leaves with exit code 0" || fail "exit code $code"

echo "$passes passed, $failures failed"
((failures == 0))
