# The game for the browser: korvane.js and korvane.wasm beside our own page,
# the pictures and effects in korvane.pack, the worker that makes the music
# in the page, the offline worker and the manifest, in site/ -- the folder a
# static file server serves and the zip holds.
set(KORVANE_SITE_DIR ${CMAKE_BINARY_DIR}/site)
set(web_page_files ${CMAKE_SOURCE_DIR}/packaging/web/index.html
                   ${CMAKE_SOURCE_DIR}/packaging/web/korvane-page.js)

add_executable(korvane ${CMAKE_SOURCE_DIR}/platform/web/web_entry.cpp)
target_link_libraries(korvane PRIVATE korvane_web)
set_target_properties(korvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KORVANE_SITE_DIR})
target_link_options(korvane PRIVATE -Os)
set_target_properties(korvane_music_worker PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KORVANE_SITE_DIR})

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

# The data pack, the manifest with its icons and the offline worker, which
# names every other file's digest and so comes last.
find_program(KORVANE_NODE node REQUIRED)
set(web_made_files)
foreach(name korvane.pack korvane-sw.js korvane.webmanifest korvane-192.png korvane-512.png)
    list(APPEND web_made_files ${KORVANE_SITE_DIR}/${name})
endforeach()
add_custom_command(OUTPUT ${web_made_files}
    COMMAND ${KORVANE_NODE} ${CMAKE_SOURCE_DIR}/packaging/web/make-site.mjs ${KORVANE_DATA_DIR}
        ${KORVANE_SITE_DIR} ${PROJECT_VERSION} ${CMAKE_SOURCE_DIR}/packaging/web
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/web/make-site.mjs ${CMAKE_SOURCE_DIR}/assets/data_files.txt
        ${CMAKE_SOURCE_DIR}/packaging/web/korvane-sw.js korvane korvane_music_worker
        ${web_site_files} korvane_assets
    COMMENT "Packing the pictures and effects, writing the offline worker"
    VERBATIM)
list(APPEND web_site_files ${web_made_files})

# korvane-<version>-web.zip: index.html at its root with everything it loads
# beside it, so it uploads as it stands to a host of HTML5 games.
set(KORVANE_WEB_ZIP ${CMAKE_BINARY_DIR}/korvane-${PROJECT_VERSION}-web.zip)
set(web_zip_entries index.html korvane-page.js korvane.png korvane.js korvane.wasm korvane.pack
    korvane-music.js korvane-music.wasm korvane-sw.js korvane.webmanifest korvane-192.png
    korvane-512.png)
add_custom_command(OUTPUT ${KORVANE_WEB_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${KORVANE_WEB_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${KORVANE_WEB_ZIP} --format=zip ${web_zip_entries}
    # Members in name order with one time and no owner, whatever the umask:
    # the same commit packs to the same bytes.
    COMMAND strip-nondeterminism --type zip --timestamp ${KORVANE_SOURCE_DATE_EPOCH}
            ${KORVANE_WEB_ZIP}
    WORKING_DIRECTORY ${KORVANE_SITE_DIR}
    DEPENDS korvane korvane_music_worker ${web_site_files}
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
