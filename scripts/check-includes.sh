#!/usr/bin/env bash
# Subsystem code talks to the machine only through platform/: no SDL and no
# operating-system or browser header may be included anywhere else. And the
# subsystems depend one way only: each folder includes only folders after it
# in this list (drawing reads the game's model; the model knows nothing of
# drawing), as docs/architecture.md shows them.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(app gfx game input sound timing)

host='^\s*#\s*include\s*[<"](SDL|sys/|unistd\.h|windows\.h|windowsx\.h|ddraw\.h|dinput\.h|dsound\.h|mmsystem\.h|mmreg\.h|objbase\.h|X11/|fontconfig/|pthread\.h|dlfcn\.h|fcntl\.h|alsa/|pulse/|emscripten)'
status=0
if hits=$(grep -rnE "$host" "${layers[@]}" 2>/dev/null); then
    echo "Host headers outside platform/:"
    echo "$hits"
    status=1
fi

for ((i = 0; i < ${#layers[@]}; i++)); do
    allowed="platform"
    for ((j = i + 1; j < ${#layers[@]}; j++)); do
        allowed+="|${layers[j]}"
    done
    own=${layers[i]}
    # Any include of a project folder that is neither the folder itself nor
    # one below it.
    if hits=$(grep -rnE '^\s*#\s*include\s*"[a-z]+/' "$own" |
        grep -vE "#\s*include\s*\"($own|$allowed)/"); then
        echo "$own/ includes a folder above it (the order is ${layers[*]}):"
        echo "$hits"
        status=1
    fi
done
((status == 0)) && echo "include check: no host header in the subsystems, and each includes only the ones below it"
exit $status
