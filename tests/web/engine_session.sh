#!/usr/bin/env bash
# Runs a command (a browser test or the benchmark) with what Firefox and
# WebKit need on a machine with no screen and no sound card: a sound server
# of its own with a sink that plays into nothing (Firefox's AudioContext
# never starts without one; WebKit plays through it by GStreamer), and, for
# WebKit's MiniBrowser, a private X display (tests/support/x_session.sh).
# Both stop with the command; a failed run keeps their logs.
#   engine_session.sh [--display] COMMAND...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
display=no
if [[ "${1:-}" == --display ]]; then
    display=yes
    shift
fi
for tool in pulseaudio pactl; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (packages pulseaudio, pulseaudio-utils)" >&2; exit 1; }
done

# shellcheck source=../support/x_session.sh
source "$here/../support/x_session.sh"
session_begin engine
server=""
session_on_exit '[[ -z "$server" ]] || { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; }'

# The server and the browsers find each other in a home and a runtime folder
# of this run's own, never the machine's; nothing starts a server of its own
# accord. As a service, the server must not ask for real-time scheduling,
# which a container refuses.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
export PULSE_CLIENTCONFIG="$work/client.conf"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"
unset PULSE_SERVER
pulseaudio --daemonize=no --exit-idle-time=-1 --high-priority=no --realtime=no --disallow-exit \
    -n --load=module-native-protocol-unix --load="module-null-sink sink_name=nowhere" \
    --log-target=file:"$work/pulse.log" 2>/dev/null &
server=$!
deadline=$((SECONDS + 30))
until pactl info >/dev/null 2>&1 || ((SECONDS > deadline)); do
    sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
    echo "the sound server did not start:" >&2
    cat "$work/pulse.log" >&2 || true
    exit 1
fi
pactl set-default-sink nowhere >/dev/null

if [[ $display == yes ]]; then
    start_display 1280x1024 || exit 1
fi
status=0
"$@" || status=$?
exit $status
