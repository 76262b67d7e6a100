#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for the given number of seconds,
# each from its seed corpus; a finding stops the run with a non-zero status.
set -euo pipefail
dir=$1
seconds=$2
status=0
for f in $(find "$dir/fuzz" -maxdepth 2 -type f -name 'fuzz_*' -perm -u+x | sort); do
  name=$(basename "$f")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/${name#fuzz_}"
  echo "== $name for ${seconds}s"
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  "$f" -max_total_time="$seconds" -print_final_stats=1 "${args[@]}" || status=1
done
exit $status
