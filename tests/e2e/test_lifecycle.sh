#!/usr/bin/env bash
# The real program: start, single instance, stop signals, the data folder.
set -u
. "$(dirname "$0")/lib.sh"
start_display

data="$WORK/data"
mkdir -p "$data"
start_app "$data"
check "the main window \"Velnote\" appears" wait_for 10 window_shown

# A second start ends at once, with 0 and no second window.
start=$SECONDS
VELNOTE_DATA_DIR="$data" timeout 10 "$VNOTE" >/dev/null 2>&1
rc=$?
check "a second start exits with 0" test "$rc" -eq 0
check "a second start ends within 3 s" test $((SECONDS - start)) -le 3
check "still exactly one main window" test "$(visible_windows | wc -l)" -eq 1
check "the first instance still runs" kill -0 "$APP_PID"

# Closing the window only hides it.
xdotool search --onlyvisible --name "$MAIN_TITLE" | head -1 | xargs -r xdotool windowclose 2>/dev/null
check "the close box hides the window" wait_for 5 window_hidden
check "the program keeps running after the close box" kill -0 "$APP_PID"

# SIGTERM saves and ends with 0.
stop_app TERM
check "SIGTERM ends the program with 0 within 5 s" test "$APP_RC" = 0
ini="$data/Vnote.ini"
for key in Top Left Height Width; do
  check "the INI holds VnoteFrame/$key" test -n "$(ini_value "$ini" VnoteFrame "$key")"
done
check "the INI holds MainCalendar/Width" test -n "$(ini_value "$ini" MainCalendar Width)"
check "the INI holds MainRef/Height" test -n "$(ini_value "$ini" MainRef Height)"
check "the INI holds Diary/Height" test -n "$(ini_value "$ini" Diary Height)"
check "the INI holds the active tab" test "$(ini_value "$ini" ActiveTab Vnote)" = 0

# A crashed instance does not block the next start.
start_app "$data"
wait_for 10 window_shown
kill -9 "$APP_PID"; wait "$APP_PID" 2>/dev/null; APP_PID=
start_app "$data"
check "a start after a crash shows the window" wait_for 10 window_shown
stop_app INT
check "SIGINT ends the program with 0" test "$APP_RC" = 0
start_app "$data"
wait_for 10 window_shown
stop_app HUP
check "SIGHUP ends the program with 0" test "$APP_RC" = 0

# The window geometry comes back.
top=$(ini_value "$ini" VnoteFrame Top)
start_app "$data"
wait_for 10 window_shown
stop_app TERM
check "the saved window position is restored" test "$(ini_value "$ini" VnoteFrame Top)" = "$top"

finish
