#!/usr/bin/env bash
# FreeType is compiled into the modules and must stay invisible: no FreeType
# symbol with default visibility in its archive, none exported by the module,
# and no shared FreeType library needed at run time.
set -euo pipefail
archive="$1"
module="$2"
visible=$(readelf -sW "$archive" | awk '$8 ~ /^(FT_|ft_)/ && $7 != "UND" && ($5 == "GLOBAL" || $5 == "WEAK") && $6 == "DEFAULT"')
if [ -n "$visible" ]; then
  echo "FreeType symbols with default visibility in $archive:"
  echo "$visible"
  exit 1
fi
if [ -f "$module" ]; then
  exported=$(nm -D --defined-only "$module" | awk '$3 ~ /^(FT_|ft_)/')
  if [ -n "$exported" ]; then
    echo "$module exports FreeType symbols:"
    echo "$exported"
    exit 1
  fi
  if readelf -dW "$module" | grep -qi 'NEEDED.*freetype'; then
    echo "$module needs a shared FreeType library"
    exit 1
  fi
fi
echo "FreeType stays private: $(readelf -sW "$archive" | awk '$8 ~ /^FT_/ && $7 != "UND" && $5 == "GLOBAL"' | wc -l) global symbols, all hidden"
