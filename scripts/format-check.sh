#!/bin/bash
# Lists the tracked C and C++ files whose layout differs from .clang-format
# and fails when there is any. Changes nothing.
set -u
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format) || {
    echo "format-check: clang-format is not installed (scripts/setup.sh)" >&2
    exit 2
}
differ=0
while IFS= read -r -d '' file; do
    if ! "$format" --dry-run --Werror "$file" >/dev/null 2>&1; then
        echo "$file"
        differ=$((differ + 1))
    fi
done < <(git ls-files -z -- '*.c' '*.cpp' '*.h')
if [ "$differ" -gt 0 ]; then
    echo "format-check: $differ files differ from .clang-format" >&2
    exit 1
fi
