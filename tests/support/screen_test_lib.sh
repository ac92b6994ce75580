# Shared by the end-to-end tests of the real game (tests/e2e, tests/wine):
# results, screenshots of a virtual display, colour checks, keys held until
# the game shows their effect, and the falling piece followed through the
# well. Every wait here is for a state of the screen, with a deadline; none
# decides an answer by time alone. What a picture shows of the well and the
# piece, and what that says of a key, is the screen reader's to answer
# (shot_probe, tests/screen); this file takes the pictures and asks it.
#
# The including script sets `work` (a scratch folder), `probe` (the
# screen reader, tests/e2e/shot_probe.cpp, built for this machine),
# `game_pid` when a game runs, and may define `focus_game`, which gives the
# game's window the keyboard.
# KORVANE_E2E_TRACE=1 in the environment shows every look at a piece.
# shellcheck shell=bash

passes=0
failures=0

pass() { echo "ok: $1"; passes=$((passes + 1)); }

fail() { echo "FAILED: $1"; failures=$((failures + 1)); }

# now_us VAR: microseconds since the epoch into VAR, from the shell itself
# (starting no process, which on a busy machine can take a while).
now_us() {
    local t=${EPOCHREALTIME/[.,]/}
    printf -v "$1" '%d' $((10#$t))
}

# seconds_between US0 US1: "1.23".
seconds_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b - a) / 1e6 }'; }

# shot NAME: the screen into $work/NAME.xwd. xwd takes a few hundredths of a
# second, so the picture was taken between shot_began and shot_ended
# (microseconds), which the checks of the piece's fall rely on.
shot() {
    now_us shot_began
    xwd -display "$DISPLAY" -root -silent -out "$work/$1.xwd" 2>/dev/null
    local status=$?
    now_us shot_ended
    return $status
}

# near "R G B" "R G B": true when every channel is within 14.
near() {
    local a=($1) b=($2)
    for c in 0 1 2; do
        local d=$((a[c] - b[c]))
        ((d < 0)) && d=$((-d))
        ((d > 14)) && return 1
    done
    return 0
}

# pixel NAME X Y: "R G B" of shot NAME.
pixel() { "$probe" "$work/$1.xwd" pixel "$2" "$3"; }

# well_blocks NAME: "count x0 y0 x1 y1" of the pixels of the well in shot
# NAME that are not its background, and their box; "0 -1 -1 -1 -1" when none.
well_blocks() {
    local count x0 y0 x1 y1
    read -r count x0 y0 x1 y1 _ < <("$probe" "$work/$1.xwd" region well)
    echo "${count:-0} ${x0:--1} ${y0:--1} ${x1:--1} ${y1:--1}"
}

# well_cells NAME: the well of shot NAME, a line of cells a row, '#' a block.
well_cells() { "$probe" "$work/$1.xwd" well; }

# wait_for NAME X Y "R G B" SECONDS: polls the screen until the pixel has
# that colour; the last screenshot is NAME.
wait_for() {
    local name=$1 x=$2 y=$3 colour=$4 seconds=$5
    local deadline=$((SECONDS + seconds))
    while ((SECONDS <= deadline)); do
        if shot "$name" && near "$(pixel "$name" "$x" "$y")" "$colour"; then
            return 0
        fi
        sleep 0.1
    done
    echo "  (pixel $x,$y is $(pixel "$name" "$x" "$y" 2>/dev/null), wanted $colour)"
    return 1
}

# wait_screen NAME "R G B" SECONDS: the whole screen shows that picture, its
# top-left and bottom-right corners both, so a wipe onto it has ended.
wait_screen() {
    wait_for "$1" 20 20 "$2" "$3" && wait_for "$1" 620 460 "$2" "$3"
}

# wait_picture NAME "R G B" SECONDS: the picture, wherever the game lays it
# on the screen, shows that colour at two opposite corners, so a wipe onto it
# has ended; picture_box is its "X0 Y0 X1 Y1", all that is not black.
wait_picture() {
    local deadline=$((SECONDS + $3)) count x0 y0 x1 y1
    while ((SECONDS <= deadline)); do
        if shot "$1"; then
            read -r count x0 y0 x1 y1 < <("$probe" "$work/$1.xwd" blocks 0 0 99999 99999 0 0 0)
            if ((count > 0)) && near "$(pixel "$1" $((x0 + 2)) $((y0 + 2)))" "$2" &&
                near "$(pixel "$1" $((x1 - 2)) $((y1 - 2)))" "$2"; then
                picture_box="$x0 $y0 $x1 $y1"
                return 0
            fi
        fi
        sleep 0.1
    done
    return 1
}

