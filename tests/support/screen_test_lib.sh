# Shared by the end-to-end tests of the real game (tests/e2e, tests/wine):
# results, screenshots of a virtual display, colour checks, keys held until
# the game shows their effect, and the falling piece followed through the
# well. Every wait here is for a state of the screen, with a deadline; none
# decides an answer by time alone.
#
# The including script sets `work` (a scratch folder), `probe` (the
# screenshot probe, tests/e2e/shot_probe.cpp, built for this machine),
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
    unset "well_cache[$1]"
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

# well_grid NAME...: the well of each shot NAME (on the test pictures' plain
# background), 20 lines of 13 characters from the top: '#' a block, '.'
# empty; one probe for them all.
well_grid() {
    local -a more=()
    local name
    for name in "${@:2}"; do
        more+=("$work/$name.xwd")
    done
    "$probe" "$work/$1.xwd" grid 251 0 24 13 20 16 16 66 "${more[@]}"
}

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

# wait_exit SECONDS: waits for the game to end and sets `code` to its exit
# code ("timeout" when it had to be killed).
wait_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$game_pid" 2>/dev/null && ((SECONDS <= deadline)); do
        sleep 0.1
    done
    if kill -0 "$game_pid" 2>/dev/null; then
        kill -9 "$game_pid"
        wait "$game_pid" 2>/dev/null
        code=timeout
    else
        wait "$game_pid"
        code=$?
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
    local settled k i
    shot inplay
    read_well inplay
    # The settled blocks: all but pieces still falling, whole or coming into
    # view.
    settled=$well
    for ((k = 0; k < group_count; k++)); do
        if ((group_cells[k] <= 4 && !group_floor[k])); then
            for i in ${group_members[k]}; do
                settled=${settled:0:i}.${settled:i+1}
            done
        fi
    done
    press_to_screen Escape escape "$menu" 15 && pass "Escape returns to the main menu" || fail "Escape"
    press_to_screen r resume "$playing" 15 && pass "R resumes the game" || fail "R"
    read_well resume
    local kept=1
    for ((i = 0; i < ${#settled}; i++)); do
        [[ "${settled:i:1}" == "#" && "${well:i:1}" != "#" ]] && kept=0
    done
    if [[ "$settled" != *"#"* ]]; then
        [[ "$well" == *"#"* && "$well" == *"."* ]] && pass "the resumed game has its piece" ||
            fail "the resumed game lost its piece: $well"
    elif ((kept)) && [[ "$well" == *"."* ]]; then
        pass "the resumed game has its settled blocks where they were"
    else
        fail "the resumed game lost its blocks: before $settled, after $well"
    fi
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
# The well is 13 columns by 20 visible rows of 24-pixel blocks; pieces come
# in at the top, from above the well. Gravity moves the falling piece one row
# at a time, never twice within 250 ms; the keyboard is sampled every 100 ms
# or more, and a held arrow acts at every sample. A piece is told from the
# blocks in the well as a group of four blocks touching side by side.

well_columns=13
well_rows=20

# rows_by_gravity US0 US1: sets `gravity` to the most rows gravity alone can
# have moved a piece between a picture taken at or after US0 and one taken at
# or before US1. Two gravity steps are more than 250 ms apart, and every step
# but the first counted was taken after US0; one more for a step still in a
# frame being drawn at US0.
rows_by_gravity() { gravity=$((($2 - $1) / 250000 + 2)); }

declare -A well_cache=()

# read_wells NAME...: the wells of several shots, read at once (one program
# started, not one a shot) and kept for read_well.
read_wells() {
    local -a lines=()
    mapfile -t lines < <(well_grid "$@" 2>/dev/null)
    ((${#lines[@]} == $# * well_rows)) || return 1
    local k=0 name
    for name in "$@"; do
        printf -v "well_cache[$name]" '%s' "${lines[@]:k*well_rows:well_rows}"
        k=$((k + 1))
    done
}

# read_well NAME: the well of shot NAME as `well` (one character a cell, row
# after row from the top) and its groups of touching blocks, topmost first:
# group_count, and for each group k group_cells[k], group_left[k],
# group_top[k], group_width[k], group_height[k], group_shape[k] (the cells'
# places within the group's box, which tells a piece and its turn),
# group_members[k] (the cells' places in `well`) and group_floor[k] (1 when
# it stands on the floor). A group of four blocks or fewer that does not
# stand on the floor is a piece still falling (one that lands on a block
# joins it).
read_well() {
    if [[ -v "well_cache[$1]" ]]; then
        well=${well_cache[$1]}
    else
        local -a lines=()
        mapfile -t lines < <(well_grid "$1" 2>/dev/null)
        printf -v well '%s' "${lines[@]}"
    fi
    group_count=0
    group_cells=() group_left=() group_top=() group_width=() group_height=() group_shape=()
    group_members=() group_floor=()
    local total=$((well_columns * well_rows))
    ((${#well} == total)) || return 1
    local -a label=() todo=() members=()
    local i c n left top right bottom member
    for ((i = 0; i < total; i++)); do
        [[ "${well:i:1}" == "#" && -z "${label[i]:-}" ]] || continue
        label[i]=$group_count
        todo=("$i")
        members=()
        while ((${#todo[@]} > 0)); do
            c=${todo[-1]}
            unset 'todo[-1]'
            members+=("$c")
            for n in $((c - well_columns)) $((c + well_columns)) \
                $((c % well_columns > 0 ? c - 1 : -1)) \
                $((c % well_columns < well_columns - 1 ? c + 1 : -1)); do
                ((n >= 0 && n < total)) || continue
                [[ "${well:n:1}" == "#" && -z "${label[n]:-}" ]] || continue
                label[n]=$group_count
                todo+=("$n")
            done
        done
        left=$well_columns top=$well_rows right=-1 bottom=-1
        for member in "${members[@]}"; do
            ((member % well_columns < left)) && left=$((member % well_columns))
            ((member % well_columns > right)) && right=$((member % well_columns))
            ((member / well_columns < top)) && top=$((member / well_columns))
            ((member / well_columns > bottom)) && bottom=$((member / well_columns))
        done
        local shape="" x y
        for ((y = top; y <= bottom; y++)); do
            for ((x = left; x <= right; x++)); do
                [[ "${label[y * well_columns + x]:-}" == "$group_count" ]] && shape+="$((x - left)),$((y - top)) "
            done
        done
        group_members[group_count]=${members[*]}
        group_cells[group_count]=${#members[@]}
        group_left[group_count]=$left
        group_top[group_count]=$top
        group_width[group_count]=$((right - left + 1))
        group_height[group_count]=$((bottom - top + 1))
        group_floor[group_count]=$((bottom == well_rows - 1 ? 1 : 0))
        group_shape[group_count]=$shape
        group_count=$((group_count + 1))
    done
}

# read_piece NAME [falling]: the topmost group of shot NAME (or with
# "falling", the topmost piece still falling) as piece_cells, piece_left,
# piece_top, piece_width, piece_height and piece_shape, with piece_room, the
# rows between its bottom and the highest other block (or the floor),
# piece_turn_room, the same for the lowest row a turn could take it to, and
# piece_on_floor, 1 when it stands on the floor. Fails when there is none.
# While a piece falls alone above the settled blocks, the topmost group is
# that piece; one that lands on a block joins it (and so does one beside a
# block).
read_piece() {
    read_well "$1" || return 1
    ((group_count > 0)) || return 1
    local g=0 k
    if [[ "${2:-}" == falling ]]; then
        g=-1
        for ((k = 0; k < group_count; k++)); do
            if ((group_cells[k] == 4 && !group_floor[k])); then
                g=$k
                break
            fi
        done
        ((g >= 0)) || return 1
    fi
    piece_cells=${group_cells[g]}
    piece_left=${group_left[g]}
    piece_top=${group_top[g]}
    piece_width=${group_width[g]}
    piece_height=${group_height[g]}
    piece_shape=${group_shape[g]}
    local bottom=$((piece_top + piece_height - 1)) highest=$well_rows
    for ((k = 0; k < group_count; k++)); do
        ((k != g && group_top[k] < highest)) && highest=${group_top[k]}
    done
    piece_room=$((highest - bottom - 1))
    # Turned any way, its cells stay in its box, whose bottom row is at most
    # three rows under the piece's top.
    piece_turn_room=$((highest - (piece_top + 3) - 1))
    piece_on_floor=${group_floor[g]}
}

# fresh_piece NAME SECONDS: waits for a newly come piece: four blocks, all in
# view, whose top is in the well's top four rows. Its shot, position and the
# moment of the shot become the `before` of a check (before_*).
fresh_piece() {
    local name=$1 deadline=$((SECONDS + $2))
    while ((SECONDS <= deadline)); do
        if shot "$name" && read_piece "$name" && ((piece_cells == 4 && piece_top <= 3)); then
            before_began=$shot_began
            before_left=$piece_left
            before_top=$piece_top
            before_shape=$piece_shape
            followed_blocks=${well//[^#]/}
            return 0
        fi
        sleep 0.05
    done
    return 1
}

# capture_burst PREFIX SECONDS: screenshots PREFIX-1... for that long, 16 at
# most and each within a keyboard sample (100 ms) of the last however busy
# the machine is (xwd is quick), with their moments burst_began[k] and
# burst_ended[k]; burst_count is how many.
capture_burst() {
    local prefix=$1 total spacing start pause
    printf -v total '%.0f' "${2}e6"
    spacing=$((total / 16))
    burst_began=() burst_ended=() burst_count=0
    now_us start
    while ((burst_count < 16)); do
        burst_count=$((burst_count + 1))
        shot "$prefix-$burst_count"
        burst_began[burst_count]=$shot_began
        burst_ended[burst_count]=$shot_ended
        ((shot_ended - start >= total)) && break
        if ((shot_ended - shot_began < spacing)); then
            printf -v pause '0.%06d' $((spacing - (shot_ended - shot_began)))
            sleep "$pause"
        fi
    done
}

# follow_piece KEY JUDGE NAME SECONDS: looks at the piece of the last check
# (no lower than there, and unmoved otherwise), which becomes the new
# `before`, and holds KEY (none when "-") from the moment after that look
# for SECONDS, taking screenshots meanwhile; then hands them to JUDGE, in
# order. Until an answer comes, the key is held again for more. The JUDGE
# finds the piece read (read_piece) and the shot's moment between
# judged_began and judged_at, and sets `verdict`: pass, fail, lost (the
# moment was missed: the piece may have landed, or another come) or wait,
# and `why` for the report. Ends on the first verdict but wait, or with
# "lost" after ten seconds. (The key is up while the shots are read, so the
# piece is taken no further than the check needs.)
follow_piece() {
    local key=$1 judge=$2 name=$3 seconds=$4 deadline=$((SECONDS + 10)) k first=1
    local -a shots
    verdict="wait"
    if [[ "$key" != "-" ]] && declare -F focus_game >/dev/null; then
        focus_game
    fi
    shot "$name-0"
    before_began=$shot_began
    held_rows=0
    while [[ "$verdict" == wait ]] && ((SECONDS <= deadline)); do
        held_before=$held_rows burst_first_top=""
        [[ "$key" != "-" ]] && xdotool keydown "$key"
        capture_burst "$name" "$seconds"
        [[ "$key" != "-" ]] && xdotool keyup "$key"
        shots=()
        ((first)) && shots=("$name-0")
        for ((k = 1; k <= burst_count; k++)); do
            shots+=("$name-$k")
        done
        read_wells "${shots[@]}"
        if ((first)); then
            first=0
            if ! first_look "$name-0"; then
                verdict=lost why="the piece was gone before its key"
                break
            fi
        fi
        for ((k = 1; k <= burst_count; k++)); do
            judged_began=${burst_began[k]} judged_at=${burst_ended[k]}
            if read_piece "$name-$k"; then
                "$judge"
            else
                verdict=lost why="the well was empty"
            fi
            if [[ -n "${KORVANE_E2E_TRACE:-}" ]]; then
                echo "  ($judge: top $piece_top, column $piece_left, $piece_cells blocks" \
                    "$(seconds_between "$before_began" "$judged_at") s after the first look: $verdict)"
            fi
            [[ "$verdict" == wait ]] || break
        done
    done
    [[ "$verdict" == wait ]] && verdict=lost why="no answer within ten seconds"
}

# first_look NAME: the piece of shot NAME is the one fresh_piece found (or
# the last check followed), no lower and in the same column; it becomes the
# `before` of the check, and the last sight of it (seen_began, seen_room: for
# a turn, the room under the lowest row a turn could take it to).
first_look() {
    read_piece "$1" && same_piece && ((piece_left == before_left)) || return 1
    before_top=$piece_top
    seen_began=$before_began seen_room=$piece_room
    [[ "$judge" == judge_turn ]] && seen_room=$piece_turn_room
    followed_blocks=${well//[^#]/}
    if [[ -n "${KORVANE_E2E_TRACE:-}" ]]; then
        echo "  (first look: top $piece_top, column $piece_left, room $piece_room)"
    fi
}

# The piece of this shot is the one of the `before` shot: four blocks, the
# same shape (which a sideways move keeps), never higher.
same_piece() {
    ((piece_cells == 4)) && [[ "$piece_shape" == "$before_shape" ]] && ((piece_top >= before_top))
}

# landed_meanwhile: the piece, last seen with seen_room free rows under it,
# could have come down onto the blocks by the shot being judged; until then
# it cannot have landed, so no other piece can have come, and the topmost
# group of blocks is the piece. Anything else there is taken as a missed
# moment (as a picture caught half drawn would be), never as an answer: a
# game that breaks its pieces fails all three tries.
landed_meanwhile() {
    local gravity
    rows_by_gravity "$seen_began" "$judged_at"
    ((gravity >= seen_room))
}

# saw_piece ROOM: the shot being judged is the last sight of the piece, ROOM
# rows above the blocks under it; held_rows is how far it has fallen in the
# shots taken with the key down.
saw_piece() {
    seen_began=$judged_began seen_room=$1
    burst_first_top=${burst_first_top:-$piece_top}
    held_rows=$((held_before + piece_top - burst_first_top))
}

judge_fall() {
    if landed_meanwhile; then
        verdict=lost why="it may have landed"
    elif ! same_piece || ((piece_left != before_left)); then
        verdict=lost why="the piece changed on its own"
    else
        saw_piece "$piece_room"
        ((piece_top > before_top)) && verdict=pass
    fi
}

# Left and Right: the piece moves that way before gravity has taken it four
# rows down with the key held (more than 750 ms of play, with at least three
# keyboard samples however slowly the game runs: a sample comes with every
# frame in which gravity acts).
judge_sideways() {
    if landed_meanwhile; then
        verdict=lost why="it may have landed"
    elif ! same_piece; then
        verdict=lost why="the piece changed its shape"
    else
        saw_piece "$piece_room"
        if (((piece_left - before_left) * sideways > 0)); then
            verdict=pass
        elif ((held_rows >= 4)); then
            verdict=fail why="it fell four rows with the key held and stayed in its column"
        fi
    fi
}

# Up: the piece shows another shape, or another place within its box (a
# turn; the shots of a burst come within one keyboard sample of each other,
# so no single turn is missed). A turn can take its cells lower, which the
# room allowed for says.
judge_turn() {
    if landed_meanwhile; then
        verdict=lost why="it may have landed"
    elif ((piece_cells != 4 || piece_top < before_top)); then
        verdict=lost why="the piece broke up or rose"
    else
        saw_piece "$piece_turn_room"
        if [[ "$piece_shape" != "$before_shape" || "$piece_left" != "$before_left" ]]; then
            verdict=pass
        elif ((held_rows >= 4)); then
            verdict=fail why="it fell four rows with Up held and never turned"
        fi
    fi
}

# Down: between two shots of the piece, it has come down more rows than
# gravity alone could have taken it in the time from the first to the
# second. Any two shots will do, so that a spell in which a busy machine
# hardly ran the game does not hide the Down steps of the rest. (A piece
# that landed and gave way to a new one is told by its shape, column and
# height; were a new one taken for it, the rows it came down faster than
# gravity would still be Down's.)
judge_down() {
    local gravity k
    if ! same_piece || ((piece_left != before_left)); then
        verdict=lost why="it landed (or another came) first"
        return
    fi
    if ((${#down_tops[@]} == 0)); then
        down_tops=("$before_top") down_began=("$before_began")
    fi
    for ((k = 0; k < ${#down_tops[@]}; k++)); do
        rows_by_gravity "${down_began[k]}" "$judged_at"
        if ((piece_top - down_tops[k] > gravity)); then
            verdict=pass
            down_rows=$((piece_top - down_tops[k])) down_gravity=$gravity
            down_seconds=$(seconds_between "${down_began[k]}" "$judged_at")
            return
        fi
    done
    down_tops+=("$piece_top") down_began+=("$judged_began")
    if ((piece_on_floor)); then
        verdict=lost why="it landed first"
    fi
}

# falling_free NAME: shot NAME shows the piece followed still falling, and
# the well no more blocks than at the check's first look (else the next
# piece has come). Read as read_piece NAME falling does.
falling_free() {
    local blocks
    shot "$1" && read_piece "$1" falling || return 1
    blocks=${well//[^#]/}
    ((${#blocks} == ${#followed_blocks}))
}

# drop_piece NAME [KEY]: after a check, holds KEY (Left or Right) until the
# piece followed is at that wall, then Down until it rests on something, so
# that the middle of the well stays free for the pieces to come.
drop_piece() {
    local name=$1 key=${2:-} deadline=$((SECONDS + 20))
    falling_free "$name" || return
    if [[ -n "$key" ]]; then
        key_down "$key"
        while ((SECONDS <= deadline)) && falling_free "$name"; do
            [[ "$key" == Left ]] && ((piece_left == 0)) && break
            [[ "$key" == Right ]] && ((piece_left + piece_width == well_columns)) && break
        done
        key_up "$key"
    fi
    key_down Down
    while ((SECONDS <= deadline)) && falling_free "$name"; do
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
            [[ "$candidate" == up && "$before_shape" == "0,0 1,0 0,1 1,1 " ]] && continue
            task=$candidate
            break
        done
        if [[ "$task" != down && " $pending " == *" fall "* ]]; then
            follow_piece - judge_fall fall 0.35
            case $verdict in
                pass) pass "the piece falls (top row $before_top -> $piece_top)" ;;
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
            left) sideways=-1 check_sideways Left ;;
            right) sideways=1 check_sideways Right ;;
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
    down_tops=() down_began=()
    follow_piece Down judge_down down 0.8
    case $verdict in
        pass)
            pass "Down moves the piece down ($down_rows rows in $down_seconds s, gravity alone at most $down_gravity)"
            ;;
        fail) fail "Down: $why" ;;
    esac
    drop_piece drop
}

check_turn() {
    local outline="${piece_width}x$piece_height"
    follow_piece Up judge_turn up 0.8
    case $verdict in
        pass) pass "Up turns the piece ($outline -> ${piece_width}x$piece_height, at column $before_left -> $piece_left)" ;;
        fail) fail "Up: $why" ;;
    esac
    drop_piece drop
}

check_sideways() {
    follow_piece "$1" judge_sideways "$1" 0.8
    case $verdict in
        pass) pass "$1 moves the piece (column $before_left -> $piece_left)" ;;
        fail) fail "$1: $why" ;;
    esac
    drop_piece drop "$1"
}

# check_key_moves KEY: in a game in play, KEY (Left or Right) moves a piece,
# checked as check_moves checks it: on a newly come piece, looked at right
# before the key and followed while it is held; made again on a new piece
# when its moment was missed, three times at most.
check_key_moves() {
    local key=$1 try step=1
    [[ "$key" == Left ]] && step=-1
    for try in 1 2 3; do
        if ! fresh_piece fresh 30; then
            fail "no new piece came into the top of the well"
            return
        fi
        sideways=$step check_sideways "$key"
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
