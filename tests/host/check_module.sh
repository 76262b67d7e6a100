#!/usr/bin/env bash
# Checks what the built module shows the system: its exported names and the
# libraries it needs. Usage: check_module.sh <check> <module>
set -euo pipefail
check=$1
module=$2

fail() { echo "FAIL: $*" >&2; exit 1; }
expect_set() {  # expect_set <what> <actual lines> <expected words...>
    local what=$1 actual=$2; shift 2
    local expected
    expected=$(printf '%s\n' "$@" | sort)
    [ "$(printf '%s\n' "$actual" | sort)" = "$expected" ] ||
        fail "$what: expected [$(echo $expected)], found [$(echo $actual)]"
    echo "ok: $what = $(echo $expected)"
}

case $check in
so-exports)
    expect_set "exported symbols" "$(nm -D --defined-only "$module" | awk '{print $3}')" VSTPluginMain main
    ;;
so-runtime)
    libs=$(ldd "$module")
    echo "$libs"
    ! grep -Eq 'libstdc\+\+|libgcc_s|not found' <<<"$libs" || fail "the module needs a C++ runtime or a missing library"
    ;;
dll-exports)
    # The export table lists one name per line after the "[Ordinal/Name Pointer] Table" header.
    names=$(x86_64-w64-mingw32-objdump -p "$module" |
            sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[\s*[0-9]*\]\s*//p')
    expect_set "exported names" "$names" MAIN VSTPluginMain main
    ;;
dll-imports)
    # Only libraries every Windows installation has; no mingw runtime DLL.
    system='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|opengl32|msvcrt|shlwapi|winmm|imm32|uxtheme|version|dwmapi|ws2_32)\.dll$'
    dlls=$(x86_64-w64-mingw32-objdump -p "$module" | sed -n 's/^\s*DLL Name: //p')
    echo "imports: $(echo $dlls)"
    [ -n "$dlls" ] || fail "no import table found"
    for d in $dlls; do
        grep -Eiq "$system" <<<"$d" || fail "$d is not a system library"
    done
    ;;
*)
    fail "unknown check $check"
    ;;
esac
