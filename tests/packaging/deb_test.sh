#!/usr/bin/env bash
# Checks the Debian package make deb wrote: its name, architecture and
# version (the project's, which the changelog's top entry names); its files, owners and modes; that its binaries were built with
# Debian's flags without losing their own; that it declares the package of
# every shared library its binaries need and no other, with the C library
# version its binaries need; and lintian's report (no error, and no warning
# but those explained below).
# Usage: deb_test.sh <source> <package build> <out folder> <lintian report>
set -euo pipefail
src=$1
build=$2
report=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ "$(grep -m1 '^## ' "$src/CHANGELOG.md")" == "## $version "* ]] || fail "CHANGELOG.md's top entry is not $version"
deb=$3/tallow-reed_${version}_$(dpkg --print-architecture).deb

for field in Package=tallow-reed Version=$version Architecture=$(dpkg --print-architecture); do
    [ "$(dpkg-deb -f "$deb" "${field%%=*}")" = "${field#*=}" ] || fail "${field%%=*} is not ${field#*=}"
done

expected=$( {
    printf '%s\n' ./ ./usr/ ./usr/lib/ ./usr/lib/clap/ ./usr/lib/clap/TallowReed.clap ./usr/lib/vst/ \
        ./usr/lib/vst/TallowReed.so ./usr/share/ ./usr/share/doc/ ./usr/share/doc/tallow-reed/
    printf './usr/share/doc/tallow-reed/%s\n' CHANGELOG.md README.md changelog.gz copyright
    if [ -d "$build/module/TallowReed.lv2" ]; then
        printf '%s\n' ./usr/lib/lv2/ ./usr/lib/lv2/TallowReed.lv2/
        (cd "$build/module" && find TallowReed.lv2 -type f | sed 's|^|./usr/lib/lv2/|')
    fi
} | LC_ALL=C sort)
listing=$(dpkg-deb -c "$deb")
[ "$(awk '{print $6}' <<<"$listing" | LC_ALL=C sort)" = "$expected" ] ||
    fail "the package holds:$(awk '{print "\n  " $6}' <<<"$listing")"
! grep -Ev '^(drwxr-xr-x|-rw-r--r--) root/root ' <<<"$listing" || fail "entries not root's with modes 755 or 644"
echo "ok: files, owners and modes"

# Every library a binary needs, found as the system finds it, and the package that holds it.
dpkg-deb -x "$deb" "$work/root"
binaries=$(find "$work/root/usr/lib" -type f \( -name '*.so' -o -name '*.clap' \))
needed=$(for b in $binaries; do objdump -p "$b" | awk '$1 == "NEEDED" {print $2}'; done | sort -u)
owners=$(for lib in $needed; do
    path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64/ {print $NF; exit}')
    [ -n "$path" ] || fail "$lib is not on this system"
    # The package's file list may name the folder before /lib joined /usr/lib: match from the multiarch folder on.
    dpkg -S "*/$(basename "$(dirname "$path")")/$(basename "$(readlink -f "$path")")" | cut -d: -f1
done | sort -u)
depends=$(dpkg-deb -f "$deb" Depends)
declared=$(tr ',' '\n' <<<"$depends" | awk '{print $1}' | sort -u)
[ "$declared" = "$owners" ] || fail "Depends: $depends; the binaries need libraries from $(echo $owners)"
# Built with the packager's flags (the stack protector from CXXFLAGS, immediate
# binding from LDFLAGS) and still with the modules' own: entry names alone
# exported, the C++ runtime inside.
for b in $binaries; do
    name=${b#"$work/root"}
    grep -q '__stack_chk_fail' <<<"$(objdump -T "$b")" || fail "$name was built without Debian's CXXFLAGS"
    grep -q 'BIND_NOW' <<<"$(readelf -d "$b")" || fail "$name was linked without Debian's LDFLAGS"
    exports=$(nm -D --defined-only "$b" | awk '{print $3}' | grep -Evx 'VSTPluginMain|main|clap_entry|lv2_descriptor|lv2ui_descriptor' || true)
    [ -z "$exports" ] || fail "$name exports $(echo $exports)"
    ! grep -Eq 'NEEDED +lib(stdc\+\+|gcc_s)' <<<"$(objdump -p "$b")" || fail "$name needs a shared C++ runtime"
done
echo "ok: Debian's build flags with the modules' own"
reach=$("$src/scripts/glibc-reach.sh" $binaries | sed -n 's/.*: GLIBC_\([0-9.]*\) .*/\1/p' | sort -V | tail -n 1)
grep -q "libc6 (>= $reach)" <<<"$depends" || fail "Depends: $depends; the binaries need glibc $reach"
echo "ok: Depends: $depends"

# Warnings lintian may give, each with the reason it stays: none so far.
allowed_warnings=()
cat "$report"
! grep -q '^E: ' "$report" || fail "lintian reports errors"
while read -r tag; do
    [[ " ${allowed_warnings[*]} " == *" $tag "* ]] || fail "lintian warns $tag, which no reason here covers"
done < <(sed -n 's/^W: [^ ]* \([^ ]*\).*/\1/p' "$report" | sort -u)
echo "ok: lintian"
