#!/usr/bin/env bash
# Runs a command with an X display: the caller's when there is one, else a
# private Xvfb server that is stopped afterwards. GL tests draw with Mesa.
# -noreset: the tests connect one process at a time, and a server that resets
# whenever its last client leaves refuses the next connection for a moment.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24 +extension GLX -noreset" "$@"
