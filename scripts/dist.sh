#!/usr/bin/env bash
# Writes the two release archives into <out>:
#   tallow-reed-VERSION-linux-x86_64.tar.gz  vst/, clap/ and lv2/ (when built), as the
#                                            folders ~/.vst, ~/.clap and ~/.lv2 hosts scan
#   tallow-reed-VERSION-windows-x64.zip      VST2/ and CLAP/, as the Common Files folders
# each with the README, the changelog, the licence, the notices for the font
# and FreeType, and the factory bank as "Tallow Reed Factory.fxb".
#
# Two runs from the same commit write the same bytes: every entry carries the
# commit's time (SOURCE_DATE_EPOCH when set), entries are sorted by name and
# belong to root, and modes are fixed. VERSION is the builds' project version.
# Usage: dist.sh <linux build> <windows build> <out folder>
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 <linux build> <windows build> <out folder>" >&2; exit 2; }
linux=$1
windows=$2
out=$3
root=$(cd "$(dirname "$0")/.." && pwd)

project_version() { sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt" 2>/dev/null; }
version=$(project_version "$linux")
[ -n "$version" ] || { echo "dist: $linux is not a configured build" >&2; exit 1; }
[ "$(project_version "$windows")" = "$version" ] ||
    { echo "dist: $windows is not a build of version $version" >&2; exit 1; }

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "dist: no commit to take the time from; set SOURCE_DATE_EPOCH" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$out"

# lay_out <build> <top folder> <vst folder> <clap folder>: the forms and the
# documents as make install lays them out, with the archive's folder names.
lay_out() {
    local top=$stage/$2
    VSTDIR=/$3 CLAPDIR=/$4 LV2DIR=/lv2 DOCDIR=/ DESTDIR=$top PREFIX=/ \
        "$root/scripts/install-forms.sh" install "$1" >/dev/null
    install -m 644 "$root/resources/FactoryBank.fxb" "$top/Tallow Reed Factory.fxb"
    find "$top" -type d -exec chmod 755 {} +
    find "$top" -exec touch -h -d "@$epoch" {} +
}

linux_top=tallow-reed-$version-linux-x86_64
lay_out "$linux" "$linux_top" vst clap
tar --create --format=gnu --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$epoch" \
    --mode='u+rw,go+r,go-w' -C "$stage" "$linux_top" | gzip -9n >"$stage/linux.tar.gz"
mv "$stage/linux.tar.gz" "$out/$linux_top.tar.gz"
echo "$out/$linux_top.tar.gz"

windows_top=tallow-reed-$version-windows-x64
lay_out "$windows" "$windows_top" VST2 CLAP
# zip keeps local times: in UTC they are the commit's. -X leaves out owners and extra times.
(cd "$stage" && find "$windows_top" | LC_ALL=C sort | TZ=UTC zip -q -X -9 windows.zip -@)
mv "$stage/windows.zip" "$out/$windows_top.zip"
echo "$out/$windows_top.zip"