# wait_until SECONDS COMMAND...: polls until the command succeeds.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    while ((SECONDS <= deadline)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# wait_exit SECONDS: waits for the game to end and sets `code` to its exit
# code ("timeout" when it had to be killed). A driver whose game writes its
# exit code to the file `exit_code_file` (the Wine drivers) has that code
# taken instead of the process's status; one whose game is started by
# another program ends the game after that program with `stop_started_game`.
wait_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$game_pid" 2>/dev/null && ((SECONDS <= deadline)); do
        sleep 0.1
    done
    if kill -0 "$game_pid" 2>/dev/null; then
        kill -9 "$game_pid"
        wait "$game_pid" 2>/dev/null
        if declare -F stop_started_game >/dev/null; then
            stop_started_game
        fi
        code=timeout
    else
        wait "$game_pid"
        code=$?
        if [[ -n "${exit_code_file:-}" && -s "$exit_code_file" ]]; then
            local status=$code
            code=$(tr -d '\r\n' <"$exit_code_file")
            [[ "$status" == "$code" ]] ||
                echo "  (the game's exit code is $code; its process ended with status $status)"
        fi
    fi
    game_pid=""
}

# wait_geometry WINDOW WxH SECONDS: polls until the window has that size;
# `geometry` is the last size seen.
wait_geometry() {
    local deadline=$((SECONDS + $3))
    while ((SECONDS <= deadline)); do
        geometry=$(xdotool getwindowgeometry "$1" 2>/dev/null | awk '/Geometry/ {print $2}')
        [[ "$geometry" == "$2" ]] && return 0
        sleep 0.1
    done
    return 1
}

# dismiss_box WINDOW SECONDS: Return to a message box until the game has
# ended (a box can show before it takes keys), then as wait_exit.
dismiss_box() {
    local deadline=$((SECONDS + $2))
    while kill -0 "$game_pid" 2>/dev/null && ((SECONDS <= deadline)); do
        xdotool windowfocus "$1" 2>/dev/null
        xdotool key --window "$1" Return 2>/dev/null
        for _ in 1 2 3 4 5; do
            kill -0 "$game_pid" 2>/dev/null || break
            sleep 0.1
        done
    done
    wait_exit 5
}

key_down() {
    if declare -F focus_game >/dev/null; then
        focus_game
    fi
    xdotool keydown "$1"
}

key_up() { xdotool keyup "$1"; }

# press_until KEY NAME X Y "R G B" SECONDS: holds KEY until the pixel shows
# that colour (as wait_for). A key is held until the game has acted on it,
# however slowly it runs; every key used so does nothing on the screen it
# leads to, so holding it a little longer is harmless.
press_until() {
    local key=$1 status
    shift
    key_down "$key"
    wait_for "$@"
    status=$?
    key_up "$key"
    return $status
}

# press_to_screen KEY NAME "R G B" SECONDS: KEY held until the screen starts
# to show that picture, then the whole picture waited for.
press_to_screen() {
    press_until "$1" "$2" 20 20 "$3" "$4" && wait_screen "$2" "$3" "$4"
}

# From a game in play: Escape to the main menu, R back into the same game
# with its settled blocks where they were, Escape again, and G into the file
# menu.
check_leave_resume_and_file_menu() {
    local verdict why
    shot inplay
    press_to_screen Escape escape "$menu" 15 && pass "Escape returns to the main menu" || fail "Escape"
    press_to_screen r resume "$playing" 15 && pass "R resumes the game" || fail "R"
    read -r verdict why < <("$probe" "$work/resume.xwd" resumed "$work/inplay.xwd")
    [[ "$verdict" == pass ]] && pass "the resumed game has its settled blocks and its piece ($why)" ||
        fail "the resumed game: ${why:-its screen could not be read}"
    press_to_screen Escape menu2 "$menu" 15 || fail "Escape again"
    press_to_screen g file "$filemenu" 15 && pass "G opens the file menu" || fail "G"
}

# watch_screen NAME "R G B" SHOTS: the whole screen shows that picture in
# each of SHOTS screenshots in a row.
watch_screen() {
    local k
    for ((k = 0; k < $3; k++)); do
        shot "$1" || return 1
        near "$(pixel "$1" 20 20)" "$2" && near "$(pixel "$1" 620 460)" "$2" || return 1
        sleep 0.1
    done
}

