#!/usr/bin/env bash
# When the display goes away under the program (the X server dies), what was
# typed since the last save is still written to its page file.
set -u
. "$(dirname "$0")/lib.sh"
start_display

data="$WORK/data"
mkdir -p "$data"
start_app "$data"
wait_for 10 window_shown
win=$(visible_windows | head -1)
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
sleep 0.3
xdotool type --delay 20 "typed just before the display died"
sleep 0.3
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
XVFB_PID=
deadline=$((SECONDS + 10))
while kill -0 "$APP_PID" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
check "the program ends when its display dies" process_gone
APP_PID=
check "the typed text reached Vnote.vnm" grep -q "typed just before the display died" "$data/Vnote.vnm"
finish
