#!/usr/bin/env bash
# Rewrites the expected trace of every golden replay in tests/replays/ after
# an intended change of behaviour. Review the diff before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target korvane-replay write_test_assets >/dev/null
for script in tests/replays/*.replay; do
    scripts/golden-replay.sh update build/tools/replay/korvane-replay \
        build/tests/write_test_assets "$script"
done
# The demo that ./run plays headless, checked against the same small files.
scripts/golden-replay.sh update build/tools/replay/korvane-replay \
    build/tests/write_test_assets tools/replay/demo.replay tests/replays/demo.trace