# From the file menu: L and S act on nothing. The file menu tests its keys in
# the order L, S, B, so B held together with S or L must wait, and acts the
# moment both are up: the file menu stays while they are held (watched over
# several screenshots) and the main menu follows their release.
check_file_menu_keys() {
    key_down s
    key_down b
    watch_screen file_s "$filemenu" 6 && pass "S leaves the file menu as it is (B held with it waits)" ||
        fail "S, with B held, left the file menu"
    key_down l
    key_up s
    watch_screen file_l "$filemenu" 6 && pass "L leaves the file menu as it is (B held with it waits)" ||
        fail "L, with B held, left the file menu"
    key_up l
    wait_for back 20 20 "$menu" 15 && wait_screen back "$menu" 15 &&
        pass "B goes back to the main menu once L and S are up" || fail "B"
    key_up b
}

# --- The falling piece ---------------------------------------------------
#
# Gravity moves the falling piece one row at a time, never twice within a
# gravity interval; the keyboard is sampled every 100 ms or more, and a held
# arrow acts at every sample. The reader tells the piece from the settled
# blocks and judges each check from the pictures taken (with the moments
# they were taken between); known.xwd is the last picture in which the piece
# followed was looked at.

# read_piece NAME [KNOWN]: the falling piece of shot NAME as piece_left,
# piece_top, piece_width, piece_height (in cells), piece_state (fresh: it
# has just come whole into view; falling), piece_turns (same for the
# square, which looks the same turned) and piece_wall (left, right or
# none). Fails when no piece falls, or (with KNOWN, a shot) when the well
# holds more blocks than in KNOWN: another piece has come.
read_piece() {
    local answer
    answer=$("$probe" "$work/$1.xwd" piece ${2:+"$work/$2.xwd"} 2>/dev/null) || return 1
    read -r piece_left piece_top piece_width piece_height piece_state piece_turns piece_wall \
        <<<"$answer"
}

# fresh_piece NAME SECONDS: waits for a newly come piece, which becomes the
# one the next check follows.
fresh_piece() {
    local name=$1 deadline=$((SECONDS + $2))
    while ((SECONDS <= deadline)); do
        if shot "$name" && read_piece "$name" && [[ "$piece_state" == fresh ]]; then
            cp "$work/$name.xwd" "$work/known.xwd"
            return 0
        fi
        sleep 0.05
    done
    return 1
}

# capture_burst PREFIX FIRST SECONDS: screenshots PREFIX-FIRST... for that
# long, 16 at most and each within a keyboard sample (100 ms) of the last
# however busy the machine is (xwd is quick), as `burst`: each shot's file
# and the moments it was taken between, for the reader.
capture_burst() {
    local prefix=$1 k=$2 total spacing start pause taken=0
    printf -v total '%.0f' "${3}e6"
    spacing=$((total / 16))
    burst=()
    now_us start
    while ((taken < 16)); do
        taken=$((taken + 1))
        shot "$prefix-$k"
        burst+=("$work/$prefix-$k.xwd" "$shot_began" "$shot_ended")
        k=$((k + 1))
        ((shot_ended - start >= total)) && break
        if ((shot_ended - shot_began < spacing)); then
            printf -v pause '0.%06d' $((spacing - (shot_ended - shot_began)))
            sleep "$pause"
        fi
    done
}

