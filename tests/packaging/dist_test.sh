#!/usr/bin/env bash
# Writes the release archives twice from the same builds, seconds apart, and
# checks that they are the same bytes; that their entries are sorted, belong
# to root and carry the commit's time; that they hold the expected layout
# with the built forms, the documents and the factory bank; and that the
# version in their names is the one their changelog's top entry names.
# Skipped (77) when the Linux build has no forms yet.
# Usage: dist_test.sh <source> <linux build> <windows build> <version>
set -euo pipefail
src=$1
linux=$2
windows=$3
version=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$linux/module/TallowReed.so" ] || { echo "no Linux forms in $linux (make native); skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$src/scripts/dist.sh" "$linux" "$windows" "$work/first" >/dev/null
sleep 2  # a zip stores times to two seconds
"$src/scripts/dist.sh" "$linux" "$windows" "$work/second" >/dev/null
tarball=tallow-reed-$version-linux-x86_64.tar.gz
zipfile=tallow-reed-$version-windows-x64.zip
[ "$(ls "$work/first")" = "$(printf '%s\n' "$tarball" "$zipfile")" ] || fail "dist wrote $(ls "$work/first")"
for archive in "$tarball" "$zipfile"; do
    cmp "$work/first/$archive" "$work/second/$archive" || fail "$archive differs between two runs"
done
echo "ok: both runs wrote the same bytes"

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct)}
documents=$(printf '%s\n' CHANGELOG.md FreeType-LICENSE.txt FreeType-NOTICE.txt LICENSE README.md \
    "Tallow Reed Factory.fxb" Vera-COPYRIGHT.txt)

# The entries in archive order, folders with a trailing slash.
linux_top=tallow-reed-$version-linux-x86_64
expected=$( {
    echo ""  # the top folder
    echo "$documents"
    printf '%s\n' clap/ clap/TallowReed.clap vst/ vst/TallowReed.so
    if [ -d "$linux/module/TallowReed.lv2" ]; then
        printf '%s\n' lv2/ lv2/TallowReed.lv2/
        (cd "$linux/module" && find TallowReed.lv2 -type f | sed 's|^|lv2/|')
    fi
} | LC_ALL=C sort | sed "s|^|$linux_top/|")
listing=$(tar --numeric-owner --full-time -tvzf "$work/first/$tarball")
[ "$(sed -E 's/^([^ ]+ +){5}//' <<<"$listing")" = "$expected" ] ||
    fail "$tarball holds, in this order:$(sed -E 's/^([^ ]+ +){5}//;s/^/\n  /' <<<"$listing")"
! grep -v '^[-d]rw[-x]r-[-x]r-[-x] 0/0 ' <<<"$listing" || fail "entries not owned by 0/0 with fixed modes"
stamp=$(TZ=UTC date -d "@$epoch" '+%Y-%m-%d %H:%M:%S')
[ "$(awk '{print $4" "$5}' <<<"$listing" | sort -u)" = "$stamp" ] || fail "$tarball entries are not all dated $stamp"
mkdir "$work/linux"
tar -xzf "$work/first/$tarball" -C "$work/linux"
echo "ok: $tarball layout, owners and times"

windows_top=tallow-reed-$version-windows-x64
expected=$( {
    echo ""
    echo "$documents"
    printf '%s\n' CLAP/ CLAP/TallowReed.clap VST2/ VST2/TallowReed.dll
} | LC_ALL=C sort | sed "s|^|$windows_top/|")
[ "$(unzip -Z1 "$work/first/$zipfile")" = "$expected" ] ||
    fail "$zipfile holds, in this order:$(unzip -Z1 "$work/first/$zipfile" | sed 's/^/\n  /')"
# No owners nor extra times: no entry has an extra field.
! grep -q 'length of extra field: *[1-9]' <<<"$(unzip -Zv "$work/first/$zipfile")" || fail "$zipfile stores extra fields"
mkdir "$work/windows"
(cd "$work/windows" && TZ=UTC unzip -q "$work/first/$zipfile")
dos_epoch=$((epoch + epoch % 2))  # zip rounds an odd second up
dates=$(find "$work/windows" -mindepth 1 -printf '%T@\n' | sed 's/\..*//' | sort -u)
[ "$dates" = "$dos_epoch" ] || fail "$zipfile entries are dated $(echo $dates), not $dos_epoch (the commit)"
echo "ok: $zipfile layout and times"

# The contents are the built forms and the tree's documents.
check_same() { cmp "$1" "$2" || fail "$1 is not $2"; }
l=$work/linux/$linux_top
w=$work/windows/$windows_top
check_same "$l/vst/TallowReed.so" "$linux/module/TallowReed.so"
check_same "$l/clap/TallowReed.clap" "$linux/module/TallowReed.clap"
check_same "$w/VST2/TallowReed.dll" "$windows/module/TallowReed.dll"
check_same "$w/CLAP/TallowReed.clap" "$windows/module/TallowReed.clap"
for top in "$l" "$w"; do
    check_same "$top/Tallow Reed Factory.fxb" "$src/resources/FactoryBank.fxb"
    check_same "$top/README.md" "$src/README.md"
    check_same "$top/FreeType-NOTICE.txt" "$src/resources/FreeType-NOTICE.txt"
    check_same "$top/Vera-COPYRIGHT.txt" "$src/resources/Vera-COPYRIGHT.txt"
    top_entry=$(grep -m1 '^## ' "$top/CHANGELOG.md")
    [[ "$top_entry" == "## $version "* ]] || fail "the changelog's top entry is \"$top_entry\", not $version"
done
echo "ok: the archives hold the built forms and the documents of version $version"
