#!/usr/bin/env bash
# The game under an input method in a Japanese mode: IBus with Anthy typing
# hiragana, as a Japanese player's desktop runs it. The game takes no text,
# so the input method must never get the keys: N starts a game, the arrows
# move the piece.
#   input_method_test.sh KORVANE WRITE_TEST_ASSETS SHOT_PROBE
# Runs itself again inside a D-Bus session of its own, with a home folder of
# its own, so that nothing of the machine's own settings is read or changed.
set -uo pipefail
korvane=$1
write_assets=$2
probe=$3
here=$(cd "$(dirname "$0")" && pwd)

if [[ -z "${KORVANE_IM_SESSION:-}" ]]; then
    for tool in ibus-daemon ibus dbus-run-session gsettings; do
        if ! command -v "$tool" >/dev/null; then
            echo "$tool is missing (packages ibus, ibus-anthy, dbus, libglib2.0-bin)"
            exit 1
        fi
    done
    home=$(mktemp -d /tmp/korvane-e2e-im-XXXXXX)
    mkdir -m 700 "$home/run"
    env KORVANE_IM_SESSION=1 HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home/run" \
        dbus-run-session -- bash "$0" "$@" 2> >(grep -v '^dbus-daemon\[' >&2)
    status=$?
    rm -rf "$home"
    exit $status
fi

# shellcheck source=desktop_session.sh
source "$here/desktop_session.sh"
TMPDIR=$HOME session_begin work
ime_pid=""
session_on_exit '[[ -z "$ime_pid" ]] || kill "$ime_pid" 2>/dev/null'

assets="$work/assets"
"$write_assets" "$assets"
start_display 640x480 wm || exit 1

echo "== IBus with Anthy in hiragana mode"
gsettings set org.freedesktop.ibus.engine.anthy.common input-mode 0
# Anthy's engine is a Python program started as "python3": the system's own,
# which has the modules it needs, not one a user put earlier on the path.
PATH=/usr/bin:/bin ibus-daemon --panel=disable --replace >"$work/ibus.log" 2>&1 &
ime_pid=$!
deadline=$((SECONDS + 60))
until [[ "$(ibus engine 2>/dev/null)" == anthy ]] || ((SECONDS > deadline)); do
    ibus engine anthy >/dev/null 2>&1
    sleep 0.2
done
[[ "$(ibus engine 2>/dev/null)" == anthy ]] && pass "IBus runs Anthy" ||
    { fail "IBus did not take Anthy: $(tail -5 "$work/ibus.log")"; exit 1; }
[[ "$(gsettings get org.freedesktop.ibus.engine.anthy.common input-mode)" == 0 ]] &&
    pass "Anthy types hiragana" || fail "Anthy's input mode is not hiragana"

# As a desktop with IBus sets it for every program.
start_game "$assets" XMODIFIERS=@im=ibus SDL_IM_MODULE=ibus GTK_IM_MODULE=ibus QT_IM_MODULE=ibus
wait_screen menu "$menu" 30 && pass "the main menu shows" || fail "main menu"
press n
wait_screen play "$playing" 10 && pass "N starts a game" || fail "N did nothing"
check_key_moves Left
press Escape
wait_screen escape "$menu" 10 && pass "Escape returns to the main menu" || fail "Escape"
press e
wait_screen exit "$black" 10 && pass "E leaves" || fail "E"
wait_exit 15
[[ "$code" == 0 ]] && pass "exit code 0" || fail "exit code $code"

echo "$passes passed, $failures failed"
((failures == 0))