# follow_piece KEY CHECK NAME SECONDS: looks at the piece last looked at
# (NAME-0), then holds KEY (none when "-") for SECONDS, taking screenshots
# meanwhile, and asks the reader for CHECK's verdict on all of them; until
# one comes, the key is held again for more. Sets `verdict`: pass, fail,
# lost (the moment was missed: the piece may have landed, or another come)
# and `why` for the report; "lost" after ten seconds with no answer. (The
# key is up while the shots are read, so the piece is taken no further than
# the check needs.)
follow_piece() {
    local key=$1 check=$2 name=$3 seconds=$4 deadline=$((SECONDS + 10)) trace=() next=1
    local -a readings=()
    [[ -n "${KORVANE_E2E_TRACE:-}" ]] && trace=(--trace)
    verdict=wait why=""
    if [[ "$key" != "-" ]] && declare -F focus_game >/dev/null; then
        focus_game
    fi
    rm -f "$work/$name"-*.xwd
    shot "$name-0"
    readings=("$work/$name-0.xwd" "$shot_began" "$shot_ended")
    while [[ "$verdict" == wait ]] && ((SECONDS <= deadline)); do
        ((${#readings[@]} > 3)) && readings+=(+)
        [[ "$key" != "-" ]] && xdotool keydown "$key"
        capture_burst "$name" "$next" "$seconds"
        [[ "$key" != "-" ]] && xdotool keyup "$key"
        readings+=("${burst[@]}")
        next=$((next + ${#burst[@]} / 3))
        read -r verdict why < <("$probe" "$work/known.xwd" judge "$check" "${trace[@]}" \
            "${readings[@]}")
        verdict=${verdict:-lost} why=${why:-the reader gave no answer}
    done
    [[ "$verdict" == wait ]] && verdict=lost why="no answer within ten seconds"
    cp "$work/$name-0.xwd" "$work/known.xwd"
}

# drop_piece NAME [KEY]: after a check, holds KEY (Left or Right) until the
# piece followed is at that wall, then Down until it rests on something, so
# that the middle of the well stays free for the pieces to come.
drop_piece() {
    local name=$1 key=${2:-} deadline=$((SECONDS + 20))
    shot "$name" && read_piece "$name" known || return 0
    if [[ -n "$key" ]]; then
        key_down "$key"
        while ((SECONDS <= deadline)) && shot "$name" && read_piece "$name" known; do
            [[ "$piece_wall" == "${key,,}" ]] && break
        done
        key_up "$key"
    fi
    key_down Down
    while ((SECONDS <= deadline)) && shot "$name" && read_piece "$name" known; do
        :
    done
    key_up Down
}

# check_moves: from a game in play on an empty well, every key of play on a
# piece of its own, each newly come near the top of the well: Down first,
# while the well is empty and the piece has the furthest to fall, then Up (on
# a piece that is not the square, which looks the same turned), Left and
# Right; and on the first piece after Down's, before its key, the fall.
# Each check looks at the piece right before its key and follows it while
# the key is held; a check whose moment was missed (the piece might have
# landed first on a slow machine) is made again on a new piece, up to three
# times.
check_moves() {
    local pending="down fall up left right" pieces=0 task candidate
    local -A tries=()
    while [[ -n "${pending// /}" ]] && ((pieces < 14)); do
        if ! fresh_piece fresh 30; then
            fail "no new piece came into the top of the well"
            return
        fi
        pieces=$((pieces + 1))
        task=""
        for candidate in $pending; do
            [[ "$candidate" == fall ]] && continue
            [[ "$candidate" == up && "$piece_turns" == same ]] && continue
            task=$candidate
            break
        done
        if [[ "$task" != down && " $pending " == *" fall "* ]]; then
            follow_piece - fall fall 0.35
            case $verdict in
                pass) pass "the piece falls ($why)" ;;
                fail) fail "the piece's fall: $why" ;;
            esac
            settle_task fall
            if [[ "$verdict" == lost ]]; then
                drop_piece drop
                continue
            fi
        fi
        case "$task" in
            down) check_down ;;
            up) check_turn ;;
            left) check_sideways Left ;;
            right) check_sideways Right ;;
            *) drop_piece drop ;;
        esac
        [[ -n "$task" ]] && settle_task "$task"
    done
    [[ -z "${pending// /}" ]] || fail "still unchecked after $pieces pieces: $pending"
}

# settle_task TASK: after a check's verdict, the task is done, or left for a
# new piece when its moment was missed, three times at most.
settle_task() {
    if [[ "$verdict" != lost ]]; then
        pending=${pending/$1/}
        return
    fi
    tries[$1]=$((${tries[$1]:-0} + 1))
    if ((tries[$1] >= 3)); then
        fail "$1: three pieces in a row, $why"
        pending=${pending/$1/}
    else
        echo "  ($1: $why; once more on a new piece)"
    fi
}

check_down() {
    follow_piece Down down down 0.8
    case $verdict in
        pass) pass "Down moves the piece down ($why)" ;;
        fail) fail "Down: $why" ;;
    esac
    drop_piece drop
}

check_turn() {
    follow_piece Up turn up 0.8
    case $verdict in
        pass) pass "Up turns the piece ($why)" ;;
        fail) fail "Up: $why" ;;
    esac
    drop_piece drop
}

check_sideways() {
    follow_piece "$1" "${1,,}" "$1" 0.8
    case $verdict in
        pass) pass "$1 moves the piece ($why)" ;;
        fail) fail "$1: $why" ;;
    esac
    drop_piece drop "$1"
}

# check_key_moves KEY: in a game in play, KEY (Left or Right) moves a piece,
# checked as check_moves checks it: on a newly come piece, looked at right
# before the key and followed while it is held; made again on a new piece
# when its moment was missed, three times at most.
check_key_moves() {
    local key=$1 try
    for try in 1 2 3; do
        if ! fresh_piece fresh 30; then
            fail "no new piece came into the top of the well"
            return
        fi
        check_sideways "$key"
        [[ "$verdict" == lost ]] || return
        echo "  ($key: $why; once more on a new piece)"
    done
    fail "$key: three pieces in a row, $why"
}

# The colours of the small test pictures.
loading="99 97 99"
menu="16 65 16"
playing="16 16 66"
filemenu="66 16 16"
black="0 0 0"
