# Test scripts that start one of the build's programs themselves get a small
# shell wrapper that starts it on this machine: under Wine for the Windows
# build, under Node for the web build, as it is for a native one. Sets
# `variable` to the wrapper's path; asked for more than once, the wrapper is
# made once.
function(korvane_host_command variable target)
    set(wrapper ${CMAKE_BINARY_DIR}/host-commands/${target})
    set(${variable} ${wrapper} PARENT_SCOPE)
    get_property(made GLOBAL PROPERTY korvane_host_command_${target})
    if(made)
        return()
    endif()
    set_property(GLOBAL PROPERTY korvane_host_command_${target} TRUE)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        set(run "'${CMAKE_CROSSCOMPILING_EMULATOR}' ")
    else()
        set(run "")
    endif()
    file(GENERATE OUTPUT ${wrapper}
         CONTENT "#!/bin/sh\nexec ${run}'$<TARGET_FILE:${target}>' \"$@\"\n"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                          WORLD_READ WORLD_EXECUTE)
endfunction()
