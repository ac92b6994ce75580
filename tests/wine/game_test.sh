#!/usr/bin/env bash
# End-to-end test of korvane.exe under Wine on a virtual X display (Xvfb at
# 640x480x24, no window manager): keys sent with xdotool, the screen read
# back with xwd and looked at by the end-to-end tests' screen reader
# (shot_probe, built for this machine).
#   game_test.sh WINE_RUN KORVANE_EXE WRITE_TEST_ASSETS_EXE REPLAY_EXE ZIP REFERENCE_SCRIPT SHOT_PROBE
#                EXIT_CODE_OF_EXE
# The first run plays on the small test pictures, plain colours, so each
# screen is told by the colour of a pixel outside the well; the second runs
# the player's zip, unpacked into a folder with a space in its name, and
# compares its screens with the headless build's drawn from the same files.
set -uo pipefail
wine_run=$1
korvane=$2
write_assets=$3
replay=$4
zip=$5
reference_script=$6
probe=$7
exit_code_of=$8

# shellcheck source=../support/screen_test_lib.sh
source "$(dirname "$0")/../support/screen_test_lib.sh"
# shellcheck source=wine_game_lib.sh
source "$(dirname "$0")/wine_game_lib.sh"
# shellcheck source=../support/x_session.sh
source "$(dirname "$0")/../support/x_session.sh"
# shellcheck source=../support/wine_session.sh
source "$(dirname "$0")/../support/wine_session.sh"
session_begin wine-game
# A prefix of its own beside the test programs', shared with the other tests
# of the Windows game.
wine_begin "$wine_run" "$(dirname "$korvane")/wine-prefix-e2e"

elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }


# The display comes first: Wine's desktop process keeps the one it started
# on. The prefix's first start takes a while; it is not part of the game's.
# It also starts the server, which stays until the session ends (a server
# that shut down between two runs could take the next run's first process
# with it), and the desktop process, on this display.
start_display 640x480 || exit 1
wine_ready
assets="$work/assets"
"$wine_run" "$write_assets" "$assets" || { echo "cannot write the test pictures"; exit 1; }

echo "== a whole session on the test pictures"
launched=$(date +%s.%N)
start_game "$assets"
wait_for loading 20 20 "$loading" 30 && pass "the loading picture shows" || fail "loading picture"
loading_at=$(date +%s.%N)
wait_screen menu "$menu" 40 && pass "the main menu shows after its wipe" || fail "main menu"
menu_at=$(date +%s.%N)
echo "  launch to loading picture: $(elapsed "$launched" "$loading_at") s"
echo "  launch to main menu fully shown: $(elapsed "$launched" "$menu_at") s"

press_to_screen n play "$playing" 15 && pass "N starts a game" || fail "N"
check_moves
check_leave_resume_and_file_menu
check_file_menu_keys
press_to_screen e exit "$black" 15 && pass "E wipes the screen to black" || fail "E wipe"
wait_exit 20
[[ "$code" == 0 ]] && pass "the game ends with exit code 0" || fail "exit code $code"

echo "== the zip unpacked anywhere, screen for screen as the headless build draws it"
data="$work/My Games/korvane"
mkdir -p "$data" "$work/reference"
unzip -q "$zip" -d "$data" || fail "cannot unpack $zip"
[[ -f "$data/how-to-play.txt" ]] && pass "the zip holds how-to-play.txt" || fail "no how-to-play.txt"
korvane=$data/korvane.exe
"$wine_run" "$replay" --assets "$data" --shots "$work/reference" "$reference_script" \
    >"$work/replay.log" 2>&1 || fail "the reference pictures: $(tail -3 "$work/replay.log")"
# Each key is held until its screen is whole (none of them acts on the screen
# it leads to).
start_game "$data"
wait_match loading loading 30
wait_match menu menu 40
key_down g
wait_match filemenu filemenu 20
key_up g
key_down b
wait_match menu-again menu 20
key_up b
key_down e
wait_exit 20
key_up e
[[ "$code" == 0 ]] && pass "exit code 0 with the real pictures" || fail "exit code $code"

echo "== a failed start-up: the loading picture missing"
cp -r "$assets" "$work/noloading"
rm "$work/noloading/Art/Loading.kvp"
start_game "$work/noloading"
wait_exit 30
[[ "$code" == 1 ]] && pass "exit code 1" || fail "exit code $code after a missing loading picture"
grep -q 'Art.Loading.kvp' "$work/err.log" && pass "standard error names Art\\Loading.kvp" ||
    fail "standard error: $(cat "$work/err.log")"

echo "== a failed start-up with its message box: no sound device"
# Wine traces each message box's text on its msgbox channel.
start_game "$assets" ALSA_CONFIG_PATH="$session_support/asound-none.conf" WINEDEBUG=-all,+msgbox
box=""
for _ in $(seq 1 300); do
    box=$(xdotool search --name '^Error$' 2>/dev/null | head -1)
    [[ -n "$box" ]] && break
    sleep 0.1
done
if [[ -n "$box" ]]; then
    pass "the message box shows"
    shot box
    dismiss_box "$box" 20
    [[ "$code" == 1 ]] && pass "dismissed, the game ends with exit code 1" || fail "exit code $code"
    grep -q 'MSGBOX_OnInit L"Unable to create Direct Sound Object."' "$work/err.log" &&
        pass "the box says \"Unable to create Direct Sound Object.\"" ||
        fail "message box text: $(grep MSGBOX "$work/err.log")"
    grep -q "korvane: start-up failed: the sound device" "$work/err.log" &&
        pass "standard error names the sound device" || fail "standard error: $(grep -v ALSA "$work/err.log")"
else
    fail "no message box"
    wait_exit 1
fi

echo "$passes passed, $failures failed"
((failures == 0))
