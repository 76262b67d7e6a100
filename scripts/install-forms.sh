#!/usr/bin/env bash
# Puts the built plug-in forms into the folders hosts scan, with the README,
# the changelog, the licence and the notices, or takes exactly those away.
#
#   install-forms.sh install|uninstall <build>            system-wide, from PREFIX and DESTDIR
#   install-forms.sh install-user|uninstall-user <build>  into ~/.vst, ~/.clap and ~/.lv2
#
# System folders: $PREFIX/lib/vst, $PREFIX/lib/clap, $PREFIX/lib/lv2 and
# $PREFIX/share/doc/tallow-reed (PREFIX defaults to /usr/local), each below
# DESTDIR when it is set. VSTDIR, CLAPDIR, LV2DIR and DOCDIR replace single
# folders; the release archives use them. A Windows build installs its DLL as
# the VST2 form. The LV2 bundle goes with the others when the build has it.
set -euo pipefail
usage() { echo "usage: $0 install|uninstall|install-user|uninstall-user <build folder>" >&2; exit 2; }
[ $# -eq 2 ] || usage
action=$1
build=$2
root=$(cd "$(dirname "$0")/.." && pwd)
modules=$build/module

case $action in
install | uninstall)
    prefix=${PREFIX:-/usr/local}
    destdir=${DESTDIR:-}
    vstdir=$destdir${VSTDIR:-$prefix/lib/vst}
    clapdir=$destdir${CLAPDIR:-$prefix/lib/clap}
    lv2dir=$destdir${LV2DIR:-$prefix/lib/lv2}
    docdir=$destdir${DOCDIR:-$prefix/share/doc/tallow-reed}
    ;;
install-user | uninstall-user)
    vstdir=$HOME/.vst
    clapdir=$HOME/.clap
    lv2dir=$HOME/.lv2
    docdir=  # a user's plug-in folders hold the forms alone
    ;;
*) usage ;;
esac

vst=TallowReed.so
[ -f "$modules/TallowReed.dll" ] && vst=TallowReed.dll
clap=TallowReed.clap
bundle=TallowReed.lv2

# The FreeType licence comes from the source tree the build compiled.
freetype=$(sed -n 's/^TALLOW_FREETYPE_DIR:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
freetype=${freetype:-$root/build/third_party/freetype}
# Each document: its source, then its name in the documentation folder.
documents=(
    "$root/README.md" README.md
    "$root/CHANGELOG.md" CHANGELOG.md
    "$root/LICENSE" LICENSE
    "$root/resources/Vera-COPYRIGHT.txt" Vera-COPYRIGHT.txt
    "$root/resources/FreeType-NOTICE.txt" FreeType-NOTICE.txt
    "$freetype/docs/FTL.TXT" FreeType-LICENSE.txt
)

put() {  # put <source file> <folder> [name]
    install -d -m 755 "$2"
    install -m 644 "$1" "$2/${3:-$(basename "$1")}"
    echo "installed $2/${3:-$(basename "$1")}"
}

has_bundle() { [ -d "$modules/$bundle" ]; }
no_bundle_note() { echo "LV2: this build has no $bundle ($modules/$bundle); the VST2 and CLAP forms go alone"; }

install_all() {
    local f
    for f in "$modules/$vst" "$modules/$clap"; do
        [ -f "$f" ] || { echo "$f is not built (make native, or make windows for a Windows build)" >&2; exit 1; }
    done
    if [ -n "$docdir" ]; then
        for ((i = 0; i < ${#documents[@]}; i += 2)); do
            [ -f "${documents[i]}" ] || { echo "${documents[i]} is missing (scripts/setup.sh fetches FreeType)" >&2; exit 1; }
        done
    fi
    put "$modules/$vst" "$vstdir"
    put "$modules/$clap" "$clapdir"
    if has_bundle; then
        # A fresh copy, so a file the build no longer makes does not stay behind.
        rm -rf "${lv2dir:?}/$bundle"
        (cd "$modules" && find "$bundle" -type f | LC_ALL=C sort) | while IFS= read -r f; do
            put "$modules/$f" "$lv2dir/$(dirname "$f")"
        done
    else
        no_bundle_note
    fi
    if [ -n "$docdir" ]; then
        for ((i = 0; i < ${#documents[@]}; i += 2)); do put "${documents[i]}" "$docdir" "${documents[i + 1]}"; done
    fi
}

# Our files and our own folders go; a host's plug-in folder goes only when
# nothing else is left in it. The standard folders above them stay.
uninstall_all() {
    rm -fv "$vstdir/$vst" "$clapdir/$clap"
    if [ -d "$lv2dir/$bundle" ]; then rm -rfv "${lv2dir:?}/$bundle"; fi
    if [ -n "$docdir" ]; then
        for ((i = 1; i < ${#documents[@]}; i += 2)); do rm -fv "$docdir/${documents[i]}"; done
        remove_if_empty "$docdir"
    fi
    remove_if_empty "$vstdir"
    remove_if_empty "$clapdir"
    remove_if_empty "$lv2dir"
}

remove_if_empty() {
    if [ -d "$1" ] && [ -z "$(ls -A "$1")" ]; then rmdir -v "$1"; fi
}

case $action in
install | install-user) install_all ;;
uninstall | uninstall-user) uninstall_all ;;
esac
