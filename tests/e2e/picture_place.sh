# Where the game lays its 640x480 picture on a screen or in its window, for
# the desktop end-to-end scripts: the rule the game follows, restated so that
# a test can tell when the game strays from it.
# shellcheck shell=bash

# place W H: where the game lays its 640x480 picture on a W x H screen (or
# inside a window's W x H), "x y w h factor [smooth]": the binding side
# filled, unless a whole-number factor leaves a border under 15 % of it; the
# factor is the whole-number enlargement that comes before the smoothing down
# ("smooth"), or the placed size's own factor when nothing follows.
place() {
    local sw=$1 sh=$2 side pside w h k
    if ((sw * 480 >= sh * 640)); then side=$sh pside=480; else side=$sw pside=640; fi
    k=$((side / pside))
    if ((k >= 1 && (side - k * pside) * 100 < side * 15)); then
        w=$((640 * k)) h=$((480 * k))
    else
        if ((pside == 480)); then
            h=$sh w=$(((sh * 640 + 240) / 480))
        else
            w=$sw h=$(((sw * 480 + 320) / 640))
        fi
        k=$(((side + pside - 1) / pside))
        ((k < 1)) && k=1
        k="$k smooth"
    fi
    echo $(((sw - w) / 2)) $(((sh - h) / 2)) "$w" "$h" "$k"
}

# picture_point LEFT TOP W H X Y: the screen pixel that shows the picture's
# pixel X,Y when the picture is laid W x H at LEFT,TOP (the one whose centre
# is nearest that pixel's centre).
picture_point() {
    echo $(($1 + (2 * $5 + 1) * $3 / 1280)) $(($2 + (2 * $6 + 1) * $4 / 960))
}

# wait_window_placed WINDOW: polls until the window manager has framed the
# game's window and it has the size the placement gives inside the desktop's
# usable area less that frame; prints "W H FACTOR [smooth]" of the picture
# in it, or fails when it never does.
wait_window_placed() {
    local window=$1 uw uh fl fr ft fb ww wh wk wsmooth geometry deadline=$((SECONDS + 30))
    read -r _ _ uw uh < <(xprop -root _NET_WORKAREA | sed -n 's/^[^=]*= //p' | tr -d ',' | cut -d' ' -f1-4)
    while ((SECONDS <= deadline)); do
        read -r fl fr ft fb < <(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/^[^=]*= //p' | tr -d ',')
        if [[ -n "${ft:-}" ]] && ((ft > 0)); then
            read -r _ _ ww wh wk wsmooth < <(place $((uw - fl - fr)) $((uh - ft - fb)))
            geometry=$(xwininfo -id "$window" | awk '/^  Width:/ {w = $2} /^  Height:/ {h = $2} END {print w "x" h}')
            [[ "$geometry" == "${ww}x${wh}" ]] && { echo "$ww $wh $wk $wsmooth"; return 0; }
        fi
        sleep 0.1
    done
    return 1
}
