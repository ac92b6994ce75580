#!/usr/bin/env bash
# check_metadata.sh SOURCE_DIR BUILD_DIR VERSION RELEASE_DATE
# The desktop entry, the metainfo and the manual pages pass the validators
# the distributions use, agree with each other on the game's name, and carry
# the version and date set in CMake, which CHANGELOG.md's newest entry and
# the Debian changelog made from it must match.
set -euo pipefail
src=$1 build=$2 version=$3 date=$4
id=io.github.korvane.Korvane
desktop=$src/packaging/$id.desktop
metainfo=$build/packaging/$id.metainfo.xml
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate: $metainfo"

# The software centre finds the desktop entry by the metainfo's id, and the
# window manager matches the running window to the entry by its class.
grep -qx "  <id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
grep -qx "  <launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
grep -qx "StartupWMClass=KV_Class" "$desktop" || fail "desktop entry lacks the window class KV_Class"
icon=$(sed -n 's/^Icon=//p' "$desktop")
grep -q "<icon type=\"stock\">$icon</icon>" "$metainfo" || fail "metainfo and desktop entry name different icons"
grep -q "<release version=\"$version\" date=\"$date\">" "$metainfo" ||
    fail "metainfo's newest release is not $version of $date"

# Manual pages: no warnings from the formatter, and the version in the footer.
for page in korvane.6 korvane-replay.1 korvane-kvp.1; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$build/packaging/$page" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || fail "$page: $warnings"
    head -2 "$build/packaging/$page" | grep -q "\"$date\" \"KORVANE $version\"" ||
        fail "$page does not carry version $version of $date"
    cmp -s <(gzip -dc "$build/packaging/$page.gz") "$build/packaging/$page" ||
        fail "$page.gz is not $page compressed"
done

# CHANGELOG.md's newest release is the one CMake builds, and the Debian
# changelog made from it opens with that release.
newest=$(grep -m1 '^## ' "$src/CHANGELOG.md")
[[ "$newest" == "## $version ($date)" ]] || fail "CHANGELOG.md's newest entry is '$newest', not $version ($date)"
debian_changelog=$(gzip -dc "$build/packaging/debian/changelog.gz")
[[ "$(head -1 <<<"$debian_changelog")" == "korvane ($version) unstable; urgency=medium" ]] ||
    fail "Debian changelog opens with '$(head -1 <<<"$debian_changelog")'"
items=$(awk '/^## /{n++} n==1 && /^- /' "$src/CHANGELOG.md" | wc -l)
debian_items=$(awk '/^korvane /{n++} n==1 && /^  \* /' <<<"$debian_changelog" | wc -l)
[[ $items -gt 0 && $items -eq $debian_items ]] ||
    fail "CHANGELOG.md's newest entry has $items items, the Debian changelog's $debian_items"
if command -v dpkg-parsechangelog >/dev/null; then
    dpkg-parsechangelog -l "$build/packaging/debian/changelog" -S Version | grep -qx "$version" ||
        fail "dpkg-parsechangelog does not read version $version"
fi

[[ $failures -eq 0 ]] && echo "packaging metadata: all checks passed"
exit $((failures > 0))
