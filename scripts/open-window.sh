#!/usr/bin/env bash
# Runs a Verlo window program. Without a desktop session (a server, a container, CI) it runs on a
# virtual display (Xvfb) instead of failing, and says so.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  exec "$@"
fi
if command -v xvfb-run >/dev/null 2>&1; then
  echo "No display found: running on a virtual display (Xvfb). Press Ctrl+C to quit." >&2
  echo "Open it in a desktop session to see the window, or run 'make screenshots'." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$@"
fi
echo "No display found and xvfb-run is missing; run this in a desktop session." >&2
exit 1
