# GoogleTest for a cross build, where none is packaged for the target: built
# from Debian's sources (package googletest) along with the tests.
# find_package(GTest) in tests/ then takes the targets made here.
if(BUILD_TESTING)
    set(KORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for a cross build")
    if(NOT EXISTS ${KORVANE_GTEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${KORVANE_GTEST_SOURCE} (Debian package googletest)")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${KORVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    file(WRITE ${CMAKE_BINARY_DIR}/gtest-config/GTestConfig.cmake
         "# GoogleTest is built in this tree; its targets exist already.\n")
    set(GTest_DIR ${CMAKE_BINARY_DIR}/gtest-config CACHE PATH "" FORCE)
endif()
