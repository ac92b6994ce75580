#!/usr/bin/env bash
# The Windows installer under Wine: installed silently for every user, its
# files, Start-menu shortcut (with the game's folder as its working folder)
# and uninstall entry are there; the game started through the shortcut plays
# its session screen for screen as the headless build draws it from the
# installed pictures; uninstalled silently, nothing of it is left. Then the
# same install and uninstall for the current user alone.
#   installer_test.sh WINE_RUN SETUP_EXE REPLAY_EXE REFERENCE_SCRIPT VERSION SHOT_PROBE
#                     EXIT_CODE_OF_EXE
# On a 640x480 screen with no window manager.
set -uo pipefail
wine_run=$(realpath "$1")
setup=$(realpath "$2")
replay=$(realpath "$3")
reference_script=$(realpath "$4")
version=$5
probe=$(realpath "$6")
exit_code_of=$(realpath "$7")

korvane=""
# shellcheck source=../support/screen_test_lib.sh
source "$(dirname "$0")/../support/screen_test_lib.sh"
# shellcheck source=wine_game_lib.sh
source "$(dirname "$0")/wine_game_lib.sh"
data_files=$(dirname "$0")/../../assets/data_files.txt
# shellcheck source=../support/x_session.sh
source "$(dirname "$0")/../support/x_session.sh"
# shellcheck source=../support/wine_session.sh
source "$(dirname "$0")/../support/wine_session.sh"
session_begin wine-setup
# The Windows game test's prefix: the two never run at the same time, and
# whatever this test installs it takes away again.
wine_begin "$wine_run" "$(dirname "$setup")/wine-prefix-e2e"

