#!/usr/bin/env bash
# Runs end-to-end tests several times in a row on a machine kept busy by
# `stress-ng --cpu 2`, and prints each run's time and result: the tests must
# hold however slowly the game and the test itself are given the processor.
#   scripts/stress-e2e.sh [--runs N] [--idle] [BUILD_DIR:TEST_NAME...]
# Without tests: build:e2e_desktop, and build-windows:wine_game,
# wine_window_manager and wine_installer (the builds that ./test makes). --idle runs them the same way without the load, for
# comparison. Exits 1 when any run failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

runs=3
load=1
tests=()
while (($# > 0)); do
    case "$1" in
        --runs)
            runs=$2
            shift 2
            ;;
        --idle)
            load=0
            shift
            ;;
        -h | --help)
            sed -n '2,8p' "$0"
            exit 0
            ;;
        *:*)
            tests+=("$1")
            shift
            ;;
        *)
            echo "stress-e2e.sh: expected BUILD_DIR:TEST_NAME, got $1" >&2
            exit 2
            ;;
    esac
done
((${#tests[@]} > 0)) || tests=(build:e2e_desktop build-windows:wine_game
    build-windows:wine_window_manager build-windows:wine_installer)
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "stress-e2e.sh: --runs wants a count" >&2; exit 2; }

stress_pid=""
stop_stress() {
    if [[ -n "$stress_pid" ]]; then
        kill "$stress_pid" 2>/dev/null
        wait "$stress_pid" 2>/dev/null
        stress_pid=""
    fi
}
trap stop_stress EXIT

if ((load)); then
    command -v stress-ng >/dev/null || { echo "stress-e2e.sh: stress-ng is missing" >&2; exit 2; }
    stress-ng --cpu 2 --quiet &
    stress_pid=$!
    echo "stress-ng --cpu 2 running (pid $stress_pid)"
fi

logs=$(mktemp -d /tmp/korvane-stress-e2e-XXXXXX)
failed=0
summary=()
for test in "${tests[@]}"; do
    dir=${test%%:*}
    name=${test#*:}
    for ((run = 1; run <= runs; run++)); do
        log="$logs/$name-$run.log"
        started=$SECONDS
        ctest --test-dir "$dir" -R "^${name}\$" --output-on-failure --timeout 900 >"$log" 2>&1
        status=$?
        # ctest's own figure for the test, without the fixtures it also ran.
        seconds=$(awk -v name="$name" '$0 ~ "Test +#[0-9]+: " name " " {for (i = NF; i > 0; i--) if ($i == "sec") {print $(i - 1); exit}}' "$log")
        if ((status == 0)) && grep -q "100% tests passed" "$log"; then
            result=passed
        else
            result=FAILED
            failed=1
        fi
        line=$(printf '%-14s run %d of %d: %-6s %8s s (%d s with its fixtures)' \
            "$name" "$run" "$runs" "$result" "${seconds:-?}" $((SECONDS - started)))
        echo "$line"
        summary+=("$line")
        [[ "$result" == FAILED ]] && grep -E "FAILED|^  \(" "$log" | head -20
    done
done
stop_stress

echo "== $([[ $load == 1 ]] && echo "under stress-ng --cpu 2" || echo "without load"), $(nproc) processors"
printf '%s\n' "${summary[@]}"
if ((failed)); then
    echo "logs kept in $logs"
    exit 1
fi
rm -rf "$logs"
