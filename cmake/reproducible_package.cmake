# Run by cpack for every package, before it packs the staged files and again
# after, to make the package the same bytes from the same commit whatever the
# umask, the time and the user.
#
# Before: every staged file and folder gets the permissions a release has
# (folders and programs 755, other files 644) and the time
# SOURCE_DATE_EPOCH, which cmake/cpack_project.cmake has set; CPack's own
# archive writers and makensis take both from the files.
# After: the zips are rewritten with their members in name order, each
# with that time and no owner, and the .deb's outer archive gets fixed
# permissions for its three members, which cpack writes with the umask's
# (strip-nondeterminism does both).
set(epoch $ENV{SOURCE_DATE_EPOCH})

if(NOT DEFINED CPACK_PACKAGE_FILES)
    execute_process(COMMAND chmod -R u+rwX,go=rX ${CPACK_TEMPORARY_DIRECTORY}
        COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND find ${CPACK_TEMPORARY_DIRECTORY} -exec touch -h -d @${epoch} {} +
        COMMAND_ERROR_IS_FATAL ANY)
    return()
endif()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.(zip|deb)$")
        # A .deb is an ar archive; that normaliser is off unless asked for.
        if(CMAKE_MATCH_1 STREQUAL "deb")
            set(type ar)
        else()
            set(type zip)
        endif()
        execute_process(COMMAND strip-nondeterminism --normalizers +ar --type ${type}
                                --timestamp ${epoch} ${package}
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
