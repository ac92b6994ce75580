#!/usr/bin/env bash
# Runs the commands the documentation gives, so that none of them rots.
#   check-docs.sh [BUILD_DIR]      (default build/, as ./run and ./test make it)
#
# In the Markdown files below, every fenced block must say what it holds:
# ```sh blocks are commands and are run, in order, from the repository root,
# each as one bash script that must succeed; a ```sh block right after a line
# `<!-- not run: REASON -->` is listed with its reason instead; any other
# language (text, replay, ...) is not a command. A fence with no language
# fails the check, so that each new block is a decision.
# In the manual pages, every .EX/.EE example is run in a scratch copy of the
# game's data folder with the built tools first on the PATH.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build}" && pwd)
markdown=(README.md docs/*.md)
pages=(packaging/*.[0-9].in)
work=$(mktemp -d /tmp/korvane-docs-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0 ran=0 exempt=0

# Splits FILE's fenced blocks into $work/blocks/N.{lang,why,text,line}.
split_markdown() {
    rm -rf "$work/blocks" && mkdir -p "$work/blocks"
    awk -v out="$work/blocks" '
        /^```/ {
            if (!inside) {
                inside = 1; n++; lang = substr($0, 4); gsub(/[ \t]+$/, "", lang)
                print lang > (out "/" n ".lang"); print NR > (out "/" n ".line")
                if (previous ~ /^<!-- not run: /) {
                    why = previous; sub(/^<!-- not run: /, "", why); sub(/ -->$/, "", why)
                    print why > (out "/" n ".why")
                }
                printf "" > (out "/" n ".text")
            } else {
                inside = 0
            }
            next
        }
        inside { print > (out "/" n ".text") }
        { if ($0 != "") previous = $0 }
    ' "$1"
}

for file in "${markdown[@]}"; do
    split_markdown "$file"
    for lang_file in $(ls "$work/blocks"/*.lang 2>/dev/null | sort -V); do
        n=${lang_file%.lang}
        lang=$(cat "$lang_file")
        where="$file:$(cat "$n.line")"
        case "$lang" in
        "")
            echo "FAILED: $where: a fenced block with no language (sh to run it, or text)"
            failures=$((failures + 1))
            ;;
        sh)
            if [[ -f "$n.why" ]]; then
                echo "not run: $where: $(cat "$n.why")"
                exempt=$((exempt + 1))
                continue
            fi
            ran=$((ran + 1))
            if (cd "$root" && bash -euo pipefail "$n.text") >"$work/out" 2>&1; then
                echo "ok: $where: $(head -1 "$n.text")"
            else
                echo "FAILED: $where:"
                sed 's/^/    /' "$n.text"
                echo "  said:"
                tail -20 "$work/out" | sed 's/^/    /'
                failures=$((failures + 1))
            fi
            ;;
        esac
    done
done

# The manual pages' examples, in a scratch copy of the data folder.
export PATH="$build/tools/kvp:$build/tools/replay:$PATH"
for page in "${pages[@]}"; do
    awk '/^\.EE/ {inside = 0} inside {print} /^\.EX/ {inside = 1}' "$page" |
        sed -e 's/\\-/-/g' -e 's/\\e/\\/g' -e 's/\\(aq/'"'"'/g' >"$work/example"
    [[ -s "$work/example" ]] || continue
    rm -rf "$work/data" && cp -r "$build/data" "$work/data"
    ran=$((ran + 1))
    if (cd "$work/data" && bash -euo pipefail "$work/example") >"$work/out" 2>&1; then
        echo "ok: $page: its examples"
    else
        echo "FAILED: $page's examples:"
        sed 's/^/    /' "$work/example"
        echo "  said:"
        tail -20 "$work/out" | sed 's/^/    /'
        failures=$((failures + 1))
    fi
done

echo "documentation commands: $ran run, $exempt not run, $failures failed"
((failures == 0))
