#!/usr/bin/env bash
# Runs a golden replay against the small test assets, with the game's rules
# checked after every frame, and compares its trace with the expected one, or
# (update) rewrites the expected trace.
#   golden-replay.sh check|update KORVANE_REPLAY WRITE_TEST_ASSETS NAME.replay [EXPECTED]
# The expected trace is NAME.trace beside the script unless EXPECTED names it.
set -euo pipefail
mode=$1 replay=$2 write_assets=$3 script=$4
expected=${5:-${script%.replay}.trace}
work=$(mktemp -d /tmp/korvane-golden-XXXXXX)
trap 'rm -rf "$work"' EXIT
"$write_assets" "$work/assets"
status=0
"$replay" --assets "$work/assets" --shots "$work" --check --trace "$work/trace" "$script" 2>"$work/stderr" || status=$?
echo "exit status $status" >>"$work/trace"
if [[ $mode == update ]]; then
    cp "$work/trace" "$expected"
    echo "wrote $expected"
    exit 0
fi
# The Windows build writes its trace with CRLF line ends, as Windows text files have.
if ! diff -u --strip-trailing-cr "$expected" "$work/trace" >"$work/diff"; then
    head -60 "$work/diff"
    echo "the trace of $(basename "$script") differs from $(basename "$expected");"
    echo "if the change of behaviour is intended, run scripts/update-golden-replays.sh"
    exit 1
fi
echo "golden replay $(basename "$script"): trace as expected"
