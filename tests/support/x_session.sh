# The session every end-to-end test runs in: a scratch folder, a private X
# display, the game's process, and, when the test fails, what it saw kept
# in the build tree. Sourced by the test scripts (tests/e2e, tests/wine) and
# by run_on_xvfb.sh; the Wine tests add tests/support/wine_session.sh.
#
#   session_begin NAME       the scratch folder `work` and the exit trap
#   session_on_exit COMMAND  something more to undo at the end (the last
#                            given is undone first)
#   start_display WxH[xD] [wm]
#                            Xvfb at that size (depth 24 unless given), and
#                            openbox when asked; replaces the display before
#   stop_display
#
# Xvfb picks a free display number itself (-displayfd) and writes it once it
# accepts clients, so runs started at the same time never share a screen
# and nothing talks to one that is not up yet.
#
# At the end the game is killed, the undo commands run, the display stops
# and `work` goes. When the script exits with a status other than 0, its
# screenshots, the pictures it compared them with and every log (the
# game's, Wine's, Xvfb's, openbox's) are copied first to
# $KORVANE_E2E_EVIDENCE (CTest sets <build>/e2e-evidence/<test>), and the
# folder is named on the output; a run that passes removes that folder, so
# what is there is always the last run's. Started by hand, without that
# variable, a failed run keeps its scratch folder instead and names it.
# shellcheck shell=bash

session_support=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
session_undo=()
xvfb_pid=""
wm_pid=""
game_pid=""

session_begin() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/korvane-$1-XXXXXX")
    if [[ -n "${KORVANE_E2E_EVIDENCE:-}" ]]; then
        rm -rf "$KORVANE_E2E_EVIDENCE"
    fi
    trap session_end EXIT
    trap 'exit 143' TERM
    trap 'exit 130' INT
}

session_on_exit() { session_undo+=("$*"); }

session_end() {
    local status=$? i
    trap - EXIT
    # Everything is undone, whatever fails on the way.
    set +e
    if [[ -n "$game_pid" ]]; then
        kill -9 "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
    fi
    for ((i = ${#session_undo[@]} - 1; i >= 0; i--)); do
        eval "${session_undo[i]}"
    done
    stop_display
    if ((status != 0)); then
        session_keep_evidence
    else
        rm -rf "$work"
        if [[ -n "${KORVANE_E2E_EVIDENCE:-}" ]]; then
            rmdir "$(dirname "$KORVANE_E2E_EVIDENCE")" 2>/dev/null
        fi
    fi
    exit "$status"
}

# The screenshots, pictures and logs, with the folders they are in (the
# game's own data folders hold none of these).
session_keep_evidence() {
    local kept=${KORVANE_E2E_EVIDENCE:-}
    if [[ -z "$kept" ]]; then
        echo "evidence of this failed run kept in $work"
        return
    fi
    mkdir -p "$kept"
    (cd "$work" && find . -type f \( -name '*.xwd' -o -name '*.png' -o -name '*.log' \
        -o -name '*.txt' ! -name how-to-play.txt \) -print0 |
        xargs -0 -r cp --parents -t "$kept")
    rm -rf "$work"
    echo "evidence of this failed run kept in $kept"
}

start_display() {
    local size=$1 with_wm=${2:-} deadline
    [[ "$size" == *x*x* ]] || size+=x24
    stop_display
    rm -f "$work/display" "$work/wm-ready"
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$work/display" 2>>"$work/xvfb.log" &
    xvfb_pid=$!
    deadline=$((SECONDS + 30))
    while [[ ! -s "$work/display" ]] && kill -0 "$xvfb_pid" 2>/dev/null && ((SECONDS < deadline)); do
        sleep 0.1
    done
    if [[ ! -s "$work/display" ]]; then
        echo "Xvfb did not start: $(cat "$work/xvfb.log")"
        return 1
    fi
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY
    if [[ -n "$with_wm" ]]; then
        # A window mapped while the window manager is still starting may never
        # be shown, so the test waits for the manager's own word that it is up.
        openbox --sm-disable --startup "touch $work/wm-ready" >>"$work/openbox.log" 2>&1 &
        wm_pid=$!
        deadline=$((SECONDS + 30))
        while [[ ! -e "$work/wm-ready" ]] && ((SECONDS < deadline)); do
            sleep 0.1
        done
        [[ -e "$work/wm-ready" ]] || { echo "openbox did not start"; return 1; }
    fi
}

stop_display() {
    [[ -z "$wm_pid" ]] || kill "$wm_pid" 2>/dev/null || true
    [[ -z "$xvfb_pid" ]] || kill "$xvfb_pid" 2>/dev/null || true
    # shellcheck disable=SC2086
    [[ -z "$wm_pid$xvfb_pid" ]] || wait $wm_pid $xvfb_pid 2>/dev/null || true
    wm_pid=""
    xvfb_pid=""
    return 0
}
