#!/usr/bin/env bash
# The settings dialog of the real program: opened from the toolbar, the page
# count typed on "メモ", the calendar's Sunday colour chosen in the colour
# chooser on "カレンダー", then closed. Vnote.ini holds both (Shift-JIS), the
# window shows them, and each of the seven pages is shown on the way. The
# dialog is driven by the keyboard as a user without a mouse would: Tab from
# the page tabs into the page, Right on the page tabs to the next page. Pictures of the
# screens are kept in $VELNOTE_SHOT_DIR when it is set.
set -u
. "$(dirname "$0")/lib.sh"
skip_without import python3 iconv openbox xwininfo
start_display
start_desktop

data="$WORK/data"
mkdir -p "$data"
sjis() { iconv -f UTF-8 -t CP932; }
# A Japanese tab name and a Shift-JIS separator that must come back unchanged.
printf '[TabName]\r\n01=買い物\r\n[Separation]\r\nMark=＝＝＝\r\n[Calendar]\r\nTextShadow=0\r\n' | sjis >"$data/Vnote.ini"
export VELNOTE_NO_ANIMATION=1
# Starting at login writes the desktop's autostart entry, here in a folder
# of the test's own.
export XDG_CONFIG_HOME="$WORK/config"
autostart="$XDG_CONFIG_HOME/autostart/velnote.desktop"

start_app "$data"
check "the program starts" wait_for 10 window_shown
main=$(visible_windows | head -1)
sleep 1
# Where the window's inside lies on the screen (the frame left out).
origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'; }
read -r mx my < <(origin "$main")
shot() {
  import -window root -depth 8 "$WORK/$1.ppm"
  [ -n "${VELNOTE_SHOT_DIR:-}" ] && mkdir -p "$VELNOTE_SHOT_DIR" && import -window root "$VELNOTE_SHOT_DIR/$1.png"
  true
}
shot before

# "環境設定..." is the first toolbar button.
xdotool mousemove --window "$main" 12 14 click 1
settings_shown() { [ -n "$(xdotool search --onlyvisible --name '^環境設定$' 2>/dev/null)" ]; }
check "the toolbar button opens 環境設定" wait_for 5 settings_shown
env=$(xdotool search --onlyvisible --name '^環境設定$' | head -1)
size=$(xwininfo -id "$env" | awk '/^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print w " x " h}')
check "the dialog is 674 x 534 ($size)" test "$size" = "674 x 534"
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
check "the dialog has the focus" wait_for 5 active_is "$env"
key() { xdotool key --delay 80 "$@"; sleep 0.3; }

# Page "メモ": "閉じる" has the focus; Tab goes to the page tabs, Tab again to
# "表示メモ数", where 5 is typed.
key Tab Tab
key ctrl+a
xdotool type --delay 60 5
key Tab
# "ログイン時に起動する" is the ninth control below the count.
key Tab Tab Tab Tab Tab Tab Tab Tab space
check "ログイン時に起動する writes the autostart entry" wait_for 3 test -f "$autostart"
check "the entry starts this program" grep -q "^Exec=.*$(basename "$VNOTE")" "$autostart"
shot settings_1_memo
# Back to the page tabs; Right shows the next page.
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab

key Right
shot settings_2_reference
# "カレンダー": the colour buttons come first; "日曜の色" is the fifth.
key Right
shot settings_3_calendar
key Tab Tab Tab Tab Tab space
chooser_open() { ! active_is "$env" && [ -n "$(xdotool getactivewindow 2>/dev/null)" ]; }
check "日曜の色 opens the colour chooser" wait_for 5 chooser_open
echo "# the chooser: $(xdotool getactivewindow getwindowname)"
shot colour_chooser
key alt+h ctrl+a
xdotool type --delay 40 '#00c800'
key Return
check "the chooser closes" wait_for 5 active_is "$env"
sleep 0.5
# The calendar is repainted while the dialog is still open.
shot calendar_live

key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab # back to the page tabs
n=4
for name in schedule balloon backup version; do
  key Right
  shot "settings_${n}_$name"
  n=$((n + 1))
done

key Escape
check "the dialog closes" wait_for 5 sh -c "! xdotool search --onlyvisible --name '^環境設定\$' >/dev/null 2>&1"
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