key=Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\korvane
drive_c=$WINEPREFIX/drive_c
user_dir() { ls -d "$drive_c/users/"* 2>/dev/null | grep -v '/Public$' | head -1; }
# reg_value HIVE NAME: a value of the uninstall entry, or nothing.
reg_value() {
    "$wine_run" reg query "$1\\$key" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
entry_exists() { "$wine_run" reg query "$1\\$key" >/dev/null 2>&1; }
gone() { [[ ! -e "$1" ]]; }

# check_installed FOLDER SHORTCUT HIVE WINDOWS_FOLDER
check_installed() {
    local folder=$1 shortcut=$2 hive=$3 windows_folder=$4 missing=""
    local files
    mapfile -t files < <(grep -v '^#' "$data_files")
    for f in korvane.exe how-to-play.txt Uninstall.exe "${files[@]}"; do
        [[ -f "$folder/$f" ]] || missing+=" $f"
    done
    [[ -z "$missing" ]] && pass "the game's files are in $windows_folder" || fail "missing:$missing"
    if [[ -f "$shortcut" ]]; then
        # A shortcut keeps its target and working folder as UTF-16 strings.
        # A shortcut keeps its paths as UTF-16 strings, some after a count
        # that reads as one more character.
        strings -el "$shortcut" >"$work/shortcut.txt"
        has_string() {
            WANTED=$1 awk '$0 == ENVIRON["WANTED"] || substr($0, 2) == ENVIRON["WANTED"] { found = 1 }
                END { exit !found }' "$work/shortcut.txt"
        }
        has_string "$windows_folder\\korvane.exe" &&
            pass "the Start-menu shortcut starts korvane.exe" || fail "shortcut target: $(cat "$work/shortcut.txt")"
        has_string "$windows_folder" &&
            pass "the shortcut's working folder is the game's folder" ||
            fail "shortcut working folder: $(cat "$work/shortcut.txt")"
    else
        fail "no Start-menu shortcut at $shortcut"
    fi
    [[ "$(reg_value "$hive" DisplayName)" == KORVANE ]] && pass "the uninstall entry names KORVANE" ||
        fail "DisplayName: $(reg_value "$hive" DisplayName)"
    [[ "$(reg_value "$hive" DisplayVersion)" == "$version" ]] || fail "DisplayVersion: $(reg_value "$hive" DisplayVersion)"
    [[ "$(reg_value "$hive" Publisher)" == "The KORVANE developers" ]] || fail "Publisher: $(reg_value "$hive" Publisher)"
    [[ "$(reg_value "$hive" DisplayIcon)" == "$windows_folder\\korvane.exe,0" ]] ||
        fail "DisplayIcon: $(reg_value "$hive" DisplayIcon)"
    local size
    size=$(reg_value "$hive" EstimatedSize)
    ((size > 1000)) && pass "with its version, publisher, icon and size ($((size)) KiB)" ||
        fail "EstimatedSize: $size"
}

# uninstall HIVE FOLDER SHORTCUT: runs the entry's quiet uninstall command
# and waits until the folder has gone (the uninstaller finishes from a copy
# of itself, after the first one has ended).
uninstall() {
    local hive=$1 folder=$2 shortcut=$3 quiet
    quiet=$(reg_value "$hive" QuietUninstallString)
    [[ "$quiet" == *" /S" ]] && pass "the uninstall entry has a silent uninstall" || fail "QuietUninstallString: $quiet"
    local program=${quiet#\"}
    program=${program%%\"*}
    local arguments=${quiet##*\" }
    # shellcheck disable=SC2086
    "$wine_run" "$program" $arguments >/dev/null 2>&1
    all_gone() { gone "$folder" && gone "$shortcut" && ! entry_exists "$hive"; }
    wait_until 60 all_gone
    gone "$folder" && pass "uninstalled, the folder has gone" || fail "left: $(ls -R "$folder")"
    gone "$shortcut" && pass "and the shortcut" || fail "the shortcut is left"
    entry_exists "$hive" && fail "the uninstall entry is left" || pass "and the uninstall entry"
}

# check_setup_exit LOG: the silent installer's exit code `code`. A silent
# NSIS installer ends with 1 when its .onInit or a section gave up, 2 on an
# error of its own (a damaged file, no temporary folder); Wine's own errors
# are in LOG, which a failed run keeps.
check_setup_exit() {
    if [[ "$code" == 0 ]]; then
        pass "the installer ends with exit code 0"
    else
        fail "installer exit code $code; Wine said: $(grep -v '^$' "$work/$1" | tail -5)"
    fi
}

start_display 640x480 || exit 1
wine_ready
all_folder="$drive_c/Program Files/KORVANE"
all_shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/KORVANE.lnk"
# Whatever a run that failed half way left.
rm -rf "$all_folder" "$all_shortcut"
"$wine_run" reg delete "HKLM\\$key" /f >/dev/null 2>&1
"$wine_run" reg delete "HKCU\\$key" /f >/dev/null 2>&1

echo "== installed silently for every user"
"$wine_run" "$setup" /S >"$work/setup.log" 2>&1
code=$?
check_setup_exit setup.log
check_installed "$all_folder" "$all_shortcut" HKLM 'C:\Program Files\KORVANE'

echo "== the installed game, started through its shortcut"
mkdir -p "$work/reference"
"$wine_run" "$replay" --assets "$all_folder" --shots "$work/reference" "$reference_script" \
    >"$work/replay.log" 2>&1 || fail "the reference pictures: $(tail -3 "$work/replay.log")"
# start /wait starts what the shortcut names, in its working folder, and
# ends with the game's own exit code.
start_program "$work" -- start.exe /wait /unix "$all_shortcut"
wait_match loading loading 30
wait_match menu menu 40
press_to_match g filemenu filemenu 20
press_to_match b menu-again menu 20
key_down n
playing_matches() {
    shot real-playing &&
        [[ $(differs_outside_the_well real-playing reference/playing) =~ ^[0-9]+$ ]] &&
        (($(differs_outside_the_well real-playing reference/playing) <= 64))
}
# The counters are written in a face of each build's own: only the screen
# right of the well is compared.
differs_outside_the_well() {
    "$probe" "$(picture "$1")" differs "$(picture "$2")" "$picture_tolerance" beside-well
}
wait_until 20 playing_matches && pass "N starts a game on the installed pictures" ||
    fail "the play screen: $(differs_outside_the_well real-playing reference/playing) pixels differ"
key_up n
press_to_match Escape menu-after-game menu 20
# E held until the wipe to black has begun: the menu is no longer whole.
menu_left() {
    shot real-exit &&
        (($("$probe" "$work/real-exit.xwd" differs "$work/reference/menu.png" \
            "$picture_tolerance") > 64))
}
key_down e
wait_until 20 menu_left || fail "E: the menu stays"
key_up e
wait_exit 30
[[ "$code" == 0 ]] && pass "E ends the installed game with exit code 0" || fail "exit code $code"
# start returns as the game ends; its files are free once its process has gone.
# Only this prefix's: another build's test may play the installed game too.
game_ended() {
    local pid
    for pid in $(pgrep -f 'KORVANE.korvane\.exe'); do
        grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && return 1
    done
    return 0
}
wait_until 30 game_ended || fail "the game's process stays"

echo "== uninstalled silently"
uninstall HKLM "$all_folder" "$all_shortcut"

echo "== installed and uninstalled for the current user alone"
home=$(user_dir)
user_folder="$home/AppData/Local/Programs/KORVANE"
user_shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/KORVANE.lnk"
"$wine_run" "$setup" /S /CurrentUser >"$work/setup-user.log" 2>&1
code=$?
check_setup_exit setup-user.log
entry_exists HKLM && fail "an entry for every user was made"
check_installed "$user_folder" "$user_shortcut" HKCU \
    "C:\\users\\$(basename "$home")\\AppData\\Local\\Programs\\KORVANE"
uninstall HKCU "$user_folder" "$user_shortcut"

echo "$passes passed, $failures failed"
((failures == 0))
