#!/usr/bin/env bash
# The Windows module must neither export a FreeType symbol nor import a
# FreeType DLL: FreeType is compiled into it.
set -euo pipefail
objdump="$1"
module="$2"
table=$("$objdump" -p "$module")
exports=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '\b(FT_|ft_)' || true)
if [ -n "$exports" ]; then
  echo "$module exports FreeType symbols:"
  echo "$exports"
  exit 1
fi
if printf '%s\n' "$table" | grep -i 'DLL Name:' | grep -qi freetype; then
  echo "$module imports a FreeType DLL"
  exit 1
fi
echo "$module: no FreeType export, no FreeType DLL; imports: $(printf '%s\n' "$table" | grep 'DLL Name:' | awk '{print $3}' | tr '\n' ' ')"
