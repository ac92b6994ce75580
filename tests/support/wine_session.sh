# Wine for an end-to-end test, on top of tests/support/x_session.sh (sourced
# and begun first): the prefix the test plays in, its server, a sound card
# that plays into nothing, and all of it stopped when the session ends.
#
#   wine_begin WINE_RUN PREFIX   sets `wine_run` and `wineserver`, exports
#                                WINEPREFIX, and stops whatever server the
#                                prefix still has
#   wine_ready                   the prefix (made on first use), its server
#                                and Wine's own processes, on the display
#                                started last; its output in wine-start.log
#   wine_stop                    the prefix's server and every program of it,
#                                waited for until gone
#
# Wine's desktop process keeps the display it started on, so a prefix's
# server must never outlive its display: the session stops both. Tests that
# share a prefix must not run at the same time (CTest: RUN_SERIAL).
# Wine's own errors (WINEDEBUG err channels) go to each program's standard
# error, which the tests keep in their logs.
# shellcheck shell=bash

wine_begin() {
    wine_run=$1
    export KORVANE_WINEPREFIX=$2
    export WINEPREFIX=$2
    export WINEDEBUG=${WINEDEBUG:--all,err+all}
    # Wine's DirectSound plays through ALSA.
    export ALSA_CONFIG_PATH=$session_support/asound-null.conf
    wineserver="$(dirname "$("$wine_run" --which-wine)")/wineserver"
    wine_stop
    session_on_exit wine_stop
}

wine_ready() {
    "$wine_run" cmd /c exit >>"$work/wine-start.log" 2>&1
}

# wineserver -k gives up waiting for the server after about ten seconds
# and kills it without waiting more; -w then waits until it has gone, so the
# next start never meets a server still shutting down. A server can run on
# a prefix whose registry it has not yet written (a making cut short), so
# any prefix with files in it is stopped; one not yet made has none.
wine_stop() {
    [[ -d "$WINEPREFIX" && -n "$(ls -A "$WINEPREFIX")" ]] || return 0
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    return 0
}
