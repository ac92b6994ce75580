#!/usr/bin/env bash
# Runs the commands the documentation gives, so that none of them rots.
#   check-docs.sh [BUILD_DIR]      (default build/, as ./run and ./test make it)
#
# In the Markdown files below, every fenced block must say what it holds:
# ```sh blocks are commands; a ```sh block right after a line
# `<!-- not run: REASON -->` is listed with its reason instead; any other
# language (text, replay, ...) is not a command. A fence with no language
# fails the check, so that each new block is a decision.
# A reader types a section's commands one after the other into one shell
# opened at the repository root, so that is how they run here: the sh blocks
# under one heading in one bash (-euo pipefail), in order, each seeing what
# the ones before it left (the folder, variables). A block that leaves the
# shell outside the repository root fails when the next command of its
# section is one not run here, since the reader would type that one there.
# In the manual pages, every .EX/.EE example runs with the built tools first
# on the PATH, in an empty scratch folder, or in a scratch copy of the game's
# data folder when the page has the line `.\" run in: a copy of the data
# folder` (and says so to its reader).
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build}" && pwd)
markdown=(README.md docs/*.md)
pages=(packaging/*.[0-9].in)
work=$(mktemp -d /tmp/korvane-docs-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0 ran=0 exempt=0

# Splits FILE's fenced blocks into $work/blocks/NNNN.{lang,why,text,line,section};
# the section is the number of the last heading outside a block.
split_markdown() {
    rm -rf "$work/blocks" && mkdir -p "$work/blocks"
    awk -v out="$work/blocks" '
        /^```/ {
            if (!inside) {
                inside = 1; b = sprintf("%s/%04d", out, ++n)
                lang = substr($0, 4); gsub(/[ \t]+$/, "", lang)
                print lang > (b ".lang"); print NR > (b ".line"); print section > (b ".section")
                if (previous ~ /^<!-- not run: /) {
                    why = previous; sub(/^<!-- not run: /, "", why); sub(/ -->$/, "", why)
                    print why > (b ".why")
                }
                printf "" > (b ".text")
            } else {
                inside = 0
            }
            next
        }
        inside { print > (b ".text"); next }
        /^#+ / { section++ }
        { if ($0 != "") previous = $0 }
    ' "$1"
}

# Runs the sh blocks given (paths without extension, in order) in one shell at
# the repository root. Each block's output goes to N.out; N.done holds the
# folder the shell was in after it. The shell stops at the first failure.
run_section() {
    local script=$work/section.sh n
    {
        echo 'set -euo pipefail'
        printf 'cd %q\n' "$root"
        for n in "$@"; do
            printf 'source %q >%q 2>&1\n' "$n.text" "$n.out"
            printf 'pwd >%q\n' "$n.done"
        done
    } >"$script"
    bash "$script" </dev/null >/dev/null 2>&1
}

report_failure() {
    local n=$1 where=$2 why=$3
    echo "FAILED: $where: $why"
    sed 's/^/    /' "$n.text"
    if [[ -s "$n.out" ]]; then
        echo "  said:"
        tail -20 "$n.out" | sed 's/^/    /'
    fi
    failures=$((failures + 1))
}

for file in "${markdown[@]}"; do
    split_markdown "$file"
    blocks=("$work/blocks"/*.lang)
    blocks=("${blocks[@]%.lang}")
    # Each block's fate: no language, not run (listed), or run in its section.
    declare -A section_blocks=()
    sections=()
    for n in "${blocks[@]}"; do
        lang=$(cat "$n.lang")
        where="$file:$(cat "$n.line")"
        case "$lang" in
        "")
            echo "FAILED: $where: a fenced block with no language (sh to run it, or text)"
            failures=$((failures + 1))
            ;;
        sh)
            section=$(cat "$n.section")
            if [[ -f "$n.why" ]]; then
                touch "$n.skip"
            else
                [[ -v "section_blocks[$section]" ]] || sections+=("$section")
                section_blocks[$section]+="$n "
            fi
            ;;
        esac
    done
    for section in "${sections[@]}"; do
        # shellcheck disable=SC2086 # the list is of paths without spaces
        run_section ${section_blocks[$section]} || true
    done
    # The report, in the file's order.
    stopped=""
    for ((i = 0; i < ${#blocks[@]}; i++)); do
        n=${blocks[i]}
        [[ "$(cat "$n.lang")" == sh ]] || continue
        where="$file:$(cat "$n.line")"
        section=$(cat "$n.section")
        if [[ -f "$n.skip" ]]; then
            echo "not run: $where: $(cat "$n.why")"
            exempt=$((exempt + 1))
            continue
        fi
        ran=$((ran + 1))
        # The next command of the same section, when it is one not run here:
        # the reader types it where this one left the shell, and it is
        # written for the repository root.
        next=""
        for ((j = i + 1; j < ${#blocks[@]}; j++)); do
            later=${blocks[j]}
            if [[ "$(cat "$later.lang")" == sh && "$(cat "$later.section")" == "$section" ]]; then
                [[ -f "$later.skip" ]] && next="$file:$(cat "$later.line")"
                break
            fi
        done
        if [[ "$stopped" == "$section" ]]; then
            echo "FAILED: $where: not reached, since a command before it in its section failed"
            failures=$((failures + 1))
        elif [[ ! -f "$n.done" ]]; then
            report_failure "$n" "$where" "it failed"
            stopped=$section
        elif [[ "$(cat "$n.done")" != "$root" && -n "$next" ]]; then
            folder=$(cat "$n.done")
            report_failure "$n" "$where" "it leaves the shell in ${folder#"$root"/}, where the reader would type the next command ($next, not run here)"
            stopped=$section
        else
            echo "ok: $where: $(head -1 "$n.text")"
        fi
    done
    unset section_blocks
done

# The manual pages' examples, where each page says to run them.
export PATH="$build/tools/kvp:$build/tools/replay:$PATH"
for page in "${pages[@]}"; do
    awk '/^\.EE/ {inside = 0} inside {print} /^\.EX/ {inside = 1}' "$page" |
        sed -e 's/\\-/-/g' -e 's/\\e/\\/g' -e 's/\\(aq/'"'"'/g' >"$work/example"
    [[ -s "$work/example" ]] || continue
    rm -rf "$work/folder"
    if grep -qx '\.\\" run in: a copy of the data folder' "$page"; then
        cp -r "$build/data" "$work/folder"
        folder="a copy of the data folder"
    else
        mkdir "$work/folder"
        folder="an empty folder"
    fi
    ran=$((ran + 1))
    if (cd "$work/folder" && bash -euo pipefail "$work/example") >"$work/out" 2>&1; then
        echo "ok: $page: its examples, in $folder"
    else
        echo "FAILED: $page's examples, in $folder:"
        sed 's/^/    /' "$work/example"
        echo "  said:"
        tail -20 "$work/out" | sed 's/^/    /'
        failures=$((failures + 1))
    fi
done

echo "documentation commands: $ran run, $exempt not run, $failures failed"
((failures == 0))
