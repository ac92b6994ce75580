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

# No threads in the tests' GoogleTest: the page's programs have none.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
include(${CMAKE_CURRENT_LIST_DIR}/gtest_from_source.cmake)

include(${CMAKE_CURRENT_LIST_DIR}/host_command.cmake)
