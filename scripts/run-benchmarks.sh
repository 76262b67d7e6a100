#!/usr/bin/env bash
# Runs every benchmark program of a bench build; repetitions give medians.
set -euo pipefail
dir=$1
status=0
for b in $(find "$dir/bench" -maxdepth 2 -type f -name '*_bench' -perm -u+x | sort); do
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=${BENCH_REPETITIONS:-5} --benchmark_report_aggregates_only=true || status=1
done
exit $status
