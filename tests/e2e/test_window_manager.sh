#!/usr/bin/env bash
# The real program under a window manager that minimises and frames windows
# (openbox): minimising puts the window away into the tray, and the tray
# click, the tray menu and the key gesture all bring it back; switching
# always-on-top on and off leaves the saved window position where it was. A
# modal list window comes and goes with the main window: minimised on its
# own it comes back on top with the program, and the key gesture hides and
# shows both.
set -u
. "$(dirname "$0")/lib.sh"
skip_without openbox trayer xprop
start_display
start_desktop tray

data="$WORK/data"
mkdir -p "$data"
printf '[PauseKey]\r\nKind=1\r\nSS=1\r\n' >"$data/Vnote.ini"
read -r screen_w _ < <(xdotool getdisplaygeometry)
tray_x=$((screen_w - 12))

main_window() { visible_windows | head -1; }
minimise() {
  local win
  win=$(main_window)
  xdotool windowminimize --sync "$win" 2>/dev/null || xdotool windowminimize "$win"
  wait_for 5 window_hidden
}

start_app "$data"
check "the window comes up" wait_for 10 window_shown
sleep 1

minimise
check "minimising takes the window away" window_hidden
sleep 0.5
xdotool key Pause
check "after minimising, the key gesture brings it back" wait_for 5 window_shown

minimise
sleep 0.5
xdotool mousemove "$tray_x" 12 click 1
check "after minimising, a tray click brings it back" wait_for 5 window_shown

minimise
sleep 0.5
xdotool mousemove "$tray_x" 12 click 3
sleep 0.7
xdotool key s # "表示(&S)"
check "after minimising, the tray menu brings it back" wait_for 5 window_shown
win=$(main_window)
check "the window shown again is not left minimised" \
  bash -c "xprop -id $win WM_STATE | grep -q 'Normal'"

stop_app TERM
top=$(ini_value "$data/Vnote.ini" VnoteFrame Top)
left=$(ini_value "$data/Vnote.ini" VnoteFrame Left)

# Always on top on and off: the window stays put, and so does what is saved.
start_app "$data"
wait_for 10 window_shown
sleep 1
win=$(main_window)
client_pos() { # the client area's absolute top left, "X Y"
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'
}
read -r X Y < <(client_pos "$win")
before="$X,$Y"
# ToolButton26 ("常に手前に表示") is the toolbar's second button
xdotool mousemove $((X + 30)) $((Y + 14)) click 1
check "the always-on-top button is pressed" wait_for 3 test "$(ini_value "$data/Vnote.ini" Win Top)" = 1
sleep 0.8
xdotool mousemove $((X + 30)) $((Y + 14)) click 1
check "and released again" wait_for 3 test "$(ini_value "$data/Vnote.ini" Win Top)" = 0
sleep 0.8
read -r X Y < <(client_pos "$(main_window)")
check "switching always-on-top leaves the window where it was" test "$X,$Y" = "$before"
stop_app TERM
check "the saved position is unchanged (top)" test "$(ini_value "$data/Vnote.ini" VnoteFrame Top)" = "$top"
check "the saved position is unchanged (left)" test "$(ini_value "$data/Vnote.ini" VnoteFrame Left)" = "$left"
# The holiday list, modal over the main window, minimised from its title bar.
start_app "$data"
wait_for 10 window_shown
sleep 1
win=$(main_window)
list_window() { xdotool search --onlyvisible --name '^休日一覧$' 2>/dev/null | head -1; }
list_shown() { [ -n "$(list_window)" ]; }
list_hidden() { [ -z "$(list_window)" ]; }
list_on_top() { [ -n "$(list_window)" ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$(list_window)" ]; }
both_hidden() { list_hidden && window_hidden; }
read -r X Y < <(client_pos "$win")
read -r W _ < <(xdotool getwindowgeometry "$win" | awk '/Geometry/{split($2,g,"x"); print g[1], g[2]}')
xdotool mousemove $((X + W - 48)) $((Y + 37)) click 1 # "休"
check "the holiday list opens" wait_for 5 list_shown
list=$(list_window)
xdotool windowminimize "$list"
check "minimising the list takes it away" wait_for 5 list_hidden
sleep 0.5
xdotool key Pause
check "the key gesture brings the main window back" wait_for 5 window_shown
check "and the list with it, on top" wait_for 5 list_on_top
check "the list is not left minimised" bash -c "xprop -id $list WM_STATE | grep -q Normal"
xdotool key Pause
check "the key gesture hides the list with the main window" wait_for 5 both_hidden
sleep 0.5
xdotool key Pause
check "and shows both again, the list on top" wait_for 5 list_on_top
check "the main window is back too" window_shown
xdotool key Escape
check "Escape closes the list" wait_for 5 list_hidden
check "the main window takes the keys again" \
  wait_for 3 bash -c "[ \"\$(xdotool getactivewindow)\" = $win ]"
stop_app TERM
check "the program ends normally" test "$APP_RC" = 0
finish
