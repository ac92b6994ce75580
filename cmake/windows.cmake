# The Windows build's settings, made before any target.

# Every program is one file that needs no DLL beyond Windows' own: the C and
# C++ runtimes and the threads library are linked in.
add_link_options(-static -static-libgcc -static-libstdc++)
# Windows headers define min and max as macros unless asked not to.
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN)
# GCC 12 warns of overlapping copies inside its own std::string when it
# inlines string concatenation for this target; the warning is false.
add_compile_options(-Wno-restrict)

if(BUILD_TESTING)
    # No GoogleTest is packaged for mingw-w64; Debian's sources
    # (package googletest) are built along with the tests.
    set(KORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows build")
    if(NOT EXISTS ${KORVANE_GTEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${KORVANE_GTEST_SOURCE} (Debian package googletest)")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${KORVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # find_package(GTest) in tests/ then takes the targets made above.
    file(WRITE ${CMAKE_BINARY_DIR}/gtest-config/GTestConfig.cmake
         "# GoogleTest is built in this tree; its targets exist already.\n")
    set(GTest_DIR ${CMAKE_BINARY_DIR}/gtest-config CACHE PATH "" FORCE)
endif()

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
