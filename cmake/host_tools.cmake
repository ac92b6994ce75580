# Which art and sound generators make the build's Art/ and Sound/. A native
# build runs the ones it makes. A cross build (Windows, the web) makes them a
# second time for the machine it runs on (tools/host) and runs those, so that
# building needs no emulator; the cross-built generators are still made, and
# their tests check that they write the same bytes as the build machine's.
#   KORVANE_ARTGEN_COMMAND, KORVANE_SOUNDGEN_COMMAND: what to run
#   KORVANE_ARTGEN_DEPENDS, KORVANE_SOUNDGEN_DEPENDS: what a command running
#   them depends on
# The end-to-end tests' screenshot probe is made there too, as
# host-tools/shot_probe (tests/wine).
if(NOT CMAKE_CROSSCOMPILING)
    set(KORVANE_ARTGEN_COMMAND korvane_artgen)
    set(KORVANE_SOUNDGEN_COMMAND korvane_soundgen)
    set(KORVANE_ARTGEN_DEPENDS korvane_artgen)
    set(KORVANE_SOUNDGEN_DEPENDS korvane_soundgen)
    return()
endif()

include(ExternalProject)
set(KORVANE_HOST_CXX c++ CACHE STRING "The build machine's C++ compiler, for the generators")
set(host_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
set(KORVANE_ARTGEN_COMMAND ${host_tools_dir}/artgen/korvane_artgen)
set(KORVANE_SOUNDGEN_COMMAND ${host_tools_dir}/soundgen/korvane_soundgen)
ExternalProject_Add(korvane_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/host
    BINARY_DIR ${host_tools_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${KORVANE_HOST_CXX}
    INSTALL_COMMAND ""
    # The generators' own build decides what is out of date.
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${KORVANE_ARTGEN_COMMAND} ${KORVANE_SOUNDGEN_COMMAND} ${host_tools_dir}/shot_probe)
set(KORVANE_ARTGEN_DEPENDS korvane_host_tools ${KORVANE_ARTGEN_COMMAND})
set(KORVANE_SOUNDGEN_DEPENDS korvane_host_tools ${KORVANE_SOUNDGEN_COMMAND})
