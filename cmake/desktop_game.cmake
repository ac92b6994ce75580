# The desktop game (SDL2): korvane, its launcher, desktop entry, software-
# centre metadata, icons and manual pages, as `cmake --install` and the
# Debian package put them. The game runs from the folder that holds Art/
# and Sound/; installed, a launcher script changes to that folder first.
add_executable(korvane platform/sdl/sdl_entry.cpp)
target_link_libraries(korvane PRIVATE korvane_desktop)
# The launcher finds the prefix from where it is installed.
file(RELATIVE_PATH KORVANE_BIN_TO_PREFIX /prefix/${KORVANE_INSTALL_GAMESDIR} /prefix)
configure_file(packaging/korvane.in ${CMAKE_BINARY_DIR}/packaging/korvane @ONLY)
install(TARGETS korvane RUNTIME DESTINATION ${KORVANE_INSTALL_LIBDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/korvane DESTINATION ${KORVANE_INSTALL_GAMESDIR})
install(FILES packaging/io.github.korvane.Korvane.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The software centre shows the README's screenshots of this version.
set(KORVANE_SCREENSHOT_URL
    "https://raw.githubusercontent.com/korvane/korvane/v${PROJECT_VERSION}/docs/screenshots")
configure_file(packaging/io.github.korvane.Korvane.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/packaging/io.github.korvane.Korvane.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/io.github.korvane.Korvane.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KORVANE_DATA_DIR}/korvane.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
foreach(size 64 128 256)
    install(FILES ${KORVANE_DATA_DIR}/korvane-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME korvane.png)
endforeach()
# Manual pages are installed compressed, as Debian keeps them.
foreach(page korvane.6 korvane-replay.1 korvane-kvp.1)
    string(REGEX REPLACE ".*\\." "" section ${page})
    configure_file(packaging/${page}.in ${CMAKE_BINARY_DIR}/packaging/${page} @ONLY)
    execute_process(COMMAND gzip -9 -n -k -f ${CMAKE_BINARY_DIR}/packaging/${page}
        COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${page}.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

# Everything `cmake --install build` and `cpack -G DEB` put in place, so that
# ./run, which builds only this, leaves a build that installs and packages.
add_custom_target(korvane_installed)
add_dependencies(korvane_installed korvane korvane-kvp korvane-replay korvane_assets)
