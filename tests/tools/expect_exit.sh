#!/usr/bin/env bash
# Runs a command and checks both its exit status and that its combined
# output matches a pattern. Usage: expect_exit.sh <status> <regex> -- command...
set -uo pipefail
want=$1
pattern=$2
shift 3
output=$("$@" 2>&1)
got=$?
echo "$output"
[ "$got" -eq "$want" ] || { echo "FAIL: exit status $got, expected $want"; exit 1; }
grep -Ezq -- "$pattern" <<<"$output" || { echo "FAIL: output does not match: $pattern"; exit 1; }
