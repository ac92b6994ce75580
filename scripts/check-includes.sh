#!/usr/bin/env bash
# The layers of the game and the platform seam under them, kept apart:
# - no SDL, operating-system or browser header outside platform/;
# - the subsystems depend one way only: each folder includes only folders
#   after it in the list below (drawing reads the game's model; the model
#   knows nothing of drawing), as docs/architecture.md shows them;
# - a subsystem includes only the seam's own headers (platform/*.h), never a
#   backend's or the backends' shared code (platform/common/);
# - platform/ includes no subsystem: a system's entry point calls the game
#   through platform/game_entry.h;
# - no backend includes another, and platform/common/ includes no backend.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(app gfx game input sound timing)
backends=(fake sdl web win32)

host='^\s*#\s*include\s*[<"](SDL|sys/|unistd\.h|windows\.h|windowsx\.h|ddraw\.h|dinput\.h|dsound\.h|mmsystem\.h|mmreg\.h|objbase\.h|X11/|fontconfig/|pthread\.h|dlfcn\.h|fcntl\.h|alsa/|pulse/|emscripten)'
project_include='^\s*#\s*include\s*"[a-z0-9_]+/'
status=0
report() {
    echo "$1"
    echo "$2"
    status=1
}

if hits=$(grep -rnE "$host" "${layers[@]}" 2>/dev/null); then
    report "Host headers outside platform/:" "$hits"
fi

for ((i = 0; i < ${#layers[@]}; i++)); do
    allowed="platform/[a-z0-9_]+\.h\""
    for ((j = i + 1; j < ${#layers[@]}; j++)); do
        allowed+="|${layers[j]}/"
    done
    own=${layers[i]}
    # Any include of a project folder that is neither the folder itself, one
    # below it, nor one of the seam's own headers.
    if hits=$(grep -rnE "$project_include" "$own" | grep -vE "#\s*include\s*\"($own/|$allowed)"); then
        report "$own/ includes a folder above it or inside the seam (the order is ${layers[*]}, then the seam's platform/*.h):" "$hits"
    fi
done

subsystems=$(
    IFS='|'
    echo "${layers[*]}"
)
if hits=$(grep -rnE "^\s*#\s*include\s*\"($subsystems)/" platform); then
    report "platform/ includes a subsystem (entry points call the game through platform/game_entry.h):" "$hits"
fi

for folder in "${backends[@]}" common; do
    # A backend may include the seam, the shared code and itself; the shared
    # code the seam and itself.
    allowed="platform/[a-z0-9_]+\.h\"|platform/common/"
    [[ $folder != common ]] && allowed+="|platform/$folder/"
    if hits=$(grep -rnE '^\s*#\s*include\s*"platform/' "platform/$folder" |
        grep -vE "#\s*include\s*\"($allowed)"); then
        report "platform/$folder/ includes a backend not its own:" "$hits"
    fi
done
if hits=$(grep -nE "$project_include" platform/*.h | grep -vE '#\s*include\s*"platform/[a-z0-9_]+\.h"'); then
    report "the seam's own headers include more than the seam:" "$hits"
fi

((status == 0)) && echo "include check: no host header in the subsystems, each includes only the ones below it and the seam's own headers, and platform/ includes no subsystem, and no backend another"
exit $status
