#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix, made on first use:
#   wine_run.sh program.exe [arguments...]
#   wine_run.sh --which-wine      (prints the Wine loader it would use)
# The prefix lives in KORVANE_WINEPREFIX, or else in the build folder the
# program was built in (the folder holding CMakeCache.txt above it).
# Wine's server stays ten idle minutes after the last program, and every
# window it shows goes to the display it started on: a start on another
# display within that time says so (stop the server as it says to move on).
set -euo pipefail

find_wine() {
    local candidate
    for candidate in "${WINE:-}" "$(command -v wine64 || true)" "$(command -v wine || true)" \
        /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64 /usr/bin/wine64; do
        if [[ -n "$candidate" && -x "$candidate" ]]; then
            echo "$candidate"
            return 0
        fi
    done
    echo "wine_run.sh: no wine64 found (Debian package wine64)" >&2
    return 1
}

find_prefix() {
    local dir
    dir=$(cd "$(dirname "$1")" && pwd)
    while [[ "$dir" != "/" ]]; do
        if [[ -f "$dir/CMakeCache.txt" ]]; then
            echo "$dir/wine-prefix"
            return 0
        fi
        dir=$(dirname "$dir")
    done
    echo "${TMPDIR:-/tmp}/korvane-wine-prefix-$(id -u)"
}

# Wine's first start of a prefix, and then the wait until the server that
# made it has gone (it writes the registry as it ends); only then is the
# prefix marked `made`. Wine's own files cannot tell: a server stopped
# half-way through the making writes the registry too. A prefix whose
# making was cut short (a test stopped at its time limit) is made again from
# nothing, its server stopped first: one left running keeps the display it
# started on, which may be gone. Each wait has a limit, well inside a
# test's. When the making fails or a limit is reached, Wine's processes as
# they stand and the start's own log (Wine's errors, otherwise noise) are
# shown, the half-made prefix is cleared, and the program is not run.
make_prefix() {
    local log="$WINEPREFIX.boot.log"
    clear_prefix
    : >"$log"
    making_step "wineboot -i" "it did not end within 3 minutes" \
        env DISPLAY='' WINEDEBUG=-all,err+all timeout 180 "$WINE" wineboot -i || return 1
    making_step "wineserver -w" "the server that made it was still running a minute after" \
        timeout 60 "$wineserver" -w || return 1
    rm -f "$log"
    touch "$WINEPREFIX/made"
}

# One step of the making: STEP, what its time limit reached means, and the
# command, its output added to the log. Fails, having said why, unless the
# command ended with 0.
making_step() {
    local step=$1 timed_out=$2 status=0
    shift 2
    "$@" >>"$log" 2>&1 || status=$?
    ((status != 0)) || return 0
    if ((status == 124)); then
        prefix_not_made "$step: $timed_out"
    else
        prefix_not_made "$step ended with $status"
    fi
    return 1
}

prefix_not_made() {
    echo "wine_run.sh: the Wine prefix $WINEPREFIX was not made: $1. Wine's processes then:" >&2
    ps -eo pid,ppid,etimes,stat,wchan:24,args | awk 'NR == 1 || /wine|\.exe/ && !/awk/' >&2
    echo "wine_run.sh: the log of the making ($log):" >&2
    tail -n 40 "$log" >&2
    clear_prefix
}

# The prefix's server stopped and its files gone, but for `wineserver`:
# Debian's Wine names there the folder in /tmp the server keeps its socket
# in, which would otherwise be left behind.
clear_prefix() {
    [[ -n "$(ls -A "$WINEPREFIX")" ]] || return 0
    "$wineserver" -k 2>/dev/null
    timeout 30 "$wineserver" -w 2>/dev/null
    find "$WINEPREFIX" -mindepth 1 -maxdepth 1 ! -name wineserver -exec rm -rf {} +
}

[[ $# -ge 1 ]] || { echo "usage: wine_run.sh program.exe [arguments...] | --which-wine" >&2; exit 2; }
WINE=$(find_wine)
wineserver="$(dirname "$WINE")/wineserver"
if [[ "$1" == "--which-wine" ]]; then
    echo "$WINE"
    exit 0
fi
export WINE
export WINEPREFIX=${KORVANE_WINEPREFIX:-$(find_prefix "$1")}
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or browser engine: the first start of a prefix would offer to fetch
# them. No debugger either: a program that crashes ends, it does not wait.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
export WINEARCH=win64

mkdir -p "$WINEPREFIX"
# Test programs start two at a time. Under one lock: the first start makes
# the prefix and waits until the server that made it has gone; then one
# server is started that stays for ten idle minutes, so no program ever meets
# a server that is shutting down ("recvmsg: Connection reset by peer"). When
# a server runs already, that start leaves at once.
(
    flock 9
    if [[ ! -f "$WINEPREFIX/made" ]]; then
        echo "wine_run.sh: making the Wine prefix $WINEPREFIX, once (up to a minute)" >&2
        make_prefix || exit 1
    fi
    # Neither the server nor the system processes Wine starts with the first
    # program (which stay as long as the server) may keep the lock or this
    # program's output open, or whoever reads that output waits for them:
    # both are started here with neither. The desktop process among them
    # keeps the display it starts on for good, so it gets this program's.
    # (The server answers 0 when it started, 2 when one runs already, or
    # holds the prefix while it shuts down; anything else is said, since the
    # program would then start a server of Wine's own, which stays only
    # three idle seconds.)
    started=0
    "$wineserver" -p600 </dev/null >/dev/null 2>&1 9>&- || started=$?
    if ((started == 0)); then
        echo "${DISPLAY:-}" >"$WINEPREFIX.display"
        "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
    elif ((started != 2)); then
        echo "wine_run.sh: Wine's server for $WINEPREFIX did not start (exit code $started)" >&2
    elif [[ -f "$WINEPREFIX.display" && "$(cat "$WINEPREFIX.display")" != "${DISPLAY:-}" ]]; then
        echo "wine_run.sh: Wine's server for $WINEPREFIX started on display" \
            "'$(cat "$WINEPREFIX.display")' and shows its windows there, not on '${DISPLAY:-}';" \
            "to change, stop it first: WINEPREFIX=$WINEPREFIX $(dirname "$WINE")/wineserver -k" >&2
    fi
) 9>"$WINEPREFIX.lock"
exec "$WINE" "$@"
