#!/usr/bin/env bash
# Prints the newest glibc symbol version each Linux binary needs, with the
# symbols that need it: the oldest C library it loads with. With --max, fails
# when a binary needs a newer one.
# Usage: glibc-reach.sh [--max 2.34] <binary>...
set -euo pipefail
max=
if [ "${1:-}" = --max ]; then
    max=$2
    shift 2
fi
[ $# -gt 0 ] || { echo "usage: $0 [--max VERSION] <binary>..." >&2; exit 2; }
status=0
for binary in "$@"; do
    # Undefined dynamic symbols carry the version they were bound to, e.g. "(GLIBC_2.34) dlsym".
    needs=$(objdump -T "$binary" | sed -n 's/.*\*UND\*.*[( ]GLIBC_\([0-9.]*\))\{0,1\} \{1,\}\([^ ]*\)$/\1 \2/p')
    [ -n "$needs" ] || { echo "$binary: no versioned glibc symbol"; continue; }
    newest=$(cut -d' ' -f1 <<<"$needs" | sort -V | tail -n 1)
    symbols=$(awk -v v="$newest" '$1 == v { print $2 }' <<<"$needs" | sort -u | tr '\n' ' ')
    echo "$binary: GLIBC_$newest ($symbols)"
    if [ -n "$max" ] && [ "$(printf '%s\n%s\n' "$newest" "$max" | sort -V | tail -n 1)" != "$max" ]; then
        echo "FAIL: $binary needs GLIBC_$newest, newer than GLIBC_$max" >&2
        status=1
    fi
done
exit $status
