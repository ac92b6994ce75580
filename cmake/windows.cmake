# The Windows build's settings, made before any target.

# Every program is one file that needs no DLL beyond Windows' own: the C and
# C++ runtimes and the threads library are linked in.
add_link_options(-static -static-libgcc -static-libstdc++)
# No link time in the programs' headers: the same commit links to the same
# bytes.
add_link_options(-Wl,--no-insert-timestamp)
# Windows headers define min and max as macros unless asked not to.
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN)
# GCC 12 warns of overlapping copies inside its own std::string when it
# inlines string concatenation for this target; the warning is false.
add_compile_options(-Wno-restrict)

include(${CMAKE_CURRENT_LIST_DIR}/gtest_from_source.cmake)

# Test scripts that start one of the build's programs themselves get a small
# shell wrapper that starts it under Wine: sets `variable` to its path.
function(korvane_host_command variable target)
    set(wrapper ${CMAKE_BINARY_DIR}/host-commands/${target})
    file(GENERATE OUTPUT ${wrapper}
         CONTENT "#!/bin/sh\nexec '${CMAKE_CROSSCOMPILING_EMULATOR}' '$<TARGET_FILE:${target}>' \"$@\"\n"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                          WORLD_READ WORLD_EXECUTE)
    set(${variable} ${wrapper} PARENT_SCOPE)
endfunction()
