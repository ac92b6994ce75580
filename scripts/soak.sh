#!/usr/bin/env bash
# Plays random keys through the whole program for FRAMES frames (default two
# million), checking the rules after every frame.
#   scripts/soak.sh [FRAMES] [SEED] [KORVANE_REPLAY] [ASSETS]
# Without KORVANE_REPLAY it uses the sanitizer build's when there is one.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
frames=${1:-2000000}
seed=${2:-$RANDOM}
replay=${3:-}
assets=${4:-}
if [[ -z $replay ]]; then
    replay=$here/build-sanitize/tools/replay/korvane-replay
    [[ -x $replay ]] || replay=$here/build/tools/replay/korvane-replay
fi
assets_option=()
[[ -n $assets ]] && assets_option=(--assets "$assets")
script=$(mktemp /tmp/korvane-soak-XXXXXX.replay)
log=$(mktemp /tmp/korvane-soak-XXXXXX.log)
trap 'rm -f "$script" "$log"' EXIT
# Menus, wipes and game ends take more than a frame's 40 ms: leave room.
echo "end $((frames * 400 + 10000))" >"$script"
echo "soak: $frames frames, seed $seed, with $replay"
status=0
"$replay" "${assets_option[@]}" --check --random "$seed" --frames "$frames" \
    --trace /dev/null "$script" 2>"$log" || status=$?
cat "$log"
checked=$(sed -n 's/.*checked \([0-9]*\) frames.*/\1/p' "$log")
if [[ $status -ne 0 || "$checked" != "$frames" ]]; then
    echo "soak: FAILED (status $status, $checked of $frames frames)"
    exit 1
fi
echo "soak: $frames frames, no rule broken"
