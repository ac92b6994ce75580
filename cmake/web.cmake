# The web build's settings, made before any target.

# The headless backend throws on a misspelt failure name and the tests catch
# what they check for; Emscripten leaves exceptions off unless asked.
add_compile_options(-fexceptions)
# Every program but the page's is a command run under Node (tests, the
# generators, korvane-replay), reading and writing the host's files; each
# grows its memory as it needs, and its exit code is the process's. Their
# code is optimised as it is compiled; the linker's own optimisation of the
# whole module, slow and of no use to a test, is left to the game (-Os).
add_link_options(-O1 -fexceptions -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)

if(BUILD_TESTING)
    # No GoogleTest is packaged for Emscripten; Debian's sources (package
    # googletest) are built along with the tests, without threads.
    set(KORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the web build")
    if(NOT EXISTS ${KORVANE_GTEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${KORVANE_GTEST_SOURCE} (Debian package googletest)")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(${KORVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    file(WRITE ${CMAKE_BINARY_DIR}/gtest-config/GTestConfig.cmake
         "# GoogleTest is built in this tree; its targets exist already.\n")
    set(GTest_DIR ${CMAKE_BINARY_DIR}/gtest-config CACHE PATH "" FORCE)
endif()

# Test scripts that start one of the build's programs themselves get a small
# shell wrapper that starts it under Node: sets `variable` to its path.
# Asked for more than once, the wrapper is made once.
function(korvane_host_command variable target)
    set(wrapper ${CMAKE_BINARY_DIR}/host-commands/${target})
    set(${variable} ${wrapper} PARENT_SCOPE)
    get_property(made GLOBAL PROPERTY korvane_host_command_${target})
    if(made)
        return()
    endif()
    set_property(GLOBAL PROPERTY korvane_host_command_${target} TRUE)
    file(GENERATE OUTPUT ${wrapper}
         CONTENT "#!/bin/sh\nexec '${CMAKE_CROSSCOMPILING_EMULATOR}' '$<TARGET_FILE:${target}>' \"$@\"\n"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                          WORLD_READ WORLD_EXECUTE)
endfunction()
