#!/usr/bin/env bash
# Installs the build's forms as make install (into a temporary DESTDIR, with
# and without PREFIX) and make install-user (into a temporary HOME) do, checks
# every file lands where hosts look and nothing else does, loads the installed
# forms as hosts do (the VST2 module through the host harness, the CLAP module
# through a CLAP_PATH scan, the LV2 bundle through lilv with LV2_PATH), then
# uninstalls and checks that nothing of ours is left and nothing else is gone.
# Usage: install_test.sh <source> <build> <host_tests> <clap_scan> <version> <lv2 form: ON|OFF>
set -euo pipefail
src=$1
build=$2
host_tests=$3
clap_scan=$4
version=$5
lv2=$6
install_forms=$src/scripts/install-forms.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

docs="CHANGELOG.md FreeType-LICENSE.txt FreeType-NOTICE.txt LICENSE README.md Vera-COPYRIGHT.txt"
bundle_files=
if [ "$lv2" = ON ]; then
    [ -d "$build/module/TallowReed.lv2" ] || fail "the build has the LV2 form but no bundle"
    bundle_files=$(cd "$build/module" && find TallowReed.lv2 -type f)
else
    echo "LV2: this build has no LV2 form; its install checks are skipped"
fi

# expect <root> <vst> <clap> <lv2> <doc or ""> [file...]: the files below root are exactly
# the forms in those folders, the documents and the files named.
expect() {
    local root=$1 expected actual f
    expected=$( {
        echo "$2/TallowReed.so"
        echo "$3/TallowReed.clap"
        for f in $bundle_files; do echo "$4/$f"; done
        if [ -n "$5" ]; then for f in $docs; do echo "$5/$f"; done; fi
        printf '%s\n' "${@:6}"
    } | sed '/^$/d' | LC_ALL=C sort)
    actual=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
    [ "$actual" = "$expected" ] || fail "installed files differ from the layout:$(diff <(echo "$expected") <(echo "$actual") | sed 's/^/\n  /')"
    cmp "$root/$2/TallowReed.so" "$build/module/TallowReed.so"
    cmp "$root/$3/TallowReed.clap" "$build/module/TallowReed.clap"
    for f in $bundle_files; do cmp "$root/$4/$f" "$build/module/$f"; done
    if [ -n "$5" ]; then cmp "$root/$5/README.md" "$src/README.md"; fi
    echo "ok: layout below $root"
}

# The installed forms, loaded from where they were installed.
load_installed() {  # load_installed <vst folder> <clap folder> <lv2 folder>
    local config=$work/config
    # The harness takes the module from TALLOW_MODULE: a missing one must fail, so a pass means the installed one loaded.
    if (TALLOW_MODULE=$work/missing.so XDG_CONFIG_HOME=$config "$host_tests" --gtest_filter='Entry.*') >/dev/null 2>&1; then
        fail "the host harness passed without the module it was given"
    fi
    TALLOW_MODULE=$1/TallowReed.so XDG_CONFIG_HOME=$config "$host_tests" --gtest_filter='Entry.*:Process.*' \
        --gtest_brief=1 || fail "the installed VST2 module fails the host harness"
    local scanned
    scanned=$(CLAP_PATH=$work/elsewhere:$2 "$clap_scan") || fail "the CLAP scan failed: $scanned"
    echo "CLAP scan: $scanned"
    [ "$(wc -l <<<"$scanned")" -eq 1 ] || fail "the CLAP scan should find one plug-in"
    IFS=$'\t' read -r path id name vendor found_version <<<"$scanned"
    [ "$path" = "$2/TallowReed.clap" ] && [ "$name" = "Tallow Reed" ] && [ "$vendor" = Corvelight ] &&
        [ "$found_version" = "$version" ] || fail "the CLAP scan found $scanned"
    if [ "$lv2" = ON ]; then
        local uri info
        uri=$(LV2_PATH=$3 lv2ls)
        [ -n "$uri" ] && [ "$(wc -l <<<"$uri")" -eq 1 ] || fail "lilv lists [$uri] below $3"
        info=$(LV2_PATH=$3 lv2info "$uri" 2>&1)
        grep -q "Binary: *file://$3/TallowReed.lv2/" <<<"$info" || fail "lilv does not take $uri from $3: $info"
        echo "LV2: lilv finds $uri in $3"
    fi
}

# System-wide: PREFIX's default, then PREFIX=/usr as a distribution packages it.
for prefix in "" /usr; do
    dest=$work/dest${prefix//\//-}
    shown=${prefix:-/usr/local}
    PREFIX=$prefix DESTDIR=$dest "$install_forms" install "$build" >/dev/null
    expect "$dest" "${shown#/}/lib/vst" "${shown#/}/lib/clap" "${shown#/}/lib/lv2" "${shown#/}/share/doc/tallow-reed"
    load_installed "$dest$shown/lib/vst" "$dest$shown/lib/clap" "$dest$shown/lib/lv2"
    PREFIX=$prefix DESTDIR=$dest "$install_forms" uninstall "$build" >/dev/null
    [ -z "$(find "$dest" -type f)" ] || fail "uninstall left files: $(find "$dest" -type f)"
    # The prefix, its lib, share and share/doc may stay; nothing of ours does.
    left=$(cd "$dest" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
    standard=$( {
        p=${shown#/}
        while [ "$p" != . ]; do echo "$p"; p=$(dirname "$p"); done
        printf '%s\n' "${shown#/}/lib" "${shown#/}/share" "${shown#/}/share/doc"
    } | LC_ALL=C sort | tr '\n' ' ')
    [ "$left" = "$standard" ] || fail "uninstall left folders [$left], expected [$standard]"
    echo "ok: uninstall below $dest$shown"
done

# A user's folders, where another plug-in already lives: it and its folder stay.
home=$work/home
mkdir -p "$home/.vst"
echo other >"$home/.vst/Other.so"
HOME=$home "$install_forms" install-user "$build" >/dev/null
expect "$home" .vst .clap .lv2 "" .vst/Other.so
load_installed "$home/.vst" "$home/.clap" "$home/.lv2"
HOME=$home "$install_forms" uninstall-user "$build" >/dev/null
left=$(cd "$home" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
[ "$left" = ".vst .vst/Other.so " ] || fail "uninstall-user left [$left] where only .vst/Other.so should stay"
echo "ok: user install and uninstall"
