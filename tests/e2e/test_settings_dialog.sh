#!/usr/bin/env bash
# The settings dialog of the real program: opened from the toolbar, the
# calendar's Sunday colour chosen in the colour chooser and the page count
# typed, then closed. Vnote.ini holds both (Shift-JIS) and the window shows
# them. Pictures of the screens are kept in $VELNOTE_SHOT_DIR when it is set.
set -u
. "$(dirname "$0")/lib.sh"
skip_without import python3
start_display

data="$WORK/data"
mkdir -p "$data"
sjis() { iconv -f UTF-8 -t CP932; }
# A Japanese tab name and a Shift-JIS separator that must come back unchanged.
printf '[TabName]\r\n01=買い物\r\n[Separation]\r\nMark=＝＝＝\r\n[Calendar]\r\nTextShadow=0\r\n' | sjis >"$data/Vnote.ini"
export VELNOTE_NO_ANIMATION=1

start_app "$data"
check "the program starts" wait_for 10 window_shown
main=$(visible_windows | head -1)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
mx=$X my=$Y
shot() { import -window root -depth 8 "$WORK/$1.ppm"; [ -n "${VELNOTE_SHOT_DIR:-}" ] && import -window root "$VELNOTE_SHOT_DIR/$1.png"; true; }
shot before

# "環境設定..." is the first toolbar button.
xdotool mousemove $((mx + 12)) $((my + 14)) click 1
settings_shown() { [ -n "$(xdotool search --onlyvisible --name '^環境設定$' 2>/dev/null)" ]; }
check "the toolbar button opens 環境設定" wait_for 5 settings_shown
env=$(xdotool search --onlyvisible --name '^環境設定$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$env")"
dx=$X dy=$Y
check "the dialog is 674 x 534" test "$WIDTH x $HEIGHT" = "674 x 534"
click_at() { xdotool mousemove $((dx + $1)) $((dy + $2)) click 1; sleep 0.4; }

# Page "メモ": the page count 5.
click_at "$SPIN_X" "$SPIN_Y"
xdotool key ctrl+a
xdotool type --delay 40 5
xdotool key Tab
sleep 0.3
shot settings_memo

# Page "カレンダー": "日曜の色" opens the colour chooser; #00c800 is typed.
click_at "$CAL_TAB_X" "$TAB_Y"
shot settings_calendar
click_at "$SUNDAY_X" "$SUNDAY_Y"
chooser_shown() { [ -n "$(xdotool search --onlyvisible --name "$CHOOSER_TITLE" 2>/dev/null)" ]; }
check "the colour chooser opens" wait_for 5 chooser_shown
shot colour_chooser
xdotool key alt+h
xdotool key ctrl+a
xdotool type --delay 40 '#00c800'
xdotool key Return
sleep 0.5
check "the chooser closes" wait_for 5 sh -c "! xdotool search --onlyvisible --name '$CHOOSER_TITLE' >/dev/null 2>&1"
# The calendar is repainted while the dialog is still open.
shot calendar_live

click_at "$CLOSE_X" "$CLOSE_Y"
check "閉じる closes the dialog" wait_for 5 sh -c "! xdotool search --onlyvisible --name '^環境設定\$' >/dev/null 2>&1"
sleep 0.5
shot after

ini="$data/Vnote.ini"
check "Vnote.ini is Shift-JIS" iconv -f CP932 -t UTF-8 "$ini" -o /dev/null
check "the Sunday colour is written (51200 = 0x00C800)" test "$(ini_value "$ini" CalendarColor Sunday)" = 51200
check "the page count is written" test "$(ini_value "$ini" ShowVnote Count)" = 5
check "the Japanese values are kept" sh -c "iconv -f CP932 -t UTF-8 '$ini' | grep -q '^01=買い物' && iconv -f CP932 -t UTF-8 '$ini' | grep -q '^Mark=＝＝＝'"

count() { # count FILE X0 Y0 X1 Y1 R G B TOL: pixels of about that colour in the box
  python3 "$(dirname "$0")/ppm_count.py" "$@"
}
green=$(count "$WORK/after.ppm" $((mx + 560)) $((my + 30)) $((mx + 760)) $((my + 330)) 0 200 0 30)
check "Sundays are drawn in the new colour ($green pixels)" test "$green" -ge 20
changed=$(python3 "$(dirname "$0")/ppm_count.py" --diff "$WORK/before.ppm" "$WORK/after.ppm" \
  $((mx + 150)) $((my + 29)) $((mx + 420)) $((my + 50)))
check "two more tabs show in the tab row ($changed pixels changed)" test "$changed" -ge 100

stop_app TERM
check "it ends with 0" test "$APP_RC" = 0
finish
