#!/usr/bin/env bash
# Runs a program on a private X display (tests/support/x_session.sh):
#   run_on_xvfb.sh [--screen WxHxD] [--no-window-manager] PROGRAM [ARGUMENTS...]
# The screen is 1280x1024x24 unless given, larger than the game's picture so
# that the scaling shows too. Full-screen windows are placed by the window
# manager (openbox); without one the game's window would keep its first
# size. With no Xvfb on the machine the program runs as it is and skips
# what needs a display.
set -euo pipefail
screen=1280x1024x24
window_manager=wm
while [[ $# -gt 0 ]]; do
    case $1 in
    --screen) screen=$2; shift 2 ;;
    --no-window-manager) window_manager=""; shift ;;
    *) break ;;
    esac
done
if ! command -v Xvfb >/dev/null 2>&1; then
    exec "$@"
fi
command -v openbox >/dev/null 2>&1 || window_manager=""
# shellcheck source=x_session.sh
source "$(dirname "$0")/x_session.sh"
session_begin display
start_display "$screen" $window_manager
status=0
"$@" || status=$?
exit $status
