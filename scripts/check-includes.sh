#!/usr/bin/env bash
# Subsystem code talks to the machine only through platform/: no SDL and no
# operating-system header may be included anywhere else.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='^\s*#\s*include\s*[<"](SDL|sys/|unistd\.h|windows\.h|X11/|fontconfig/|pthread\.h|dlfcn\.h|fcntl\.h|alsa/|pulse/)'
if hits=$(grep -rnE "$pattern" app game gfx input sound timing 2>/dev/null); then
    echo "Host headers outside platform/:"
    echo "$hits"
    exit 1
fi
echo "include check: subsystem code includes no host header"
