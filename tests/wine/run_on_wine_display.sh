#!/usr/bin/env bash
# Runs a Windows program under Wine on a private 640x480 X display with no
# window manager, as the game test's, and a null sound card:
#   run_on_wine_display.sh WINE_RUN PREFIX PROGRAM.exe [arguments...]
# The prefix's server is stopped before and after (tests/support/
# wine_session.sh): the program's start brings up a new one on this display.
# Tests that share PREFIX must not run at the same time.
set -uo pipefail
here=$(dirname "$0")
# shellcheck source=../support/x_session.sh
source "$here/../support/x_session.sh"
# shellcheck source=../support/wine_session.sh
source "$here/../support/wine_session.sh"
session_begin wine-display
wine_begin "$1" "$2"
shift 2
start_display 640x480 || exit 1
"$wine_run" "$@"
