#!/usr/bin/env bash
# Fetches and unpacks Debian's freetype source package into <dir>/freetype.
# As root it enables apt's source entries when they are missing.
set -euo pipefail
dest="$1"
if [ -f "$dest/freetype/include/freetype/freetype.h" ]; then
  exit 0
fi

enable_sources() {
  local changed=0 f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    if grep -q '^Types: deb$' "$f"; then
      sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
      changed=1
    fi
  done
  if [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    if grep -q '^deb ' /etc/apt/sources.list; then
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/tallow-deb-src.list
      changed=1
    fi
  fi
  if [ "$changed" -eq 1 ] || ! ls /var/lib/apt/lists/*_Sources* >/dev/null 2>&1; then
    apt-get update -qq
  fi
}

if [ "$(id -u)" -eq 0 ]; then
  enable_sources
fi

work="$dest/freetype-download"
rm -rf "$work"
mkdir -p "$work"
# apt downloads as its own user where it can write.
if [ "$(id -u)" -eq 0 ] && id _apt >/dev/null 2>&1; then
  chown _apt "$work"
fi
if ! (cd "$work" && apt-get source -qq freetype >/dev/null); then
  echo "Could not fetch Debian's freetype source package." >&2
  echo "Enable deb-src entries for apt (run this script as root), then retry." >&2
  exit 1
fi
unpacked="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'freetype-*' | head -n 1)"
if [ -z "$unpacked" ] || [ ! -f "$unpacked/include/freetype/freetype.h" ]; then
  echo "Debian's freetype source package did not unpack as expected." >&2
  exit 1
fi
rm -rf "$dest/freetype"
mv "$unpacked" "$dest/freetype"
rm -rf "$work"
echo "FreeType source: $dest/freetype"
