#!/usr/bin/env bash
# End-to-end test of korvane.exe under Wine with a window manager, as on a
# player's desktop: another program taking the screen from the main menu,
# the file menu and a game, Alt+Enter to a window and back, Alt+F4 in a menu
# and in play, and message boxes over the full screen.
#   window_manager_test.sh WINE_RUN KORVANE_EXE WRITE_TEST_ASSETS SHOT_PROBE EXIT_CODE_OF_EXE
# On a 640x480 screen with openbox. The test pictures are plain colours, so each
# screen is told by the colour of a pixel outside the well.
set -uo pipefail
wine_run=$(realpath "$1")
korvane=$(realpath "$2")
write_assets=$(realpath "$3")
probe=$(realpath "$4")
exit_code_of=$(realpath "$5")

other_pid=""
# shellcheck source=../support/screen_test_lib.sh
source "$(dirname "$0")/../support/screen_test_lib.sh"
# shellcheck source=wine_game_lib.sh
source "$(dirname "$0")/wine_game_lib.sh"
# shellcheck source=../support/x_session.sh
source "$(dirname "$0")/../support/x_session.sh"
# shellcheck source=../support/wine_session.sh
source "$(dirname "$0")/../support/wine_session.sh"
session_begin wine-wm
session_on_exit '[[ -z "$other_pid" ]] || kill "$other_pid" 2>/dev/null'
# The Windows game test's prefix: the two never run at the same time.
wine_begin "$wine_run" "$(dirname "$korvane")/wine-prefix-e2e"
start_display 640x480 wm || exit 1
wine_ready

# Another program comes in front: a small window of its own, made the first
# time. The game's full-screen window is iconified when it loses the screen.
# It must have the screen first, as a player's game has: openbox does not
# always give the focus to the game's window when it maps, and Wine only
# tells the game it has lost the screen when its window loses the focus.
# The other window is found once it shows; the window manager may still be
# taking it on then and pass over the first request to activate it, so the
# request is made again until the game has given way. When it does not, what
# the window manager shows is said.
other_window() { xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -1; }
other_in_front() {
    xdotool windowactivate "$(other_window)" 2>/dev/null
    game_iconic
}
switch_away() {
    focus_game
    if [[ -z "$(other_window)" ]]; then
        xmessage -geometry 300x80+150+150 "another program" >/dev/null 2>&1 &
        other_pid=$!
        wait_until 20 other_window >/dev/null || { windows_shown; return 1; }
    fi
    wait_until 20 other_in_front || { windows_shown; return 1; }
}
windows_shown() {
    local id
    echo "  the focus: window $(xdotool getwindowfocus 2>/dev/null)" \
        "\"$(xdotool getwindowfocus getwindowname 2>/dev/null)\""
    for id in $(xdotool search --name '^(KORVANE|xmessage)$' 2>/dev/null); do
        echo "  window $id \"$(xdotool getwindowname "$id" 2>/dev/null)\":" \
            "$(xwininfo -id "$id" 2>/dev/null | awk '/Map State/ {print $3}')," \
            "state $(xprop -id "$id" WM_STATE 2>/dev/null | awk '/window state/ {print $3}')"
    done
}
# The game's window is mapped and activated again.
switch_back() {
    xdotool windowactivate "$(game_window)" 2>/dev/null
    wait_until 20 game_shown
}

alt_key() {
    focus_game
    xdotool keydown alt
    sleep 0.1
    xdotool key "$1"
    sleep 0.1
    xdotool keyup alt
}

# The inside of the window shows the play screen: its corners in the
# background's colour and blocks in the well, scaled as the window is.
window_shows_play() {
    local x y w h
    read -r x y w h < <(game_inside)
    [[ -n "$h" ]] || return 1
    shot windowed || return 1
    near "$(pixel windowed $((x + 4)) $((y + 4)))" "$playing" &&
        near "$(pixel windowed $((x + w - 5)) $((y + h - 5)))" "$playing" &&
        # shellcheck disable=SC2086 # the colour is three words
        (($("$probe" "$work/windowed.xwd" region well $playing in "$x" "$y" "$w" "$h" |
            cut -d' ' -f1) > 100))
}

