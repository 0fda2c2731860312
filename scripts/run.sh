#!/usr/bin/env bash
# Sets up, builds and starts Velnote on the current display; without one, it
# starts a virtual display (Xvfb) and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ]; then
  display=":77"
  echo "No display found: starting Velnote on the virtual display $display (Xvfb)."
  echo "Look at it with: DISPLAY=$display import -window root shot.png"
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY="$display"
  sleep 1
fi
exec_dir="$(pwd)/build"
"$exec_dir/Vnote"
