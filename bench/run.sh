#!/usr/bin/env bash
# Builds and runs every benchmark, printing their numbers. Needs a display
# for the start-up benchmark; without one it starts a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  Xvfb :78 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY=:78
  sleep 1
fi
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
data=$(mktemp -d)
python3 bench/startup/make_data.py typical "$data/typical"
python3 bench/startup/make_data.py heavy "$data/heavy"
echo "== bench_startup"
build/bench/startup/bench_startup build/Vnote build/bench/startup/bench_emptywindow \
  "$data/typical" "$data/heavy" 9
rm -rf "$data"
for b in $(find build/bench -type f -name 'bench_*' -perm -u+x | sort); do
  case "$b" in */bench_startup|*/bench_emptywindow) continue ;; esac
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b"
done
