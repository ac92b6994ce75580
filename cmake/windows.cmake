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

include(${CMAKE_CURRENT_LIST_DIR}/host_command.cmake)
