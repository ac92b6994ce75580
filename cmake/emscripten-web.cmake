# Cross-builds the browser version with Debian's Emscripten (package
# emscripten), offline, with no ports:
#   cmake -S . -B build-web -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten-web.cmake
# scripts/build-web.sh does that, builds and packs the zip.
set(CMAKE_C_COMPILER ${CMAKE_CURRENT_LIST_DIR}/web-compilers/emcc)
set(CMAKE_CXX_COMPILER ${CMAKE_CURRENT_LIST_DIR}/web-compilers/em++)
# Test programs and the asset generators run under Node.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/web/node_run.sh)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
