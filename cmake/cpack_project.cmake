# Read by cpack for each package before it installs and packs anything.
#
# Everything cpack runs takes SOURCE_DATE_EPOCH as the time to write into
# what it makes: the compressed streams' headers, and the strip that rewrites
# korvane.exe, which would otherwise stamp the time of packing into its
# header. When the caller has not set it, it is the time the build was
# configured with (see CMakeLists.txt).
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_KORVANE_SOURCE_DATE_EPOCH})
endif()
# A platform's own settings for cpack.
if(CPACK_KORVANE_PLATFORM_CONFIG)
    include(${CPACK_KORVANE_PLATFORM_CONFIG})
endif()
