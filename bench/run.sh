#!/usr/bin/env bash
# Builds and runs every benchmark, printing their numbers, then the budget:
# each figure the program is held to, its target and the ratio. Needs a
# display for the start-up and session benchmarks; without one it starts a
# virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 78 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
fi
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
data=$(mktemp -d)
budget="$data/budget"
: >"$budget"
# Prints a benchmark's output and keeps its budget lines for the summary.
show() { tee -a "$budget" | grep -v '^budget|' || true; }
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 bench/startup/make_data.py typical "$data/typical"
python3 bench/startup/make_data.py heavy "$data/heavy"
python3 bench/startup/make_data.py bigdiary "$data/bigdiary"
echo "== bench_startup"
build/bench/startup/bench_startup build/Vnote build/bench/startup/bench_emptywindow \
  "$data/typical" "$data/heavy" "${RUNS:-9}" "$data/bigdiary" | show
echo "== bench_session"
build/bench/session/bench_session build/Vnote "$data/typical" "$data/heavy" | show
echo "== bench_firstuse"
build/bench/app/bench_firstuse "$data/typical" "${RUNS:-5}" | show
for b in $(find build/bench -type f -name 'bench_*' -perm -u+x | sort); do
  case "$b" in */bench_startup | */bench_emptywindow | */bench_session | */bench_firstuse) continue ;; esac
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" | show
done
echo
echo "== budget (load average now: $(cut -d' ' -f1-3 /proc/loadavg))"
awk -F'|' '$1 == "budget" {
  ratio = $3 / $5
  printf "  %-48s %9s %-3s target %6s %-3s ratio %5.2f  %s\n", $2, $3, $4, $5, $4, ratio,
    (ratio <= 1 ? "ok" : "MISSED")
}' "$budget"
rm -rf "$data" "$XDG_RUNTIME_DIR"
