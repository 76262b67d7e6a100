# FreeType, compiled from Debian's source package (fetched by
# scripts/setup.sh into build/third_party/freetype) into a private static
# library: TrueType, the auto-hinter and the anti-aliasing rasteriser only,
# without zlib, libpng, bzip2, brotli or harfbuzz. Its symbols never leave
# the module.
#
# A distribution's package links the distribution's shared FreeType instead,
# so its security updates reach the plug-in.
option(TALLOW_SYSTEM_FREETYPE "Link the system's shared FreeType instead of compiling one in" OFF)
if(TALLOW_SYSTEM_FREETYPE)
  find_package(Freetype REQUIRED)
  target_link_libraries(paintwell PRIVATE Freetype::Freetype)
  return()
endif()

set(TALLOW_FREETYPE_DIR "${CMAKE_SOURCE_DIR}/build/third_party/freetype" CACHE PATH "FreeType source tree")
if(NOT EXISTS "${TALLOW_FREETYPE_DIR}/include/freetype/freetype.h")
  message(FATAL_ERROR "FreeType source not found in ${TALLOW_FREETYPE_DIR}; run scripts/setup.sh (as root) first.")
endif()

set(ft ${TALLOW_FREETYPE_DIR}/src)
add_library(paintwell_freetype STATIC
  ${ft}/base/ftsystem.c ${ft}/base/ftinit.c ${ft}/base/ftdebug.c ${ft}/base/ftbase.c
  ${ft}/base/ftbitmap.c ${ft}/base/ftglyph.c
  ${ft}/truetype/truetype.c ${ft}/sfnt/sfnt.c ${ft}/psnames/psnames.c
  ${ft}/autofit/autofit.c ${ft}/smooth/smooth.c)
target_include_directories(paintwell_freetype SYSTEM PUBLIC
  ${CMAKE_SOURCE_DIR}/render/freetype_config ${TALLOW_FREETYPE_DIR}/include)
target_compile_definitions(paintwell_freetype
  PUBLIC "FT_CONFIG_OPTIONS_H=<tallow_ftoption.h>" "FT_CONFIG_MODULES_H=<tallow_ftmodule.h>"
  PRIVATE FT2_BUILD_LIBRARY)
target_compile_options(paintwell_freetype PRIVATE -w -fvisibility=hidden)
set_target_properties(paintwell_freetype PROPERTIES C_VISIBILITY_PRESET hidden)
target_link_libraries(paintwell PRIVATE paintwell_freetype)
