#!/usr/bin/env bash
# Runs a browser test, and runs it once more only when the browser itself
# went away under it (WebKitGTK's page process crashing, which WebDriver
# reports as a lost session or an unknown error), saying so. A check that
# fails is never run again.
#   again_if_browser_crashed.sh COMMAND...
set -euo pipefail
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
"$@" 2>&1 | tee "$output" || status=$?
if ((status != 0)) && grep -q "the test stopped: \(NoSuchSessionError\|WebDriverError\)" "$output" &&
    ! grep -q "^FAILED: [^t]" "$output"; then
    echo "== the browser went away under the test (see above); once more"
    status=0
    "$@" || status=$?
fi
exit $status
