# Every test is registered here, one way, so that each carries the same
# environment and labels.
#
# korvane_test_program(<target> BACKEND <headless|desktop> SOURCES <file>...)
#   A GoogleTest program; the backend it links is said, never guessed:
#   headless is the fake platform with the test fixtures, desktop the SDL
#   backend. Programs that link something else (a backend's own library, the
#   generators) are made with add_executable and given to korvane_add_test.
#
# korvane_add_test(<name>
#     {COMMAND <command>... | GTEST <target>}
#     [LABELS <label>...] [E2E] [DISPLAY | OWN_DISPLAY] [SCREEN <WxHxD>]
#     [NO_WINDOW_MANAGER] [ENVIRONMENT <VAR=VALUE>...] [TIMEOUT <s>] [RUN_SERIAL]
#     [FIXTURES_SETUP <name>] [FIXTURES_REQUIRED <name>] [WORKING_DIRECTORY <dir>])
#   COMMAND: one test named <name>. GTEST: the program's cases, each a test
#   of its own, found with gtest_discover_tests.
#   Labels, beside those given: `unit` for a GoogleTest program that needs no
#   display, `e2e` with E2E (a whole program driven from outside, as a
#   player would), `needs-display` with DISPLAY or OWN_DISPLAY.
#   DISPLAY: the command runs on a private X display of its own
#   (tests/support/run_on_xvfb.sh; SCREEN and NO_WINDOW_MANAGER as that
#   script's options). OWN_DISPLAY: the command starts its displays itself
#   (tests/support/x_session.sh), as the desktop and Wine E2E scripts do.
#   E2E tests and tests with a display keep what a failed run saw in
#   <build>/e2e-evidence/<name> (KORVANE_E2E_EVIDENCE) and name that folder.
#   Every test gets the sanitizers' suppressions of the host's libraries
#   (harmless in builds without them) and SDL's silent sound unless its
#   ENVIRONMENT says otherwise.

set(KORVANE_TEST_ENVIRONMENT
    "SDL_AUDIODRIVER=dummy"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan-host-libraries.supp"
    "TSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/tsan-host-libraries.supp")
set(KORVANE_RUN_ON_XVFB ${CMAKE_SOURCE_DIR}/tests/support/run_on_xvfb.sh)

function(korvane_test_program target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "BACKEND" "SOURCES")
    add_executable(${target} ${arg_SOURCES})
    if(arg_BACKEND STREQUAL "headless")
        target_link_libraries(${target} PRIVATE korvane_test_support GTest::gtest_main)
    elseif(arg_BACKEND STREQUAL "desktop")
        target_link_libraries(${target} PRIVATE korvane_desktop GTest::gtest GTest::gtest_main)
    else()
        message(FATAL_ERROR "korvane_test_program(${target}): BACKEND headless or desktop, not '${arg_BACKEND}'")
    endif()
    target_compile_definitions(${target} PRIVATE
        KORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KORVANE_BINARY_DIR="${CMAKE_BINARY_DIR}")
endfunction()

function(korvane_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "E2E;DISPLAY;OWN_DISPLAY;NO_WINDOW_MANAGER;RUN_SERIAL"
        "GTEST;SCREEN;TIMEOUT;FIXTURES_SETUP;FIXTURES_REQUIRED;WORKING_DIRECTORY"
        "COMMAND;LABELS;ENVIRONMENT")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "korvane_add_test(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    set(labels ${arg_LABELS})
    set(environment ${KORVANE_TEST_ENVIRONMENT} ${arg_ENVIRONMENT})
    if(arg_E2E)
        list(APPEND labels e2e)
    endif()
    if(arg_DISPLAY OR arg_OWN_DISPLAY)
        list(APPEND labels needs-display)
    elseif(arg_GTEST)
        list(APPEND labels unit)
    endif()
    if(arg_E2E OR arg_DISPLAY OR arg_OWN_DISPLAY)
        list(APPEND environment "KORVANE_E2E_EVIDENCE=${CMAKE_BINARY_DIR}/e2e-evidence/${name}")
    endif()
    set(command ${arg_COMMAND})
    if(arg_DISPLAY)
        set(wrapper ${KORVANE_RUN_ON_XVFB})
        if(arg_SCREEN)
            list(APPEND wrapper --screen ${arg_SCREEN})
        endif()
        if(arg_NO_WINDOW_MANAGER)
            list(APPEND wrapper --no-window-manager)
        endif()
        if(arg_GTEST)
            set(command ${wrapper} $<TARGET_FILE:${arg_GTEST}>)
        else()
            set(command ${wrapper} ${command})
        endif()
    endif()

    if(arg_GTEST AND NOT arg_DISPLAY)
        # gtest_discover_tests flattens the values of its PROPERTIES, so a
        # second label or variable would be lost (or read as a property's
        # name): the cases it finds get theirs from a file of our own, read
        # by CTest after the one that adds them.
        gtest_discover_tests(${arg_GTEST} ${KORVANE_TEST_DISCOVERY} TEST_LIST ${arg_GTEST}_cases)
        set(file ${CMAKE_CURRENT_BINARY_DIR}/${arg_GTEST}_properties.cmake)
        file(GENERATE OUTPUT ${file} CONTENT
"if(${arg_GTEST}_cases)
    set_tests_properties(\${${arg_GTEST}_cases} PROPERTIES
        LABELS [==[${labels}]==] ENVIRONMENT [==[${environment}]==])
endif()
")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
        return()
    endif()
    if(NOT command)
        message(FATAL_ERROR "korvane_add_test(${name}): COMMAND or GTEST")
    endif()
    if(arg_WORKING_DIRECTORY)
        add_test(NAME ${name} COMMAND ${command} WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
    else()
        add_test(NAME ${name} COMMAND ${command})
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" ENVIRONMENT "${environment}")
    foreach(property TIMEOUT FIXTURES_SETUP FIXTURES_REQUIRED)
        if(arg_${property})
            set_tests_properties(${name} PROPERTIES ${property} ${arg_${property}})
        endif()
    endforeach()
    if(arg_RUN_SERIAL)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
