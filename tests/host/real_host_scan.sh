#!/usr/bin/env bash
# Lets a real host's plug-in scanner index the module and checks what it
# recorded. Skipped (status 77) when no such scanner is installed.
# Usage: real_host_scan.sh <module.so> <work folder>
set -euo pipefail
module=$1
work=$2
scanner=/usr/lib/ardour7/ardour-vst-scanner
[ -x "$scanner" ] || { echo "no host scanner installed; skipped"; exit 77; }
rm -rf "$work"
mkdir -p "$work/home"
cp "$module" "$work/"
# The scanner writes its cache under HOME and the module reads its defaults
# below XDG_CONFIG_HOME: keep both inside the work folder.
output=$(HOME="$work/home" XDG_CONFIG_HOME="$work/config" LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 60 "$scanner" -f -v "$work/$(basename "$module")" 2>&1)
echo "$output"
for field in 'id="2124658392"' 'name="Tallow Reed"' 'creator="Corvelight"' 'n_inputs="2"' 'n_outputs="2"' \
             'can_process_replace="1"'; do
    grep -q "$field" <<<"$output" || { echo "FAIL: the host did not record $field"; exit 1; }
done
