#!/bin/sh
# Runs a program on a private Xvfb screen with a window manager beside it.
# The server picks a free display number itself, so runs started at the same
# time never share a screen. Full-screen windows are placed by the window
# manager; without one the game's window would keep its first size.
#   XVFB_SCREEN=640x480x24   the screen (1280x1024x24 unless given)
#   XVFB_WINDOW_MANAGER=no   no window manager
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
    exec "$@"  # the program skips when it finds no display
fi
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
tries=0
while [ ! -s "$work/display" ] && [ $tries -lt 100 ]; do
    tries=$((tries + 1))
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    kill "$server" 2>/dev/null
    rm -rf "$work"
    exit 1
fi
DISPLAY=":$(cat "$work/display")"
export DISPLAY

manager=""
if [ "${XVFB_WINDOW_MANAGER:-yes}" != no ] && command -v openbox >/dev/null 2>&1; then
    # A window mapped while the window manager is still starting may never
    # be shown, so the program waits for the manager's own word that it is up.
    openbox --sm-disable --startup "touch $work/manager-ready" >/dev/null 2>&1 &
    manager=$!
    tries=0
    while [ ! -e "$work/manager-ready" ] && [ $tries -lt 100 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
fi

"$@"
status=$?
[ -n "$manager" ] && kill "$manager" 2>/dev/null
kill "$server" 2>/dev/null
wait 2>/dev/null
rm -rf "$work"
exit $status
