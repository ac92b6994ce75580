# What every package of the game says about itself, whatever its format.
# A platform's own settings live in a file of their own, included below
# before CPack reads them all.
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR ${KORVANE_VENDOR})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game")
set(CPACK_PACKAGE_DESCRIPTION
    "Pieces of seven four-cell shapes fall into a well 13 cells wide and 20
high. Move and turn them as they fall: a row filled from wall to wall
vanishes and scores, and every 20 rows raise the level. Passing level 10
wins. Played full-screen with the arrow keys or a game controller, with
pictures, music and sound effects made by the game's own generators.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(KORVANE_PACKAGE_CONTACT "The KORVANE developers <korvane@users.noreply.github.com>"
    CACHE STRING "Maintainer named in the packages")
set(CPACK_PACKAGE_CONTACT ${KORVANE_PACKAGE_CONTACT})
set(CPACK_STRIP_FILES ON)
# The same bytes from the same commit, whoever makes them and whenever: one
# time for everything cpack runs (cmake/cpack_project.cmake), and the files
# given fixed permissions and times before they are packed and the archives'
# own stamps set after (cmake/reproducible_package.cmake).
set(CPACK_KORVANE_SOURCE_DATE_EPOCH ${KORVANE_SOURCE_DATE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_project.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/reproducible_package.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/reproducible_package.cmake)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    include(${CMAKE_CURRENT_LIST_DIR}/packaging_deb.cmake)
endif()

include(CPack)