# plain_screen NAME "R G B": a shot NAME in which every pixel is that colour,
# as the test menus are: the screen is whole and no wipe is under way.
plain_screen() {
    shot "$1" || return 1
    # shellcheck disable=SC2086 # the colour is three words
    [[ $("$probe" "$work/$1.xwd" blocks 0 0 639 479 $2 | cut -d' ' -f1) == 0 ]]
}

# A shot NAME of the screen in which the well holds blocks.
piece_in() { shot "$1" && [[ $(well_blocks "$1") != "0 "* ]]; }

window_width() { local w; read -r _ _ w _ < <(game_inside); echo "${w:-0}"; }
windowed() { (($(window_width) > 0 && $(window_width) < 640)); }
full_screen() { (($(window_width) == 640)); }

assets="$work/assets"
case "$write_assets" in
*.exe) "$wine_run" "$write_assets" "$assets" ;;
*) "$write_assets" "$assets" ;;
esac >/dev/null || { echo "cannot write the test pictures"; exit 1; }

echo "== another program takes the screen from the menus"
start_game "$assets"
wait_screen menu "$menu" 40 || fail "main menu"
switch_away && pass "another window takes the screen from the main menu" || fail "switch away"
switch_back || fail "the game's window comes back"
wait_until 20 plain_screen menu-back "$menu" && pass "the main menu is whole again" ||
    fail "main menu after the switch"
press_to_screen g file "$filemenu" 20 && wait_until 20 plain_screen file "$filemenu" &&
    pass "G opens the file menu" || fail "G after the switch"
switch_away || fail "switch away from the file menu"
switch_back || fail "back to the file menu"
wait_until 20 plain_screen file-back "$filemenu" && pass "the file menu is whole again" ||
    fail "file menu after the switch"
press_to_screen b menu-b "$menu" 20 && pass "B goes back to the main menu" || fail "B after the switch"
press_to_screen n play "$playing" 20 && pass "N starts a game" || fail "N after the switch"

echo "== Alt+Tab in play"
wait_until 20 piece_in before
well_before=$(well_cells before)
alt_key Tab
wait_until 20 game_iconic && pass "Alt+Tab takes another window to the front" || fail "Alt+Tab"
switch_back || fail "back to the game"
wait_screen after "$playing" 20 || fail "play screen after the switch"
d=$(differs_outside_the_well before after)
[[ "$d" == 0 ]] && pass "the play screen is whole again, as before the switch" ||
    fail "$d pixels differ from before the switch outside the well"
# Nothing pauses: gravity moves the piece on, or it lands and another comes.
went_on() {
    shot later && well=$(well_cells later) && [[ "$well" == *"#"* && "$well" != "$well_before" ]]
}
wait_until 20 went_on && pass "the game goes on" || fail "the well stays as before the switch: $well"

echo "== Alt+Enter in play, both ways"
alt_key Return
wait_until 20 windowed && pass "Alt+Enter puts the game in a window ($(window_width) wide)" ||
    fail "Alt+Enter to a window: $(window_width) wide"
wait_until 20 window_shows_play && pass "the window shows the play screen" ||
    fail "the window's picture"
near "$(pixel windowed 1 1)" "$playing" && fail "the picture fills the screen, not a window" ||
    pass "the desktop shows round the window"
alt_key Return
wait_until 20 full_screen && pass "Alt+Enter again: the full screen" || fail "Alt+Enter back"
wait_screen full-again "$playing" 20 && pass "the full screen shows the play screen" ||
    fail "the picture after Alt+Enter back"
wait_until 20 piece_in full-piece && pass "the game goes on with its piece" ||
    fail "no piece after Alt+Enter"

