#!/usr/bin/env bash
# Presets through tallow-render and the real module: a saved bank or program
# loads into a fresh instance and saves again byte for byte; the header holds
# the container fields hosts read; a preset of another effect is applied only
# after the question is answered Yes.
# Usage: preset_round_trip.sh <tallow-render> <module> <work folder>
set -euo pipefail
tool=$1
module=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
export XDG_CONFIG_HOME="$work/config"
render() { "$tool" --module "$module" --output "$work/out.wav" --tail 0 --rate 8000 "$@"; }
fail() { echo "FAIL: $*"; exit 1; }
field() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }

for kind in fxb fxp; do
    render --program 4 --set depth=0.3 --set wet=0.9 --save-preset "$work/first.$kind" >/dev/null
    render --preset "$work/first.$kind" --save-preset "$work/second.$kind" | grep -q "loaded"
    cmp "$work/first.$kind" "$work/second.$kind" || fail "$kind changed on its way through a fresh instance"
    [ "$(field "$work/first.$kind" 0 4)" = 43636e4b ] || fail "$kind: no CcnK"
    [ "$(field "$work/first.$kind" 16 4)" = 7ea3b6d8 ] || fail "$kind: fxID is not the module's unique ID"
    [ "$(field "$work/first.$kind" 12 4)" = 00000001 ] || fail "$kind: version is not 1"
done
[ "$(field "$work/first.fxb" 8 4)" = 46424368 ] || fail "bank kind is not FBCh"
[ "$(field "$work/first.fxb" 24 4)" = 00000010 ] || fail "bank does not count 16 programs"
[ "$(field "$work/first.fxb" 156 4)" = 0000042e ] || fail "bank chunk is not 1070 bytes"
[ "$(field "$work/first.fxp" 8 4)" = 46504368 ] || fail "program kind is not FPCh"
[ "$(field "$work/first.fxp" 56 4)" = 0000004c ] || fail "program chunk is not 76 bytes"
echo "saved and reloaded presets are identical"

# The chunk's name record starts 8 bytes into the chunk, which starts at 60.
cp "$work/first.fxp" "$work/foreign.fxp"
printf 'Other Effect\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' | dd of="$work/foreign.fxp" bs=1 seek=69 conv=notrunc status=none
if no=$(render --preset "$work/foreign.fxp" --save-preset "$work/after_no.fxp" 2>&1); then
    fail "a declined preset still rendered: $no"
fi
grep -q 'Trying to load a preset for "Other Effect"' <<<"$no" || fail "the question was not shown: $no"
grep -q 'answered No' <<<"$no" || fail "the question was not answered No"
grep -q 'use --yes' <<<"$no" || fail "the refusal was not explained: $no"
[ ! -e "$work/after_no.fxp" ] || fail "a declined preset was saved"
yes=$(render --yes --preset "$work/foreign.fxp" --save-preset "$work/after_yes.fxp" 2>&1)
grep -q 'answered Yes' <<<"$yes" || fail "--yes did not answer Yes"
cmp "$work/after_yes.fxp" "$work/first.fxp" || fail "answering Yes did not apply the values"
echo "a foreign preset is applied only after Yes"
