#!/usr/bin/env bash
# The real program under a virtual display: typing reaches the page file,
# the show/hide key gestures, and "終了(&X)" from the tray menu.
set -u
. "$(dirname "$0")/lib.sh"
start_display

data="$WORK/data"
mkdir -p "$data"
cp /dev/null "$data/Vnote.vnm"
# every Pause press toggles the window
printf '[PauseKey]\r\nKind=1\r\nSS=1\r\n' >"$data/Vnote.ini"

focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
app_windows() { xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l; }
test_more_windows() { [ "$(app_windows)" -gt "$1" ]; }

# -- typed text reaches its page file in Shift-JIS after SIGTERM
start_app "$data"
wait_for 10 window_shown
win=$(visible_windows | head -1)
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
wait_for 5 focused "$win" || sleep 1
xdotool type --delay 20 "hello memo"
xdotool key Return
# Japanese text through the clipboard-free path: xdotool types Unicode keysyms
xdotool type --delay 50 "メモ"
# The program handles its input in order: once the Pause after the text has
# hidden the window, the text has reached the page.
xdotool key Pause
wait_for 10 window_hidden
stop_app TERM
check "SIGTERM after typing exits 0" test "$APP_RC" = 0
expected=$(printf 'hello memo\r\nメモ' | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -d ' \n')
actual=$(od -An -tx1 "$data/Vnote.vnm" | tr -d ' \n')
check "the typed text is in Vnote.vnm as Shift-JIS with CR LF" test "$actual" = "$expected"

# -- kind 1: every Pause press toggles
start_app "$data"
wait_for 10 window_shown
xdotool key Pause
check "kind 1: Pause hides the window" wait_for 5 window_hidden
xdotool key Pause
check "kind 1: Pause shows it again" wait_for 5 window_shown
stop_app TERM

# -- kind 3: two Shift presses within the interval toggle, one does not
sed -i 's/^Kind=1/Kind=3/' "$data/Vnote.ini"
start_app "$data"
wait_for 10 window_shown
sleep 0.5
xdotool key shift
sleep 1.5
check "kind 3: one Shift press leaves the window shown" window_shown
xdotool key shift
sleep 0.1
xdotool key shift
check "kind 3: two quick Shift presses hide it" wait_for 5 window_hidden
xdotool key shift+a
sleep 0.1
xdotool key shift+a
sleep 1
check "kind 3: Shift held with another key does not count" window_hidden
xdotool key Pause
sleep 1
check "kind 3: Pause does nothing" window_hidden
xdotool key shift
sleep 0.1
xdotool key shift
check "kind 3: two quick Shift presses show it again" wait_for 5 window_shown
stop_app TERM

# -- the tray menu's "終了(&X)" ends the program with everything saved
if command -v trayer >/dev/null 2>&1; then
  trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 \
    >/dev/null 2>&1 &
  TRAYER_PID=$!
  sleep 1
  start_app "$data"
  wait_for 10 window_shown
  win=$(visible_windows | head -1)
  xdotool windowactivate --sync "$win" 2>/dev/null || true
  wait_for 5 focused "$win" || sleep 1
  xdotool key ctrl+End
  xdotool type --delay 20 " tray"
  # the tray icon sits at the right end of trayer's strip, top right
  read -r screen_w _ < <(xdotool getdisplaygeometry)
  before=$(app_windows)
  xdotool mousemove $((screen_w - 12)) 12 click 3
  # wait for the menu to be mapped before choosing from it
  wait_for 10 test_more_windows "$before" || true
  sleep 0.2
  # the menu: show/hide item, separator, "終了(&X)" (its access key X)
  xdotool key x
  deadline=$((SECONDS + 5))
  while kill -0 "$APP_PID" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  if kill -0 "$APP_PID" 2>/dev/null; then
    check "the tray menu's 終了(&X) ends the program" false
    kill -9 "$APP_PID"
  else
    wait "$APP_PID"
    check "the tray menu's 終了(&X) ends the program with 0" test $? -eq 0
  fi
  APP_PID=
  check "the text typed before 終了(&X) is saved" grep -q ' tray' "$data/Vnote.vnm"
  check "the window layout was saved at 終了(&X)" test -n "$(ini_value "$data/Vnote.ini" VnoteFrame Top)"
  kill "$TRAYER_PID" 2>/dev/null
else
  echo "skipped: trayer is not installed (no tray host)"
fi
finish
