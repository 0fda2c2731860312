# Helpers for end-to-end tests of the real program under a virtual display.
# Each test script sources this, then calls start_display.

VNOTE="${VNOTE:?path of the Vnote program}"
failures=0
checks=0

check() { # check "description" command...
  checks=$((checks + 1))
  if "${@:2}"; then
    echo "ok   - $1"
  else
    echo "FAIL - $1"
    failures=$((failures + 1))
  fi
}

finish() {
  echo "$((checks - failures)) passed, $failures failed"
  [ "$failures" -eq 0 ]
}

skip_without() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "skipped: $tool is not installed"
      exit 0
    fi
  done
}

start_display() {
  skip_without Xvfb xdotool
  local n
  # E2E_DISPLAYS="FIRST LAST" keeps a run to display numbers of its own.
  for n in $(seq ${E2E_DISPLAYS:-91 140}); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
      XVFB_PID=$!
      export DISPLAY=":$n"
      for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      break
    fi
  done
  WORK=$(mktemp -d)
  export XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  export QT_QPA_PLATFORM=xcb
  trap cleanup EXIT
}

cleanup() {
  [ -n "${APP_PID:-}" ] && kill -9 "$APP_PID" 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  [ -n "${WORK:-}" ] && rm -rf "$WORK"
}

# start_desktop [tray]: openbox on the display (and trayer as the
# notification area at the top right), both ended with the test.
start_desktop() {
  openbox --sm-disable >/dev/null 2>&1 &
  WM_PID=$!
  TRAYER_PID=
  if [ "${1:-}" = tray ]; then
    trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 \
      >/dev/null 2>&1 &
    TRAYER_PID=$!
  fi
  trap 'kill $TRAYER_PID $WM_PID 2>/dev/null; cleanup' EXIT
  sleep 1.5
}

# start_app DATA_DIR: starts the program in the background (APP_PID).
start_app() {
  VELNOTE_DATA_DIR="$1" "$VNOTE" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
}

# The main window's caption: "Velnote", followed by the PC's uptime once the
# program runs ("Velnote   →→ PC起動から ...").
MAIN_TITLE='^Velnote( |$)'

# visible_windows: ids of visible main windows.
visible_windows() {
  xdotool search --onlyvisible --name "$MAIN_TITLE" 2>/dev/null || true
}

wait_for() { # wait_for SECONDS command...: true once the command succeeds
  local deadline=$((SECONDS + $1))
  shift
  while [ $SECONDS -lt $deadline ]; do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

window_shown() { [ -n "$(visible_windows)" ]; }
window_hidden() { [ -z "$(visible_windows)" ]; }
process_gone() { ! kill -0 "$APP_PID" 2>/dev/null; }

# stop_app SIGNAL: sends it and waits up to 5 s; sets APP_RC.
stop_app() {
  kill -"$1" "$APP_PID" 2>/dev/null || true
  local deadline=$((SECONDS + 5))
  while kill -0 "$APP_PID" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  if kill -0 "$APP_PID" 2>/dev/null; then
    APP_RC=timeout
    kill -9 "$APP_PID" 2>/dev/null || true
  else
    wait "$APP_PID"
    APP_RC=$?
  fi
  APP_PID=
}

ini_value() { # ini_value FILE SECTION KEY (the file is Shift-JIS; values here are ASCII)
  awk -v s="[$2]" -v k="$3" 'BEGIN{IGNORECASE=1} {sub(/\r$/,"")} /^\[/{in_s=(tolower($0)==tolower(s))} in_s && index($0,k"=")==1 {print substr($0,length(k)+2)}' "$1"
}
