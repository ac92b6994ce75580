# The game for the browser: korvane.js and korvane.wasm, with Art/ and Sound/
# packed into korvane.data, beside our own page, in site/ -- the folder a
# static file server serves and the zip holds.
set(KORVANE_SITE_DIR ${CMAKE_BINARY_DIR}/site)
set(web_page_files ${CMAKE_SOURCE_DIR}/packaging/web/index.html
                   ${CMAKE_SOURCE_DIR}/packaging/web/korvane-page.js)

add_executable(korvane ${CMAKE_SOURCE_DIR}/platform/web/web_entry.cpp)
target_link_libraries(korvane PRIVATE korvane_web)
set_target_properties(korvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KORVANE_SITE_DIR})
set(web_data_files)
foreach(name Loading Main Menu FileMenu)
    list(APPEND web_data_files ${KORVANE_DATA_DIR}/Art/${name}.kvp)
endforeach()
foreach(n RANGE 1 8)
    list(APPEND web_data_files ${KORVANE_DATA_DIR}/Art/Block${n}.kvp)
endforeach()
foreach(name Music Background Thud Drop Rotate)
    list(APPEND web_data_files ${KORVANE_DATA_DIR}/Sound/${name}.wav)
endforeach()
target_link_options(korvane PRIVATE -Os
    "SHELL:--preload-file ${KORVANE_DATA_DIR}/Art@/Art"
    "SHELL:--preload-file ${KORVANE_DATA_DIR}/Sound@/Sound")
set_property(TARGET korvane APPEND PROPERTY LINK_DEPENDS ${web_data_files})
add_dependencies(korvane korvane_assets)

# The page, its script and the icon beside the game.
set(web_site_files)
foreach(file ${web_page_files} ${KORVANE_DATA_DIR}/korvane.png)
    get_filename_component(name ${file} NAME)
    add_custom_command(OUTPUT ${KORVANE_SITE_DIR}/${name}
        COMMAND ${CMAKE_COMMAND} -E copy ${file} ${KORVANE_SITE_DIR}/${name}
        DEPENDS ${file} korvane_assets
        VERBATIM)
    list(APPEND web_site_files ${KORVANE_SITE_DIR}/${name})
endforeach()

# korvane-<version>-web.zip: index.html at its root with everything it loads
# beside it, so it uploads as it stands to a host of HTML5 games.
set(KORVANE_WEB_ZIP ${CMAKE_BINARY_DIR}/korvane-${PROJECT_VERSION}-web.zip)
set(web_zip_entries index.html korvane-page.js korvane.png korvane.js korvane.wasm korvane.data)
add_custom_command(OUTPUT ${KORVANE_WEB_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${KORVANE_WEB_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${KORVANE_WEB_ZIP} --format=zip ${web_zip_entries}
    # Members in name order with one time and no owner, whatever the umask:
    # the same commit packs to the same bytes.
    COMMAND strip-nondeterminism --type zip --timestamp ${KORVANE_SOURCE_DATE_EPOCH}
            ${KORVANE_WEB_ZIP}
    WORKING_DIRECTORY ${KORVANE_SITE_DIR}
    DEPENDS korvane ${web_site_files}
    COMMENT "Packing ${KORVANE_WEB_ZIP}"
    VERBATIM)
add_custom_target(korvane_web_site ALL DEPENDS ${web_site_files} ${KORVANE_WEB_ZIP})

# The sound latency benchmark's program (scripts/bench-web-sound.mjs builds
# and runs it).
add_executable(korvane_sound_latency EXCLUDE_FROM_ALL
    ${CMAKE_SOURCE_DIR}/bench/web/sound_latency.cpp)
target_link_libraries(korvane_sound_latency PRIVATE korvane_platform_web)
set_target_properties(korvane_sound_latency PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
