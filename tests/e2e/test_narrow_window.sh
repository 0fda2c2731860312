#!/usr/bin/env bash
# The real program in a narrow window (420 pixels) under a window manager:
# the toolbar's » lists the buttons that do not fit, and its "PC起動実績"
# item opens the run record; F10 opens every toolbar command from the
# keyboard.
set -u
. "$(dirname "$0")/lib.sh"
skip_without openbox
start_display
start_desktop

data="$WORK/data"
mkdir -p "$data"
printf '[VnoteFrame]\r\nTop=40\r\nLeft=40\r\nWidth=420\r\nHeight=480\r\n' >"$data/Vnote.ini"

main_window() { visible_windows | head -1; }
record_window() { xdotool search --onlyvisible --name '^PC起動実績$' 2>/dev/null | head -1; }
record_shown() { [ -n "$(record_window)" ]; }
record_hidden() { [ -z "$(record_window)" ]; }
main_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(main_window)" ]; }

start_app "$data"
check "the window comes up" wait_for 10 window_shown
sleep 1
win=$(main_window)
read -r W _ < <(xdotool getwindowgeometry "$win" | awk '/Geometry/{split($2,g,"x"); print g[1], g[2]}')
check "the window is 420 pixels wide" test "$W" = 420
read -r X Y < <(xwininfo -id "$win" |
  awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}')

# The » sits at the right end of the toolbar, left of the 141-pixel clock.
xdotool mousemove $((X + W - 141 - 6)) $((Y + 14)) click 1
sleep 0.8
xdotool key j # "PC起動実績(&J)..." in the » menu
check "the » menu reaches the run record" wait_for 5 record_shown
xdotool key Escape
check "Escape closes the run record" wait_for 5 record_hidden
check "the main window takes the keys again" wait_for 3 main_active

xdotool key F10
sleep 0.8
xdotool key j
check "F10 and J reach the run record from the keyboard" wait_for 5 record_shown
xdotool key Escape
wait_for 5 record_hidden

stop_app TERM
check "the program ends normally" test "$APP_RC" = 0
finish
