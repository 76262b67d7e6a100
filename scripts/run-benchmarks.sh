#!/usr/bin/env bash
# Runs every benchmark program of a bench build; repetitions give medians,
# taken in random interleaving so that a noisy machine hits every case alike.
#
#   TALLOW_BENCH_OLD_MODULE=<an earlier TallowReed.so>  measures that module
#       beside the built one in module_bench, with ratios in its closing table
#   TALLOW_BENCH_OLD_DIR=<an earlier bench build>       counts its instructions
#       per frame too
#   BENCH_REPETITIONS=<n>                               repetitions (default 5)
#
# Last, when valgrind is there, callgrind counts the instructions per stereo
# frame of one processor at default settings (44.1 kHz, 512-frame blocks).
set -euo pipefail
dir=$1
status=0
for b in $(find "$dir/bench" -maxdepth 2 -type f -name '*_bench' -perm -u+x | sort); do
  echo "== $(basename "$b")"
  # The editor's programs (gui_*) draw in an X window: the caller's display or Xvfb.
  display=()
  case "$(basename "$b")" in gui_*) display=("$(dirname "$0")/with-display.sh") ;; esac
  "${display[@]}" "$b" --benchmark_repetitions=${BENCH_REPETITIONS:-5} --benchmark_report_aggregates_only=true \
    --benchmark_enable_random_interleaving=true || status=1
done

instructions_per_frame() {
  local program=$1 label=$2 out log
  out=$(mktemp) log=$(mktemp)
  if valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out" "$program" \
       --benchmark_filter='countedBlocks' \
       >/dev/null 2>"$log"; then
    local total frames
    total=$(awk '/^totals:/ {print $2; exit}' "$out")
    frames=$(sed -n 's/^frames rendered while counting: //p' "$log")
    if [ -n "$total" ] && [ -n "$frames" ] && [ "$frames" -gt 0 ]; then
      echo "$label: $((total / frames)) instructions per stereo frame ($total over $frames frames)"
    else
      echo "$label: no count (callgrind gave no totals)"; status=1
    fi
  else
    echo "$label: callgrind failed"; status=1
  fi
  rm -f "$out" "$log"
}

if command -v valgrind >/dev/null && [ -x "$dir/bench/processor_bench" ]; then
  echo "== instructions per frame, default settings, 44.1 kHz, 512-frame blocks (callgrind)"
  if [ -n "${TALLOW_BENCH_OLD_DIR:-}" ]; then
    instructions_per_frame "$TALLOW_BENCH_OLD_DIR/bench/processor_bench" old
  fi
  instructions_per_frame "$dir/bench/processor_bench" new
fi
exit $status
