#!/usr/bin/env bash
# Lets Qtractor's plug-in scanner index the CLAP module and checks the line
# it answers: name, main audio ports, the note input, the nine parameters,
# and the editor and state flags. The editor flag is the one Qtractor offers
# "Edit" by. Skipped (status 77) when Qtractor is not installed.
# Usage: qtractor_scan.sh <module.clap> <work folder>
set -euo pipefail
module=$1
work=$2
scanner=/usr/lib/x86_64-linux-gnu/qtractor/qtractor_plugin_scan
[ -x "$scanner" ] || { echo "Qtractor's scanner is not installed; skipped"; exit 77; }
rm -rf "$work"
mkdir -p "$work/home"
cp "$module" "$work/"
path="$work/$(basename "$module")"
# The scanner reads "TYPE:file" lines and answers one line per plug-in:
# CLAP|name|audio in:out|midi in:out|controls in:out|flags|file|index|id
output=$(echo "CLAP:$path" | HOME="$work/home" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
         timeout 60 "$scanner" 2>&1)
echo "$output"
expected="CLAP|Tallow Reed|2:2|1:0|9:0|GUI,EXT,RT|$path|0|0x"
grep -qF -- "$expected" <<<"$output" || { echo "FAIL: expected a line starting $expected"; exit 1; }
