#!/usr/bin/env bash
# Runs each end-to-end test many times in a row on a machine kept busy by
# `stress-ng --cpu 2`: the tests must hold however slowly the game and the
# test itself are given the processor. Prints a table, test | runs | passed
# | failed, with where each failed run's evidence is.
#   scripts/stress-e2e.sh [--runs N] [--idle] [BUILD_DIR[:TEST_REGEX]...]
# Without builds: build, build-windows and build-web, the builds ./test
# makes with end-to-end tests. The tests are each build's end-to-end tests
# (label e2e), narrowed by TEST_REGEX. Each runs 10 times, wine_installer
# and wine_game 20, or N times each with --runs. --idle runs them the same
# way without the load, for comparison. The packages the Windows tests
# install and play are made once, before the runs. A failed run's output
# and what the test kept of it (tests/support/x_session.sh) go to
# BUILD_DIR/stress-evidence/TEST/run-K. Exits 1 when any run failed.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=""
load=1
targets=()
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
        sed -n '2,14p' "$0"
        exit 0
        ;;
    *)
        targets+=("$1")
        shift
        ;;
    esac
done
((${#targets[@]} > 0)) || targets=(build build-windows build-web)
[[ -z "$runs" || "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "stress-e2e.sh: --runs wants a count" >&2; exit 2; }

load_pid=""
stop_load() {
    if [[ -n "$load_pid" ]]; then
        kill "$load_pid" 2>/dev/null || true
        wait "$load_pid" 2>/dev/null || true
        load_pid=""
    fi
}
trap stop_load EXIT
if ((load)); then
    command -v stress-ng >/dev/null ||
        { echo "stress-e2e.sh: stress-ng is missing (scripts/install-deps.sh test)" >&2; exit 2; }
    stress-ng --cpu 2 --quiet &
    load_pid=$!
fi

failed_any=0
rows=()
for target in "${targets[@]}"; do
    build=${target%%:*}
    filter=.
    [[ "$target" == *:* ]] && filter=${target#*:}
    [[ -f "$build/CTestTestfile.cmake" ]] || { echo "stress-e2e.sh: no tests in $build" >&2; exit 2; }
    # (Without the fixtures the tests need, which CTest would list too.)
    mapfile -t tests < <(ctest --test-dir "$build" -N -L e2e -R "$filter" -FS '.*' -FC '.*' |
        sed -n 's/^ *Test *#[0-9]*: *//p')
    # The fixture (the Windows packages) once; the runs leave it out.
    if ctest --test-dir "$build" -N -R '^windows_package$' | grep -q windows_package; then
        ctest --test-dir "$build" -R '^windows_package$' >/dev/null ||
            { echo "stress-e2e.sh: the Windows packages could not be made" >&2; exit 1; }
    fi
    rm -rf "$build/stress-evidence"
    for test in "${tests[@]}"; do
        times=${runs:-10}
        [[ -z "$runs" && ("$test" == wine_installer || "$test" == wine_game) ]] && times=20
        passed=0 failed=0 where=""
        for ((run = 1; run <= times; run++)); do
            kept=$build/stress-evidence/$test/run-$run
            mkdir -p "$kept"
            started=$SECONDS
            if ctest --test-dir "$build" -R "^${test}\$" -FS '.*' --output-on-failure --timeout 900 \
                >"$kept/ctest.log" 2>&1; then
                passed=$((passed + 1))
                result=passed
                rm -rf "$kept"
            else
                failed=$((failed + 1))
                failed_any=1
                result=FAILED
                [[ -d "$build/e2e-evidence/$test" ]] && cp -r "$build/e2e-evidence/$test/." "$kept/"
                where+=" $kept"
            fi
            printf '%-32s run %2d of %2d: %-6s %4d s\n' "$test" "$run" "$times" "$result" $((SECONDS - started))
        done
        rmdir "$build/stress-evidence/$test" 2>/dev/null || true
        rows+=("$test|$times|$passed|$failed|${where# }")
    done
    rmdir "$build/stress-evidence" 2>/dev/null || true
done
stop_load

echo
echo "== $( ((load)) && echo "beside stress-ng --cpu 2" || echo "without load"), $(nproc) processors"
printf '%-32s | %4s | %6s | %6s | %s\n' test runs passed failed "evidence of the failed runs"
for row in "${rows[@]}"; do
    IFS='|' read -r test times passed failed where <<<"$row"
    printf '%-32s | %4s | %6s | %6s | %s\n' "$test" "$times" "$passed" "$failed" "$where"
done
exit $failed_any
