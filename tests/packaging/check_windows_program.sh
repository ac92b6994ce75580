#!/usr/bin/env bash
# check_windows_program.sh KORVANE_EXE VERSION
# The resources Windows reads from korvane.exe, read back from the file
# itself: the icon, the version resource (numbers and strings) carrying the
# project's version, and the application manifest as resource 1 of type 24.
set -uo pipefail
exe=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The project's version in Windows' four parts: 1.0 is 1.0.0.0.
IFS=. read -r major minor patch tweak <<<"$version"
four="${major:-0}.${minor:-0}.${patch:-0}.${tweak:-0}"

wrestool -l "$exe" >"$work/list" || fail "wrestool cannot read $exe"
grep -q -- "--type=14 --name=1 " "$work/list" || fail "no icon group 1: $(cat "$work/list")"

# The version resource: its fixed part (after the signature 0xFEEF04BD, the
# structure's version, then the file and product versions as two 32-bit
# words each, most significant first), and its strings in UTF-16.
wrestool -x --raw --type=16 --name=1 "$exe" >"$work/version" 2>/dev/null || fail "no version resource 1"
words=$(od -An -v -tx4 -w4 "$work/version" | tr -d ' ' | grep -A5 '^feef04bd$' | tail -4)
read -r -d '' fileMs fileLs productMs productLs <<<"$words"
as_version() { echo "$((16#$1 >> 16)).$((16#$1 & 0xFFFF)).$((16#$2 >> 16)).$((16#$2 & 0xFFFF))"; }
if [[ -z "${productLs:-}" ]]; then
    fail "the version resource has no fixed part"
else
    [[ "$(as_version "$fileMs" "$fileLs")" == "$four" ]] ||
        fail "file version $(as_version "$fileMs" "$fileLs"), not $four"
    [[ "$(as_version "$productMs" "$productLs")" == "$four" ]] ||
        fail "product version $(as_version "$productMs" "$productLs"), not $four"
fi
strings -el -n 3 "$work/version" >"$work/strings"
# value_of NAME: the string that follows NAME in the resource.
value_of() { awk -v name="$1" 'found { print; exit } $0 == name { found = 1 }' "$work/strings"; }
expect() {
    [[ "$(value_of "$1")" == "$2" ]] || fail "$1 is \"$(value_of "$1")\", not \"$2\""
}
expect ProductName KORVANE
expect FileVersion "$four"
expect ProductVersion "$version"
expect OriginalFilename korvane.exe
expect FileDescription "KORVANE, a falling-block puzzle game"
expect CompanyName "The KORVANE developers"
value_of LegalCopyright | grep -q "^Copyright [0-9]\{4\} The KORVANE developers$" ||
    fail "LegalCopyright is \"$(value_of LegalCopyright)\""

# The manifest: resource 1 of type 24, as Windows looks for it.
wrestool -x --raw --type=24 --name=1 "$exe" >"$work/manifest" 2>/dev/null ||
    fail "no manifest as resource 1 of type 24"
manifest_has() { grep -q -- "$1" "$work/manifest" || fail "the manifest lacks $2"; }
manifest_has 'level="asInvoker"' "asInvoker"
manifest_has 'uiAccess="false"' 'uiAccess="false"'
manifest_has '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' "Windows 7"
manifest_has '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' "Windows 8"
manifest_has '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' "Windows 8.1"
manifest_has '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' "Windows 10 and 11"
manifest_has '>PerMonitorV2, PerMonitor</dpiAwareness>' "per-monitor v2 awareness with its fallback"
manifest_has '>true/pm</dpiAware>' "the older per-monitor awareness"
manifest_has "version=\"$four\"" "the version $four"
# Windows refuses to start a program whose manifest is not well-formed XML.
if command -v xmllint >/dev/null; then
    xmllint --noout "$work/manifest" || fail "the manifest is not well-formed"
fi

((failures == 0)) && echo "korvane.exe: icon, version $four and manifest as expected"
((failures == 0))