echo "== Alt+F4 in play"
alt_key F4
wait_exit 30
[[ "$code" == 0 ]] && pass "Alt+F4 in play ends the game with exit code 0" || fail "exit code $code"
wine_error_dialog && fail "Wine shows an error dialog" || pass "no error dialog"

echo "== Alt+F4 in the main menu"
start_game "$assets"
wait_screen menu2 "$menu" 40 || fail "main menu"
alt_key F4
wait_exit 30
[[ "$code" == 0 ]] && pass "Alt+F4 in the main menu ends the game with exit code 0" ||
    fail "exit code $code"
wine_error_dialog && fail "Wine shows an error dialog" || pass "no error dialog"

echo "== Alt+Tab in the main menu, then E"
start_game "$assets"
wait_screen menu3 "$menu" 40 || fail "main menu"
alt_key Tab
wait_until 20 game_iconic && pass "Alt+Tab takes the screen from the main menu" || fail "Alt+Tab in the main menu"
switch_back || fail "switch back"
wait_until 20 plain_screen menu3-back "$menu" && pass "the main menu is whole again" ||
    fail "main menu after Alt+Tab"
press_to_screen e exit "$black" 20 && pass "E wipes the screen to black" || fail "E after the switch"
wait_exit 30
[[ "$code" == 0 ]] && pass "and ends the game with exit code 0" || fail "exit code $code"

echo "== message boxes over the full screen"
# The box's window: visible, so none left by a game that has ended counts.
box_window() { xdotool search --onlyvisible --name '^Error$' 2>/dev/null | head -1; }
box_shown() { [[ -n "$(box_window)" ]]; }
box_active() { [[ "$(xdotool getactivewindow 2>/dev/null)" == "$(box_window)" ]]; }
# Its OK pressed with Return once the box has the keyboard.
dismiss_error_box() {
    xdotool windowactivate "$(box_window)" 2>/dev/null
    wait_until 20 box_active || return 1
    xdotool key Return
    wait_until 20 bash -c "! xdotool search --onlyvisible --name '^Error\$' >/dev/null 2>&1"
}
# start_with_box FOLDER [VARIABLE=VALUE...]: starts the game, once no box of
# an earlier game shows, and waits for its message box.
start_with_box() {
    wait_until 20 bash -c "! xdotool search --onlyvisible --name '^Error\$' >/dev/null 2>&1"
    start_game "$@"
    wait_until 40 box_shown && return 0
    wait_exit 1
    echo "  no box; the game ended with exit code $code"
    return 1
}
# Wine traces each message box's text on its msgbox channel, and DirectDraw
# calls on its ddraw channel.
if start_with_box "$assets" ALSA_CONFIG_PATH="$session_support/asound-none.conf" WINEDEBUG=-all,+msgbox,+ddraw; then
    order=$(grep -o -E 'FlipToGDISurface|MSGBOX_OnInit' "$work/err.log" | uniq | tr '\n' ' ')
    [[ "$order" == "FlipToGDISurface MSGBOX_OnInit "* ]] &&
        pass "the surface dialogs are drawn on is brought to the front first" ||
        fail "before the box: $order"
    dismiss_error_box || fail "the box would not go"
    wait_exit 30
    [[ "$code" == 1 ]] && pass "dismissed, the game ends with exit code 1" ||
        fail "exit code $code"
else
    fail "no message box without a sound device"
fi
cp -r "$assets" "$work/nothud"
rm "$work/nothud/Sound/Thud.wav"
if start_with_box "$work/nothud"; then
    pass "a missing sound file is told in a box"
    dismiss_error_box || fail "the box would not go"
    wait_screen menu4 "$menu" 40 && pass "dismissed, the game goes on to its main menu" ||
        fail "the game after the box"
    press_to_screen e exit4 "$black" 20 || fail "E"
    wait_exit 30
    [[ "$code" == 0 ]] && pass "and ends with exit code 0" || fail "exit code $code"
else
    fail "no message box for a missing sound file"
fi

echo "$passes passed, $failures failed"
((failures == 0))
