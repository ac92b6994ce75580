#!/usr/bin/env bash
# The game's sound through a real sound server (PulseAudio, started as a
# user's session starts it), and the server going away in the middle of a
# game and coming back:
#   - while it is away the game goes on at its pace, its screens as before,
#     with no message, no hang and no crash;
#   - once it is back the game's sound is heard again, from the samples it
#     keeps: the sound files are gone from the disk by then, so nothing can
#     have been loaded again.
#   sound_server_test.sh KORVANE WRITE_TEST_ASSETS SHOT_PROBE
# With the game built under ThreadSanitizer, a report of a data race ends it
# with an exit code other than 0, which fails the test.
set -uo pipefail
# shellcheck source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
desktop_begin e2e-sound "$@"

for tool in pulseaudio pactl parec sox; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (packages pulseaudio, pulseaudio-utils, sox)"; exit 1; }
done
# The server and its clients find each other in a home and a runtime folder
# of the test's own, never the machine's. Clients do not start a server of
# their own accord, so the server is away until the test starts it again.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
export PULSE_CLIENTCONFIG="$work/client.conf"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"
unset PULSE_SERVER

# stop_server: the server asked to stop, and waited for until its process
# has gone; it writes into its runtime folder as it goes, and the session
# removes that folder right after.
stop_server() {
    local pid deadline=$((SECONDS + 20))
    pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid" 2>/dev/null) || pid=""
    pulseaudio --kill 2>/dev/null
    while [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null && ((SECONDS <= deadline)); do
        sleep 0.1
    done
}
session_on_exit stop_server

# start_server: as a desktop session starts it, with its default set-up
# (on a machine with no sound card, a sink that plays into nothing).
start_server() {
    pulseaudio --start --exit-idle-time=-1 --log-target=file:"$work/pulse.log" 2>/dev/null
    local deadline=$((SECONDS + 30))
    until pactl info >/dev/null 2>&1 || ((SECONDS > deadline)); do
        sleep 0.1
    done
    pactl info >/dev/null 2>&1
}

# wait_stream SECONDS: until the game's sound stream reaches the server.
wait_stream() {
    local deadline=$((SECONDS + $1))
    while ((SECONDS <= deadline)); do
        pactl list short sink-inputs 2>/dev/null | grep -q . && return 0
        sleep 0.2
    done
    return 1
}

# loudness: the loudest sample the server plays in a second, 0 to 1.
loudness() {
    local sink
    sink=$(pactl get-default-sink)
    timeout 5 parec -d "$sink.monitor" --raw --format=s16le --channels=2 --rate=48000 2>/dev/null |
        head -c 192000 >"$work/heard.raw"
    sox -t raw -r 48000 -e signed -b 16 -c 2 "$work/heard.raw" -n stat 2>&1 |
        awk '/Maximum amplitude/ {print $3}'
}

# fall_rate SECONDS: how fast the falling piece goes down meanwhile, in rows
# a second, from screenshots a few tenths of a second apart: only pairs in
# which one piece moved down count, so a piece lying on the floor or the next
# one starting at the top changes nothing; "0" when nothing moved at all.
fall_rate() {
    local until=$((SECONDS + $1)) taken
    : >"$work/fall.log"
    while ((SECONDS < until)); do
        taken=$(now_ms)
        shot fall
        read_piece fall && echo "$taken $piece_top" >>"$work/fall.log"
    done
    awk 'NR > 1 && $2 > y { rows += $2 - y; ms += $1 - t } { t = $1; y = $2 }
         END { printf "%.1f\n", (ms > 0 ? rows * 1000 / ms : 0) }' "$work/fall.log"
}

assets="$work/assets"
"$write_assets" "$assets"
start_display 640x480 || exit 1
start_server && pass "the sound server runs ($(pactl get-default-sink))" || { fail "no sound server"; exit 1; }

start_game "$assets" SDL_AUDIODRIVER=pulseaudio
wait_screen menu "$menu" 60 && pass "the main menu shows" || fail "main menu: $(cat "$work/err.log")"
wait_stream 10 && pass "the game plays through the sound server" || fail "no stream of the game's on the server"
# The game keeps its sounds: from here on there are none on the disk.
rm -rf "$assets/Sound"
press n
wait_screen play "$playing" 10 && pass "N starts a game" || fail "N"
wait_piece piece 10 || fail "no piece in the well"
heard=$(loudness)
awk -v a="$heard" 'BEGIN {exit !(a > 0.02)}' && pass "the game's music is heard (peak $heard)" ||
    fail "the game is silent on the server (peak $heard)"
before=$(fall_rate 4)

echo "== the sound server stops in the middle of the game"
stop_server
deadline=$((SECONDS + 20))
while pactl info >/dev/null 2>&1 && ((SECONDS <= deadline)); do
    sleep 0.1
done
pactl info >/dev/null 2>&1 && fail "the server did not stop" || pass "the server is gone"
during=$(fall_rate 4)
echo "  the piece falls $before rows a second with the server, $during without"
awk -v before="$before" -v during="$during" 'BEGIN {exit !(during > 0 && during * 2 >= before)}' &&
    pass "the game goes on at its pace" ||
    fail "the piece falls $during rows a second without the server, $before with it"
kill -0 "$game_pid" 2>/dev/null && pass "the game still runs" || fail "the game ended"
shot away
near "$(pixel away 20 20)" "$playing" && pass "the playing screen is as before" || fail "the screen changed"
[[ -z "$(xdotool search --name '^Error$' 2>/dev/null)" ]] && pass "no message box" || fail "a message box shows"
# The keys act without the server.
check_key_moves Left

echo "== the sound server comes back"
start_server && pass "the server runs again" || fail "the server did not start again"
wait_stream 20 && pass "the game's sound reaches the server again" || fail "no stream after the server came back"
heard=$(loudness)
awk -v a="$heard" 'BEGIN {exit !(a > 0.02)}' && pass "the game's music is heard again, from the kept samples (peak $heard)" ||
    fail "silent after the server came back (peak $heard)"

press Escape
wait_screen back "$menu" 10 && pass "Escape returns to the main menu" || fail "Escape"
press e
wait_exit 30
[[ "$code" == 0 ]] && pass "E leaves with exit code 0" || fail "exit code $code"
grep -q "ThreadSanitizer" "$work/err.log" && fail "ThreadSanitizer: $(grep -A12 'WARNING: ThreadSanitizer' "$work/err.log" | head -40)"
[[ -s "$work/err.log" ]] && echo "  standard error: $(head -c 2000 "$work/err.log")"

echo "$passes passed, $failures failed"
((failures == 0))
