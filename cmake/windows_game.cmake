# korvane.exe: the game for Windows, a GUI program (no console window) whose
# icon is resource 1, with its application manifest and a version resource
# told from the project's one version. It needs no DLL beyond Windows' own.
set(KORVANE_ICON_FILE ${KORVANE_GENERATED_DIR}/korvane.ico)
set(KORVANE_MANIFEST_FILE ${CMAKE_BINARY_DIR}/packaging/korvane.manifest)
# Windows versions have four parts: 1.0 is 1.0.0.0.
set(version_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
                  ${PROJECT_VERSION_TWEAK})
set(KORVANE_FILE_VERSION "")
foreach(part IN LISTS version_parts ITEMS 0 0 0 0)
    list(LENGTH KORVANE_FILE_VERSION have)
    if(have LESS 4)
        if(part STREQUAL "")
            set(part 0)
        endif()
        list(APPEND KORVANE_FILE_VERSION ${part})
    endif()
endforeach()
string(REPLACE ";" "," KORVANE_VERSION_COMMAS "${KORVANE_FILE_VERSION}")
string(REPLACE ";" "." KORVANE_FILE_VERSION "${KORVANE_FILE_VERSION}")
string(SUBSTRING ${KORVANE_RELEASE_DATE} 0 4 KORVANE_RELEASE_YEAR)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/korvane.manifest.in ${KORVANE_MANIFEST_FILE}
               @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/korvane.rc.in
               ${CMAKE_BINARY_DIR}/packaging/korvane.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/packaging/korvane.rc PROPERTIES
                            OBJECT_DEPENDS "${KORVANE_ICON_FILE};${KORVANE_MANIFEST_FILE}")

add_executable(korvane WIN32
    ${CMAKE_SOURCE_DIR}/platform/win32/win32_entry.cpp
    ${CMAKE_BINARY_DIR}/packaging/korvane.rc)
target_link_libraries(korvane PRIVATE korvane_windows)
add_dependencies(korvane korvane_assets)

# The package a player downloads: korvane-<version>-windows-x64.zip holding
# korvane.exe, Art\, Sound\ and how to play. It runs from wherever it is
# unpacked: started there, the game finds its files in its working folder.
#   cmake --build build-windows --target package
install(TARGETS korvane RUNTIME DESTINATION . COMPONENT windows_game)
install(DIRECTORY ${KORVANE_DATA_DIR}/Art ${KORVANE_DATA_DIR}/Sound DESTINATION .
        COMPONENT windows_game)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/windows/how-to-play.txt DESTINATION .
        COMPONENT windows_game)
# The installer beside it, korvane-<version>-windows-x64-setup.exe, made by
# CPack's NSIS generator with makensis from the project's own installer
# script (packaging/windows/NSIS.template.in), which CPack takes from the
# module path.
set(CPACK_GENERATOR ZIP NSIS)
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging/windows)
set(CPACK_NSIS_MUI_ICON ${KORVANE_ICON_FILE})
set(CPACK_KORVANE_PLATFORM_CONFIG ${CMAKE_SOURCE_DIR}/cmake/windows_cpack.cmake)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_FILE_NAME korvane-${PROJECT_VERSION}-windows-x64)
set(CPACK_ARCHIVE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME})
# Only the game's own files: the headless tools and the Linux desktop files
# installed elsewhere in the tree stay out.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL windows_game)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
# CPack itself is read once, with the settings every package shares, in
# cmake/packaging.cmake.
