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

[[ $# -ge 1 ]] || { echo "usage: wine_run.sh program.exe [arguments...] | --which-wine" >&2; exit 2; }
WINE=$(find_wine)
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
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        # Its output is Wine's noise, so a word of our own instead.
        echo "wine_run.sh: making the Wine prefix $WINEPREFIX, once (up to a minute)" >&2
        DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1 || true
        "$(dirname "$WINE")/wineserver" -w 2>/dev/null || true
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
    "$(dirname "$WINE")/wineserver" -p600 </dev/null >/dev/null 2>&1 9>&- || started=$?
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
