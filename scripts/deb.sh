#!/usr/bin/env bash
# Builds the Debian package of the Linux forms with dpkg-deb into
# <out>/tallow-reed_VERSION_ARCH.deb: the forms in /usr/lib/vst, /usr/lib/clap
# and /usr/lib/lv2 (when built), stripped, with the shared libraries they
# need declared by dpkg-shlibdeps. The licence and the notices that apply go
# into Debian's copyright file. Entries carry the commit's time
# (SOURCE_DATE_EPOCH when set). VERSION is the build's project version;
# DEB_MAINTAINER names the maintainer. Prints the package's path.
# Usage: deb.sh <linux build> <out folder>
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 <linux build> <out folder>" >&2; exit 2; }
build=$(cd "$1" && pwd)
out=$2
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt" 2>/dev/null)
[ -n "$version" ] || { echo "deb: $build is not a configured build" >&2; exit 1; }
maintainer=${DEB_MAINTAINER:-Corvelight <packages@corvelight.example>}
arch=$(dpkg --print-architecture)
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "deb: no commit to take the time from; set SOURCE_DATE_EPOCH" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
package=$work/root
PREFIX=/usr DESTDIR=$package "$root/scripts/install-forms.sh" install "$build" >/dev/null
doc=$package/usr/share/doc/tallow-reed

# Debian keeps every licence in one copyright file and the changes in
# changelog.gz. FreeType's notices belong there only when it is compiled in.
notices="Vera-COPYRIGHT.txt FreeType-NOTICE.txt FreeType-LICENSE.txt"
grep -q '^TALLOW_SYSTEM_FREETYPE:BOOL=ON$' "$build/CMakeCache.txt" && notices=Vera-COPYRIGHT.txt
{
    cat "$root/LICENSE"
    for notice in $notices; do
        printf '\n%s\n\n' "-------- $notice --------"
        cat "$doc/$notice"
    done
} >"$doc/copyright"
rm "$doc/LICENSE" "$doc/Vera-COPYRIGHT.txt" "$doc/FreeType-NOTICE.txt" "$doc/FreeType-LICENSE.txt"
{
    printf 'tallow-reed (%s) unstable; urgency=medium\n\n' "$version"
    printf '  * Tallow Reed %s; CHANGELOG.md beside this file lists its changes.\n\n' "$version"
    printf ' -- %s  %s\n' "$maintainer" "$(date -u -R -d "@$epoch")"
} | gzip -9n >"$doc/changelog.gz"
chmod 644 "$doc/copyright" "$doc/changelog.gz"

# dh_strip's treatment: symbols and comments out, the build id kept.
binaries=$(find "$package/usr/lib" -type f \( -name '*.so' -o -name '*.clap' \) | LC_ALL=C sort)
for binary in $binaries; do strip --strip-unneeded --remove-section=.comment --remove-section=.note "$binary"; done

# dpkg-shlibdeps reads the package's name from a control file of its own.
mkdir -p "$work/shlibs/debian"
printf 'Source: tallow-reed\n\nPackage: tallow-reed\nArchitecture: any\n' >"$work/shlibs/debian/control"
# shellcheck disable=SC2086  # one argument a binary
depends=$(cd "$work/shlibs" && dpkg-shlibdeps -O -e$(echo $binaries | sed 's/ / -e/g') 2>/dev/null |
          sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "deb: dpkg-shlibdeps found no libraries" >&2; exit 1; }

forms="VST 2.4 (/usr/lib/vst) and CLAP (/usr/lib/clap)"
[ -d "$package/usr/lib/lv2" ] && forms="VST 2.4 (/usr/lib/vst), CLAP (/usr/lib/clap) and LV2 (/usr/lib/lv2)"
mkdir -p "$package/DEBIAN"
cat >"$package/DEBIAN/control" <<CONTROL
Package: tallow-reed
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $(du -sk --exclude=DEBIAN "$package" | cut -f1)
Depends: $depends
Section: sound
Priority: optional
Description: stereo chorus, flanger and vibrato plug-in
 Tallow Reed is a stereo chorus, flanger and vibrato effect by Corvelight:
 two clocked delay lines whose clock an LFO bends, with opposite phase
 offsets and stereo rotations, mixed with the dry signal. It has sixteen
 factory programs, an OpenGL editor and MIDI learn.
 .
 This package holds the forms for hosts that scan Debian's plug-in
 folders: $forms.
CONTROL
(cd "$package" && find usr -type f | LC_ALL=C sort | xargs -d '\n' md5sum) >"$package/DEBIAN/md5sums"
chmod 644 "$package/DEBIAN/control" "$package/DEBIAN/md5sums"
find "$package" -type d -exec chmod 755 {} +
find "$package" -exec touch -h -d "@$epoch" {} +

mkdir -p "$out"
deb=$out/tallow-reed_${version}_$arch.deb
SOURCE_DATE_EPOCH=$epoch dpkg-deb --root-owner-group -Zxz --build "$package" "$deb" >/dev/null
echo "$deb"
