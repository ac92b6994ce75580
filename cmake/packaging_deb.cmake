# The Debian package: cd build && cpack -G DEB makes korvane_<version>_amd64.deb
# with the game and its tools in Debian's places for games, its desktop
# entry, metainfo, icons and manual pages, and the documentation Debian asks
# every package for. Its description is CPACK_PACKAGE_DESCRIPTION_SUMMARY
# followed by CPACK_PACKAGE_DESCRIPTION.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from what the binaries link; the counters' font is
# looked up by name at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(deb_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
set(deb_out ${CMAKE_BINARY_DIR}/packaging/debian)
file(MAKE_DIRECTORY ${deb_out})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${deb_doc_dir})
# The whole guide to korvane-replay's scripts and traces, which its manual
# page points to.
install(FILES ${CMAKE_SOURCE_DIR}/docs/replay.md DESTINATION ${deb_doc_dir})

# The Debian changelog, made from CHANGELOG.md: each "## VERSION (DATE)"
# heading opens an entry, each "- " item becomes a "  * " line.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md)
file(READ ${CMAKE_SOURCE_DIR}/CHANGELOG.md changelog_md)
string(REPLACE ";" "\\;" changelog_md "${changelog_md}")
string(REPLACE "\n" ";" changelog_lines "${changelog_md}")
set(debian_changelog "")
set(entry_trailer "")
foreach(line IN LISTS changelog_lines)
    if(line MATCHES "^## ([0-9][0-9.]*) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
        set(version ${CMAKE_MATCH_1})
        execute_process(COMMAND date -u -R -d "${CMAKE_MATCH_2} 12:00:00"
            OUTPUT_VARIABLE entry_date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        string(APPEND debian_changelog "${entry_trailer}"
            "${CPACK_PACKAGE_NAME} (${version}) unstable; urgency=medium\n\n")
        set(entry_trailer "\n -- ${CPACK_PACKAGE_CONTACT}  ${entry_date}\n\n")
    elseif(entry_trailer AND line MATCHES "^- (.*)$")
        string(APPEND debian_changelog "  * ${CMAKE_MATCH_1}\n")
    elseif(entry_trailer AND line MATCHES "^  (.*)$")
        string(APPEND debian_changelog "    ${CMAKE_MATCH_1}\n")
    endif()
endforeach()
string(APPEND debian_changelog "${entry_trailer}")
string(STRIP "${debian_changelog}" debian_changelog)
file(WRITE ${deb_out}/changelog "${debian_changelog}\n")
execute_process(COMMAND gzip -9 -n -k -f ${deb_out}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${deb_out}/changelog.gz DESTINATION ${deb_doc_dir})
