/* FreeType's stock options, less everything that pulls in another library
   or reads the environment, with hidden symbols. */
#ifndef TALLOW_FTOPTION_H
#define TALLOW_FTOPTION_H

#include <freetype/config/ftoption.h>

/* Every FreeType function stays private to the module that links it. */
#include <freetype/config/public-macros.h>
#undef FT_PUBLIC_FUNCTION_ATTRIBUTE
#define FT_PUBLIC_FUNCTION_ATTRIBUTE

#undef FT_CONFIG_OPTION_ENVIRONMENT_PROPERTIES
#undef FT_CONFIG_OPTION_USE_LZW
#undef FT_CONFIG_OPTION_USE_ZLIB
#undef FT_CONFIG_OPTION_SYSTEM_ZLIB
#undef FT_CONFIG_OPTION_USE_BZIP2
#undef FT_CONFIG_OPTION_USE_PNG
#undef FT_CONFIG_OPTION_USE_HARFBUZZ
#undef FT_CONFIG_OPTION_USE_BROTLI
#undef FT_CONFIG_OPTION_SVG
#undef FT_CONFIG_OPTION_MAC_FONTS
#undef FT_CONFIG_OPTION_INCREMENTAL
#undef TT_CONFIG_OPTION_BDF
#undef TT_CONFIG_OPTION_GX_VAR_SUPPORT

#endif
