# What calls no seam function at all, so the tools use it too: the game's
# stroke lettering and the PNG encoder. The lettering draws the art
# generator's pictures, whose bytes must be the same on every machine, so no
# multiply-add is fused; and it is the generator's busiest loop, so it is
# always optimised, as the generators are. Included by platform/ and by the
# generators' own build for the build machine (tools/host).
set(korvane_platform_dir ${CMAKE_CURRENT_LIST_DIR})
set(korvane_standalone_sources
    ${korvane_platform_dir}/common/png_encoder.cpp
    ${korvane_platform_dir}/common/stroke_glyphs.cpp)
add_library(korvane_platform_standalone STATIC ${korvane_standalone_sources})
target_include_directories(korvane_platform_standalone PUBLIC ${korvane_platform_dir}/..)
target_compile_options(korvane_platform_standalone PRIVATE -ffp-contract=off -fno-fast-math -O2)
